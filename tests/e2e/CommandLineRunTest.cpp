// The window and foliant-convert, given the same files and the same options,
// make the same PDFs: page count, text, encryption and document information.

#include "FoliantSession.h"
#include "PdfFacts.h"
#include "RenderedPdf.h"
#include "TestTools.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kUserPassword = QStringLiteral("read \"me\"");
const QString kOwnerPassword = QStringLiteral("own");
const QString kTitle = QStringLiteral("Same (both ways)");
const QString kAuthor = QStringLiteral("Ana Lima");

class CommandLineRun : public FoliantSession
{
protected:
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
};

TEST_F(CommandLineRun, MakesTheWindowsPdfForEveryKindOfFile)
{
    const QStringList names{"letter.docx", "sheet.xls", "slides.ppt", "photo.jpg", "plain.txt"};
    QStringList paths;
    for (const QString& name : names)
        paths << Source(name);

    // The window: 128-bit RC4 with both passwords, printing and copying
    // withheld, V1.4, a title and an author.
    Drop(paths);
    SetOutputFolder(OutputFolder());
    ShowOptionPage(1);
    Click(OptionControl(1, IDC_ENABLE_SECURITY));
    TypeInto(OptionControl(1, IDC_USER_PASSWORD), kUserPassword);
    TypeInto(OptionControl(1, IDC_OWNER_PASSWORD), kOwnerPassword);
    Click(OptionControl(1, IDC_HIGH_ENCRYPTION));
    Click(OptionControl(1, IDC_PRINTING));
    Click(OptionControl(1, IDC_COPYING));
    ShowOptionPage(0);
    TypeInto(OptionControl(0, IDC_TITLE), kTitle);
    TypeInto(OptionControl(0, IDC_AUTHOR), kAuthor);
    ShowOptionPage(2);
    auto* version = qobject_cast<QComboBox*>(OptionControl(2, IDC_PDF_VERSION));
    QTest::keyClick(version, Qt::Key_Down);
    ASSERT_EQ(version->currentText(), QStringLiteral("V1.4"));
    ConvertAndWait();
    WaitForCompletion(1);
    ASSERT_EQ(m_completion->listed.size(), names.size());

    // The command line, with the same values.
    const QString cliOut = m_work.filePath(QStringLiteral("cli"));
    ASSERT_TRUE(QDir().mkpath(cliOut));
    const QString ownerFile = m_work.filePath(QStringLiteral("owner.txt"));
    ASSERT_TRUE(testtools::WriteFile(ownerFile, kOwnerPassword.toUtf8() + "\n"));
    const auto run =
        testtools::RunTool(testtools::ProgramDir() + QStringLiteral("/foliant-convert"),
                           QStringList{"--encrypt", "rc4-128", "--deny", "print,copy", "--user-password-file",
                                       "-", "--owner-password-file", ownerFile, "--pdf-version", "1.4",
                                       "--title", kTitle, "--author", kAuthor, "--jobs", "2", "-o", cliOut} +
                               paths,
                           300000, kUserPassword.toUtf8());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString windowPdf = PdfOf(name);
        const QString cliPdf = QDir(cliOut).filePath(QFileInfo(windowPdf).fileName());
        const pdffacts::Info window = pdffacts::ReadInfo(windowPdf, kUserPassword);
        const pdffacts::Info cli = pdffacts::ReadInfo(cliPdf, kUserPassword);
        ASSERT_TRUE(window.opened && cli.opened);
        EXPECT_GE(cli.pages, 1);
        EXPECT_EQ(cli.pages, window.pages);
        EXPECT_EQ(cli.version, window.version);
        EXPECT_EQ(cli.title, kTitle);
        EXPECT_EQ(cli.title, window.title);
        EXPECT_EQ(cli.author, window.author);
        EXPECT_EQ(cli.encrypted, window.encrypted);
        EXPECT_TRUE(cli.encrypted.startsWith(QStringLiteral("yes (print:no copy:no")))
            << cli.encrypted.toStdString();
        const auto cliKeys = pdffacts::ReadEncryption(cliPdf, kOwnerPassword);
        EXPECT_EQ(cliKeys.value("R"), pdffacts::ReadEncryption(windowPdf, kOwnerPassword).value("R"));
        EXPECT_EQ(cliKeys.value("P"), pdffacts::ReadEncryption(windowPdf, kOwnerPassword).value("P"));
        EXPECT_EQ(cliKeys.value("User password"), kUserPassword);
        const Rendered cliPage = Render(cliPdf, kUserPassword);
        const Rendered windowPage = Render(windowPdf, kUserPassword);
        if (name.endsWith(QLatin1String(".jpg"))) {
            EXPECT_GT(cliPage.inkedPixels, 1000) << "the picture is drawn";
        } else {
            // The documents' own words, so two empty pages do not pass.
            EXPECT_TRUE(cliPage.text.contains(QStringLiteral("Foliant sample")))
                << cliPage.text.toStdString();
        }
        EXPECT_EQ(cliPage.text, windowPage.text);
    }
}

} // namespace
