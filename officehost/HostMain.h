#pragma once

#include <QString>

enum class HostStart { Cold, Forked };

// Serves progId on standard input and output until the client lets go,
// with LibreOffice started in this process. The program's exit code.
// A forked host shares its office's files and profile (forkedProfile) with
// the warm office and every other host it forked: it ends without taking
// the office down. A host started on its own holds a profile of its own.
int RunHost(int argc, char** argv, const QString& progId, HostStart start = HostStart::Cold,
            const QString& forkedProfile = {});
