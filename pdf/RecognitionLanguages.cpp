#include "pdf/RecognitionLanguages.h"

#include "pdf/TextRecognizer.h"
#include "platform/ProcessRunner.h"

#include <QRegularExpression>

namespace recognitionlanguages {

namespace {

constexpr int kListTimeoutMs = 30 * 1000;

// A language's name: letters, digits, "_" and, for Tesseract's script
// models, "/"; never a switch.
bool IsName(const QString& text)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_/]*$"));
    return name.match(text).hasMatch();
}

} // namespace

QStringList Installed(const QString& executable)
{
    ProcessRequest request;
    request.program = executable.isEmpty() ? TextRecognizer::FindTesseract() : executable;
    if (request.program.isEmpty())
        return {};
    request.arguments = {QStringLiteral("--list-langs")};
    request.environment = RestrictedEnvironment();
    request.timeoutMs = kListTimeoutMs;
    const ProcessResult result = ProcessRunner::System().Run(request);
    if (!result.succeeded())
        return {};
    // A heading line ("List of available languages in ..."), then one name a line.
    QStringList languages;
    const QString text = QString::fromLocal8Bit(result.standardOutput + '\n' + result.standardError);
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (IsName(line) && line != u"osd" && !languages.contains(line))
            languages << line;
    }
    return languages;
}

QString Default(const QStringList& installed)
{
    if (installed.contains(QStringLiteral("eng")))
        return QStringLiteral("eng");
    return installed.value(0);
}

QStringList Split(const QString& choice)
{
    QStringList languages;
    for (const QString& part : choice.split(u'+', Qt::SkipEmptyParts))
        languages << part.trimmed();
    return languages;
}

QString Refusal(const QString& choice, const QStringList& installed)
{
    if (installed.isEmpty())
        return QStringLiteral("Text recognition needs Tesseract with at least one language; none is "
                              "installed.");
    const QStringList languages = Split(choice);
    if (languages.isEmpty())
        return QStringLiteral("No recognition language is chosen.");
    for (const QString& language : languages)
        if (!IsName(language) || !installed.contains(language))
            return QStringLiteral("The recognition language %1 is not installed (installed: %2).")
                .arg(language, installed.join(QStringLiteral(", ")));
    return {};
}

} // namespace recognitionlanguages
