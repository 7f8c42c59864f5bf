#pragma once

#include <QString>

// Serves progId on standard input and output until the client lets go,
// with LibreOffice started in this process. The program's exit code.
int RunHost(int argc, char** argv, const QString& progId);
