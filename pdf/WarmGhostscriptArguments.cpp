#include "pdf/WarmGhostscriptArguments.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// The interpreter's switches the warm Ghostscript was started with.
const QSet<QString> kInterpreterSwitches{QStringLiteral("-dSAFER"), QStringLiteral("-dNOPAUSE"),
                                         QStringLiteral("-dBATCH")};
// The pdfwrite parameters the PDF step sets, each a number or true/false;
// the warm Ghostscript opens its device with them. Encryption's switches
// come in an argument file, which is not taken: the gs program makes such
// a file.
const QStringList kParameters{QStringLiteral("CompatibilityLevel"), QStringLiteral("PassThroughJPEGImages")};

// Any bytes, as a PostScript string that nothing in them can end early.
QByteArray HexString(const QByteArray& bytes)
{
    return '<' + bytes.toHex() + '>';
}

struct Switch
{
    QString name;
    QString value;
    bool text = false;
};

std::optional<Switch> ParseSwitch(const QString& argument)
{
    if (argument.size() < 3 ||
        (!argument.startsWith(QLatin1String("-d")) && !argument.startsWith(QLatin1String("-s"))))
        return std::nullopt;
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return Switch{argument.mid(2, equals - 2), argument.mid(equals + 1), argument.at(1) == QLatin1Char('s')};
}

// The file an -sOutputFile value names: "%%" stands for a "%" there; any
// other "%" is a page-number format, which the PDF step never asks for.
std::optional<QString> LiteralOutputPath(const QString& value)
{
    QString path;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('%') && (++i >= value.size() || value[i] != QLatin1Char('%')))
            return std::nullopt;
        path += value[i];
    }
    return path;
}

} // namespace

std::optional<WarmGhostscriptJob> WarmGhostscriptJobFor(const QStringList& arguments,
                                                        const QString& temporaryFolder)
{
    static const QRegularExpression number(QStringLiteral("^(true|false|-?[0-9]+(\\.[0-9]+)?)$"));
    WarmGhostscriptJob job;
    job.temporaryFolder = temporaryFolder;
    QByteArray outputFile;
    QByteArray body;
    QStringList code;
    QSet<QString> interpreter;
    bool pdfwrite = false;
    bool inCode = false;
    const auto endCode = [&] {
        if (!code.isEmpty())
            body += code.join(QLatin1Char(' ')).toUtf8() + '\n';
        code.clear();
        inCode = false;
    };

    for (const QString& argument : arguments) {
        if (argument == QLatin1String("-c")) {
            endCode();
            inCode = true;
        } else if (argument == QLatin1String("-f")) {
            endCode();
        } else if (inCode && !argument.startsWith(QLatin1Char('-'))) {
            code << argument;
        } else if (argument.startsWith(QLatin1Char('@'))) {
            return std::nullopt; // an argument file: security switches
        } else if (!argument.startsWith(QLatin1Char('-'))) {
            job.readablePaths << argument;
            body += HexString(QFile::encodeName(argument)) + " run\n";
        } else if (kInterpreterSwitches.contains(argument)) {
            endCode();
            interpreter << argument;
        } else if (const std::optional<Switch> parsed = ParseSwitch(argument)) {
            endCode();
            if (parsed->name == QLatin1String("DEVICE") && parsed->text) {
                if (parsed->value != QLatin1String("pdfwrite"))
                    return std::nullopt;
                pdfwrite = true;
            } else if (parsed->name == QLatin1String("OutputFile") && parsed->text) {
                const std::optional<QString> path = LiteralOutputPath(parsed->value);
                if (!path)
                    return std::nullopt;
                job.writablePath = *path;
                outputFile = HexString(QFile::encodeName(parsed->value));
            } else if (kParameters.contains(parsed->name) && !parsed->text &&
                       number.match(parsed->value).hasMatch()) {
                job.deviceSwitches << argument;
            } else {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    endCode();
    if (!pdfwrite || job.writablePath.isEmpty() || interpreter != kInterpreterSwitches)
        return std::nullopt;
    // The device was opened with the switches; a new output file reopens it.
    job.program = "<< /OutputFile " + outputFile + " >> setpagedevice\n" + body;
    return job;
}
