#include "cli/CliOptions.h"

#include "cli/CliOptionTable.h"
#include "pdf/SettingsRefusal.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Makes the folder with its parents, as an office's --outdir does; false,
// with the reason, when a level of it cannot be made.
bool MakeFolder(const QString& path, QString* why)
{
    QString level;
    for (const QString& part : QFileInfo(path).absoluteFilePath().split(u'/', Qt::SkipEmptyParts)) {
        level += u'/' + part;
        const int made = ::mkdir(QFile::encodeName(level).constData(), 0777);
        const int error = errno;
        if (made == 0 || QFileInfo(level).isDir())
            continue;
        *why = error == EEXIST
                   ? QStringLiteral("%1 is not a folder").arg(level)
                   : QStringLiteral("%1: %2").arg(level, QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    return true;
}

// The window's refusal speaks of its pages; what to do about it here.
QString CommandLineHint(RefusedSettings refusal)
{
    switch (refusal) {
    case RefusedSettings::None:
        break;
    case RefusedSettings::EncryptedArchive:
        return QStringLiteral(
            "On the command line: leave out --encrypt, or --pdfa and --pdf-version pdf/a-2b.");
    case RefusedSettings::NoOwnerPassword:
        return QStringLiteral("On the command line: give --owner-password-file.");
    case RefusedSettings::TaggedCopyLocked:
        return QStringLiteral(
            "On the command line: give --encrypt rc4-128, aes-128 or aes-256, or leave copy "
            "out of --deny.");
    }
    return {};
}

} // namespace

int CliOptions::DefaultJobs()
{
    return qBound(1, QThread::idealThreadCount(), 2);
}

CliParse ParseCliArguments(const QStringList& arguments, QIODevice& standardInput)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts office documents and pictures into PDF files, each file with its own office "
        "host and Ghostscript. Exit status: 0 when every PDF was made, 1 when any file failed, "
        "2 for bad usage."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Files to convert (folders with -r)."),
                                 QStringLiteral("FILE..."));
    for (const CliOption& option : CliOptionTable())
        parser.addOption(QCommandLineOption(option.names, option.help, option.valueName));

    CliParse result;
    result.exitCode = 2;
    const QString usage =
        QStringLiteral("\nTry '%1 --help' for more.").arg(QStringLiteral("foliant-convert"));
    auto bad = [&](const QString& text) {
        result.text = QStringLiteral("foliant-convert: %1%2").arg(text, usage);
        return result;
    };
    if (!parser.parse(arguments))
        return bad(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) {
        result.exitCode = 0;
        result.text = parser.isSet(QStringLiteral("help")) ? parser.helpText()
                                                           : QStringLiteral("foliant-convert 3.0\n");
        return result;
    }

    CliOptions& options = result.options;
    options.inputs = parser.positionalArguments();
    if (options.inputs.isEmpty())
        return bad(QStringLiteral("no FILE given."));
    if (!parser.isSet(QStringLiteral("output")))
        return bad(QStringLiteral("no output folder given (-o FOLDER)."));
    // A password's box counts as ticked only when its file is given.
    options.settings.userPasswordEnabled = false;
    options.settings.ownerPasswordEnabled = false;
    CliReading reading{parser, standardInput, options};
    for (const CliOption& option : CliOptionTable()) {
        if (!option.take || !parser.isSet(option.LongName()))
            continue;
        if (const QString why = option.take(parser.value(option.LongName()), reading); !why.isEmpty())
            return bad(why);
    }
    for (const QString& input : options.inputs)
        if (!options.recursive && QFileInfo(input).isDir())
            return bad(QStringLiteral("%1 is a folder (give -r to convert the files in it).").arg(input));

    // Security that cannot be applied is refused as the window refuses it.
    if (const RefusedSettings refusal = RefusalOf(options.settings); refusal != RefusedSettings::None)
        return bad(SettingsRefusal(options.settings) + u'\n' + CommandLineHint(refusal));

    // A missing output folder is made once everything else is known good.
    if (QString why; !MakeFolder(options.outputFolder, &why))
        return bad(QStringLiteral("the output folder %1 cannot be made: %2.")
                       .arg(parser.value(QStringLiteral("output")), why));

    result.run = true;
    result.exitCode = 0;
    return result;
}
