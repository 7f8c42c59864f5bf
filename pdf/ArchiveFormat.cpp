#include "pdf/ArchiveFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

bool IsArchive(const ConversionSettings& settings)
{
    return settings.pdfVersion == PdfVersion::PdfA2b;
}

ArchiveResources FindArchiveResources()
{
    // One folder per installed Ghostscript version; the newest that has both wins.
    const QDir root(QStringLiteral("/usr/share/ghostscript"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QDir version(root.filePath(*it));
        const QString definition = version.filePath(QStringLiteral("lib/PDFA_def.ps"));
        const QString profile = version.filePath(QStringLiteral("iccprofiles/srgb.icc"));
        if (QFileInfo(definition).isFile() && QFileInfo(profile).isFile())
            return {definition, profile};
    }
    return {};
}

QString AdaptedArchiveDefinition(const QString& definitionText, const QString& srgbProfile)
{
    QString text = definitionText;
    // Its sample title would replace the user's document information.
    static const QRegularExpression sampleInfo(
        QStringLiteral("\\[\\s*/Title\\s*\\([^)]*\\)[^\\n]*\\n\\s*/DOCINFO pdfmark"));
    text.remove(sampleInfo);
    // The profile is named by its full path: Ghostscript opens it as a file.
    QString escaped = srgbProfile;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('('), QStringLiteral("\\("))
        .replace(QLatin1Char(')'), QStringLiteral("\\)"));
    static const QRegularExpression profile(QStringLiteral("/ICCProfile\\s*\\([^)]*\\)"));
    text.replace(profile, QStringLiteral("/ICCProfile (") + escaped + QLatin1Char(')'));
    return text;
}

QStringList AddArchiveArguments(const QStringList& arguments, const QString& adaptedDefinitionFile,
                                const QString& srgbProfile)
{
    QStringList result;
    bool definitionRead = false;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("-dCompatibilityLevel="))) {
            result << argument << QStringLiteral("-dPDFA=2") << QStringLiteral("-dPDFACompatibilityPolicy=1")
                   << QStringLiteral("-sColorConversionStrategy=RGB")
                   << QStringLiteral("--permit-file-read=") + srgbProfile;
            continue;
        }
        result << argument;
        // The first file read (after the code that follows -c) is preceded by the definition.
        if (argument == QLatin1String("-f") && !definitionRead) {
            result << adaptedDefinitionFile;
            definitionRead = true;
        }
    }
    return result;
}
