#include "pdf/PdfEncryption.h"

#include "pdf/GhostscriptCommandLine.h"

#include <qpdf/QPDFWriter.hh>

bool UsesAes(const ConversionSettings& settings)
{
    return settings.securityEnabled && (settings.encryption == EncryptionMethod::Aes128 ||
                                        settings.encryption == EncryptionMethod::Aes256);
}

bool UsesEncryption(const ConversionSettings& settings)
{
    return settings.securityEnabled;
}

bool SetEncryption(QPDFWriter& writer, const ConversionSettings& settings, QString* why)
{
    const QByteArray user = settings.userPasswordEnabled ? settings.userPassword.toUtf8() : QByteArray();
    const QByteArray owner = settings.ownerPasswordEnabled ? settings.ownerPassword.toUtf8() : QByteArray();
    if (owner.isEmpty()) {
        *why = QStringLiteral("The PDF cannot be encrypted without an owner password.");
        return false;
    }
    if (!UsesAes(settings)) {
        const auto p = static_cast<unsigned>(PermissionsValue(settings));
        const auto may = [p](unsigned bit) { return (p & bit) != 0; };
        if (settings.encryption == EncryptionMethod::Rc4_40) {
            writer.setR2EncryptionParametersInsecure(user.constData(), owner.constData(), may(0x4), may(0x8),
                                                     may(0x10), may(0x20));
        } else {
            const qpdf_r3_print_e print = !may(0x4)    ? qpdf_r3p_none
                                          : may(0x800) ? qpdf_r3p_full
                                                       : qpdf_r3p_low;
            writer.setR3EncryptionParametersInsecure(user.constData(), owner.constData(), may(0x200),
                                                     may(0x10), may(0x400), may(0x20), may(0x100), may(0x8),
                                                     print);
        }
        return true;
    }
    // A ticked box withholds its right, an unticked one grants it.
    const bool copying = !settings.withheld.copying;
    const bool forms = !settings.withheld.forms;       // commenting, signing and form filling
    const bool changing = !settings.withheld.changing; // changes and assembly
    const qpdf_r3_print_e printing = settings.withheld.printing ? qpdf_r3p_none : qpdf_r3p_full;
    const bool accessibility = true; // screen readers may always read the text
    if (settings.encryption == EncryptionMethod::Aes256)
        writer.setR6EncryptionParameters(user.constData(), owner.constData(), accessibility, copying,
                                         changing, forms, forms, changing, printing, true);
    else
        writer.setR4EncryptionParametersInsecure(user.constData(), owner.constData(), accessibility, copying,
                                                 changing, forms, forms, changing, printing, true, true);
    return true;
}
