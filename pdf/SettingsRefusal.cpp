#include "pdf/SettingsRefusal.h"

#include "pdf/ArchiveFormat.h"

RefusedSettings RefusalOf(const ConversionSettings& settings)
{
    if (!settings.securityEnabled)
        return RefusedSettings::None;
    if (IsArchive(settings))
        return RefusedSettings::EncryptedArchive;
    // Without an owner password the PDF would be written unprotected (an
    // empty owner password) or not at all (a user password alone, or none).
    if (!settings.ownerPasswordEnabled || settings.ownerPassword.isEmpty())
        return RefusedSettings::NoOwnerPassword;
    // 40-bit RC4 knows no right to extract for accessibility apart from
    // copying: a tagged PDF that withholds copying would lock screen readers out.
    if (settings.tagged && settings.encryption == EncryptionMethod::Rc4_40 && settings.withheld.copying)
        return RefusedSettings::TaggedCopyLocked;
    return RefusedSettings::None;
}

QString SettingsRefusal(const ConversionSettings& settings)
{
    switch (RefusalOf(settings)) {
    case RefusedSettings::None:
        break;
    case RefusedSettings::EncryptedArchive:
        return QStringLiteral("PDF/A-2b cannot be encrypted: PDF/A forbids encryption.\n"
                              "Untick \"Enable PDF Security\" on the Security page, or choose another "
                              "PDF Version on the Advanced page.");
    case RefusedSettings::NoOwnerPassword:
        return QStringLiteral(
            "\"Enable PDF Security\" is ticked, but no owner password is given, so the PDF "
            "could not be encrypted.\n"
            "Tick \"Enable Owner Password\" and type an owner password on the Security page, "
            "or untick \"Enable PDF Security\".");
    case RefusedSettings::TaggedCopyLocked:
        return QStringLiteral(
            "A tagged PDF always lets screen readers extract its text, which \"Low(40-bit RC4)\" "
            "cannot allow while \"Content Copying or Extraction\" is withheld.\n"
            "Choose a stronger Encryption Level on the Security page, or untick \"Content "
            "Copying or Extraction\".");
    }
    return {};
}
