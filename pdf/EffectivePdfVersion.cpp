#include "pdf/EffectivePdfVersion.h"

#include "pdf/ArchiveFormat.h"

#include <algorithm>

namespace {

// The minor version (of PDF 1.x) a chosen version is written at.
int MinorOf(PdfVersion version)
{
    switch (version) {
    case PdfVersion::V1_3:
        return 3;
    case PdfVersion::V1_4:
        return 4;
    case PdfVersion::V1_5:
        return 5;
    case PdfVersion::V1_6:
        return 6;
    case PdfVersion::V1_7:
        break;
    case PdfVersion::PdfA2b:
        // PDF/A-2 is based on PDF 1.7.
        break;
    }
    return 7;
}

// The least minor version that has an encryption method: 128-bit RC4
// (revision 3) came with 1.4, AES-128 (revision 4) with 1.6, AES-256
// (revision 6) with 1.7's extension level 8.
int LeastMinorFor(EncryptionMethod method)
{
    switch (method) {
    case EncryptionMethod::Rc4_40:
        return 3;
    case EncryptionMethod::Rc4_128:
        return 4;
    case EncryptionMethod::Aes128:
        return 6;
    case EncryptionMethod::Aes256:
        break;
    }
    return 7;
}

} // namespace

QString EffectiveCompatibilityLevel(const ConversionSettings& settings)
{
    int minor = MinorOf(settings.pdfVersion);
    if (settings.securityEnabled)
        minor = std::max(minor, LeastMinorFor(settings.encryption));
    // PDF/UA-1 is a profile of PDF 1.7.
    if (settings.tagged)
        minor = 7;
    return QStringLiteral("1.%1").arg(minor);
}
