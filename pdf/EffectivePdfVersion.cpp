#include "pdf/EffectivePdfVersion.h"

#include "pdf/ArchiveFormat.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/PdfEncryption.h"

#include <array>

namespace {

// What needs a later version than 1.3, and the least version that has it.
struct Requirement
{
    bool (*applies)(const ConversionSettings&);
    const char* least;
};

constexpr std::array<Requirement, 7> kRequirements{{
    // 128-bit RC4 (revision 3 of the standard security handler) came with 1.4.
    {[](const ConversionSettings& s) { return s.securityEnabled == 1 && s.encryptionLevel == 1; }, "1.4"},
    // AES-128 (revision 4) came with 1.6, AES-256 (revision 6) with 1.7's extension level 8.
    {[](const ConversionSettings& s) { return s.securityEnabled == 1 && s.encryptionLevel == kAes128Level; },
     "1.6"},
    {[](const ConversionSettings& s) { return s.securityEnabled == 1 && s.encryptionLevel == kAes256Level; },
     "1.7"},
    // PDF/A-2 is based on PDF 1.7.
    {[](const ConversionSettings& s) { return IsArchive(s); }, "1.7"},
    // PDF/UA-1 is a profile of PDF 1.7.
    {[](const ConversionSettings& s) { return s.tagged; }, "1.7"},
    // The later versions, which the command line's text cannot name.
    {[](const ConversionSettings& s) { return s.pdfVersion == QLatin1String("V1.6"); }, "1.6"},
    {[](const ConversionSettings& s) { return s.pdfVersion == QLatin1String("V1.7"); }, "1.7"},
}};

// "1.3" < "1.4" < ... compare as text while the major version is 1.
QString Later(const QString& a, const QString& b)
{
    return a.isEmpty() || b > a ? b : a;
}

} // namespace

QString EffectiveCompatibilityLevel(const ConversionSettings& settings)
{
    QString level = CompatibilityLevel(settings.pdfVersion);
    for (const Requirement& requirement : kRequirements) {
        if (requirement.applies(settings))
            level = Later(level, QString::fromLatin1(requirement.least));
    }
    return level;
}
