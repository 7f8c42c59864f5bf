#include "pdf/LaterPdfVersions.h"

#include "pdf/ArchiveFormat.h"
#include "pdf/PdfEncryption.h"

QString LaterCompatibilityLevel(const ConversionSettings& settings)
{
    QString level;
    if (settings.pdfVersion == QLatin1String("V1.6"))
        level = QStringLiteral("1.6");
    if (settings.pdfVersion == QLatin1String("V1.7") || IsArchive(settings))
        level = QStringLiteral("1.7");
    if (UsesAes(settings)) {
        const QString aes =
            settings.encryptionLevel == kAes256Level ? QStringLiteral("1.7") : QStringLiteral("1.6");
        level = qMax(level, aes);
    }
    return level;
}

void RaiseCompatibilityLevelTo(QStringList& arguments, const QString& level)
{
    static const QString kLevelSwitch = QStringLiteral("-dCompatibilityLevel=");
    for (QString& argument : arguments) {
        if (argument.startsWith(kLevelSwitch) && argument.mid(kLevelSwitch.size()) < level)
            argument = kLevelSwitch + level;
    }
}
