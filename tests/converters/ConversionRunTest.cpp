// The run both front ends share, with converters and pages of the test's
// own: the order files are taken in, a PDF that exists already, what each
// file becomes, and a stop.
#include "EventLog.h"
#include "FakePage.h"
#include "TestTools.h"

#include "converters/ConversionRun.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// A job on a fake page: the file's PDF is made when the converter says so.
class FakeJob : public ConversionRun::Job
{
public:
    explicit FakeJob(EventLog& log) : m_page(log) {}
    ConversionPage& Page() override { return m_page; }
    void BeginFile(const FileResult& file, const QString&) override { begun << file.source; }
    bool EndFile(bool converted, FileResult* file) override
    {
        if (!converted)
            file->reason = QStringLiteral("not converted");
        return converted;
    }
    QStringList begun;

private:
    FakePage m_page;
};

// A job whose page waits for the file's turn and says when the file's print
// job is complete.
class TurnJob : public FakeJob
{
public:
    using FakeJob::FakeJob;
    void SetPrintTurn(std::function<bool()> takeCall, std::function<void()> printedCall) override
    {
        take = std::move(takeCall);
        printed = std::move(printedCall);
    }
    std::function<bool()> take;
    std::function<void()> printed;
};

class RecordingObserver : public ConversionRun::Observer
{
public:
    bool Stopped() override { return stopNow || (stopAfter >= 0 && done.size() >= stopAfter); }
    QString Refusal(const FileResult& file) override
    {
        return file.source.endsWith(QLatin1String("refused.doc")) ? QStringLiteral("refused") : QString();
    }
    ConversionRun::Existing AlreadyExists(const FileResult& file, QString* reason) override
    {
        QMutexLocker lock(&mutex);
        asked << QFileInfo(file.pdf).fileName();
        *reason = QStringLiteral("exists");
        return existing;
    }
    void Done(qsizetype index, const FileResult& file) override
    {
        QMutexLocker lock(&mutex);
        done << QStringLiteral("%1 %2").arg(index).arg(FileResult::StatusName(file.status));
    }
    ConversionSettings CombinedSettings() override { return {}; }
    void CombinedMade(const QString&) override {}
    void CombinedNotMade(const QString&, const QString&) override {}

    ConversionRun::Existing existing = ConversionRun::Existing::Skip;
    qsizetype stopAfter = -1;
    std::atomic<bool> stopNow{false};
    QMutex mutex;
    QStringList asked;
    QStringList done;
};

class ConversionRunTest : public ::testing::Test
{
protected:
    QList<FileResult> Files(const QStringList& names)
    {
        QList<FileResult> files;
        for (const QString& name : names) {
            FileResult file;
            file.source = dir.filePath(name);
            file.outputFolder = dir.path();
            file.pdf = dir.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".pdf"));
            files << file;
        }
        return files;
    }
    // Word "converts" every file but those named fail*.
    ConverterSet Converters()
    {
        ConverterSet set;
        set.word = [this](ConversionPage& page, const QString& path) {
            QMutexLocker lock(&m_mutex);
            converted << QFileInfo(path).fileName();
            page.SetConverted(QFileInfo(path).fileName().startsWith(QLatin1String("fail")) ? 0 : 1);
        };
        return set;
    }

    QTemporaryDir dir;
    EventLog log;
    QMutex m_mutex;
    QStringList converted;
};

TEST_F(ConversionRunTest, EachFileIsTakenOnceAndEndsAsItsConverterAndTheObserverSay)
{
    ASSERT_TRUE(testtools::WriteFile(dir.filePath("old.pdf"), "%PDF-1.4 old"));
    QList<FileResult> files = Files({"a.doc", "refused.doc", "old.doc", "fail.doc", "b.doc", "c.doc"});
    files[4].status = FileResult::Status::Failed; // settled before the run
    files[4].reason = QStringLiteral("duplicate");
    RecordingObserver observer;
    ConversionRun run(Converters(), files, {}, observer);
    FakeJob first(log), second(log);
    run.Run({&first, &second}, [] {});

    // Every file reported once; the settled one keeps its reason, the
    // refused one gets the front end's, the existing PDF is left.
    ASSERT_EQ(observer.done.size(), files.size());
    EXPECT_EQ(observer.asked, QStringList{"old.pdf"});
    const QList<FileResult>& result = run.Files();
    ASSERT_EQ(result.size(), files.size());
    EXPECT_EQ(result[0].status, FileResult::Status::Made);
    EXPECT_EQ(result[1].status, FileResult::Status::Failed);
    EXPECT_EQ(result[1].reason, "refused");
    EXPECT_EQ(result[2].status, FileResult::Status::Skipped);
    EXPECT_EQ(result[2].reason, "exists");
    EXPECT_EQ(result[3].status, FileResult::Status::Failed);
    EXPECT_EQ(result[3].reason, "not converted");
    EXPECT_EQ(result[4].reason, "duplicate");
    EXPECT_EQ(result[5].status, FileResult::Status::Made);
    converted.sort();
    EXPECT_EQ(converted, (QStringList{"a.doc", "c.doc", "fail.doc"})) << "each converted once, by one job";
    EXPECT_EQ(first.begun.size() + second.begun.size(), 3);

    // Replacing: the existing PDF's file is converted; failing: it is not.
    for (const auto existing : {ConversionRun::Existing::Replace, ConversionRun::Existing::Fail}) {
        RecordingObserver again;
        again.existing = existing;
        ConversionRun one(Converters(), Files({"old.doc"}), {}, again);
        FakeJob job(log);
        one.Run({&job});
        EXPECT_EQ(one.Files()[0].status, existing == ConversionRun::Existing::Replace
                                             ? FileResult::Status::Made
                                             : FileResult::Status::Failed);
    }
}

TEST_F(ConversionRunTest, SeveralJobsTakePresentationsThenLargerFilesFirstAndReachEveryFile)
{
    // A long file taken last leaves the other jobs idle at the end.
    const QStringList names{"small.doc",   "big.xls",   "deck.ppt", "mid.rtf",
                            "slides.PPTX", "photo.jpg", "gone.doc"};
    const QList<int> sizes{10, 9000, 20, 500, 4000, 700, -1};
    for (qsizetype i = 0; i < names.size(); ++i)
        if (sizes[i] >= 0) {
            ASSERT_TRUE(testtools::WriteFile(dir.filePath(names[i]), QByteArray(sizes[i], 'x')));
        }
    const QList<FileResult> files = Files(names);
    const std::vector<qsizetype> order = ConversionRun::LongestFirst(files);
    QStringList taken;
    for (qsizetype i : order)
        taken << names[i];
    EXPECT_EQ(taken, (QStringList{"slides.PPTX", "deck.ppt", "big.xls", "photo.jpg", "mid.rtf", "small.doc",
                                  "gone.doc"}));

    // Two jobs still convert each file once.
    RecordingObserver observer;
    ConverterSet set = Converters();
    set.excel = set.powerPoint = set.word;
    set.picture = [&](ConversionPage& page, const QString& path) {
        set.word(page, path);
        return true;
    };
    ConversionRun run(set, files, {}, observer);
    FakeJob first(log), second(log);
    run.Run({&first, &second}, [] {});
    converted.sort();
    QStringList all = names;
    all.sort();
    EXPECT_EQ(converted, all);
}

TEST_F(ConversionRunTest, AStoppedRunTakesNoFurtherFileAndTheRestAreStopped)
{
    RecordingObserver observer;
    observer.stopAfter = 2;
    ConversionRun run(Converters(), Files({"a.doc", "b.doc", "c.doc", "d.doc"}), {}, observer);
    FakeJob job(log);
    run.Run({&job});
    EXPECT_EQ(observer.done, (QStringList{"0 made", "1 made"}));
    ASSERT_EQ(run.Files().size(), 4);
    for (qsizetype i : {2, 3}) {
        EXPECT_EQ(run.Files()[i].status, FileResult::Status::Stopped);
        EXPECT_EQ(run.Files()[i].reason, "Stopped before it was started.");
    }
    EXPECT_EQ(job.begun.size(), 2);
}

TEST_F(ConversionRunTest, WithFewerPrintingThanJobsFilesPrintInTurnWhileTheLastOnesPdfIsMade)
{
    // Each file starts (as an office host does, before its turn), takes its
    // turn, prints, hands the turn on as a page does when the PDF step
    // begins, and in its PDF step waits (within a limit) until the next file
    // prints; "hold.doc" keeps its turn until the run is stopped.
    std::mutex mutex; // the standard library's, whose waits a thread checker follows
    std::condition_variable changed;
    QStringList started, printed;
    int printing = 0, most = 0;
    bool overlapped = true, startedAhead = false;
    bool stop = false;
    std::vector<TurnJob*> jobs;
    ConverterSet set;
    set.word = set.powerPoint = [&](ConversionPage& page, const QString& path) {
        const QString name = QFileInfo(path).fileName();
        TurnJob* job =
            *std::find_if(jobs.begin(), jobs.end(), [&](TurnJob* j) { return &j->Page() == &page; });
        std::unique_lock lock(mutex);
        started << name;
        changed.notify_all();
        lock.unlock();
        if (!job->take())
            return;
        lock.lock();
        // The second job starts the next file while the first holds the turn.
        if (name == QLatin1String("talk.pptx"))
            startedAhead = changed.wait_for(lock, std::chrono::seconds(30),
                                            [&] { return started.contains(QLatin1String("a.doc")); });
        printed << name;
        most = std::max(most, ++printing);
        changed.notify_all();
        if (name == QLatin1String("hold.doc")) {
            changed.wait(lock, [&] { return stop; });
            --printing;
            return;
        }
        --printing;
        const qsizetype next = printed.size();
        lock.unlock();
        std::exchange(job->printed, {})();
        lock.lock();
        if (name != QLatin1String("d.doc"))
            overlapped = changed.wait_for(lock, std::chrono::seconds(30), [&] {
                return printed.size() > next;
            }) && overlapped;
        page.SetConverted(1);
    };

    RecordingObserver observer;
    ConversionRun run(set, Files({"a.doc", "b.doc", "c.doc", "d.doc", "talk.pptx"}), {}, observer);
    TurnJob first(log), second(log);
    jobs = {&first, &second};
    run.Run(
        {&first, &second}, [] {}, 1);
    EXPECT_EQ(printed, (QStringList{"talk.pptx", "a.doc", "b.doc", "c.doc", "d.doc"}))
        << "the presentation first, then in list order";
    EXPECT_EQ(most, 1) << "one file printing at a time";
    EXPECT_TRUE(overlapped) << "the next file printed during each PDF step";
    EXPECT_TRUE(startedAhead) << "the next file started while the first held its turn";
    for (const FileResult& file : run.Files())
        EXPECT_EQ(file.status, FileResult::Status::Made) << file.source.toStdString();

    // A stop reaches the file waiting for its turn: it is not printed.
    printed.clear();
    started.clear();
    RecordingObserver stopping;
    ConversionRun held(set, Files({"hold.doc", "b2.doc"}), {}, stopping);
    TurnJob third(log), fourth(log);
    jobs = {&third, &fourth};
    held.Run(
        {&third, &fourth},
        [&] {
            std::lock_guard lock(mutex);
            if (!printed.isEmpty()) {
                stop = true;
                stopping.stopNow = true;
                changed.notify_all();
            }
        },
        1);
    EXPECT_EQ(printed, QStringList{"hold.doc"});
    ASSERT_EQ(held.Files().size(), 2);
    EXPECT_EQ(held.Files()[0].status, FileResult::Status::Stopped);
    EXPECT_EQ(held.Files()[1].status, FileResult::Status::Stopped);
}

} // namespace
