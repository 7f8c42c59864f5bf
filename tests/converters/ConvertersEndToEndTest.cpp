// The four converters with the real office host on LibreOffice, the real
// picture printer and the real Ghostscript, each run on a worker thread while
// the GUI thread serves the prompt and the boxes, as in the program.

#include "EventLog.h"
#include "HeadlessPage.h"
#include "OfficeDocuments.h"
#include "ProcessTree.h"
#include "RenderedPdf.h"
#include "TestPictures.h"
#include "TestTools.h"

#include "ScriptedMessageBoxes.h"
#include "app/Resource.h"
#include "converters/CEnterPassWordDlg.h"
#include "converters/Converters.h"
#include "converters/OpenPassword.h"
#include "platform/DialogCommandIds.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/widgets/DialogBuilder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class ConvertersEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_marker = testtools::UsePrivateFolders(); }

    void SetUp() override
    {
        QString why;
        m_documents = officedocuments::Folder(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
        m_previousBoxes = SetMessageBoxService(&m_dispatcher);
        g_openPassword = kNoPassword;
    }
    void TearDown() override
    {
        SetMessageBoxService(m_previousBoxes);
        CEnterPassWordDlg::SetResponder({});
        EXPECT_EQ(processtree::Running(s_marker), QStringList{})
            << "no office host, office or Ghostscript is left running";
    }

    static inline QString s_marker;

    QString Document(const QString& name) const { return m_documents + u'/' + name; }
    QString PdfOf(const QString& source) const
    {
        return m_output.filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"));
    }

    // Runs the conversion on a worker while this thread serves the boxes and the prompt.
    static void OnWorker(const std::function<void()>& convert)
    {
        QThread* worker = QThread::create(convert);
        worker->start();
        while (!worker->wait(10))
            QCoreApplication::processEvents();
        delete worker;
    }

    // Answers the password prompt with the given passwords in turn (Cancel
    // when they are used up) and keeps the messages it showed.
    void AnswerPrompts(const QStringList& passwords)
    {
        m_passwords = passwords;
        // The prompt keeps a copy of its responder: the answers stay here.
        CEnterPassWordDlg::SetResponder([this](CEnterPassWordDlg& dialog) {
            m_prompts << DlgItem<QLabel>(&dialog, IDC_PASSWORD_MESSAGE)->text();
            if (m_passwords.isEmpty())
                return IDCANCEL;
            DlgItem<QLineEdit>(&dialog, IDC_PASSWORD)->setText(m_passwords.takeFirst());
            dialog.OnBnClickedOk();
            return IDOK;
        });
    }

    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const ScriptedMessageBoxes::Box& box : m_boxes.Boxes())
            texts << box.request.caption + u'|' + box.request.text;
        return texts;
    }

    QString m_documents;
    QTemporaryDir m_output;
    HeadlessPage m_page{m_output.path()};
    ScriptedMessageBoxes m_boxes;
    MessageBoxDispatcher m_dispatcher{m_boxes};
    MessageBoxService* m_previousBoxes = nullptr;
    QStringList m_prompts;
    QStringList m_passwords;
};

TEST_F(ConvertersEndToEnd, EveryWordTypeBecomesAPdfThatShowsTheDocument)
{
    for (const char* name : {"sample.doc", "sample.docx", "sample.rtf", "sample.txt", "sample.htm",
                             "sample.tml", "sample.xml"}) {
        SCOPED_TRACE(name);
        const QString source = Document(QString::fromLatin1(name));
        OnWorker([&]() { ConvertWord(m_page, source); });
        EXPECT_EQ(m_page.Converted(), 1);
        const Rendered page = Render(PdfOf(source));
        EXPECT_GT(page.inkedPixels, 50) << "the page is not blank";
        EXPECT_TRUE(page.text.contains(QStringLiteral("Foliant sample"))) << page.text.toStdString();
    }
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << BoxTexts().join(u'\n').toStdString();
    // Timer 3 ran around every print.
    EXPECT_EQ(m_page.Timers().count(QStringLiteral("SetTimer 3 200")), 7);
    EXPECT_EQ(m_page.Timers().count(QStringLiteral("KillTimer 3")), 7);
}

TEST_F(ConvertersEndToEnd, AWorkbookAndAPresentationBecomePdfsAfterTheirWaits)
{
    const QString workbook = Document(QStringLiteral("sample.xls"));
    OnWorker([&]() { ConvertExcel(m_page, workbook); });
    EXPECT_EQ(m_page.Converted(), 1);
    EXPECT_EQ(m_page.Waits(), 1);
    Rendered page = Render(PdfOf(workbook));
    EXPECT_GT(page.inkedPixels, 50);
    EXPECT_TRUE(page.text.contains(QStringLiteral("markerxls"))) << page.text.toStdString();

    const QString presentation = Document(QStringLiteral("sample.ppt"));
    OnWorker([&]() { ConvertPowerPoint(m_page, presentation); });
    EXPECT_EQ(m_page.Converted(), 1);
    EXPECT_EQ(m_page.Waits(), 2);
    page = Render(PdfOf(presentation));
    EXPECT_GT(page.inkedPixels, 50);
    EXPECT_TRUE(page.text.contains(QStringLiteral("markerppt"))) << page.text.toStdString();
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << BoxTexts().join(u'\n').toStdString();
}

TEST_F(ConvertersEndToEnd, ProtectedDocumentsOpenWithThePasswordTypedAtTheSecondPrompt)
{
    for (const char* name : {"protected.doc", "protected.xls"}) {
        SCOPED_TRACE(name);
        m_prompts.clear();
        AnswerPrompts({QStringLiteral("wrong"), officedocuments::Password()});
        const QString source = Document(QString::fromLatin1(name));
        QString passwordAfter;
        OnWorker([&]() {
            if (source.endsWith(u".doc"))
                ConvertWord(m_page, source);
            else
                ConvertExcel(m_page, source);
            passwordAfter = g_openPassword;
        });
        EXPECT_EQ(m_page.Converted(), 1);
        ASSERT_EQ(m_prompts.size(), 2) << m_prompts.join(u'\n').toStdString();
        EXPECT_EQ(m_prompts[0],
                  QStringLiteral("The program has detected that File \"%1\"  is password protected. "
                                 "Please enter the password for the conversion.")
                      .arg(QString::fromLatin1(name)));
        EXPECT_GT(Render(PdfOf(source)).inkedPixels, 50);
        EXPECT_EQ(passwordAfter, kNoPassword) << "no password outlives its file";
    }

    // Cancel gives the file up.
    m_prompts.clear();
    AnswerPrompts({});
    const QString source = Document(QStringLiteral("protected.xls"));
    QFile::remove(PdfOf(source));
    OnWorker([&]() { ConvertExcel(m_page, source); });
    EXPECT_EQ(m_page.Converted(), 0);
    EXPECT_EQ(m_prompts.size(), 1);
    EXPECT_FALSE(QFile::exists(PdfOf(source)));
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << BoxTexts().join(u'\n').toStdString();
}

TEST_F(ConvertersEndToEnd, ADamagedPresentationAsksWhetherToTryAgainAndNoGivesItUp)
{
    const QString damaged = m_output.filePath(QStringLiteral("damaged.ppt"));
    QByteArray bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    for (int i = 0; i < 4096; ++i)
        bytes.append(char((i * 7919) & 0xff));
    ASSERT_TRUE(testtools::WriteFile(damaged, bytes));
    m_boxes.Answer(IDNO);
    OnWorker([&]() { ConvertPowerPoint(m_page, damaged); });
    EXPECT_EQ(m_page.Converted(), 0);
    EXPECT_EQ(BoxTexts(),
              QStringList{QStringLiteral("Warning|Password is wrong.Do you want to  enter again?")});
    ASSERT_EQ(m_boxes.Boxes().size(), 1);
    EXPECT_EQ(m_boxes.Boxes()[0].request.type, MB_YESNO);
    EXPECT_FALSE(QFile::exists(PdfOf(damaged)));
}

TEST_F(ConvertersEndToEnd, EachPictureKindIsPrintedAndBecomesAPdfThatShowsIt)
{
    const QImage picture = testpictures::Quadrants(240, 160);
    QStringList sources;
    for (const char* format : {"BMP", "JPEG", "PNG"}) {
        const QString path = m_output.filePath(QStringLiteral("picture-%1.%2")
                                                   .arg(QLatin1String(format))
                                                   .arg(QString::fromLatin1(format).toLower()));
        ASSERT_TRUE(picture.save(path, format));
        sources << path;
    }
    const QString gif = m_output.filePath(QStringLiteral("picture-GIF.gif"));
    ASSERT_TRUE(testtools::WriteFile(gif, testpictures::Gif({picture})));
    sources << gif;
    for (const QString& source : sources) {
        SCOPED_TRACE(source.toStdString());
        bool recorded = false;
        OnWorker([&]() { recorded = ConvertPicture(m_page, source); });
        EXPECT_TRUE(recorded);
        EXPECT_GT(Render(PdfOf(source)).inkedPixels, 1000) << "the picture covers the top of the page";
        EXPECT_EQ(m_page.MemoryDC().GetSafeHdc(), nullptr);
    }
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << BoxTexts().join(u'\n').toStdString();
}

TEST_F(ConvertersEndToEnd, AMissingOfficeHostIsToldOnceAndTheNextFileStillConverts)
{
    const QByteArray programs = qgetenv("FOLIANT_PROGRAM_DIR");
    QTemporaryDir empty;
    qputenv("FOLIANT_PROGRAM_DIR", QFile::encodeName(empty.path()));
    const QString first = Document(QStringLiteral("sample.docx"));
    OnWorker([&]() { ConvertWord(m_page, first); });
    qputenv("FOLIANT_PROGRAM_DIR", programs);
    EXPECT_EQ(m_page.Converted(), 0);
    // The design's text, and on a second line the reason.
    EXPECT_EQ(BoxTexts(), QStringList{QCoreApplication::applicationName() +
                                      QStringLiteral("|Couldn't get Word object.\nThe office host program "
                                                     "%1/officehost is missing.")
                                          .arg(empty.path())});
    EXPECT_FALSE(QFile::exists(PdfOf(first)));

    const QString next = Document(QStringLiteral("sample.rtf"));
    OnWorker([&]() { ConvertWord(m_page, next); });
    EXPECT_EQ(m_page.Converted(), 1);
    EXPECT_TRUE(QFile::exists(PdfOf(next)));
    EXPECT_EQ(m_boxes.Boxes().size(), 1);
}

TEST_F(ConvertersEndToEnd, StopEndsTheOfficeHostFromTheGuiThreadAndNothingFollows)
{
    // Stopped as the wait for Word's printing begins, while the worker holds the host.
    m_page.stopAtWait = 1;
    const QString source = Document(QStringLiteral("sample.doc"));
    OnWorker([&]() { ConvertWord(m_page, source); });
    EXPECT_EQ(m_page.Timers(), (QStringList{QStringLiteral("SetTimer 3 200"), QStringLiteral("KillTimer 3")}))
        << "the document was printing";
    EXPECT_EQ(m_page.Waits(), 1);
    EXPECT_EQ(m_page.Converted(), 0);
    EXPECT_FALSE(QFile::exists(PdfOf(source)));
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << BoxTexts().join(u'\n').toStdString();
    EXPECT_EQ(processtree::Running(s_marker), QStringList{}) << "the host is gone when the converter returns";
}

} // namespace
