#include "pdf/EffectivePdfVersion.h"

#include "pdf/GhostscriptCommandLine.h"

#include <array>

namespace {

// What needs a later version than 1.3, and the least version that has it.
struct Requirement
{
    bool (*applies)(const ConversionSettings&);
    const char* least;
};

constexpr std::array<Requirement, 1> kRequirements{{
    // 128-bit RC4 (revision 3 of the standard security handler) came with 1.4.
    {[](const ConversionSettings& s) { return s.securityEnabled == 1 && s.encryptionLevel == 1; }, "1.4"},
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
