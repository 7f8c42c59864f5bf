// The page's PDF step with the real Ghostscript: a converter stand-in that
// prints by writing the spool file, then asks the page for the PDF.

#include "PageFixture.h"

#include "TestTools.h"
#include "tests/pdf/TestSpoolFiles.h"

#include <QComboBox>
#include <QSignalSpy>

using namespace pagetest;

namespace {

const auto* const g_runtime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

class ConversionPdfStepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(testtools::HaveTool("gs"));
        previous = SetMessageBoxService(&boxes);
        ConverterSet set;
        set.word = [this](ConversionPage& converterPage, const QString& path) {
            QFile spool(converterPage.SpoolFilePath(nullptr));
            if (spool.open(QIODevice::WriteOnly))
                spool.write(spoolText);
            spool.close();
            {
                QMutexLocker lock(&mutex);
                inGhostscript = true;
            }
            const PdfOutcome outcome = converterPage.MakePdfFromSpool(path);
            QMutexLocker lock(&mutex);
            outcomes.append(outcome);
            converterPage.SetConverted(outcome.made ? 1 : 0);
        };
        page = std::make_unique<CConvertDlg>(set);
        page->show();
    }
    void TearDown() override
    {
        page.reset();
        SetMessageBoxService(previous);
    }

    void List(const QStringList& names)
    {
        for (const QString& name : names) {
            ASSERT_TRUE(testtools::WriteFile(dir.filePath(name), "source"));
            page->m_fileList->InsertString(-1, dir.filePath(name));
        }
        page->OnFilesDropped();
    }

    QMap<QString, QString> Info(const QString& pdf)
    {
        const auto result = testtools::RunTool("pdfinfo", {"-enc", "UTF-8", pdf});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QMap<QString, QString> fields;
        for (const QString& line : QString::fromUtf8(result.out).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                fields[line.left(colon)] = line.mid(colon + 1).trimmed();
        }
        return fields;
    }

    QList<PdfOutcome> Outcomes()
    {
        QMutexLocker lock(&mutex);
        return outcomes;
    }

    QTemporaryDir dir;
    InspectingBoxes boxes;
    MessageBoxService* previous = nullptr;
    QByteArray spoolText = spool::TextPage();
    QMutex mutex;
    bool inGhostscript = false;
    QList<PdfOutcome> outcomes;
    std::unique_ptr<CConvertDlg> page;
};

TEST_F(ConversionPdfStepTest, ThePdfCarriesTheRunsDescriptionAndAdvancedValues)
{
    List({"Report.doc"});
    DlgItem<QLineEdit>(page->m_optionTabs.m_descriptionPage, IDC_TITLE)->setText("Quarterly (draft)");
    auto* version = DlgItem<QComboBox>(page->m_optionTabs.m_advancedPage, IDC_PDF_VERSION);
    version->setCurrentText("V1.5");
    CompletionWatcher completion(*page);
    QTest::mouseClick(DlgItem<QAbstractButton>(page.get(), IDC_CONVERT), Qt::LeftButton);
    // Typed after Convert: the run keeps the title it started with.
    DlgItem<QLineEdit>(page->m_optionTabs.m_descriptionPage, IDC_TITLE)->setText("changed");
    ASSERT_TRUE(WaitUntil([&] { return !page->IsWorkerRunning() && !page->IsConverting(); }));

    ASSERT_EQ(Outcomes().size(), 1);
    EXPECT_TRUE(Outcomes()[0].made) << Outcomes()[0].reason.toStdString();
    EXPECT_EQ(Outcomes()[0].pdfPath, dir.filePath("Report.pdf"));
    const auto info = Info(dir.filePath("Report.pdf"));
    EXPECT_EQ(info.value("Title"), "Quarterly (draft)");
    EXPECT_EQ(info.value("PDF version"), "1.5");
    // The completion dialog lists it; the spool is gone once it has closed.
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"Report.pdf"});
    EXPECT_FALSE(QFileInfo::exists(page->SpoolFilePath(nullptr)));
}

TEST_F(ConversionPdfStepTest, StopEndsTheRunningGhostscriptAndNoPdfAppears)
{
    spoolText = spool::SlowPage(400000000);
    List({"Slow.doc", "Next.doc"});
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    QTest::mouseClick(DlgItem<QAbstractButton>(page.get(), IDC_CONVERT), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] {
        QMutexLocker lock(&mutex);
        return inGhostscript;
    }));
    // Stop comes while Ghostscript is running, not before it started.
    const QString self = QString::number(QCoreApplication::applicationPid());
    ASSERT_TRUE(WaitUntil([&] {
        return testtools::RunTool("pgrep", {"-x", "-P", self, "gs"}).exitCode == 0;
    }));
    boxes.Answer(IDYES);
    QTest::mouseClick(DlgItem<QAbstractButton>(page.get(), IDC_CONVERT), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));

    ASSERT_EQ(Outcomes().size(), 1);
    EXPECT_TRUE(Outcomes()[0].stopped);
    EXPECT_FALSE(Outcomes()[0].made);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden), QStringList{});
    // Ghostscript has been waited for: no child of this process is left.
    const auto children =
        testtools::RunTool("pgrep", {"-P", QString::number(QCoreApplication::applicationPid())});
    EXPECT_TRUE(children.out.trimmed().isEmpty()) << children.out.toStdString();
    EXPECT_EQ(page->m_status->text(), "Stoped");
}

} // namespace
