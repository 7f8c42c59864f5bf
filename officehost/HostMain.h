#pragma once

#include <QString>

enum class HostStart { Cold, Forked };

// Serves progId on standard input and output until the client lets go,
// with LibreOffice started in this process. The program's exit code.
// Every host holds a profile no other live office uses. A forked host
// shares the loaded office's files with the warm office and ends without
// taking the office down.
// The loaded office of a forked host reaches its profile through
// /proc/self/fd/profileDescriptor, which the host points at its own.
int RunHost(int argc, char** argv, const QString& progId, HostStart start = HostStart::Cold,
            int profileDescriptor = -1);
