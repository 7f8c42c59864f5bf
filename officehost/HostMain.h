#pragma once

#include <QString>

enum class HostStart { Cold, Forked };

// Serves progId on standard input and output until the client lets go,
// with LibreOffice started in this process. The program's exit code.
// A forked host shares its office's files with the warm office and every
// other host: it ends without taking the office down.
int RunHost(int argc, char** argv, const QString& progId, HostStart start = HostStart::Cold);
