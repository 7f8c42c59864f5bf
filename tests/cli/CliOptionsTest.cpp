#include "TestTools.h"

#include "cli/CliOptionTable.h"
#include "cli/CliOptions.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class CliOptionsTest : public ::testing::Test
{
protected:
    CliParse Parse(QStringList arguments, const QByteArray& input = {})
    {
        QByteArray bytes = input;
        QBuffer standardInput(&bytes);
        arguments.prepend(QStringLiteral("foliant-convert"));
        return ParseCliArguments(arguments, standardInput);
    }
    QString Write(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(testtools::WriteFile(path, bytes));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(CliOptionsTest, OptionsTakeThePagesValues)
{
    const CliParse parse = Parse({"a.doc",
                                  "b.png",
                                  "-o",
                                  dir.path(),
                                  "--pdf-version",
                                  "1.4",
                                  "--compression",
                                  "lzw",
                                  "--image-compression",
                                  "JPEG",
                                  "--jpeg-quality",
                                  "high",
                                  "--title",
                                  "Quarterly (draft)",
                                  "--author",
                                  "Ana",
                                  "--subject",
                                  "S",
                                  "--keywords",
                                  "k1 k2",
                                  "--jobs",
                                  "2",
                                  "--timeout",
                                  "90",
                                  "--skip-existing",
                                  "--report",
                                  "r.json"});
    ASSERT_TRUE(parse.run) << parse.text.toStdString();
    const CliOptions& o = parse.options;
    EXPECT_EQ(o.inputs, (QStringList{"a.doc", "b.png"}));
    EXPECT_EQ(o.outputFolder, dir.path());
    EXPECT_EQ(o.settings.pdfVersion, PdfVersion::V1_4);
    EXPECT_EQ(o.settings.documentCompression, DocumentCompression::Lzw);
    EXPECT_EQ(o.settings.imageCompression, ImageCompression::Jpeg);
    EXPECT_EQ(o.settings.jpegQuality, JpegQuality::High);
    EXPECT_EQ(o.settings.title, "Quarterly (draft)");
    EXPECT_EQ(o.settings.author, "Ana");
    EXPECT_EQ(o.settings.keywords, "k1 k2");
    EXPECT_EQ(o.jobs, 2);
    EXPECT_EQ(o.timeoutSeconds, 90);
    EXPECT_EQ(o.existing, CliOptions::Existing::Skip);
    EXPECT_TRUE(o.reportPath.endsWith("/r.json"));
    EXPECT_FALSE(o.settings.securityEnabled);

    // Nothing given: the pages' first values, one job, and an existing PDF fails its file.
    const CliParse plain = Parse({"a.doc", "-o", dir.path()});
    ASSERT_TRUE(plain.run);
    ConversionSettings expected;
    expected.userPasswordEnabled = false;
    expected.ownerPasswordEnabled = false;
    EXPECT_TRUE(plain.options.settings == expected);
    EXPECT_EQ(plain.options.settings.pdfVersion, PdfVersion::V1_3);
    EXPECT_EQ(plain.options.jobs, QThread::idealThreadCount() > 1 ? 2 : 1);
    EXPECT_EQ(plain.options.existing, CliOptions::Existing::Fail);
}

TEST_F(CliOptionsTest, SecurityComesFromFilesAndStandardInputNeverFromTheCommandLine)
{
    const QString user = Write("user", "open \"sesame\"\n");
    const CliParse parse = Parse({"a.doc", "-o", dir.path(), "--encrypt", "rc4-128", "--deny", "print,copy",
                                  "--user-password-file", user, "--owner-password-file", "-"},
                                 "owner\r\n");
    ASSERT_TRUE(parse.run) << parse.text.toStdString();
    const ConversionSettings& s = parse.options.settings;
    EXPECT_TRUE(s.securityEnabled);
    EXPECT_EQ(s.encryption, EncryptionMethod::Rc4_128);
    EXPECT_EQ(s.userPassword, "open \"sesame\"") << "the closing line end is not part of it";
    EXPECT_EQ(s.ownerPassword, "owner");
    EXPECT_TRUE(s.userPasswordEnabled);
    EXPECT_TRUE(s.ownerPasswordEnabled);
    EXPECT_EQ(s.withheld, (WithheldRights{.copying = true, .printing = true}));

    const CliParse aes =
        Parse({"a.doc", "-o", dir.path(), "--encrypt", "aes-256", "--owner-password-file", "-"}, "o");
    ASSERT_TRUE(aes.run) << aes.text.toStdString();
    EXPECT_EQ(aes.options.settings.encryption, EncryptionMethod::Aes256);
    const CliParse archive = Parse({"a.doc", "-o", dir.path(), "--pdfa"});
    ASSERT_TRUE(archive.run);
    EXPECT_EQ(archive.options.settings.pdfVersion, PdfVersion::PdfA2b);
    EXPECT_FALSE(archive.options.settings.tagged) << "untagged unless asked";
    const CliParse tagged = Parse({"a.doc", "-o", dir.path(), "--tagged", "--pdfa"});
    ASSERT_TRUE(tagged.run) << tagged.text.toStdString();
    EXPECT_TRUE(tagged.options.settings.tagged);
    EXPECT_EQ(tagged.options.settings.pdfVersion, PdfVersion::PdfA2b);

    const CliParse open = Parse({"a.doc", "-o", dir.path(), "--open-password-file", "-"}, "secret\n");
    ASSERT_TRUE(open.run);
    EXPECT_EQ(open.options.openPassword, "secret");
    EXPECT_FALSE(open.options.settings.securityEnabled);

    const CliParse low = Parse({"a.doc", "-o", dir.path(), "--encrypt", "RC4-40", "--deny", "modify,annotate",
                                "--owner-password-file", Write("owner", "o")});
    ASSERT_TRUE(low.run);
    EXPECT_EQ(low.options.settings.encryption, EncryptionMethod::Rc4_40);
    EXPECT_FALSE(low.options.settings.userPasswordEnabled);
    EXPECT_EQ(low.options.settings.withheld, (WithheldRights{.forms = true, .changing = true}));
}

TEST_F(CliOptionsTest, BadUsageEndsWithStatusTwoAndSaysWhy)
{
    const struct
    {
        QStringList arguments;
        std::string says;
    } cases[] = {
        {{"-o", dir.path()}, "no FILE"},
        {{"a.doc"}, "no output folder"},
        {{"a.doc", "-o", Write("file", "x")}, "is not a folder"},
        {{"a.doc", "-o", dir.filePath("file/below")},
         "cannot be made: " + dir.filePath("file").toStdString() + " is not a folder"},
        {{dir.path(), "-o", dir.path()}, "give -r"},
        {{"a.doc", "-o", dir.path(), "--pdf-version", "2.0"},
         "--pdf-version takes 1.3|1.4|1.5|1.6|1.7|pdf/a-2b"},
        {{"a.doc", "-o", dir.path(), "--pdfa", "--pdf-version", "1.4"}, "exclude each other"},
        {{"a.doc", "-o", dir.path(), "--pdfa", "--encrypt", "aes-256", "--owner-password-file", "-"},
         "PDF/A-2b cannot be encrypted"},
        {{"a.doc", "-o", dir.path(), "--jpeg-quality", "best"}, "minimum|low|medium|high|maximum"},
        {{"a.doc", "-o", dir.path(), "--encrypt", "des"}, "--encrypt takes"},
        {{"a.doc", "-o", dir.path(), "--deny", "print"}, "need --encrypt"},
        {{"a.doc", "-o", dir.path(), "--encrypt", "rc4-40", "--deny", "print,fly"}, "not fly"},
        {{"a.doc", "-o", dir.path(), "--overwrite", "--skip-existing"}, "exclude each other"},
        {{"a.doc", "-o", dir.path(), "--jobs", "0"}, "--jobs takes"},
        {{"a.doc", "-o", dir.path(), "--timeout", "soon"}, "--timeout takes"},
        {{"a.doc", "-o", dir.path(), "--open-password-file", dir.filePath("none")}, "cannot be read"},
        {{"a.doc", "-o", dir.path(), "--encrypt", "rc4-40", "--user-password-file", "-",
          "--owner-password-file", "-"},
         "only one password"},
        {{"a.doc", "-o", dir.path(), "--password", "x"}, "Unknown option"},
        // The window's refusal, word for word.
        {{"a.doc", "-o", dir.path(), "--encrypt", "rc4-128"},
         "\"Enable PDF Security\" is ticked, but no owner"},
    };
    for (const auto& c : cases) {
        const CliParse parse = Parse(c.arguments);
        EXPECT_FALSE(parse.run) << c.says;
        EXPECT_EQ(parse.exitCode, 2) << c.says;
        EXPECT_TRUE(parse.text.contains(QString::fromStdString(c.says))) << parse.text.toStdString();
        EXPECT_TRUE(parse.text.startsWith("foliant-convert: ")) << parse.text.toStdString();
    }

    // A missing output folder is made with its parents, but only for a run.
    EXPECT_FALSE(Parse({"a.doc", "-o", dir.filePath("new/deeper"), "--jobs", "0"}).run);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("new")));
    const CliParse made = Parse({"a.doc", "-o", dir.filePath("new/deeper")});
    EXPECT_TRUE(made.run) << made.text.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath("new/deeper")).isDir());

    const CliParse help = Parse({"--help"});
    EXPECT_FALSE(help.run);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--output", "--recursive", "--jobs", "--timeout", "--report", "--encrypt",
                               "--deny", "--user-password-file", "--open-password-file", "--overwrite"})
        EXPECT_TRUE(help.text.contains(QString::fromLatin1(option))) << option;
}

TEST_F(CliOptionsTest, EveryOptionOfTheTableIsInTheHelpAndTheManualAndRefusalsSayWhatToGive)
{
    const QString help = Parse({"--help"}).text;
    const QString manual = QString::fromUtf8(testtools::ReadFile(QStringLiteral(FOLIANT_MANPAGE)));
    ASSERT_FALSE(manual.isEmpty());
    for (const CliOption& option : CliOptionTable()) {
        const QString name = QStringLiteral("--") + option.LongName();
        EXPECT_TRUE(help.contains(name)) << name.toStdString();
        // The manual writes each hyphen as \-.
        EXPECT_TRUE(manual.contains(QString(name).replace(u'-', QStringLiteral("\\-"))))
            << name.toStdString();
    }

    // Each refusal of the window's, with what to give on the command line.
    const QString owner = Write("owner", "o");
    const struct
    {
        QStringList arguments;
        const char* hint;
    } refusals[] = {
        {{"a.doc", "-o", dir.path(), "--encrypt", "aes-128"}, "give --owner-password-file."},
        {{"a.doc", "-o", dir.path(), "--pdfa", "--encrypt", "aes-256", "--owner-password-file", owner},
         "leave out --encrypt, or --pdfa"},
        {{"a.doc", "-o", dir.path(), "--tagged", "--encrypt", "rc4-40", "--deny", "copy",
          "--owner-password-file", owner},
         "give --encrypt rc4-128, aes-128 or aes-256, or leave copy out of --deny."},
    };
    for (const auto& refusal : refusals) {
        const CliParse parse = Parse(refusal.arguments);
        EXPECT_EQ(parse.exitCode, 2);
        const QStringList lines = parse.text.split(u'\n');
        ASSERT_GE(lines.size(), 3) << parse.text.toStdString();
        EXPECT_TRUE(
            lines[lines.size() - 2].startsWith(QStringLiteral("On the command line: ") + refusal.hint))
            << parse.text.toStdString();
        EXPECT_EQ(parse.text.count(QStringLiteral("On the command line")), 1);
    }
}

TEST_F(CliOptionsTest, TextRecognitionIsChosenWithItsInstalledLanguages)
{
    CliParse parse = Parse({"a.png", "-o", dir.path()});
    ASSERT_TRUE(parse.run);
    EXPECT_FALSE(parse.options.settings.recognizeText) << "off unless asked for";
    parse = Parse({"a.png", "-o", dir.path(), "--ocr"});
    ASSERT_TRUE(parse.run) << parse.text.toStdString();
    EXPECT_TRUE(parse.options.settings.recognizeText);
    EXPECT_EQ(parse.options.settings.recognitionLanguages, "eng");
    parse = Parse({"a.png", "-o", dir.path(), "--ocr-language", "eng+osd"});
    EXPECT_FALSE(parse.run) << "orientation data is no language";
    EXPECT_EQ(parse.exitCode, 2);
    EXPECT_TRUE(parse.text.contains("osd is not installed")) << parse.text.toStdString();
    EXPECT_TRUE(Parse({"--help"}).text.contains("--ocr-language <LANGS>"));
}

} // namespace
