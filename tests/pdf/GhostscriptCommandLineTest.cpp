#include "pdf/GhostscriptCommandLine.h"
#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace {

const QString kHead = QStringLiteral("gs\\gs8.64\\bin\\gswin32c  -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite "
                                     "-dCompatibilityLevel=");
const QString kTail = QStringLiteral("  -c .setpdfwrite -f  \"C:\\tmp.ps\" \"C:\\pdfmarks\"");

QString Line(const ConversionSettings& s, const QString& source = QStringLiteral("D:\\docs\\Report.doc"),
             const QString& folder = QStringLiteral("E:\\out"))
{
    return BuildGhostscriptCommandLine(s, source, folder);
}

ConversionSettings Secured(EncryptionMethod method)
{
    ConversionSettings s;
    s.securityEnabled = true;
    s.ownerPassword = QStringLiteral("own");
    s.userPassword = QStringLiteral("usr");
    s.encryption = method;
    return s;
}

const QString kFlateMinimumBlock = QStringLiteral(
    "/AutoFilterColorImages false\n/AutoFilterGrayImages false\n/EncodeColorImages true\n"
    "/EncodeGrayImages true\n/EncodeMonoImages true\n/ColorImageFilter /FlateEncode\n"
    "/GrayImageFilter /FlateEncode\n/MonoImageFilter /FlateEncode\n/ColorImageDict \n"
    "<</QFactor 1.5 /HSamples [2 1 1 2] /VSamples [2 1 1 2] /Blend 1 /ColorTransform 1 >>\n/GrayImageDict \n"
    "<</QFactor 1.5 /HSamples [2 1 1 2] /VSamples [2 1 1 2] /Blend 1 /ColorTransform 1 >>");

} // namespace

TEST(GhostscriptCommandLine, FirstShownSettingsGiveTheDesignedTextBlankForBlank)
{
    const ConversionSettings s;
    EXPECT_EQ(Line(s), kHead + QStringLiteral("1.3 -sOutputFile=\"E:\\out\\Report.pdf\"") + kTail);
    // A trailing backslash on the folder gives the same target.
    EXPECT_EQ(Line(s, QStringLiteral("D:\\docs\\Report.doc"), QStringLiteral("E:\\out\\")), Line(s));
    EXPECT_EQ(kGhostscriptProgram, QStringLiteral("gs\\gs8.64\\bin\\gswin32c  "));
    EXPECT_EQ(kSpoolFilePath, QStringLiteral("C:\\tmp.ps"));
    EXPECT_EQ(kPdfmarksPath, QStringLiteral("C:\\pdfmarks"));
}

TEST(GhostscriptCommandLine, PdfNameCutsAtTheLastDotAndTheLastSeparator)
{
    EXPECT_EQ(PdfFileName(QStringLiteral("D:\\docs\\Report.final.doc")), QStringLiteral("Report.final.pdf"));
    EXPECT_EQ(PdfFileName(QStringLiteral("C:\\x\\a.b.c.doc")), QStringLiteral("a.b.c.pdf"));
    EXPECT_EQ(PdfFileName(QStringLiteral("C:\\x\\README")), QStringLiteral(".pdf"));
    EXPECT_EQ(PdfFileName(QStringLiteral("Report.doc")), QStringLiteral("Report.pdf"));
    // On this system "/" separates; a backslash is part of a file name here.
    EXPECT_EQ(PdfFileName(QStringLiteral("/home/u/my.docs/back\\slash.v2.docx")),
              QStringLiteral("back\\slash.v2.pdf"));
    EXPECT_EQ(PdfOutputPath(QStringLiteral("/srv/out"), QStringLiteral("/home/u/a.xls")),
              QStringLiteral("/srv/out/a.pdf"));
    EXPECT_EQ(PdfOutputPath(QStringLiteral("/srv/out/"), QStringLiteral("/home/u/a.xls")),
              QStringLiteral("/srv/out/a.pdf"));
}

TEST(GhostscriptCommandLine, CompatibilityLevelNamesTheVersionsUpTo15)
{
    ConversionSettings s;
    for (const auto& [version, level] : {std::pair{PdfVersion::V1_3, "1.3"},
                                         {PdfVersion::V1_4, "1.4"},
                                         {PdfVersion::V1_5, "1.5"},
                                         {PdfVersion::V1_6, ""},
                                         {PdfVersion::V1_7, ""},
                                         {PdfVersion::PdfA2b, ""}}) {
        s.pdfVersion = version;
        EXPECT_TRUE(Line(s).startsWith(kHead + QString::fromLatin1(level) + QStringLiteral(" -sOutputFile=")))
            << level << int(version);
    }
}

TEST(GhostscriptCommandLine, SecurityArgumentsFollowTheBoxes)
{
    ConversionSettings s = Secured(EncryptionMethod::Rc4_40);
    EXPECT_EQ(BuildSecurityArguments(s),
              QStringLiteral("-sOwnerPassword=\"own\" -sUserPassword=\"usr\"  -dEncryptionR=2 -dKeyLength=40 "
                             "-dPermissions=-4  "));
    EXPECT_EQ(Line(s), kHead + QStringLiteral("1.3 ") + BuildSecurityArguments(s) +
                           QStringLiteral("-sOutputFile=\"E:\\out\\Report.pdf\"") + kTail);

    s.encryption = EncryptionMethod::Rc4_128;
    EXPECT_EQ(BuildSecurityArguments(s),
              QStringLiteral("-sOwnerPassword=\"own\" -sUserPassword=\"usr\" -dEncryptionR=3 -dKeyLength=128 "
                             "-dPermissions=-4  "));

    // A ticked owner password that is empty switches security off altogether.
    s.ownerPassword.clear();
    EXPECT_EQ(BuildSecurityArguments(s), QString());

    // Owner password only.
    s = Secured(EncryptionMethod::Rc4_40);
    s.userPasswordEnabled = false;
    EXPECT_EQ(BuildSecurityArguments(s),
              QStringLiteral("-sOwnerPassword=\"own\"  -dEncryptionR=2 -dKeyLength=40 -dPermissions=-4  "));

    // User password only, even an empty one.
    s = Secured(EncryptionMethod::Rc4_128);
    s.ownerPasswordEnabled = false;
    s.userPassword.clear();
    EXPECT_EQ(BuildSecurityArguments(s),
              QStringLiteral("-sUserPassword=\"\" -dEncryptionR=3 -dKeyLength=128 -dPermissions=-4  "));

    // Security off, or AES, which Ghostscript does not write.
    s = Secured(EncryptionMethod::Rc4_40);
    s.securityEnabled = false;
    EXPECT_EQ(BuildSecurityArguments(s), QString());
    s = Secured(EncryptionMethod::Aes128);
    EXPECT_EQ(BuildSecurityArguments(s), QStringLiteral("-sOwnerPassword=\"own\" -sUserPassword=\"usr\" "));
}

TEST(GhostscriptCommandLine, PermissionsClearTheBitsOfTickedBoxes)
{
    struct Case
    {
        bool WithheldRights::*box;
        int low;
        int high;
    };
    const Case cases[] = {{&WithheldRights::copying, -20, -500},
                          {&WithheldRights::forms, -36, -228},
                          {&WithheldRights::changing, -12, -1020},
                          {&WithheldRights::printing, -8, -2048}};
    ConversionSettings all;
    for (const Case& c : cases) {
        ConversionSettings s;
        s.withheld.*c.box = true;
        all.withheld.*c.box = true;
        s.encryption = EncryptionMethod::Rc4_40;
        EXPECT_EQ(PermissionsValue(s), c.low);
        s.encryption = EncryptionMethod::Rc4_128;
        EXPECT_EQ(PermissionsValue(s), c.high);
    }
    EXPECT_EQ(PermissionsValue(ConversionSettings{}), -4);
    all.encryption = EncryptionMethod::Rc4_40;
    EXPECT_EQ(PermissionsValue(all), -64);
    all.encryption = EncryptionMethod::Rc4_128;
    EXPECT_EQ(PermissionsValue(all), -2048);

    ConversionSettings s = Secured(EncryptionMethod::Rc4_40);
    s.withheld.printing = true;
    EXPECT_TRUE(BuildSecurityArguments(s).endsWith(QStringLiteral("-dPermissions=-8  ")));
    s = Secured(EncryptionMethod::Rc4_128);
    s.withheld.copying = s.withheld.forms = true;
    EXPECT_TRUE(BuildSecurityArguments(s).endsWith(QStringLiteral("-dPermissions=-500  ")));
}

TEST(GhostscriptCommandLine, PasswordsSplitBackExactly)
{
    // Plain passwords stay as typed; a quote or a backslash before a quote is
    // escaped so the text splits back into exactly the password.
    const QString passwords[] = {QStringLiteral("plain"),           QStringLiteral("with space"),
                                 QStringLiteral("q\"uote"),         QStringLiteral("end\\"),
                                 QStringLiteral("a\\\"b"),          QStringLiteral("$(id) `x` ;|&"),
                                 QStringLiteral("\" -dNOSAFER \""), QStringLiteral("back\\slash")};
    for (const QString& password : passwords) {
        ConversionSettings s = Secured(EncryptionMethod::Rc4_40);
        s.ownerPassword = password;
        s.userPassword = password + QStringLiteral("2");
        const QStringList split = SplitWindowsCommandLine(Line(s));
        EXPECT_TRUE(split.contains(QStringLiteral("-sOwnerPassword=") + password)) << password.toStdString();
        EXPECT_TRUE(split.contains(QStringLiteral("-sUserPassword=") + password + QStringLiteral("2")));
        EXPECT_FALSE(split.contains(QStringLiteral("-dNOSAFER")));
        EXPECT_EQ(split.last(), QStringLiteral("C:\\pdfmarks"));
    }
    ConversionSettings s = Secured(EncryptionMethod::Rc4_40);
    s.ownerPassword = QStringLiteral("back\\slash");
    EXPECT_TRUE(Line(s).contains(QStringLiteral("-sOwnerPassword=\"back\\slash\" ")));
}

TEST(GhostscriptCommandLine, SplitterFollowsTheWindowsRules)
{
    EXPECT_EQ(SplitWindowsCommandLine(QStringLiteral("gs\\bin\\gs  a \"b c\" d\\\\\"e f\" g\\h \"\"")),
              (QStringList{QStringLiteral("gs\\bin\\gs"), QStringLiteral("a"), QStringLiteral("b c"),
                           QStringLiteral("d\\e f"), QStringLiteral("g\\h"), QString()}));
    EXPECT_EQ(SplitWindowsCommandLine(QStringLiteral("\"C:\\Program Files\\x.exe\" a\\\"b")),
              (QStringList{QStringLiteral("C:\\Program Files\\x.exe"), QStringLiteral("a\"b")}));
}

TEST(PdfmarksText, FirstShownSettings)
{
    EXPECT_EQ(BuildPdfmarksText(ConversionSettings{}),
              QStringLiteral("\n\n\n\n<<\n/CompressPages true\n/UseFlateCompression true\n") +
                  kFlateMinimumBlock + QStringLiteral("\n>> setdistillerparams"));
}

TEST(PdfmarksText, DocumentInformationInTitleAuthorSubjectKeywordsOrder)
{
    ConversionSettings s;
    s.title = QStringLiteral("T");
    EXPECT_TRUE(BuildPdfmarksText(s).startsWith(QStringLiteral("[ /Title (T) \n/DOCINFO pdfmark\n\n\n\n<<")));
    s.title.clear();
    s.keywords = QStringLiteral("k1\r\nk2");
    EXPECT_TRUE(
        BuildPdfmarksText(s).startsWith(QStringLiteral("[ /Keywords (k1\r\nk2)\n/DOCINFO pdfmark\n\n")));
    s.title = QStringLiteral("T");
    s.subject = QStringLiteral("S");
    s.author = QStringLiteral("A");
    EXPECT_TRUE(BuildPdfmarksText(s).startsWith(QStringLiteral(
        "[ /Title (T) \n /Author (A)\n /Subject (S)\n /Keywords (k1\r\nk2)\n/DOCINFO pdfmark\n")));
}

TEST(PdfmarksText, DocumentInformationIsEscapedForPostScript)
{
    ConversionSettings s;
    s.title = QStringLiteral("Report (draft) \\ v2");
    s.author = QStringLiteral("Überblick");
    s.subject = QString::fromUtf8("报告");
    s.keywords = QStringLiteral("a)(b");
    const QString text = BuildPdfmarksText(s);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[ /Title (Report \\(draft\\) \\\\ v2) \n"
                                               " /Author (Überblick)\n"
                                               " /Subject <FEFF62A5544A>\n"
                                               " /Keywords (a\\)\\(b)\n/DOCINFO pdfmark")))
        << text.toStdString();
    // Everything left is one byte per character.
    EXPECT_EQ(QString::fromLatin1(text.toLatin1()), text);
}

TEST(PdfmarksText, ImageBlocksAndQuality)
{
    ConversionSettings s;
    s.imageCompression = ImageCompression::Jpeg;
    s.jpegQuality = JpegQuality::Maximum;
    s.documentCompression = DocumentCompression::Lzw;
    const QString max = QStringLiteral("<</QFactor 0.1 /HSamples [1 1 1 1] /VSamples [1 1 1 1] /Blend 1 "
                                       "/ColorTransform 1 >>");
    EXPECT_EQ(
        BuildPdfmarksText(s),
        QStringLiteral("\n\n\n\n<<\n/CompressPages true\n/UseFlateCompression false\n"
                       "/AutoFilterColorImages false\n/AutoFilterGrayImages false\n/EncodeColorImages true\n"
                       "/EncodeGrayImages true\n/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode"
                       "\n/ColorImageDict \n") +
            max + QStringLiteral("\n/GrayImageDict \n") + max + QStringLiteral("\n>> setdistillerparams"));

    s.imageCompression = ImageCompression::Automatic;
    s.jpegQuality = JpegQuality::Medium;
    EXPECT_TRUE(BuildPdfmarksText(s).contains(
        QStringLiteral("/AutoFilterColorImages true\n/AutoFilterGrayImages true\n/EncodeColorImages true\n"
                       "/EncodeGrayImages true\n/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode\n"
                       "/ColorACSImageDict \n<</QFactor 0.55 /HSamples [2 1 1 2]")));

    EXPECT_EQ(QualityDictionary(JpegQuality::Low),
              QStringLiteral(
                  "<</QFactor 0.8 /HSamples [2 1 1 2] /VSamples [2 1 1 2] /Blend 1 /ColorTransform 1 >>"));
    EXPECT_TRUE(QualityDictionary(JpegQuality::High).startsWith(QStringLiteral("<</QFactor 0.25 ")));
    EXPECT_TRUE(QualityDictionary(JpegQuality::Minimum).startsWith(QStringLiteral("<</QFactor 1.5 ")));
}
