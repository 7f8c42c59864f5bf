#include "cli/CliOptionTable.h"

#include "pdf/AdvancedChoices.h"
#include "pdf/RecognitionLanguages.h"
#include "pdf/SecurityChoices.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <utility>

namespace {

// "a, b, c or d", as a sentence lists the names.
QString Listed(QStringList names, const QString& conjunction)
{
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + u' ' + conjunction + u' ' + last;
}

QStringList RightNames()
{
    QStringList names;
    for (const securitychoices::Right& right : securitychoices::kRights)
        names << right.name.toString();
    return names;
}

// One of the Advanced page's boxes: a value of its table, by name.
template <typename Value, std::size_t N>
CliOption Choice(const QString& name, const QString& valueName, const QString& what,
                 const std::array<advancedchoices::Choice<Value>, N>& table, Value ConversionSettings::*field)
{
    const QString names = advancedchoices::Names(table);
    return {{name},
            valueName,
            QStringLiteral("%1: %2.").arg(what, names),
            [name, names, &table, field](const QString& value, CliReading& reading) -> QString {
                const std::optional<Value> chosen = advancedchoices::FromName(table, value);
                if (!chosen)
                    return QStringLiteral("--%1 takes %2, not %3.").arg(name, names, value);
                reading.options.settings.*field = *chosen;
                return {};
            }};
}

// One of the Description page's texts.
CliOption Description(const QString& name, const QString& help, QString ConversionSettings::*field)
{
    return {{name}, QStringLiteral("TEXT"), help, [field](const QString& value, CliReading& reading) {
                reading.options.settings.*field = value;
                return QString();
            }};
}

// Reads a password file: its whole text without the line end that closes it.
// Empty, or why it cannot be read.
QString ReadPassword(const QString& name, QIODevice& standardInput, QString* password)
{
    QByteArray bytes;
    if (name == u"-") {
        if (!standardInput.isOpen() && !standardInput.open(QIODevice::ReadOnly))
            return QStringLiteral("standard input cannot be read");
        bytes = standardInput.readAll();
    } else {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("%1 cannot be read: %2").arg(name, file.errorString());
        bytes = file.readAll();
    }
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    *password = QString::fromUtf8(bytes);
    return {};
}

// A password read from a file ("-": standard input, for one password only);
// "which" names it in a message. The PDF's own passwords need --encrypt;
// given, its box counts as ticked.
CliOption PasswordFile(const QString& which, const QString& help, bool ofThePdf,
                       QString* (*password)(CliReading&), bool ConversionSettings::*enabled)
{
    return {{which + QStringLiteral("-password-file")},
            QStringLiteral("FILE"),
            help,
            [=](const QString& file, CliReading& reading) -> QString {
                if (ofThePdf && !reading.IsSet(QStringLiteral("encrypt")))
                    return QStringLiteral("--deny and the PDF's passwords need --encrypt.");
                if (file == u"-" && std::exchange(reading.standardInputTaken, true))
                    return QStringLiteral("only one password can be read from standard input.");
                if (const QString why = ReadPassword(file, reading.standardInput, password(reading));
                    !why.isEmpty())
                    return QStringLiteral("the %1 password file: %2.").arg(which, why);
                if (enabled)
                    reading.options.settings.*enabled = true;
                return {};
            }};
}

// Recognising the words of pictures, in the languages given or the default.
QString Recognize(CliReading& reading, const QString* languages)
{
    ConversionSettings& settings = reading.options.settings;
    settings.recognizeText = true;
    const QStringList installed = recognitionlanguages::Installed();
    settings.recognitionLanguages = languages ? *languages : recognitionlanguages::Default(installed);
    return recognitionlanguages::Refusal(settings.recognitionLanguages, installed);
}

std::vector<CliOption> MakeTable()
{
    using namespace advancedchoices;
    using securitychoices::kEncryptionMethods;
    const auto set = [](auto apply) {
        return [apply](const QString& value, CliReading& reading) -> QString {
            return apply(value, reading.options);
        };
    };
    return {
        {{QStringLiteral("h"), QStringLiteral("help")}, {}, QStringLiteral("Shows this help and ends."), {}},
        {{QStringLiteral("version")}, {}, QStringLiteral("Shows the version and ends."), {}},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("FOLDER"),
         QStringLiteral("The folder the PDF files are written into."),
         set([](const QString& value, CliOptions& options) -> QString {
             const QFileInfo folder(value);
             if (folder.exists() && !folder.isDir())
                 return QStringLiteral("the output folder %1 is not a folder.").arg(value);
             options.outputFolder = folder.absoluteFilePath();
             return {};
         })},
        {{QStringLiteral("r"), QStringLiteral("recursive")},
         {},
         QStringLiteral("Converts the files in folders given as FILE, and in their subfolders; the PDFs keep "
                        "the folders' layout."),
         set([](const QString&, CliOptions& options) {
             options.recursive = true;
             return QString();
         })},
        Choice(QStringLiteral("pdf-version"), QStringLiteral("VERSION"), QStringLiteral("PDF version"),
               kPdfVersions, &ConversionSettings::pdfVersion),
        {{QStringLiteral("pdfa")},
         {},
         QStringLiteral("Writes PDF/A-2b (the same as --pdf-version PDF/A-2b)."),
         [](const QString&, CliReading& reading) -> QString {
             PdfVersion& version = reading.options.settings.pdfVersion;
             if (reading.IsSet(QStringLiteral("pdf-version")) && version != PdfVersion::PdfA2b)
                 return QStringLiteral("--pdfa and --pdf-version %1 exclude each other.")
                     .arg(reading.Value(QStringLiteral("pdf-version")));
             version = PdfVersion::PdfA2b;
             return {};
         }},
        {{QStringLiteral("tagged")},
         {},
         QStringLiteral("Writes tagged, accessible PDFs (PDF/UA): structure, language, alternate texts and "
                        "form fields."),
         set([](const QString&, CliOptions& options) {
             options.settings.tagged = true;
             return QString();
         })},
        Choice(QStringLiteral("compression"), QStringLiteral("KIND"), QStringLiteral("Document compression"),
               kDocumentCompressions, &ConversionSettings::documentCompression),
        Choice(QStringLiteral("image-compression"), QStringLiteral("KIND"),
               QStringLiteral("Image compression"), kImageCompressions,
               &ConversionSettings::imageCompression),
        Choice(QStringLiteral("jpeg-quality"), QStringLiteral("QUALITY"), QStringLiteral("JPEG quality"),
               kJpegQualities, &ConversionSettings::jpegQuality),
        {{QStringLiteral("ocr")},
         {},
         QStringLiteral(
             "Recognizes the text in pictures (OCR) and lays it, invisible, over each page, so the "
             "PDF can be searched and copied from."),
         [](const QString&, CliReading& reading) {
             // Named languages are taken with --ocr-language.
             return reading.IsSet(QStringLiteral("ocr-language")) ? QString() : Recognize(reading, nullptr);
         }},
        {{QStringLiteral("ocr-language")},
         QStringLiteral("LANGS"),
         QStringLiteral("The languages of the text in pictures, as Tesseract names them, several joined by + "
                        "(eng+deu); English where installed when not given. Implies --ocr."),
         [](const QString& languages, CliReading& reading) { return Recognize(reading, &languages); }},
        {{QStringLiteral("encrypt")},
         QStringLiteral("METHOD"),
         QStringLiteral("Encrypts the PDF: %1.")
             .arg(Listed(NameList(kEncryptionMethods), QStringLiteral("or"))),
         [](const QString& value, CliReading& reading) -> QString {
             const std::optional<EncryptionMethod> method = FromName(kEncryptionMethods, value);
             if (!method)
                 return QStringLiteral("--encrypt takes %1, not %2.")
                     .arg(Names(kEncryptionMethods, QStringLiteral(", ")), value);
             reading.options.settings.securityEnabled = true;
             reading.options.settings.encryption = *method;
             return {};
         }},
        {{QStringLiteral("deny")},
         QStringLiteral("RIGHTS"),
         QStringLiteral("Rights the encrypted PDF withholds, separated by commas: %1.")
             .arg(RightNames().join(QStringLiteral(", "))),
         [](const QString& value, CliReading& reading) -> QString {
             if (!reading.IsSet(QStringLiteral("encrypt")))
                 return QStringLiteral("--deny and the PDF's passwords need --encrypt.");
             for (const QString& right : value.split(u',', Qt::SkipEmptyParts)) {
                 if (!securitychoices::Withhold(reading.options.settings.withheld, right.trimmed()))
                     return QStringLiteral("--deny takes %1, not %2.")
                         .arg(Listed(RightNames(), QStringLiteral("and")), right);
             }
             return {};
         }},
        PasswordFile(
            QStringLiteral("user"),
            QStringLiteral(
                "The encrypted PDF's user (open) password, read from FILE (- for standard input)."),
            true, [](CliReading& r) { return &r.options.settings.userPassword; },
            &ConversionSettings::userPasswordEnabled),
        PasswordFile(
            QStringLiteral("owner"),
            QStringLiteral("The encrypted PDF's owner password, read from FILE (- for standard input)."),
            true, [](CliReading& r) { return &r.options.settings.ownerPassword; },
            &ConversionSettings::ownerPasswordEnabled),
        PasswordFile(
            QStringLiteral("open"),
            QStringLiteral("A password tried for protected documents, read from FILE (- for standard "
                           "input)."),
            false, [](CliReading& r) { return &r.options.openPassword; }, nullptr),
        Description(QStringLiteral("title"), QStringLiteral("Document title."), &ConversionSettings::title),
        Description(QStringLiteral("subject"), QStringLiteral("Document subject."),
                    &ConversionSettings::subject),
        Description(QStringLiteral("author"), QStringLiteral("Document author."),
                    &ConversionSettings::author),
        Description(QStringLiteral("keywords"), QStringLiteral("Document keywords."),
                    &ConversionSettings::keywords),
        {{QStringLiteral("overwrite")},
         {},
         QStringLiteral("Replaces a PDF that exists already (once the new one is complete)."),
         set([](const QString&, CliOptions& options) {
             options.existing = CliOptions::Existing::Overwrite;
             return QString();
         })},
        {{QStringLiteral("skip-existing")},
         {},
         QStringLiteral("Leaves a PDF that exists already and its file alone."),
         [](const QString&, CliReading& reading) -> QString {
             if (reading.IsSet(QStringLiteral("overwrite")))
                 return QStringLiteral("--overwrite and --skip-existing exclude each other.");
             reading.options.existing = CliOptions::Existing::Skip;
             return {};
         }},
        {{QStringLiteral("j"), QStringLiteral("jobs")},
         QStringLiteral("N"),
         QStringLiteral("Converts N files at once (default 2, 1 on a machine with one core)."),
         set([](const QString& value, CliOptions& options) -> QString {
             bool ok = false;
             options.jobs = value.toInt(&ok);
             if (!ok || options.jobs < 1 || options.jobs > 64)
                 return QStringLiteral("--jobs takes a number from 1 to 64, not %1.").arg(value);
             return {};
         })},
        {{QStringLiteral("timeout")},
         QStringLiteral("SECONDS"),
         QStringLiteral("Gives up a file that takes longer than SECONDS."),
         set([](const QString& value, CliOptions& options) -> QString {
             bool ok = false;
             options.timeoutSeconds = value.toInt(&ok);
             if (!ok || options.timeoutSeconds < 1)
                 return QStringLiteral("--timeout takes a number of seconds, not %1.").arg(value);
             return {};
         })},
        {{QStringLiteral("combine")},
         QStringLiteral("NAME"),
         QStringLiteral(
             "Joins the PDFs of all files, in the order given, into one PDF named NAME in the output "
             "folder."),
         set([](const QString& value, CliOptions& options) -> QString {
             QString name = value;
             if (name.isEmpty() || name.contains(u'/'))
                 return QStringLiteral("--combine takes a file name, not %1.").arg(name);
             if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
                 name += QStringLiteral(".pdf");
             options.combinedPath = QDir(options.outputFolder).filePath(name);
             return {};
         })},
        {{QStringLiteral("report")},
         QStringLiteral("FILE"),
         QStringLiteral("Writes a JSON report of every file (source, pdf, status, reason, seconds) to FILE."),
         set([](const QString& value, CliOptions& options) {
             options.reportPath = QFileInfo(value).absoluteFilePath();
             return QString();
         })},
    };
}

} // namespace

bool CliReading::IsSet(const QString& name) const
{
    return parser.isSet(name);
}

QString CliReading::Value(const QString& name) const
{
    return parser.value(name);
}

const std::vector<CliOption>& CliOptionTable()
{
    static const std::vector<CliOption> table = MakeTable();
    return table;
}
