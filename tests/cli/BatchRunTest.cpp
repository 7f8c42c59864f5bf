// The run with converters of the test's own that print a small PostScript
// job and hand it to the real Ghostscript through the job's page.
#include "cli/BatchRun.h"
#include "ScriptedMessageBoxes.h"
#include "TestTools.h"
#include "cli/CliMessageBoxes.h"
#include "converters/ConversionPage.h"
#include "converters/OpenPassword.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <utility>

namespace {

const QByteArray kPage =
    "%!PS\n/Helvetica findfont 20 scalefont setfont 72 700 moveto (Made) show showpage\n";

class BatchRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testtools::HaveTool("gs"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QDir().mkpath(in.filePath("sub/deeper"));
        options.outputFolder = out.path();
    }
    void TearDown() override
    {
        EXPECT_EQ(QDir(runtime.filePath("foliant")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{})
            << "no scratch file is left";
    }

    QString Input(const QString& name, const QByteArray& text = "text")
    {
        EXPECT_TRUE(testtools::WriteFile(in.filePath(name), text));
        return in.filePath(name);
    }

    // Word-family files print the page unless their text says otherwise:
    // "fail" shows a box, "locked" opens only with the password "pw",
    // "slow" waits until the run or its time limit stops it, "interrupt"
    // sends the run Ctrl-C.
    ConverterSet Converters()
    {
        ConverterSet set;
        set.word = [this](ConversionPage& page, const QString& path) {
            if (!page.TakePrintTurn()) // as a converter does before it prints
                return;
            const int now = ++running;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            t_printing = true;
            {
                std::unique_lock lock(spoolsMutex);
                t_number = ++started;
                met.notify_all();
            }
            const QByteArray text = testtools::ReadFile(path);
            Print(page, path, text);
            EndPrinting();
        };
        set.picture = [](ConversionPage& page, const QString& path) {
            if (!page.TakePrintTurn() || !testtools::WriteFile(page.SpoolFilePath(nullptr), kPage))
                return false;
            return page.MakePdfFromSpool(path).made;
        };
        return set;
    }

    void Print(ConversionPage& page, const QString& path, const QByteArray& text)
    {
        page.SetConverted(0);
        if (text == "fail") {
            AfxMessageBox(QStringLiteral("Couldn't get Word object."));
            return;
        }
        if (text == "locked") {
            QString password;
            if (!page.EnterPassword(QFileInfo(path).fileName(), &password) || password != u"pw")
                return;
            // A second prompt for the same file is refused.
            if (page.EnterPassword(QFileInfo(path).fileName(), &password))
                return;
        }
        if (text == "interrupt") { // Ctrl-C while this file prints
            std::raise(SIGINT);
            return;
        }
        if (text == "slow") {
            page.Sleep(60000);
            return;
        }
        {
            std::unique_lock lock(spoolsMutex);
            spools << page.SpoolFilePath(nullptr);
        }
        MeetTheOtherJob();
        if (!testtools::WriteFile(page.SpoolFilePath(nullptr), kPage))
            return;
        EndPrinting(); // files printing at once are counted, not PDF steps
        page.SetConverted(page.MakePdfFromSpool(path).made ? 1 : 0);
        if (text == "next") {
            // The next file began while this one's PDF was made, or begins soon after.
            std::unique_lock lock(spoolsMutex);
            if (!met.wait_for(lock, std::chrono::seconds(30), [&] { return started > t_number; }))
                overlapped = false;
        }
    }

    void EndPrinting()
    {
        if (std::exchange(t_printing, false))
            --running;
    }

    // With meet set, the first two printing jobs wait (within a limit) until
    // both are printing, so two files are surely converted at once.
    void MeetTheOtherJob()
    {
        std::unique_lock lock(spoolsMutex);
        if (!meet)
            return;
        ++arrived;
        met.notify_all();
        met.wait_for(lock, std::chrono::seconds(30), [this] { return arrived >= 2; });
    }

    QTemporaryDir runtime, in, out;
    CliMessageBoxes boxes;
    MessageBoxOverride boxesInPlace{&boxes, SetMessageBoxService};
    CliOptions options;
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::mutex spoolsMutex; // the standard library's, whose waits a thread checker follows
    QStringList spools;
    bool meet = false;
    int arrived = 0;
    int started = 0; // converters begun
    bool overlapped = true;
    static thread_local bool t_printing;
    static thread_local int t_number;
    std::condition_variable met;
};

thread_local bool BatchRunTest::t_printing = false;
thread_local int BatchRunTest::t_number = 0;

QMap<QString, QString> Statuses(const QList<FileResult>& results)
{
    QMap<QString, QString> statuses;
    for (const FileResult& r : results)
        statuses.insert(QFileInfo(r.source).fileName(), FileResult::StatusName(r.status) + u'|' + r.reason);
    return statuses;
}

TEST_F(BatchRunTest, EveryFileIsMadeSkippedOrFailedWithItsReasonAndTheReportSaysSo)
{
    options.inputs = {
        Input("a.doc"), Input("b.txt"), Input("c.png"),    Input("d.doc", "fail"), in.filePath("missing.doc"),
        Input("e.zip"), Input("f.doc"), Input("other.doc")};
    options.jobs = 2;
    options.reportPath = out.filePath("report.json");
    meet = true;
    ASSERT_TRUE(testtools::WriteFile(out.filePath("f.pdf"), "old"));
    {
        BatchRun run(options, Converters());
        EXPECT_EQ(run.Run(), 1);
        const auto statuses = Statuses(run.Results());
        EXPECT_EQ(statuses.value("a.doc"), "made|");
        EXPECT_EQ(statuses.value("b.txt"), "made|");
        EXPECT_EQ(statuses.value("c.png"), "made|");
        EXPECT_EQ(statuses.value("d.doc"), "failed|Couldn't get Word object.");
        EXPECT_EQ(statuses.value("missing.doc"), "failed|It does not exist.");
        EXPECT_EQ(statuses.value("e.zip"), "failed|It is not of a kind this program converts.");
        EXPECT_EQ(statuses.value("f.doc"),
                  QStringLiteral("failed|Its PDF %1 exists already (give --overwrite or --skip-existing).")
                      .arg(out.filePath("f.pdf")));
    }
    EXPECT_EQ(testtools::ReadFile(out.filePath("f.pdf")), "old") << "never replaced without --overwrite";
    EXPECT_TRUE(testtools::ReadFile(out.filePath("a.pdf")).startsWith("%PDF"));
    EXPECT_EQ(most.load(), 2) << "two files at once";
    EXPECT_EQ(spools.size(), 3); // a.doc, b.txt, other.doc
    EXPECT_NE(spools.value(0).section(u'/', 0, -2), spools.value(1).section(u'/', 0, -2))
        << "each job prints into a spool file of its own";

    // The report, read back: every file in the order given.
    const QJsonArray files =
        QJsonDocument::fromJson(testtools::ReadFile(options.reportPath)).object().value("files").toArray();
    ASSERT_EQ(files.size(), options.inputs.size());
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject file = files[i].toObject();
        EXPECT_EQ(file.value("source").toString(), options.inputs[i]);
        EXPECT_TRUE(file.value("pdf").toString().endsWith(".pdf"));
        EXPECT_TRUE(file.value("seconds").isDouble());
    }
    EXPECT_EQ(files[0].toObject().value("status").toString(), "made");
    EXPECT_GT(files[0].toObject().value("seconds").toDouble(), 0.0);
    EXPECT_EQ(files[3].toObject().value("status").toString(), "failed");
    EXPECT_EQ(files[3].toObject().value("reason").toString(), "Couldn't get Word object.");

    // Again with --overwrite: the old PDF is replaced; with --skip-existing it is left.
    options.inputs = {in.filePath("f.doc")};
    options.reportPath.clear();
    options.existing = CliOptions::Existing::Overwrite;
    EXPECT_EQ(BatchRun(options, Converters()).Run(), 0);
    EXPECT_TRUE(testtools::ReadFile(out.filePath("f.pdf")).startsWith("%PDF"));
    options.existing = CliOptions::Existing::Skip;
    BatchRun skipping(options, Converters());
    EXPECT_EQ(skipping.Run(), 0);
    EXPECT_EQ(Statuses(skipping.Results()).value("f.doc"), "skipped|Its PDF exists already.");
}

TEST_F(BatchRunTest, FoldersAreTakenWholeAndTheirLayoutKept)
{
    Input("top.doc");
    Input("sub/inner.txt");
    Input("sub/deeper/photo.png");
    Input("sub/notes.zip");
    Input("sub/top.doc"); // its PDF goes into out/sub, beside no other
    options.inputs = {in.path(), in.filePath("top.doc")};
    options.recursive = true;
    BatchRun run(options, Converters());
    EXPECT_EQ(run.Run(), 1);
    QStringList made;
    for (const FileResult& r : run.Results())
        if (r.status == FileResult::Status::Made)
            made << QDir(out.path()).relativeFilePath(r.pdf);
    EXPECT_EQ(made, (QStringList{"sub/deeper/photo.pdf", "sub/inner.pdf", "sub/top.pdf", "top.pdf"}));
    for (const QString& pdf : made)
        EXPECT_TRUE(QFileInfo(out.filePath(pdf)).isFile()) << pdf.toStdString();
    // The file named twice (in the folder and alone) would write one PDF twice.
    ASSERT_EQ(run.Results().size(), 5);
    EXPECT_EQ(run.Results().last().status, FileResult::Status::Failed);
    EXPECT_TRUE(run.Results().last().reason.startsWith("Its PDF"))
        << run.Results().last().reason.toStdString();
}

TEST_F(BatchRunTest, PasswordsAndTimeLimitsEndOnlyTheirOwnFile)
{
    options.inputs = {Input("locked.doc", "locked"), Input("slow.doc", "slow"), Input("after.doc")};
    options.timeoutSeconds = 1;
    {
        BatchRun run(options, Converters());
        EXPECT_EQ(run.Run(), 1);
        const auto statuses = Statuses(run.Results());
        EXPECT_EQ(statuses.value("locked.doc"),
                  "failed|It would not open: it is damaged, or protected by a password (give it with "
                  "--open-password-file).");
        EXPECT_EQ(statuses.value("slow.doc"),
                  "failed|It did not finish within the time limit (1 s) and was ended.");
        EXPECT_EQ(statuses.value("after.doc"), "made|") << "the next file goes on";
    }
    // The password given is tried once for the file, then refused.
    options.openPassword = QStringLiteral("pw");
    options.inputs = {in.filePath("locked.doc")};
    BatchRun run(options, Converters());
    EXPECT_EQ(run.Run(), 0);
    ASSERT_EQ(run.Results().size(), 1);
    EXPECT_EQ(run.Results()[0].status, FileResult::Status::Made);
}

TEST_F(BatchRunTest, CtrlCStopsTheRunWithItsCodeEvenWhenEveryJobEndsAtOnce)
{
    // The job that printed last sees the stop itself and ends before the
    // run looks at its jobs again: the run still ends as stopped.
    options.inputs = {Input("a.doc", "interrupt"), Input("b.doc")};
    options.jobs = 1;
    {
        BatchRun run(options, Converters());
        EXPECT_EQ(run.Run(), 128 + SIGINT);
        for (const FileResult& r : run.Results())
            EXPECT_NE(r.status, FileResult::Status::Made) << r.source.toStdString();
    }
    // The next run starts unstopped.
    options.inputs = {in.filePath("b.doc")};
    BatchRun run(options, Converters());
    EXPECT_EQ(run.Run(), 0);
    ASSERT_EQ(run.Results().size(), 1);
    EXPECT_EQ(run.Results()[0].status, FileResult::Status::Made);
}

TEST_F(BatchRunTest, OneJobPrintsTheNextFileWhileGhostscriptMakesTheLastOnesPdf)
{
    options.inputs = {Input("a.doc", "next"), Input("b.doc", "next"), Input("c.doc", "next"), Input("d.doc")};
    options.jobs = 1;
    BatchRun run(options, Converters());
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(most.load(), 1) << "one file printing at a time";
    EXPECT_TRUE(overlapped) << "without the overlap each PDF step waits out its limit";
    ASSERT_EQ(run.Results().size(), 4);
    for (const FileResult& r : run.Results()) {
        EXPECT_EQ(r.status, FileResult::Status::Made) << r.source.toStdString();
        EXPECT_TRUE(testtools::ReadFile(r.pdf).startsWith("%PDF")) << r.pdf.toStdString();
    }
}

} // namespace

namespace {

TEST_F(BatchRunTest, CombineJoinsThePdfsInTheOrderGivenAndLeavesNoParts)
{
    ASSERT_TRUE(testtools::HaveTool("pdfinfo"));
    // The same name twice: both go into the combined PDF.
    options.inputs = {Input("one.doc"), Input("two.png"), Input("bad.doc", "fail"), Input("sub/two.png")};
    options.combinedPath = out.filePath("all.pdf");
    options.jobs = 2;
    BatchRun run(options, Converters());
    EXPECT_EQ(run.Run(), 1) << "the failed file is named";
    const auto statuses = Statuses(run.Results());
    EXPECT_EQ(statuses.value("one.doc"), "made|");
    EXPECT_EQ(statuses.value("bad.doc"), "failed|Couldn't get Word object.");
    for (const FileResult& r : run.Results())
        EXPECT_EQ(r.pdf, options.combinedPath);
    // One page from each file made, no PDF of its own, no parts folder left.
    const auto info = testtools::RunTool("pdfinfo", {options.combinedPath});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    EXPECT_TRUE(QString::fromUtf8(info.out).simplified().contains("Pages: 3")) << info.out.constData();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"all.pdf"});

    // A folder taken whole: its subfolders' files go into the one PDF, and
    // no folder is made for them.
    options.inputs = {in.path()};
    options.recursive = true;
    options.existing = CliOptions::Existing::Overwrite;
    EXPECT_EQ(BatchRun(options, Converters()).Run(), 1) << "bad.doc is named";
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"all.pdf"});
    options.existing = CliOptions::Existing::Fail;

    // An existing combined PDF is kept without --overwrite.
    BatchRun again(options, Converters());
    EXPECT_EQ(again.Run(), 1);
    ASSERT_FALSE(again.Results().isEmpty());
    EXPECT_TRUE(again.Results()[0].reason.startsWith("The combined PDF"))
        << again.Results()[0].reason.toStdString();
}

} // namespace
