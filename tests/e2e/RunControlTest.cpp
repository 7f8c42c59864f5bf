// What the user decides during a run of the real program: an existing PDF
// kept or replaced, the password of a protected document, and Stop.

#include "FoliantSession.h"
#include "OfficeDocuments.h"
#include "PdfFacts.h"
#include "ProcessTree.h"
#include "RenderedPdf.h"
#include "TestTools.h"

#include "converters/CEnterPassWordDlg.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace {

class RunControl : public FoliantSession
{
protected:
    QStringList OutputFiles() const { return QDir(OutputFolder()).entryList(QDir::Files); }
    // The office hosts and Ghostscript among processtree's "pid name"
    // entries: each starts for one file (the office's own helpers may still
    // come and go while a host is ended).
    static QStringList FileSteps(const QStringList& running)
    {
        static const QStringList names{"WINWORD.EXE", "EXCEL.EXE", "POWERPNT.EXE", "gs"};
        QStringList steps;
        for (const QString& entry : running)
            if (names.contains(entry.section(u' ', 1)))
                steps << entry;
        return steps;
    }
};

TEST_F(RunControl, AnExistingPdfStaysOnNoAndIsReplacedOnYes)
{
    const QString source = Source(QStringLiteral("plain-txt.txt"));
    const QString pdf = PdfOf(source);
    const QByteArray old("old PDF the user keeps");
    ASSERT_TRUE(testtools::WriteFile(pdf, old));
    const QString question = pdf + QStringLiteral(" already exists. Do you want to replace it?");

    m_boxes.Answer(IDNO);
    Drop({source});
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    ASSERT_EQ(m_boxes.Boxes().size(), 1);
    EXPECT_EQ(m_boxes.Boxes()[0].request.text, question);
    EXPECT_EQ(m_boxes.Boxes()[0].request.caption, QStringLiteral("Foliant 3.0"));
    EXPECT_EQ(m_boxes.Boxes()[0].request.type, MB_YESNO);
    EXPECT_EQ(testtools::ReadFile(pdf), old) << "No leaves the old PDF untouched";
    EXPECT_EQ(m_completion->shown, 0) << "no PDF was made";
    EXPECT_EQ(Status(), QStringLiteral("Stoped"));

    m_boxes.Answer(IDYES);
    Drop({source});
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    ASSERT_EQ(m_boxes.Boxes().size(), 2);
    EXPECT_EQ(m_boxes.Boxes()[1].request.text, question);
    EXPECT_EQ(m_completion->shown, 1);
    const pdffacts::Info info = pdffacts::ReadInfo(pdf);
    EXPECT_TRUE(info.opened) << "Yes replaced it with the new PDF";
    EXPECT_TRUE(Render(pdf).text.contains(QStringLiteral("markertxt")));
    EXPECT_EQ(OutputFiles(), QStringList{QFileInfo(pdf).fileName()});
}

TEST_F(RunControl, AProtectedDocumentIsConvertedWithThePasswordTypedAtThePrompt)
{
    QStringList prompts;
    CEnterPassWordDlg::SetResponder([&](CEnterPassWordDlg& dialog) {
        prompts << DlgItem<QLabel>(&dialog, IDC_PASSWORD_MESSAGE)->text();
        auto* field = DlgItem<QLineEdit>(&dialog, IDC_PASSWORD);
        QTest::keyClicks(field, officedocuments::Password());
        dialog.OnBnClickedOk();
        return IDOK;
    });
    const QString source = Source(QStringLiteral("protected.doc"));
    Drop({source});
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    EXPECT_EQ(prompts, QStringList{QStringLiteral("The program has detected that File \"protected.doc\"  is "
                                                  "password protected. Please enter the password for the "
                                                  "conversion.")});
    EXPECT_EQ(m_boxes.Boxes().size(), 0);
    EXPECT_EQ(m_completion->listed, QStringList{QStringLiteral("protected.pdf")});
    const Rendered page = Render(PdfOf(source));
    EXPECT_GT(page.inkedPixels, 50);
    EXPECT_TRUE(page.text.contains(QStringLiteral("markerprotecteddoc"))) << page.text.toStdString();
}

TEST_F(RunControl, StopAnsweredYesMidRunEndsItWithNoFurtherPdfAndNothingRunning)
{
    const QStringList names{"one.doc", "two.docx", "three.rtf", "four.doc", "five.docx"};
    QStringList paths;
    for (const QString& name : names)
        paths << Source(name);
    Drop(paths);
    SetOutputFolder(OutputFolder());
    QTest::mouseClick(Button(IDC_CONVERT), Qt::LeftButton);
    ASSERT_EQ(Button(IDC_CONVERT)->text(), QStringLiteral("Stop"));
    // Stop once the first PDF is there and the next file is on its way.
    QStringList seen;
    ASSERT_TRUE(pagetest::WaitUntil(
        [&] {
            seen << FileSteps(processtree::Running(s_marker));
            return QFileInfo::exists(PdfOf(names[0]));
        },
        5 * 60 * 1000));
    EXPECT_TRUE(seen.join(u' ').contains(QStringLiteral("WINWORD.EXE"))) << "the hosts are told by name";
    ASSERT_TRUE(Page()->IsConverting()) << "the run is still at work";

    m_boxes.Answer(IDYES);
    const QStringList atStop = FileSteps(processtree::Running(s_marker));
    QTest::mouseClick(Button(IDC_CONVERT), Qt::LeftButton);
    ASSERT_EQ(m_boxes.Boxes().size(), 1);
    EXPECT_EQ(m_boxes.Boxes()[0].request.text,
              QStringLiteral("Are you sure you want to stop the conversion? "));
    EXPECT_EQ(m_boxes.Boxes()[0].request.type, MB_YESNO | MB_ICONINFORMATION);
    EXPECT_EQ(Status(), QStringLiteral("Stoped"));
    EXPECT_EQ(Button(IDC_CONVERT)->text(), QStringLiteral("Convert"));
    EXPECT_EQ(Page()->m_fileList->count(), 0);

    // Until the worker has ended, no host or Ghostscript is started anew.
    QStringList startedAfterStop;
    ASSERT_TRUE(pagetest::WaitUntil(
        [&] {
            for (const QString& step : FileSteps(processtree::Running(s_marker)))
                if (!atStop.contains(step) && !startedAfterStop.contains(step))
                    startedAfterStop << step;
            return !Page()->IsWorkerRunning();
        },
        5 * 60 * 1000));
    EXPECT_EQ(startedAfterStop, QStringList{}) << "nothing is started after Stop";
    WaitForRunEnd();
    EXPECT_EQ(processtree::Running(s_marker), QStringList{})
        << "the office host, office and Ghostscript of the run have ended";
    // Nothing is left that could still write; every PDF there is complete.
    const QStringList made = OutputFiles();
    EXPECT_LT(made.size(), names.size());
    EXPECT_TRUE(made.contains(QFileInfo(PdfOf(names[0])).fileName()));
    for (const QString& file : made) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_TRUE(file.endsWith(QStringLiteral(".pdf")));
        EXPECT_TRUE(pdffacts::ReadInfo(QDir(OutputFolder()).filePath(file)).opened);
    }
    EXPECT_EQ(m_completion->shown, 0) << "a stopped run shows no completion dialog";
    EXPECT_EQ(m_boxes.Boxes().size(), 1);
}

} // namespace
