#include "platform/WindowsCommandLine.h"

namespace {

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QStringList SplitWindowsCommandLine(const QString& commandLine)
{
    QStringList arguments;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;

    // The program name: quotes group, backslashes are plain characters.
    QString program;
    bool quoted = false;
    for (; i < n; ++i) {
        const QChar c = commandLine[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (IsBlank(c) && !quoted)
            break;
        else
            program += c;
    }
    if (n > 0)
        arguments << program;

    while (true) {
        while (i < n && IsBlank(commandLine[i]))
            ++i;
        if (i >= n)
            break;
        QString argument;
        bool inQuotes = false;
        while (i < n) {
            const QChar c = commandLine[i];
            if (c == QLatin1Char('\\')) {
                qsizetype end = i;
                while (end < n && commandLine[end] == QLatin1Char('\\'))
                    ++end;
                const qsizetype backslashes = end - i;
                if (end < n && commandLine[end] == QLatin1Char('"')) {
                    argument += QString(backslashes / 2, QLatin1Char('\\'));
                    if (backslashes % 2 == 1)
                        argument += QLatin1Char('"');
                    else
                        inQuotes = !inQuotes;
                    i = end + 1;
                } else {
                    argument += QString(backslashes, QLatin1Char('\\'));
                    i = end;
                }
                continue;
            }
            if (c == QLatin1Char('"')) {
                // Inside quotes, a doubled quote stands for one literal quote.
                if (inQuotes && i + 1 < n && commandLine[i + 1] == QLatin1Char('"')) {
                    argument += QLatin1Char('"');
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
                continue;
            }
            if (IsBlank(c) && !inQuotes)
                break;
            argument += c;
            ++i;
        }
        arguments << argument;
    }
    return arguments;
}
