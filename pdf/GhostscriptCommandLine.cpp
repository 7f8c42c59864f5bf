#include "pdf/GhostscriptCommandLine.h"

#include <array>

namespace {

bool IsNativePath(const QString& path)
{
    return path.contains(QLatin1Char('/'));
}

QChar SeparatorOf(const QString& path)
{
    return IsNativePath(path) ? QLatin1Char('/') : QLatin1Char('\\');
}

// Quotes an argument so that the Windows command-line rules split it back
// into exactly the text: a quote is escaped, and backslashes that come before
// a quote (or before the closing quote) are doubled. Other text is unchanged.
QString QuoteArgument(const QString& text)
{
    QString quoted(QLatin1Char('"'));
    int backslashes = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted += QString(backslashes * 2 + 1, QLatin1Char('\\'));
        } else {
            quoted += QString(backslashes, QLatin1Char('\\'));
        }
        backslashes = 0;
        quoted += c;
    }
    quoted += QString(backslashes * 2, QLatin1Char('\\'));
    quoted += QLatin1Char('"');
    return quoted;
}

// Characters a PostScript string in the side file can carry as one byte and
// that read back as the same character in the PDF's document information.
bool FitsOneByte(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x7F || (u > 0xA0 && u <= 0xFF && u != 0xAD);
}

// A document-information value as a PostScript string: ( ) and \ escaped;
// text with characters beyond one byte as UTF-16BE hex with a byte-order mark.
QString PostScriptString(const QString& text)
{
    bool oneByte = true;
    for (QChar c : text) {
        if (!FitsOneByte(c))
            oneByte = false;
    }
    if (oneByte) {
        QString escaped;
        for (QChar c : text) {
            if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('\\'))
                escaped += QLatin1Char('\\');
            escaped += c;
        }
        return QLatin1Char('(') + escaped + QLatin1Char(')');
    }
    QString hex = QStringLiteral("<FEFF");
    for (QChar c : text)
        hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return hex + QLatin1Char('>');
}

} // namespace

QString CompatibilityLevel(PdfVersion pdfVersion)
{
    // The command line's text names only the versions the design's own
    // switch knows; the later ones reach Ghostscript as the effective level.
    switch (pdfVersion) {
    case PdfVersion::V1_3:
        return QStringLiteral("1.3");
    case PdfVersion::V1_4:
        return QStringLiteral("1.4");
    case PdfVersion::V1_5:
        return QStringLiteral("1.5");
    case PdfVersion::V1_6:
    case PdfVersion::V1_7:
    case PdfVersion::PdfA2b:
        break;
    }
    return {};
}

QString PdfFileName(const QString& sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf(SeparatorOf(sourcePath)) + 1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? QString() : name.left(dot)) + QStringLiteral(".pdf");
}

QString PdfOutputPath(const QString& outputFolder, const QString& sourcePath)
{
    const QChar separator = SeparatorOf(outputFolder);
    QString path = outputFolder;
    if (!path.endsWith(separator))
        path += separator;
    return path + PdfFileName(sourcePath);
}

int PermissionsValue(const ConversionSettings& settings)
{
    struct Mask
    {
        bool WithheldRights::*right;
        unsigned low;
        unsigned high;
    };
    static constexpr std::array<Mask, 4> masks{{
        {&WithheldRights::copying, 0x10, 0x1F0},
        {&WithheldRights::forms, 0x20, 0xE0},
        {&WithheldRights::changing, 0x8, 0x3F8},
        {&WithheldRights::printing, 0x4, 0x7FC},
    }};
    const bool high = settings.encryption == EncryptionMethod::Rc4_128;
    unsigned value = 0xFFFFFFFCu;
    for (const Mask& mask : masks) {
        if (settings.withheld.*mask.right)
            value &= ~(high ? mask.high : mask.low);
    }
    return static_cast<int>(value);
}

QString BuildSecurityArguments(const ConversionSettings& settings)
{
    QString s;
    if (!settings.securityEnabled)
        return s;
    if (settings.ownerPasswordEnabled) {
        // A ticked owner password that is empty turns security off altogether.
        if (settings.ownerPassword.isEmpty())
            return s;
        s += QStringLiteral("-sOwnerPassword=") + QuoteArgument(settings.ownerPassword) + QLatin1Char(' ');
    }
    if (settings.userPasswordEnabled)
        s += QStringLiteral("-sUserPassword=") + QuoteArgument(settings.userPassword) + QLatin1Char(' ');
    // AES is not Ghostscript's: qpdf writes it afterwards.
    if (settings.encryption == EncryptionMethod::Rc4_40)
        s += QStringLiteral(" -dEncryptionR=2 -dKeyLength=40 ");
    else if (settings.encryption == EncryptionMethod::Rc4_128)
        s += QStringLiteral("-dEncryptionR=3 -dKeyLength=128 ");
    else
        return s;
    s += QStringLiteral("-dPermissions=%1  ").arg(PermissionsValue(settings));
    return s;
}

QString BuildGhostscriptCommandLine(const ConversionSettings& settings, const QString& sourcePath,
                                    const QString& outputFolder)
{
    return BuildGhostscriptCommandLine(settings, sourcePath, outputFolder, GhostscriptPaths{});
}

QString BuildGhostscriptCommandLine(const ConversionSettings& settings, const QString& sourcePath,
                                    const QString& outputFolder, const GhostscriptPaths& paths)
{
    // Paths are quoted by the same rules as passwords, so a quote in a folder
    // name cannot split the command line differently.
    return paths.program +
           QStringLiteral("-dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -dCompatibilityLevel=") +
           CompatibilityLevel(settings.pdfVersion) + QLatin1Char(' ') + BuildSecurityArguments(settings) +
           QStringLiteral("-sOutputFile=") + QuoteArgument(PdfOutputPath(outputFolder, sourcePath)) +
           QStringLiteral("  -c .setpdfwrite -f  ") + QuoteArgument(paths.spoolFile) + QLatin1Char(' ') +
           QuoteArgument(paths.pdfmarksFile);
}

double QualityFactor(JpegQuality jpegQuality)
{
    switch (jpegQuality) {
    case JpegQuality::Minimum:
        return 1.5;
    case JpegQuality::Low:
        return 0.8;
    case JpegQuality::Medium:
        return 0.55;
    case JpegQuality::High:
        return 0.25;
    case JpegQuality::Maximum:
        break;
    }
    return 0.1;
}

QString QualityDictionary(JpegQuality jpegQuality)
{
    // The finest quality samples every colour component at full resolution.
    const QString s =
        jpegQuality == JpegQuality::Maximum ? QStringLiteral("[1 1 1 1]") : QStringLiteral("[2 1 1 2]");
    return QStringLiteral("<</QFactor ") + QString::number(QualityFactor(jpegQuality)) +
           QStringLiteral(" /HSamples ") + s + QStringLiteral(" /VSamples ") + s +
           QStringLiteral(" /Blend 1 /ColorTransform 1 >>");
}

QString BuildPdfmarksText(const ConversionSettings& settings)
{
    QString info;
    if (!settings.title.isEmpty())
        info += QStringLiteral(" /Title ") + PostScriptString(settings.title) + QStringLiteral(" \n");
    if (!settings.author.isEmpty())
        info += QStringLiteral(" /Author ") + PostScriptString(settings.author) + QStringLiteral("\n");
    if (!settings.subject.isEmpty())
        info += QStringLiteral(" /Subject ") + PostScriptString(settings.subject) + QStringLiteral("\n");
    if (!settings.keywords.isEmpty())
        info += QStringLiteral(" /Keywords ") + PostScriptString(settings.keywords) + QStringLiteral("\n");
    if (!info.isEmpty())
        info = QLatin1Char('[') + info + QStringLiteral("/DOCINFO pdfmark");

    QString params = QStringLiteral("\n\n\n\n<<\n");
    params += settings.documentCompression == DocumentCompression::Flate
                  ? QStringLiteral("/CompressPages true\n/UseFlateCompression true\n")
                  : QStringLiteral("/CompressPages true\n/UseFlateCompression false\n");

    const QString q = QualityDictionary(settings.jpegQuality);
    const QString filters = QStringLiteral("/AutoFilterColorImages false\n/AutoFilterGrayImages false\n"
                                           "/EncodeColorImages true\n/EncodeGrayImages true\n");
    switch (settings.imageCompression) {
    case ImageCompression::Jpeg:
        params += filters + QStringLiteral("/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode") +
                  QStringLiteral("\n/ColorImageDict \n") + q + QStringLiteral("\n/GrayImageDict \n") + q;
        break;
    case ImageCompression::Flate:
        params += filters +
                  QStringLiteral("/EncodeMonoImages true\n/ColorImageFilter /FlateEncode\n"
                                 "/GrayImageFilter /FlateEncode\n/MonoImageFilter /FlateEncode") +
                  QStringLiteral("\n/ColorImageDict \n") + q + QStringLiteral("\n/GrayImageDict \n") + q;
        break;
    case ImageCompression::Automatic:
        params += QStringLiteral("/AutoFilterColorImages true\n/AutoFilterGrayImages true\n"
                                 "/EncodeColorImages true\n/EncodeGrayImages true\n"
                                 "/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode") +
                  QStringLiteral("\n/ColorACSImageDict \n") + q + QStringLiteral("\n/GrayACSImageDict \n") +
                  q;
        break;
    }
    return info + params + QStringLiteral("\n>> setdistillerparams");
}
