#include "convert/ConversionWorker.h"
#include "converters/CEnterPassWordDlg.h"
#include "converters/FileKinds.h"

#include "PageFixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QSignalSpy>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace pagetest;

namespace {

const auto* const g_runtime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

class ConversionWorkerTest : public PageFixture
{
protected:
    QString ReplaceQuestion(const QString& pdfName) const
    {
        return Folder() + pdfName + QStringLiteral(" already exists. Do you want to replace it?");
    }
};

TEST(ConversionWorkerNames, OutputName)
{
    EXPECT_EQ(ConversionWorker::OutputName("/srv/in/Report.DOC"), "Report.pdf");
    EXPECT_EQ(ConversionWorker::OutputName("/srv/in.v2/archive.tar.xls"), "archive.tar.pdf");
}

TEST_F(ConversionWorkerTest, SecondPdfKeptOnNoTheOthersConvertedAndListed)
{
    List({"A.doc", "B.doc", "C.doc"}, Folder());
    ASSERT_TRUE(WriteFile("B.pdf", "old B"));
    boxes.Answer(IDNO);
    CompletionWatcher completion(*page);
    RunToEnd();

    EXPECT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "C.doc"}));
    // The declined file still moved the bar: C began at 2 of 3.
    ASSERT_EQ(fakes.Calls().size(), 2);
    EXPECT_EQ(fakes.Calls()[0].barPos, 0);
    EXPECT_EQ(fakes.Calls()[1].barPos, 2);
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const MessageBoxRequest question = boxes.Boxes()[0].request;
    EXPECT_EQ(question.text, ReplaceQuestion("B.pdf"));
    EXPECT_EQ(question.caption, "Foliant 3.0");
    EXPECT_EQ(question.type, MB_YESNO);
    EXPECT_EQ(question.owner, page.get());
    EXPECT_NE(boxes.Boxes()[0].thread, qApp->thread()) << "asked by the worker";
    EXPECT_EQ(ReadFile("B.pdf"), "old B");

    EXPECT_EQ(Status(), "Complete!");
    EXPECT_EQ(Bar()->m_nPos, 100);
    EXPECT_EQ(Bar()->m_nRange, 100);
    EXPECT_EQ(Bar()->m_bDrawn, 1);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Button(IDC_CONVERT)->text(), "Convert");
    EXPECT_FALSE(Button(IDC_CONVERT)->isEnabled());
    EXPECT_TRUE(Button(IDC_ADD_FILES)->isEnabled());
    EXPECT_TRUE(Button(IDC_BROWSE)->isEnabled());
    EXPECT_TRUE(FolderEdit()->isEnabled());
    EXPECT_FALSE(page->m_fileList->m_busy);

    // A second later the completion dialog lists the two.
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, (QStringList{"A.pdf", "C.pdf"}));
    EXPECT_EQ(Bar()->m_bDrawn, 0);
}

TEST_F(ConversionWorkerTest, YesReplacesOnlyWhenTheNewPdfIsMade)
{
    List({"A.doc", "B.xls"}, Folder());
    ASSERT_TRUE(WriteFile("A.pdf", "old A"));
    ASSERT_TRUE(WriteFile("B.pdf", "old B"));
    fakes.SetAct("A.doc", Act::Fail);
    boxes.Answer(IDYES);
    boxes.Answer(IDYES);
    CompletionWatcher completion(*page);
    RunToEnd();

    EXPECT_EQ(boxes.Texts(), (QStringList{ReplaceQuestion("A.pdf"), ReplaceQuestion("B.pdf")}));
    EXPECT_EQ(ReadFile("A.pdf"), "old A") << "the failed conversion leaves the old PDF in place";
    EXPECT_TRUE(ReadFile("B.pdf").startsWith("new ")) << "the made one replaced the old";
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"B.pdf"});
}

TEST_F(ConversionWorkerTest, GivenUpFilesAreNeitherCountedNorListed)
{
    List({"A.doc", "B.ppt", "C.png", "D.xls"}, Folder());
    fakes.SetAct("B.ppt", Act::Fail);
    fakes.SetAct("C.png", Act::Fail);
    CompletionWatcher completion(*page);
    RunToEnd();

    ASSERT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "B.ppt", "C.png", "D.xls"}));
    // The bar moved for A only: D began at 1.
    EXPECT_EQ(fakes.Calls()[3].barPos, 1);
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, (QStringList{"A.pdf", "D.pdf"}));
}

TEST_F(ConversionWorkerTest, AnOfficeConverterThatSaysNothingDoesNotInheritTheLastFlag)
{
    List({"A.doc", "B.doc"}, Folder());
    fakes.SetAct("B.doc", Act::ReturnSilent);
    CompletionWatcher completion(*page);
    RunToEnd();

    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"A.pdf"});
}

TEST_F(ConversionWorkerTest, ARunThatMakesNothingEndsStopedWithoutTheDialog)
{
    List({"A.doc", "B.jpg"}, Folder());
    fakes.SetAct("A.doc", Act::Fail);
    fakes.SetAct("B.jpg", Act::Fail);
    CompletionWatcher completion(*page);
    RunToEnd();

    EXPECT_EQ(Status(), "Stoped");
    EXPECT_EQ(Bar()->m_nPos, 100);
    EXPECT_EQ(Bar()->m_nRange, 100);
    EXPECT_EQ(Bar()->m_bDrawn, 1);
    // Timer 2 clears the bar and shows no dialog.
    ASSERT_TRUE(WaitUntil([&] { return Bar()->m_bDrawn == 0; }));
    EXPECT_EQ(completion.shown, 0);
    EXPECT_EQ(Status(), "Stoped");
}

TEST_F(ConversionWorkerTest, ConvertersGetThePathAsListedAndTheFolderWithOrWithoutSlash)
{
    const QString plainFolder = dir.path();
    List({"Report.DOC", "Photo.JPEG"}, plainFolder);
    ASSERT_TRUE(WriteFile("Report.pdf", "old"));
    boxes.Answer(IDNO);
    CompletionWatcher completion(*page);
    RunToEnd();

    EXPECT_EQ(boxes.Texts(), QStringList{ReplaceQuestion("Report.pdf")})
        << "a folder typed without a slash gives the same path";
    ASSERT_EQ(fakes.Calls().size(), 1);
    // The file under its own name: Photo.jpeg is another file, or none.
    EXPECT_EQ(fakes.Calls()[0].path, PathOf("Photo.JPEG"));
    EXPECT_EQ(fakes.Calls()[0].kind, "picture");
    EXPECT_EQ(page->m_finishDlg.m_folder, Folder());
    EXPECT_EQ(page->OutputFolder(), plainFolder);
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"Photo.pdf"});
}

TEST_F(ConversionWorkerTest, EachKindGoesToItsConverterInListOrderOnTheWorkerThread)
{
    // Every extension the program takes (the table itself is checked in the
    // file-kinds test), every other one in capitals: the worker dispatches by kind.
    const QMap<FileKind, const char*> kindNames{{FileKind::Word, "word"},
                                                {FileKind::Excel, "excel"},
                                                {FileKind::PowerPoint, "powerpoint"},
                                                {FileKind::Picture, "picture"}};
    QStringList names;
    QStringList expected;
    for (const filekinds::Entry& entry : filekinds::Table()) {
        const QString extension =
            names.size() % 2 ? QString(entry.extension).toUpper() : QString(entry.extension);
        names << QStringLiteral("%1.%2").arg(names.size(), 2, 10, QLatin1Char('0')).arg(extension);
        expected << QString::fromLatin1(kindNames.value(entry.kind));
    }
    List(names, Folder());
    CompletionWatcher completion(*page);
    RunToEnd();

    QStringList kinds;
    for (const FakeConverters::Call& call : fakes.Calls()) {
        kinds << call.kind;
        EXPECT_NE(call.thread, qApp->thread()) << qPrintable(call.path);
        EXPECT_EQ(call.thread, fakes.Calls()[0].thread) << "one worker for the run";
        EXPECT_TRUE(names.contains(call.path.section(u'/', -1))) << "the path as listed";
    }
    EXPECT_EQ(kinds, expected);
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed.size(), names.size());
}

TEST_F(ConversionWorkerTest, ASecondPressRightAfterConvertAsksToStopAndStartsNoSecondRun)
{
    List({"A.doc", "B.doc"}, Folder());
    boxes.Answer(IDNO);
    CompletionWatcher completion(*page);
    Click(IDC_CONVERT);
    EXPECT_TRUE(page->IsConverting()) << "set before the worker runs";
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return !page->IsWorkerRunning() && !page->IsConverting(); }));

    EXPECT_EQ(boxes.Texts(), QStringList{"Are you sure you want to stop the conversion? "});
    EXPECT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "B.doc"}));
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, (QStringList{"A.pdf", "B.pdf"}));
}

TEST_F(ConversionWorkerTest, StopNoHoldsTheWorkerWhileAskingThenGoesOn)
{
    List({"A.doc", "B.doc", "C.doc"}, Folder());
    fakes.SetAct("A.doc", Act::BlockDeaf);
    CompletionWatcher completion(*page);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));

    bool asked = false;
    boxes.OnBox("Are you sure", [&] {
        asked = true;
        // Asking: the button reads Convert, the inputs stay as in the run.
        EXPECT_EQ(Button(IDC_CONVERT)->text(), "Convert");
        EXPECT_TRUE(Button(IDC_CONVERT)->isEnabled());
        EXPECT_FALSE(Button(IDC_ADD_FILES)->isEnabled());
        EXPECT_FALSE(Button(IDC_REMOVE_ALL)->isEnabled());
        // The converter of A finishes; the worker then holds at its next step.
        fakes.Release();
        ASSERT_TRUE(WaitUntil([&] { return page->IsWorkerHeld(); }));
        EXPECT_EQ(fakes.CalledNames(), QStringList{"A.doc"}) << "nothing goes on while the question is open";
        EXPECT_TRUE(page->m_finishDlg.m_files.isEmpty());
    });
    boxes.Answer(IDNO);
    Click(IDC_CONVERT);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Button(IDC_CONVERT)->text(), "Stop");
    EXPECT_TRUE(page->IsConverting());

    ASSERT_TRUE(WaitUntil([&] { return !page->IsWorkerRunning() && !page->IsConverting(); }));
    EXPECT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "B.doc", "C.doc"}));
    EXPECT_EQ(Status(), "Complete!");
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, (QStringList{"A.pdf", "B.pdf", "C.pdf"}));
}

TEST_F(ConversionWorkerTest, StopYesEndsTheCurrentProgramAndRecordsNothingMore)
{
    List({"A.doc", "B.doc", "C.doc"}, Folder());
    fakes.SetAct("B.doc", Act::Block);
    CompletionWatcher completion(*page);
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    ASSERT_EQ(page->m_finishDlg.m_files, QStringList{"A.pdf"});

    boxes.Answer(IDYES);
    Click(IDC_CONVERT);
    // The page is idle at once.
    EXPECT_FALSE(page->IsConverting());
    EXPECT_EQ(Status(), "Stoped");
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_EQ(Bar()->m_bDrawn, 0);
    EXPECT_EQ(Button(IDC_CONVERT)->text(), "Convert");
    EXPECT_FALSE(Button(IDC_CONVERT)->isEnabled());
    EXPECT_TRUE(Button(IDC_ADD_FILES)->isEnabled());
    EXPECT_TRUE(page->m_optionTabs.m_securityPage->isEnabled());
    EXPECT_FALSE(page->m_fileList->m_busy);
    EXPECT_EQ(fakes.EndedByPage(), 1) << "the program of the current file is ended";

    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_FALSE(page->IsWorkerRunning());
    EXPECT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "B.doc"}));
    EXPECT_EQ(page->m_finishDlg.m_files, QStringList{"A.pdf"}) << "nothing recorded after the stop";
    EXPECT_FALSE(QFileInfo::exists(PathOf("B.pdf")));
    // No completion step follows a stopped run: its timer was never started.
    EXPECT_FALSE(page->IsTimerActive(2));
    EXPECT_EQ(completion.shown, 0);
    EXPECT_EQ(Status(), "Stoped");
}

TEST_F(ConversionWorkerTest, APageWaitEndsWhenTheWorkIsDoneAtItsLimitOrAtStop)
{
    using WaitEnd = ConversionPage::WaitEnd;
    // The worker waits; this thread finishes the work, or stops the run.
    auto onWorker = [&](const std::function<bool()>& done, int limit,
                        const std::function<void()>& meanwhile) {
        std::atomic<WaitEnd> end{WaitEnd::Done};
        std::atomic<bool> returned{false};
        std::thread worker([&]() {
            end = page->WaitUntil(done, limit);
            returned = true;
        });
        meanwhile();
        EXPECT_TRUE(WaitUntil([&] { return returned.load(); }, 30000));
        worker.join();
        return end.load();
    };

    std::atomic<bool> complete{false};
    EXPECT_EQ(onWorker([&] { return complete.load(); }, 60000, [&] { complete = true; }), WaitEnd::Done);
    EXPECT_EQ(onWorker([] { return false; }, 300, [] {}), WaitEnd::TimedOut);
    EXPECT_EQ(onWorker([] { return false; }, 60000, [&] { page->StopRun(); }), WaitEnd::Stopped);
}

TEST_F(ConversionWorkerTest, StopRunWithoutAskingAndWaitingForTheWorker)
{
    List({"A.doc", "B.doc"}, Folder());
    fakes.SetAct("A.doc", Act::Block);
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));

    page->StopRun();
    EXPECT_TRUE(boxes.Boxes().isEmpty());
    EXPECT_FALSE(page->IsConverting());
    EXPECT_EQ(Status(), "Stoped");
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_FALSE(page->IsWorkerRunning());
    EXPECT_EQ(fakes.CalledNames(), QStringList{"A.doc"});
}

TEST_F(ConversionWorkerTest, ANewRunStartsOnlyAfterTheAbandonedWorkerHasEnded)
{
    List({"A.doc", "B.doc"}, Folder());
    // A converter that does not hear the stop: its worker ends late.
    fakes.SetAct("A.doc", Act::BlockDeaf);
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    page->StopRun();
    ASSERT_TRUE(page->IsWorkerRunning());

    List({"C.doc"}, Folder());
    CompletionWatcher completion(*page);
    Click(IDC_CONVERT);
    EXPECT_TRUE(page->IsConverting());
    EXPECT_EQ(Button(IDC_CONVERT)->text(), "Stop");
    EXPECT_EQ(fakes.CalledNames(), QStringList{"A.doc"}) << "the new run waits for the old worker";

    fakes.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 2 && !page->IsConverting(); }));
    ASSERT_EQ(fakes.CalledNames(), (QStringList{"A.doc", "C.doc"}));
    EXPECT_EQ(fakes.Calls()[1].returnedBefore, 1) << "C began after the old run's A had returned";
    // The old run's A.pdf, made after the stop, was never recorded.
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"C.pdf"});
}

TEST_F(ConversionWorkerTest, AStoppedRunsNamesNeverReachTheNextRunsDialog)
{
    List({"A.doc", "B.doc"}, Folder());
    fakes.SetAct("B.doc", Act::Block);
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    page->StopRun();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    ASSERT_EQ(page->m_finishDlg.m_files, QStringList{"A.pdf"});

    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    List({"C.doc"}, other.path());
    CompletionWatcher completion(*page);
    RunToEnd();
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 1; }));
    EXPECT_EQ(completion.listed, QStringList{"C.pdf"});
    EXPECT_TRUE(QFileInfo::exists(other.filePath("C.pdf")));
}

TEST_F(ConversionWorkerTest, DestroyingThePageDuringARunStopsAndWaitsForTheWorker)
{
    List({"A.doc", "B.doc"}, Folder());
    fakes.SetAct("A.doc", Act::Block);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    page.reset();
    EXPECT_EQ(fakes.EndedByPage(), 1);
    EXPECT_EQ(fakes.Returned(), 1);
    EXPECT_EQ(fakes.CalledNames(), QStringList{"A.doc"});
}

TEST_F(ConversionWorkerTest, ConvertBeforeTheLastRunsDialogShowsThatDialogFirst)
{
    List({"A.doc"}, Folder());
    CompletionWatcher completion(*page);
    RunToEnd();
    ASSERT_EQ(completion.shown, 0) << "the dialog waits a second";

    // At once, before timer 2: the last run's dialog, then the new run.
    List({"B.doc"}, Folder());
    Click(IDC_CONVERT);
    EXPECT_EQ(completion.shown, 1);
    EXPECT_EQ(completion.listed, QStringList{"A.pdf"});
    ASSERT_TRUE(WaitUntil([&] { return !page->IsWorkerRunning() && !page->IsConverting(); }));
    ASSERT_TRUE(WaitUntil([&] { return completion.shown == 2; }));
    EXPECT_EQ(completion.listed, QStringList{"B.pdf"});
}

TEST_F(ConversionWorkerTest, AfterStopTheConverterGetsNoPromptAndNoPdfStep)
{
    int prompts = 0;
    CEnterPassWordDlg::SetResponder([&](CEnterPassWordDlg&) {
        ++prompts;
        return IDOK;
    });
    List({"A.doc"}, Folder());
    fakes.SetAct("A.doc", Act::BlockThenAsk);
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    Click(IDC_CONVERT);
    ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
    page->StopRun();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    CEnterPassWordDlg::SetResponder({});

    const FakeConverters::Late late = fakes.LateAnswers();
    ASSERT_TRUE(late.asked);
    EXPECT_FALSE(late.password);
    EXPECT_EQ(prompts, 0);
    EXPECT_TRUE(late.pdf.stopped);
    EXPECT_FALSE(late.pdf.made);
    EXPECT_EQ(late.pdf.pdfPath, PathOf("A.pdf"));
}

TEST_F(ConversionWorkerTest, ARunThatEndsAsStopIsPressedWaitsForTheAnswer)
{
    QSignalSpy finished(page.get(), &CConvertDlg::workerFinished);
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        const QString name = answer == IDNO ? "A.doc" : "B.doc";
        List({name}, Folder());
        fakes.SetAct(name, Act::BlockDeafFail);
        Click(IDC_CONVERT);
        ASSERT_TRUE(WaitUntil([&] { return fakes.Blocked(); }));
        const int ended = finished.count();
        // The GUI thread is busy while the last file ends: the worker has
        // passed its last step and waits to end the run when Stop is pressed.
        fakes.Release();
        ASSERT_TRUE(WaitUntil([&] { return fakes.Returned() == (answer == IDNO ? 1 : 2); }));
        // Without handling events, so the run's end stays queued until the
        // question is open.
        QDeadlineTimer limit(30000);
        while (!page->IsWorkerEnding() && !limit.hasExpired())
            std::this_thread::yield();
        ASSERT_TRUE(page->IsWorkerEnding());
        boxes.OnBox("Are you sure", [&] {
            ASSERT_TRUE(WaitUntil([&] { return finished.count() == ended + 1; }));
            EXPECT_TRUE(page->IsConverting()) << "the run is not ended under the open question";
            EXPECT_TRUE(Status().startsWith("Start to convert"));
            EXPECT_EQ(Entries().size(), 1);
        });
        boxes.Answer(answer);
        Click(IDC_CONVERT);
        EXPECT_FALSE(page->IsConverting());
        EXPECT_TRUE(Entries().isEmpty());
        EXPECT_EQ(Status(), "Stoped");
        // No ends the run as the worker would have (a full bar); Yes abandons it.
        EXPECT_EQ(Bar()->m_bDrawn, answer == IDNO ? 1 : 0);
        EXPECT_EQ(Bar()->m_nPos, answer == IDNO ? 100 : Bar()->m_nPos);
    }
}

} // namespace
