#include "pdf/AdvancedChoices.h"
#include "pdf/EffectivePdfVersion.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/SecurityChoices.h"
#include "pdf/SettingsRefusal.h"

#include <gtest/gtest.h>

namespace {

ConversionSettings With(PdfVersion version, bool security, EncryptionMethod method)
{
    ConversionSettings s;
    s.pdfVersion = version;
    s.securityEnabled = security;
    s.encryption = method;
    s.ownerPassword = QStringLiteral("own");
    return s;
}

} // namespace

TEST(EffectivePdfVersion, TheLaterOfTheChosenVersionAndWhatTheEncryptionNeeds)
{
    using V = PdfVersion;
    using E = EncryptionMethod;
    const V v13 = V::V1_3;
    const V v14 = V::V1_4;
    const V v15 = V::V1_5;
    // Without security, or with 40-bit RC4, the chosen version stands.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, false, E::Rc4_40)), QStringLiteral("1.3"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, true, E::Rc4_40)), QStringLiteral("1.3"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, true, E::Rc4_40)), QStringLiteral("1.5"));
    // 128-bit RC4 needs 1.4: raised from 1.3, never lowered from 1.5.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, true, E::Rc4_128)), QStringLiteral("1.4"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v14, true, E::Rc4_128)), QStringLiteral("1.4"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, true, E::Rc4_128)), QStringLiteral("1.5"));
    // The level of 128-bit counts only while security is on.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, false, E::Rc4_128)), QStringLiteral("1.3"));
    // AES-128 needs 1.6, AES-256 and PDF/A-2b 1.7; a tagged PDF is 1.7.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, true, E::Aes128)), QStringLiteral("1.6"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, true, E::Aes256)), QStringLiteral("1.7"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(V::V1_7, true, E::Aes128)), QStringLiteral("1.7"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(V::V1_6, false, E::Aes256)), QStringLiteral("1.6"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(V::PdfA2b, false, E::Rc4_40)), QStringLiteral("1.7"));
    ConversionSettings tagged = With(v13, false, E::Rc4_40);
    tagged.tagged = true;
    EXPECT_EQ(EffectiveCompatibilityLevel(tagged), QStringLiteral("1.7"));
    // The command line's text keeps the chosen version.
    EXPECT_TRUE(BuildGhostscriptCommandLine(With(v13, true, E::Rc4_128), QStringLiteral("D:\\a.doc"),
                                            QStringLiteral("E:\\"))
                    .contains(QStringLiteral("-dCompatibilityLevel=1.3 ")));
}

TEST(SettingsRefusal, SecurityWithoutAnOwnerPasswordIsRefusedAndEverythingElseRuns)
{
    // Every combination of the Security page's boxes and fields.
    for (int enabled = 0; enabled <= 1; ++enabled)
        for (int userBox = 0; userBox <= 1; ++userBox)
            for (int ownerBox = 0; ownerBox <= 1; ++ownerBox)
                for (int userGiven = 0; userGiven <= 1; ++userGiven)
                    for (int ownerGiven = 0; ownerGiven <= 1; ++ownerGiven)
                        for (EncryptionMethod method : {EncryptionMethod::Rc4_40, EncryptionMethod::Rc4_128,
                                                        EncryptionMethod::Aes128, EncryptionMethod::Aes256}) {
                            ConversionSettings s;
                            s.securityEnabled = enabled;
                            s.userPasswordEnabled = userBox;
                            s.ownerPasswordEnabled = ownerBox;
                            s.userPassword = userGiven ? QStringLiteral("u") : QString();
                            s.ownerPassword = ownerGiven ? QStringLiteral("o") : QString();
                            s.encryption = method;
                            const bool refused = !SettingsRefusal(s).isEmpty();
                            const bool noOwner = ownerBox == 0 || ownerGiven == 0;
                            EXPECT_EQ(refused, enabled == 1 && noOwner)
                                << enabled << userBox << ownerBox << userGiven << ownerGiven << int(method);
                            // What runs with security on carries the owner password.
                            if (enabled == 1 && !refused) {
                                EXPECT_TRUE(
                                    BuildSecurityArguments(s).contains(QStringLiteral("-sOwnerPassword=")));
                            }
                        }
    ConversionSettings s;
    s.securityEnabled = 1;
    const QString message = SettingsRefusal(s);
    EXPECT_TRUE(message.contains(QStringLiteral("\"Enable Owner Password\""))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("owner password")));

    // PDF/A forbids encryption: refused with security on, whatever the passwords.
    ConversionSettings archive = With(PdfVersion::PdfA2b, true, EncryptionMethod::Aes256);
    EXPECT_TRUE(SettingsRefusal(archive).contains(QStringLiteral("PDF/A forbids encryption")));
    archive.securityEnabled = 0;
    EXPECT_TRUE(SettingsRefusal(archive).isEmpty());
}

TEST(OptionChoices, EveryTextAndNameStandsForOneValue)
{
    using namespace advancedchoices;
    // The page's texts and the command line's names lead to the same values.
    for (const auto& choice : kPdfVersions) {
        EXPECT_EQ(FromText(kPdfVersions, choice.text.toString()), choice.value);
        EXPECT_EQ(FromName(kPdfVersions, choice.name.toString().toUpper()), choice.value);
        EXPECT_EQ(FromName(kPdfVersions, choice.text.toString()), choice.value);
        EXPECT_EQ(TextOf(kPdfVersions, choice.value), choice.text.toString());
    }
    EXPECT_EQ(FromText(kPdfVersions, QStringLiteral("v1.4")), std::nullopt) << "the page's texts are exact";
    EXPECT_EQ(FromName(kPdfVersions, QStringLiteral("2.0")), std::nullopt);
    EXPECT_EQ(FromName(kJpegQualities, QStringLiteral("HIGH")), JpegQuality::High);
    EXPECT_EQ(FromName(kImageCompressions, QStringLiteral("lzw")), std::nullopt);
    EXPECT_EQ(Names(kDocumentCompressions), QStringLiteral("flate|lzw"));

    // The Security page's buttons by position; none chosen is no method.
    EXPECT_EQ(securitychoices::EncryptionAt(3), EncryptionMethod::Aes256);
    EXPECT_EQ(securitychoices::EncryptionAt(-1), std::nullopt);
    EXPECT_EQ(securitychoices::EncryptionAt(4), std::nullopt);
    WithheldRights rights;
    EXPECT_TRUE(securitychoices::Withhold(rights, QStringLiteral("Annotate")));
    EXPECT_FALSE(securitychoices::Withhold(rights, QStringLiteral("fly")));
    EXPECT_EQ(rights, WithheldRights{.forms = true});
}
