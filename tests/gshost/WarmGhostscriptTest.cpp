#include "pdf/WarmGhostscriptArguments.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmGhostscriptConnection.h"

#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <thread>

namespace {

// The pages of a print job, each with its own words.
QByteArray Pages(const QString& name, int count)
{
    QByteArray ps = "%!PS-Adobe-3.0\n/Helvetica findfont 14 scalefont setfont\n";
    for (int page = 1; page <= count; ++page)
        ps += "72 720 moveto (" + name.toLatin1() + " page " + QByteArray::number(page) + ") show showpage\n";
    return ps;
}

class WarmGhostscriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_FALSE(ScratchFolder::Path().isEmpty());
        WarmGhostscriptConnection::Instance().SetFilesAhead(2);
    }
    void TearDown() override { WarmGhostscriptConnection::Instance().End(); }

    QString Path(const QString& name) const { return m_folder.filePath(name); }

    // The vector the PDF step gives the gs program for one spool file.
    QStringList Arguments(const QString& spool, const QString& pdf,
                          const QString& level = QStringLiteral("1.3"))
    {
        return {QStringLiteral("-dPassThroughJPEGImages=true"),
                QStringLiteral("-dSAFER"),
                QStringLiteral("-dNOPAUSE"),
                QStringLiteral("-dBATCH"),
                QStringLiteral("-sDEVICE=pdfwrite"),
                QStringLiteral("-dCompatibilityLevel=") + level,
                QStringLiteral("-sOutputFile=") + pdf,
                QStringLiteral("-f"),
                spool};
    }

    // Runs the job warm once the warm Ghostscript of its switches is up
    // (the first job of a kind only starts it).
    ProcessResult RunWarm(const QStringList& arguments, int timeoutMs = 60000,
                          const std::function<bool()>& stop = {})
    {
        const std::optional<WarmGhostscriptJob> job = WarmGhostscriptJobFor(arguments, m_folder.path());
        EXPECT_TRUE(job);
        if (!job)
            return {};
        std::optional<ProcessResult> result =
            WarmGhostscriptConnection::Instance().Run(*job, timeoutMs, stop);
        if (!result)
            result = WarmGhostscriptConnection::Instance().Run(*job, timeoutMs, stop);
        EXPECT_TRUE(result) << "the warm Ghostscript took no job";
        return result.value_or(ProcessResult{});
    }

    QTemporaryDir m_folder;
};

// What pdfinfo says of a PDF's pages, their size and its version.
QStringList Facts(const QString& pdf)
{
    QStringList facts;
    for (const QByteArray& line : testtools::RunTool("pdfinfo", {pdf}).out.split('\n'))
        if (line.startsWith("Pages") || line.startsWith("Page size") || line.startsWith("PDF version"))
            facts << QString::fromUtf8(line).simplified();
    return facts;
}

bool ProcessGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
}

QStringList GhostscriptScratchFolders()
{
    return QDir(ScratchFolder::Path()).entryList({QStringLiteral("foliant-gshost-*")}, QDir::Dirs);
}

} // namespace

TEST_F(WarmGhostscriptTest, MakesThePdfsTheProgramMakesAndKeepsJobsAtOnceApart)
{
    ASSERT_TRUE(testtools::WriteFile(Path("a.ps"), Pages("Alpha", 3)));
    ASSERT_TRUE(testtools::RunTool("gs", Arguments(Path("a.ps"), Path("cold.pdf"))).exitCode == 0);

    const ProcessResult warm = RunWarm(Arguments(Path("a.ps"), Path("warm.pdf")));
    EXPECT_TRUE(warm.succeeded()) << warm.standardOutput.constData() << warm.standardError.constData();
    EXPECT_EQ(testtools::PdfWords(Path("warm.pdf")), testtools::PdfWords(Path("cold.pdf")));
    EXPECT_EQ(Facts(Path("warm.pdf")), Facts(Path("cold.pdf")));
    EXPECT_TRUE(Facts(Path("warm.pdf")).contains(QStringLiteral("PDF version: 1.3")));

    // A PDF print job, as the office writes it, read back the same.
    ASSERT_EQ(testtools::RunTool("gs", Arguments(Path("cold.pdf"), Path("fromcold.pdf"))).exitCode, 0);
    EXPECT_TRUE(RunWarm(Arguments(Path("cold.pdf"), Path("fromwarm.pdf"))).succeeded());
    EXPECT_EQ(testtools::PdfWords(Path("fromwarm.pdf")), testtools::PdfWords(Path("fromcold.pdf")));

    // Jobs at once each get their own pages: the device's scratch files,
    // opened once before the forks, are no longer shared.
    std::vector<std::thread> jobs;
    std::atomic<int> made{0};
    for (int job = 0; job < 4; ++job) {
        const QString name = QStringLiteral("Job%1").arg(job);
        ASSERT_TRUE(testtools::WriteFile(Path(name + ".ps"), Pages(name, job + 1)));
        jobs.emplace_back([&, name, job] {
            for (int round = 0; round < 3; ++round) {
                const QString pdf = Path(QStringLiteral("%1-%2.pdf").arg(name).arg(round));
                const std::optional<WarmGhostscriptJob> request =
                    WarmGhostscriptJobFor(Arguments(Path(name + ".ps"), pdf), m_folder.path());
                const std::optional<ProcessResult> result =
                    WarmGhostscriptConnection::Instance().Run(*request, 60000, {});
                QStringList expected;
                for (int page = 1; page <= job + 1; ++page)
                    expected << name << QStringLiteral("page") << QString::number(page);
                // Bytes of another job's pages would show as a larger file.
                const qint64 size = QFileInfo(pdf).size();
                if (result && result->succeeded() && testtools::PdfWords(pdf) == expected &&
                    (round == 0 || size == QFileInfo(Path(name + "-0.pdf")).size()))
                    ++made;
            }
        });
    }
    for (std::thread& job : jobs)
        job.join();
    EXPECT_EQ(made, 12);

    // Another PDF version is another warm Ghostscript; End ends both and
    // removes their scratch folders.
    EXPECT_TRUE(RunWarm(Arguments(Path("a.ps"), Path("v17.pdf"), QStringLiteral("1.7"))).succeeded());
    EXPECT_TRUE(Facts(Path("v17.pdf")).contains(QStringLiteral("PDF version: 1.7")));
    const QList<qint64> warmOnes = WarmGhostscriptConnection::Instance().ProcessIds();
    EXPECT_EQ(warmOnes.size(), 2);
    EXPECT_EQ(GhostscriptScratchFolders().size(), 2);
    WarmGhostscriptConnection::Instance().End();
    for (qint64 pid : warmOnes)
        EXPECT_TRUE(ProcessGone(pid));
    EXPECT_TRUE(GhostscriptScratchFolders().isEmpty());

    // A run with one file does not start one for nothing.
    WarmGhostscriptConnection::Instance().SetFilesAhead(1);
    const std::optional<WarmGhostscriptJob> job =
        WarmGhostscriptJobFor(Arguments(Path("a.ps"), Path("one.pdf")), m_folder.path());
    EXPECT_FALSE(WarmGhostscriptConnection::Instance().Run(*job, 60000, {}));
    EXPECT_TRUE(WarmGhostscriptConnection::Instance().ProcessIds().isEmpty());
}

TEST_F(WarmGhostscriptTest, ErrorsTimeoutsStopsAndKilledJobsAreReportedAsTheProgramsAre)
{
    ASSERT_TRUE(testtools::WriteFile(Path("bad.ps"), "%!PS\n72 72 moveto (unclosed) shw showpage\n"));
    const ProcessResult failed = RunWarm(Arguments(Path("bad.ps"), Path("bad.pdf")));
    EXPECT_EQ(failed.status, ProcessResult::Status::Finished);
    EXPECT_EQ(failed.exitCode, 1);
    // The program's own words.
    EXPECT_TRUE(failed.standardOutput.startsWith("Error: /undefined in shw"))
        << failed.standardOutput.constData();

    ASSERT_TRUE(testtools::WriteFile(Path("loop.ps"), "%!PS\n{} loop\n"));
    const ProcessResult late = RunWarm(Arguments(Path("loop.ps"), Path("late.pdf")), 300);
    EXPECT_EQ(late.status, ProcessResult::Status::TimedOut);
    EXPECT_TRUE(ProcessGone(late.processId));

    const ProcessResult stopped =
        RunWarm(Arguments(Path("loop.ps"), Path("stop.pdf")), 60000, [] { return true; });
    EXPECT_EQ(stopped.status, ProcessResult::Status::Stopped);
    EXPECT_TRUE(ProcessGone(stopped.processId));

    // A job killed from outside (the out-of-memory killer, say) has crashed.
    const QList<qint64> warm = WarmGhostscriptConnection::Instance().ProcessIds();
    ASSERT_EQ(warm.size(), 1);
    ProcessResult killed;
    std::thread job([&] { killed = RunWarm(Arguments(Path("loop.ps"), Path("killed.pdf"))); });
    const QString children = QStringLiteral("/proc/%1/task/%1/children").arg(warm.front());
    QByteArray child;
    while (child.isEmpty()) {
        QFile file(children);
        if (file.open(QIODevice::ReadOnly))
            child = file.readAll().trimmed();
        if (child.isEmpty())
            std::this_thread::yield();
    }
    ::kill(child.split(' ').front().toInt(), SIGKILL);
    job.join();
    EXPECT_EQ(killed.status, ProcessResult::Status::Crashed);
    // The warm one itself lives on and takes the next job.
    EXPECT_TRUE(RunWarm(Arguments(Path("bad.ps"), Path("next.pdf"))).standardOutput.contains("undefined"));
}
