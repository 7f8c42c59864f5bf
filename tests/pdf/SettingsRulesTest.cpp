#include "pdf/EffectivePdfVersion.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/SettingsRefusal.h"

#include <gtest/gtest.h>

namespace {

ConversionSettings With(const QString& version, int security, int level)
{
    ConversionSettings s;
    s.pdfVersion = version;
    s.securityEnabled = security;
    s.encryptionLevel = level;
    s.ownerPassword = QStringLiteral("own");
    return s;
}

} // namespace

TEST(EffectivePdfVersion, TheLaterOfTheChosenVersionAndWhatTheEncryptionNeeds)
{
    const QString v13 = QStringLiteral("V1.3(Acrobat 4.xx)");
    const QString v14 = QStringLiteral("V1.4");
    const QString v15 = QStringLiteral("V1.5");
    // Without security, or with 40-bit RC4, the chosen version stands.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, 0, 0)), QStringLiteral("1.3"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, 1, 0)), QStringLiteral("1.3"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, 1, 0)), QStringLiteral("1.5"));
    // 128-bit RC4 needs 1.4: raised from 1.3, never lowered from 1.5.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, 1, 1)), QStringLiteral("1.4"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v14, 1, 1)), QStringLiteral("1.4"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, 1, 1)), QStringLiteral("1.5"));
    // The level of 128-bit counts only while security is on.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, 0, 1)), QStringLiteral("1.3"));
    // A text that names no version: only what the encryption needs.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(QStringLiteral("V2"), 0, 0)), QString());
    EXPECT_EQ(EffectiveCompatibilityLevel(With(QString(), 1, 1)), QStringLiteral("1.4"));
    // AES-128 needs 1.6, AES-256 and PDF/A-2b 1.7; V1.6 and V1.7 are named by their text alone.
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v13, 1, 2)), QStringLiteral("1.6"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(v15, 1, 3)), QStringLiteral("1.7"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(QStringLiteral("V1.7"), 1, 2)), QStringLiteral("1.7"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(QStringLiteral("V1.6"), 0, 3)), QStringLiteral("1.6"));
    EXPECT_EQ(EffectiveCompatibilityLevel(With(QStringLiteral("PDF/A-2b"), 0, 0)), QStringLiteral("1.7"));
    // The command line's text keeps the chosen version.
    EXPECT_TRUE(
        BuildGhostscriptCommandLine(With(v13, 1, 1), QStringLiteral("D:\\a.doc"), QStringLiteral("E:\\"))
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
                        for (int level = 0; level <= 3; ++level) {
                            ConversionSettings s;
                            s.securityEnabled = enabled;
                            s.userPasswordEnabled = userBox;
                            s.ownerPasswordEnabled = ownerBox;
                            s.userPassword = userGiven ? QStringLiteral("u") : QString();
                            s.ownerPassword = ownerGiven ? QStringLiteral("o") : QString();
                            s.encryptionLevel = level;
                            const bool refused = !SettingsRefusal(s).isEmpty();
                            const bool noOwner = ownerBox == 0 || ownerGiven == 0;
                            EXPECT_EQ(refused, enabled == 1 && noOwner)
                                << enabled << userBox << ownerBox << userGiven << ownerGiven << level;
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
    ConversionSettings archive = With(QStringLiteral("PDF/A-2b"), 1, 3);
    EXPECT_TRUE(SettingsRefusal(archive).contains(QStringLiteral("PDF/A forbids encryption")));
    archive.securityEnabled = 0;
    EXPECT_TRUE(SettingsRefusal(archive).isEmpty());
}
