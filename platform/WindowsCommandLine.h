#pragma once

#include <QString>
#include <QStringList>

// Splits a command line the way a Windows program's start-up code does, so a
// command line written for Windows reaches the program as the same arguments:
// blanks separate arguments outside double quotes; 2n backslashes before a
// quote give n backslashes and the quote opens or closes quoting; 2n+1
// backslashes before a quote give n backslashes and a literal quote; other
// backslashes are literal. The first token (the program) ends at the first
// blank outside quotes and takes backslashes literally.
QStringList SplitWindowsCommandLine(const QString& commandLine);
