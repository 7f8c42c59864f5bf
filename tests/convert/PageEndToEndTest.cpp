// The conversion page with the real converters, the real office host on
// LibreOffice and the real Ghostscript, driven as a user does: files dropped
// on the list, the folder typed, Convert clicked, the completion dialog read
// and closed. The design's fixed waits stay in.

#include "OfficeDocuments.h"
#include "ProcessTree.h"
#include "RenderedPdf.h"
#include "ScriptedMessageBoxes.h"
#include "TestPictures.h"
#include "TestScans.h"
#include "TestTools.h"
#include "WidgetTestTools.h"

#include "app/Resource.h"
#include "convert/CConvertDlg.h"
#include "convert/CEnableEdit.h"
#include "convert/CListBoxEx.h"
#include "converters/Converters.h"
#include "converters/OpenPassword.h"
#include "options/CAdvancedDlg.h"
#include "platform/DialogCommandIds.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// What the completion dialog showed while it was up.
struct Completion
{
    int shown = 0;
    bool modal = false; // it was the active modal widget
    QStringList listed;
    bool spoolWhileShown = false;
};

class PageEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_marker = testtools::UsePrivateFolders(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_input.isValid() && m_output.isValid());
        m_previousBoxes = SetMessageBoxService(&m_dispatcher);
        g_openPassword = kNoPassword;
        m_page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    }
    void TearDown() override { SetMessageBoxService(m_previousBoxes); }

    // Drags the files over the list and drops them, as a file manager does.
    void Drop(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        QMimeData mime;
        mime.setUrls(urls);
        QWidget* viewport = m_page.m_fileList->viewport();
        // The page's notice comes after the list is filled; it sets the
        // folder and enables Convert (the spy hears it after the page).
        QSignalSpy noticed(m_page.m_fileList, &CListBoxEx::WM_FILES_DROPPED);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        ASSERT_TRUE(drop.isAccepted());
        ASSERT_TRUE(WaitUntil([&] { return noticed.count() == 1; }, 5000)) << "the page took the drop";
    }

    static bool WaitUntil(const std::function<bool()>& done, int limitMs)
    {
        for (int waited = 0; !done(); waited += 20) {
            if (waited > limitMs)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    static inline QString s_marker;
    QTemporaryDir m_input, m_output;
    ScriptedMessageBoxes m_boxes;
    MessageBoxDispatcher m_dispatcher{m_boxes};
    MessageBoxService* m_previousBoxes = nullptr;
    CConvertDlg m_page{DefaultConverters()};
};

TEST_F(PageEndToEnd, APictureAndADocumentBecomeTwoPdfsListedByTheCompletionDialog)
{
    QString why;
    const QString documents = officedocuments::Folder(&why);
    ASSERT_FALSE(documents.isEmpty()) << why.toStdString();
    const QString docx = m_input.filePath(QStringLiteral("Report.docx"));
    const QString png = m_input.filePath(QStringLiteral("Photo.png"));
    ASSERT_TRUE(QFile::copy(documents + QStringLiteral("/sample.docx"), docx));
    ASSERT_TRUE(testpictures::Quadrants(600, 400).save(png));

    Drop({png, docx});
    ASSERT_TRUE(WaitUntil([&] { return m_page.m_fileList->count() == 2; }, 5000));
    auto* folder = DlgItem<QLineEdit>(&m_page, IDC_OUTPUT_FOLDER);
    ASSERT_TRUE(WaitUntil([&] { return folder->text() == m_input.path() + u'/'; }, 5000))
        << "the drop sets the folder of the first entry";
    folder->selectAll();
    QTest::keyClicks(folder, m_output.path());
    ASSERT_EQ(folder->text(), m_output.path());

    // The completion dialog is modal: it is looked at from inside its own
    // event loop, then closed with its button.
    Completion completion;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !m_page.m_finishDlg.isVisible())
            return;
        ++completion.shown;
        completion.modal = modal == &m_page.m_finishDlg;
        completion.listed = testtools::ListEntries(*m_page.m_finishDlg.m_resultList);
        completion.spoolWhileShown = QFile::exists(m_page.SpoolFilePath(nullptr));
        QTest::mouseClick(DlgItem<QAbstractButton>(&m_page.m_finishDlg, IDCANCEL), Qt::LeftButton);
    });
    watcher.start();

    QTest::mouseClick(DlgItem<QAbstractButton>(&m_page, IDC_CONVERT), Qt::LeftButton);
    ASSERT_TRUE(m_page.IsConverting());
    ASSERT_TRUE(WaitUntil([&] { return completion.shown > 0 && !m_page.m_finishDlg.isVisible(); }, 300000))
        << "the completion dialog appeared and was closed";
    ASSERT_TRUE(WaitUntil([&] { return !m_page.IsWorkerRunning(); }, 10000));

    EXPECT_EQ(completion.shown, 1);
    EXPECT_TRUE(completion.modal);
    EXPECT_EQ(completion.listed, (QStringList{QStringLiteral("Photo.pdf"), QStringLiteral("Report.pdf")}));
    EXPECT_TRUE(completion.spoolWhileShown);
    EXPECT_FALSE(QFile::exists(m_page.SpoolFilePath(nullptr))) << "the spool file goes with the dialog";
    EXPECT_EQ(m_page.m_status->text(), QStringLiteral("Complete!"));
    EXPECT_EQ(m_page.m_fileList->count(), 0);
    EXPECT_FALSE(m_page.IsConverting());

    EXPECT_EQ(QDir(m_output.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("Photo.pdf"), QStringLiteral("Report.pdf")}));
    const Rendered picture = Render(m_output.filePath(QStringLiteral("Photo.pdf")));
    EXPECT_GT(picture.inkedPixels, 1000) << "the picture is on its page";
    const Rendered document = Render(m_output.filePath(QStringLiteral("Report.pdf")));
    EXPECT_GT(document.inkedPixels, 50) << "the page is not blank";
    EXPECT_TRUE(document.text.contains(QStringLiteral("Foliant sample"))) << document.text.toStdString();

    const QStringList texts = m_boxes.Texts();
    EXPECT_EQ(texts, QStringList{}) << "a run of good files shows no message";
    EXPECT_EQ(processtree::Running(s_marker), QStringList{})
        << "no office host, office or Ghostscript of the run is left";
}

TEST_F(PageEndToEnd, WithRecognitionTickedAScanBecomesASearchablePdf)
{
    const QString scan = m_input.filePath(QStringLiteral("Scan.png"));
    ASSERT_TRUE(testscans::Make(0).image.save(scan));
    Drop({scan});
    ASSERT_TRUE(WaitUntil([&] { return m_page.m_fileList->count() == 1; }, 5000));
    auto* folder = DlgItem<QLineEdit>(&m_page, IDC_OUTPUT_FOLDER);
    folder->selectAll();
    QTest::keyClicks(folder, m_output.path());
    DlgItem<QCheckBox>(m_page.m_optionTabs.m_advancedPage, IDC_RECOGNIZE_TEXT)->click();

    // The completion dialog is closed as it appears.
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (m_page.m_finishDlg.isVisible())
            QTest::mouseClick(DlgItem<QAbstractButton>(&m_page.m_finishDlg, IDCANCEL), Qt::LeftButton);
    });
    closer.start();
    QTest::mouseClick(DlgItem<QAbstractButton>(&m_page, IDC_CONVERT), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !m_page.IsConverting() && !m_page.IsWorkerRunning(); }, 300000));

    const QString words = testtools::PdfWords(m_output.filePath(QStringLiteral("Scan.pdf"))).join(u' ');
    EXPECT_TRUE(words.contains(QStringLiteral("thank you for your order"))) << words.toStdString();
    EXPECT_EQ(m_boxes.Texts(), QStringList{}) << "words were found: nothing to tell";
    EXPECT_EQ(processtree::Running(s_marker), QStringList{}) << "no Tesseract is left";
}

} // namespace
