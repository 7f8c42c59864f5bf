#include "pdf/GhostscriptArguments.h"
#include "pdf/GhostscriptCommandLine.h"
#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>

TEST(GhostscriptArguments, AdaptsTheCommandLineToCurrentGhostscript)
{
    ConversionSettings s;
    s.securityEnabled = true;
    s.ownerPassword = QStringLiteral("o w");
    s.userPassword = QStringLiteral("u");
    GhostscriptPaths paths;
    paths.spoolFile = QStringLiteral("/run/user/1/foliant/tmp.ps");
    paths.pdfmarksFile = QStringLiteral("/run/user/1/foliant/pdfmarks");
    const QStringList split = SplitWindowsCommandLine(
        BuildGhostscriptCommandLine(s, QStringLiteral("/in/a.doc"), QStringLiteral("/out/100%"), paths));
    const GhostscriptInvocation run =
        AdaptGhostscriptArguments(split, QStringLiteral("/out/100%/.tmp.pdf"), QStringLiteral("/args"));

    const QStringList expected{
        QStringLiteral("-dSAFER"),
        QStringLiteral("-dNOPAUSE"),
        QStringLiteral("-dBATCH"),
        QStringLiteral("-sDEVICE=pdfwrite"),
        QStringLiteral("-dCompatibilityLevel=1.3"),
        QStringLiteral("@/args"),
        QStringLiteral("-sOutputFile=/out/100%%/.tmp.pdf"),
        QStringLiteral("-c"),
        QStringLiteral("/.setpdfwrite where {pop} {/.setpdfwrite {3000000 setvmthreshold} "
                       "bind def} ifelse"),
        QStringLiteral(".setpdfwrite"),
        QStringLiteral("-f"),
        paths.pdfmarksFile,
        QStringLiteral("-c"),
        QStringLiteral("<< >> setpagedevice"),
        QStringLiteral("-f"),
        paths.spoolFile,
        paths.pdfmarksFile};
    EXPECT_EQ(run.arguments, expected);
    EXPECT_EQ(run.argumentFileText, QStringLiteral("-sOwnerPassword=\"o w\"\n-sUserPassword=\"u\"\n"
                                                   "-dEncryptionR=\"2\"\n-dKeyLength=\"40\"\n"
                                                   "-dPermissions=\"-4\"\n"));
    for (const QString& argument : run.arguments)
        EXPECT_FALSE(argument.contains(QStringLiteral("o w")));

    // Without security there is no argument file.
    s.securityEnabled = false;
    const GhostscriptInvocation plain =
        AdaptGhostscriptArguments(SplitWindowsCommandLine(BuildGhostscriptCommandLine(
                                      s, QStringLiteral("/a.doc"), QStringLiteral("/o"), paths)),
                                  QStringLiteral("/o/t.pdf"), QStringLiteral("/args"));
    EXPECT_TRUE(plain.argumentFileText.isEmpty());
    EXPECT_FALSE(plain.arguments.contains(QStringLiteral("@/args")));
}

TEST(GhostscriptArguments, ArgumentFileLinesEscapeQuotesAndTrailingBackslashes)
{
    EXPECT_EQ(ArgumentFileLine(QStringLiteral("-sA=plain")), QStringLiteral("-sA=\"plain\""));
    EXPECT_EQ(ArgumentFileLine(QStringLiteral("-sA=a\"b")), QStringLiteral("-sA=\"a\\\"b\""));
    EXPECT_EQ(ArgumentFileLine(QStringLiteral("-sA=end\\")), QStringLiteral("-sA=\"end\\\\\n\""));
    EXPECT_EQ(ArgumentFileLine(QStringLiteral("-dSAFER")), QStringLiteral("-dSAFER"));
}
