#include "cli/CliOptions.h"

#include "cli/RecognitionOptions.h"
#include "pdf/AdvancedChoices.h"
#include "pdf/SecurityChoices.h"
#include "pdf/SettingsRefusal.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Reads a password file: its whole text without the line end that closes it.
bool ReadPassword(const QString& name, QIODevice& standardInput, QString* password, QString* error)
{
    QByteArray bytes;
    if (name == u"-") {
        if (!standardInput.isOpen() && !standardInput.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("standard input cannot be read");
            return false;
        }
        bytes = standardInput.readAll();
    } else {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1 cannot be read: %2").arg(name, file.errorString());
            return false;
        }
        bytes = file.readAll();
    }
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    *password = QString::fromUtf8(bytes);
    return true;
}

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

} // namespace

CliParse ParseCliArguments(const QStringList& arguments, QIODevice& standardInput)
{
    using namespace advancedchoices;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts office documents and pictures into PDF files, each file with its own office "
        "host and Ghostscript. Exit status: 0 when every PDF was made, 1 when any file failed, "
        "2 for bad usage."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Files to convert (folders with -r)."),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The folder the PDF files are written into."),
                                    QStringLiteral("FOLDER"));
    const QCommandLineOption recursive(
        {QStringLiteral("r"), QStringLiteral("recursive")},
        QStringLiteral("Converts the files in folders given as FILE, and in "
                       "their subfolders; the PDFs keep the folders' layout."));
    const QCommandLineOption pdfVersion(QStringLiteral("pdf-version"),
                                        QStringLiteral("PDF version: %1.").arg(Names(kPdfVersions)),
                                        QStringLiteral("VERSION"));
    const QCommandLineOption pdfa(QStringLiteral("pdfa"),
                                  QStringLiteral("Writes PDF/A-2b (the same as --pdf-version PDF/A-2b)."));
    const QCommandLineOption tagged(
        QStringLiteral("tagged"),
        QStringLiteral("Writes tagged, accessible PDFs (PDF/UA): structure, language, alternate texts "
                       "and form fields."));
    const QCommandLineOption compression(
        QStringLiteral("compression"),
        QStringLiteral("Document compression: %1.").arg(Names(kDocumentCompressions)),
        QStringLiteral("KIND"));
    const QCommandLineOption imageCompression(
        QStringLiteral("image-compression"),
        QStringLiteral("Image compression: %1.").arg(Names(kImageCompressions)), QStringLiteral("KIND"));
    const QCommandLineOption jpegQuality(QStringLiteral("jpeg-quality"),
                                         QStringLiteral("JPEG quality: %1.").arg(Names(kJpegQualities)),
                                         QStringLiteral("QUALITY"));
    const QCommandLineOption encrypt(QStringLiteral("encrypt"),
                                     QStringLiteral("Encrypts the PDF: rc4-40, rc4-128, aes-128 or aes-256."),
                                     QStringLiteral("METHOD"));
    const QCommandLineOption deny(QStringLiteral("deny"),
                                  QStringLiteral("Rights the encrypted PDF withholds, separated by commas: "
                                                 "print, modify, copy, annotate."),
                                  QStringLiteral("RIGHTS"));
    const QCommandLineOption userPassword(
        QStringLiteral("user-password-file"),
        QStringLiteral("The encrypted PDF's user (open) password, read from "
                       "FILE (- for standard input)."),
        QStringLiteral("FILE"));
    const QCommandLineOption ownerPassword(
        QStringLiteral("owner-password-file"),
        QStringLiteral("The encrypted PDF's owner password, read from FILE "
                       "(- for standard input)."),
        QStringLiteral("FILE"));
    const QCommandLineOption openPassword(
        QStringLiteral("open-password-file"),
        QStringLiteral("A password tried for protected documents, read from "
                       "FILE (- for standard input)."),
        QStringLiteral("FILE"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Document title."),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption subject(QStringLiteral("subject"), QStringLiteral("Document subject."),
                                     QStringLiteral("TEXT"));
    const QCommandLineOption author(QStringLiteral("author"), QStringLiteral("Document author."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption keywords(QStringLiteral("keywords"), QStringLiteral("Document keywords."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("Replaces a PDF that exists already (once the new one "
                                                      "is complete)."));
    const QCommandLineOption skipExisting(
        QStringLiteral("skip-existing"),
        QStringLiteral("Leaves a PDF that exists already and its file alone."));
    const QCommandLineOption jobs({QStringLiteral("j"), QStringLiteral("jobs")},
                                  QStringLiteral("Converts N files at once (default 1)."),
                                  QStringLiteral("N"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("Gives up a file that takes longer than SECONDS."),
                                     QStringLiteral("SECONDS"));
    const QCommandLineOption combine(QStringLiteral("combine"),
                                     QStringLiteral("Joins the PDFs of all files, in the order given, into "
                                                    "one PDF named NAME in the output folder."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Writes a JSON report of every file (source, pdf, status, "
                                                   "reason, seconds) to FILE."),
                                    QStringLiteral("FILE"));
    parser.addOptions({tagged});
    parser.addOptions({help,          version,          output,      recursive, pdfVersion, pdfa,
                       compression,   imageCompression, jpegQuality, encrypt,   deny,       userPassword,
                       ownerPassword, openPassword,     title,       subject,   author,     keywords,
                       overwrite,     skipExisting,     jobs,        timeout,   report,     combine});
    const RecognitionOptions recognition;
    parser.addOptions(recognition.Options());

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
    if (parser.isSet(help)) {
        result.exitCode = 0;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.text = QStringLiteral("foliant-convert 3.0\n");
        return result;
    }

    CliOptions& options = result.options;
    options.inputs = parser.positionalArguments();
    if (options.inputs.isEmpty())
        return bad(QStringLiteral("no FILE given."));
    if (!parser.isSet(output))
        return bad(QStringLiteral("no output folder given (-o FOLDER)."));
    const QFileInfo folder(parser.value(output));
    if (folder.exists() && !folder.isDir())
        return bad(QStringLiteral("the output folder %1 is not a folder.").arg(parser.value(output)));
    options.outputFolder = folder.absoluteFilePath();
    options.recursive = parser.isSet(recursive);
    for (const QString& input : options.inputs)
        if (!options.recursive && QFileInfo(input).isDir())
            return bad(QStringLiteral("%1 is a folder (give -r to convert the files in it).").arg(input));

    // The Advanced page's values.
    ConversionSettings& settings = options.settings;
    QString refused;
    const auto choose = [&](const QCommandLineOption& option, const auto& table, auto& field) {
        if (!parser.isSet(option) || !refused.isEmpty())
            return;
        if (const auto value = FromName(table, parser.value(option)))
            field = *value;
        else
            refused = QStringLiteral("--%1 takes %2, not %3.")
                          .arg(option.names().constLast(), Names(table), parser.value(option));
    };
    choose(pdfVersion, kPdfVersions, settings.pdfVersion);
    choose(compression, kDocumentCompressions, settings.documentCompression);
    choose(imageCompression, kImageCompressions, settings.imageCompression);
    choose(jpegQuality, kJpegQualities, settings.jpegQuality);
    if (!refused.isEmpty())
        return bad(refused);

    if (const QString refusal = recognition.Read(parser, settings); !refusal.isEmpty())
        return bad(refusal);

    if (parser.isSet(pdfa)) {
        if (parser.isSet(pdfVersion) && settings.pdfVersion != PdfVersion::PdfA2b)
            return bad(QStringLiteral("--pdfa and --pdf-version %1 exclude each other.")
                           .arg(parser.value(pdfVersion)));
        settings.pdfVersion = PdfVersion::PdfA2b;
    }
    settings.tagged = parser.isSet(tagged);

    // The Security page's.
    int fromStandardInput = 0;
    for (const QCommandLineOption* o : {&userPassword, &ownerPassword, &openPassword})
        fromStandardInput += parser.isSet(*o) && parser.value(*o) == u"-";
    if (fromStandardInput > 1)
        return bad(QStringLiteral("only one password can be read from standard input."));
    const bool secure = parser.isSet(encrypt);
    if (secure) {
        const auto method = FromName(securitychoices::kEncryptionMethods, parser.value(encrypt));
        if (!method)
            return bad(QStringLiteral("--encrypt takes %1, not %2.")
                           .arg(Names(securitychoices::kEncryptionMethods, QStringLiteral(", ")),
                                parser.value(encrypt)));
        settings.securityEnabled = true;
        settings.encryption = *method;
    } else if (parser.isSet(deny) || parser.isSet(userPassword) || parser.isSet(ownerPassword)) {
        return bad(QStringLiteral("--deny and the PDF's passwords need --encrypt."));
    }
    if (parser.isSet(deny)) {
        for (const QString& right : parser.value(deny).split(u',', Qt::SkipEmptyParts)) {
            if (!securitychoices::Withhold(settings.withheld, right.trimmed()))
                return bad(
                    QStringLiteral("--deny takes print, modify, copy and annotate, not %1.").arg(right));
        }
    }
    QString error;
    settings.userPasswordEnabled = parser.isSet(userPassword);
    settings.ownerPasswordEnabled = parser.isSet(ownerPassword);
    if (parser.isSet(userPassword) &&
        !ReadPassword(parser.value(userPassword), standardInput, &settings.userPassword, &error))
        return bad(QStringLiteral("the user password file: %1.").arg(error));
    if (parser.isSet(ownerPassword) &&
        !ReadPassword(parser.value(ownerPassword), standardInput, &settings.ownerPassword, &error))
        return bad(QStringLiteral("the owner password file: %1.").arg(error));
    if (parser.isSet(openPassword) &&
        !ReadPassword(parser.value(openPassword), standardInput, &options.openPassword, &error))
        return bad(QStringLiteral("the open password file: %1.").arg(error));

    // Security that cannot be applied is refused as the window refuses it.
    if (const QString refusal = SettingsRefusal(settings); !refusal.isEmpty())
        return bad(refusal + QStringLiteral("\nOn the command line: give --owner-password-file."));

    // The Description page's.
    settings.title = parser.value(title);
    settings.subject = parser.value(subject);
    settings.author = parser.value(author);
    settings.keywords = parser.value(keywords);

    // The run.
    if (parser.isSet(overwrite) && parser.isSet(skipExisting))
        return bad(QStringLiteral("--overwrite and --skip-existing exclude each other."));
    options.existing = parser.isSet(overwrite)      ? CliOptions::Existing::Overwrite
                       : parser.isSet(skipExisting) ? CliOptions::Existing::Skip
                                                    : CliOptions::Existing::Fail;
    bool ok = true;
    if (parser.isSet(jobs)) {
        options.jobs = parser.value(jobs).toInt(&ok);
        if (!ok || options.jobs < 1 || options.jobs > 64)
            return bad(QStringLiteral("--jobs takes a number from 1 to 64, not %1.").arg(parser.value(jobs)));
    }
    if (parser.isSet(timeout)) {
        options.timeoutSeconds = parser.value(timeout).toInt(&ok);
        if (!ok || options.timeoutSeconds < 1)
            return bad(
                QStringLiteral("--timeout takes a number of seconds, not %1.").arg(parser.value(timeout)));
    }
    if (parser.isSet(combine)) {
        QString name = parser.value(combine);
        if (name.isEmpty() || name.contains(u'/'))
            return bad(QStringLiteral("--combine takes a file name, not %1.").arg(name));
        if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            name += QStringLiteral(".pdf");
        options.combinedPath = QDir(options.outputFolder).filePath(name);
    }
    if (parser.isSet(report))
        options.reportPath = QFileInfo(parser.value(report)).absoluteFilePath();

    // A missing output folder is made once everything else is known good.
    if (QString why; !MakeFolder(options.outputFolder, &why))
        return bad(QStringLiteral("the output folder %1 cannot be made: %2.").arg(parser.value(output), why));

    result.run = true;
    result.exitCode = 0;
    return result;
}
