// foliant-convert: the converters of the window, from the command line.
#include "cli/BatchRun.h"
#include "cli/CliMessageBoxes.h"
#include "cli/CliOptions.h"
#include "platform/WarmOfficeConnection.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Foliant 3.0"));

    QFile standardInput;
    standardInput.open(stdin, QIODevice::ReadOnly);
    const CliParse parse = ParseCliArguments(QCoreApplication::arguments(), standardInput);
    if (!parse.run) {
        std::fputs(qPrintable(parse.text + (parse.text.endsWith(u'\n') ? QString() : QStringLiteral("\n"))),
                   parse.exitCode == 0 ? stdout : stderr);
        return parse.exitCode;
    }

    CliMessageBoxes boxes;
    SetMessageBoxService(&boxes);
    BatchRun run(parse.options, DefaultConverters());
    const int status = run.Run();
    WarmOfficeConnection::Instance().End();
    SetMessageBoxService(nullptr);
    return status;
}
