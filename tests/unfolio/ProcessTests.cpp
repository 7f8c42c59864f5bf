#include "ProcessReaper.h"
#include "TestTools.h"
#include "UnfolioRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using unfolio::ProcessReaper;

namespace {

// A made-up process table: one folder per entry, holding its comm file.
void AddEntry(const QTemporaryDir& root, const QString& entry, const QByteArray& comm)
{
    ASSERT_TRUE(QDir(root.path()).mkpath(entry));
    ASSERT_TRUE(testtools::WriteFile(QDir(root.path()).filePath(entry + "/comm"), comm));
}

std::vector<pid_t> Sorted(std::vector<pid_t> pids)
{
    std::sort(pids.begin(), pids.end());
    return pids;
}

} // namespace

TEST(ProcessReaper, MatchesTheFourNamesExactlyAndCaseSensitively)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    AddEntry(root, "10", "EXCEL.EXE\n");
    AddEntry(root, "11", "WINWORD.EXE\n");
    AddEntry(root, "12", "excel.exe\n");
    AddEntry(root, "13", "winword.exe\n");
    AddEntry(root, "20", "Excel.exe\n");
    AddEntry(root, "21", "Winword.exe\n");
    AddEntry(root, "22", "WINWORD.EXE \n");
    AddEntry(root, "23", "WINWORD.EXE\n\n"); // a name that itself ends in a newline
    AddEntry(root, "24", "WINWORD\n");
    AddEntry(root, "25", "POWERPNT.EXE\n");
    AddEntry(root, "self", "EXCEL.EXE\n"); // not a process number
    AddEntry(root, "12x", "EXCEL.EXE\n");

    ProcessReaper reaper(root.path().toStdString());
    ASSERT_TRUE(reaper.Snapshot());
    EXPECT_EQ(Sorted(reaper.Matches()), (std::vector<pid_t>{10, 11, 12, 13}));
}

TEST(ProcessReaper, AnUnreadableOrEmptyTableIsAFailedSnapshot)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    EXPECT_FALSE(ProcessReaper(QDir(root.path()).filePath("missing").toStdString()).Snapshot());
    EXPECT_FALSE(ProcessReaper(root.path().toStdString()).Snapshot());

    ASSERT_TRUE(QDir(root.path()).mkpath("42")); // a process that ended while being read
    AddEntry(root, "sys", "x\n");
    EXPECT_FALSE(ProcessReaper(root.path().toStdString()).Snapshot());

    AddEntry(root, "43", "bash\n");
    ProcessReaper reaper(root.path().toStdString());
    EXPECT_TRUE(reaper.Snapshot());
    EXPECT_TRUE(reaper.Matches().empty());
}

// Processes of the test's own, each a copy of `sleep` under one name.
class NamedProcesses : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (auto& [name, process] : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        }
    }

    QProcess* Start(const QString& name)
    {
        const QString link = m_dir.filePath(name);
        if (!QFile::link(QStandardPaths::findExecutable("sleep"), link))
            return nullptr;
        auto process = std::make_unique<QProcess>();
        process->start(link, {"600"});
        if (!process->waitForStarted())
            return nullptr;
        QProcess* started = process.get();
        m_processes[name] = std::move(process);
        return started;
    }

    std::vector<pid_t> Ours() const
    {
        std::vector<pid_t> pids;
        for (const auto& [name, process] : m_processes)
            pids.push_back(static_cast<pid_t>(process->processId()));
        return pids;
    }

    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<QProcess>> m_processes;
};

TEST_F(NamedProcesses, TheToolEndsUpperCaseWordAndLowerCaseExcelAndSparesMixedCase)
{
    ASSERT_TRUE(m_dir.isValid());
    const QStringList ended = {"WINWORD.EXE", "excel.exe"};
    const QStringList spared = {"Winword.exe", "Excel.exe"};
    for (const QString& name : ended + spared) {
        QProcess* process = Start(name);
        ASSERT_NE(process, nullptr) << name.toStdString();
        // The name the tool will see is the one the test means.
        const QString comm = QStringLiteral("/proc/%1/comm").arg(process->processId());
        ASSERT_EQ(testtools::ReadFile(comm), name.toUtf8() + "\n");
    }
    if (!unfoliotest::StrangeOfficeProcesses(Ours()).empty())
        GTEST_SKIP() << "a Word or Excel process of someone else is running";

    unfoliotest::ToolFolder folder;
    ASSERT_TRUE(folder.IsValid());
    EXPECT_EQ(folder.RunTool().exitCode, 0);

    for (const QString& name : ended) {
        QProcess* process = m_processes[name].get();
        EXPECT_TRUE(process->waitForFinished(10000)) << name.toStdString() << " still runs";
        EXPECT_EQ(process->exitStatus(), QProcess::CrashExit) << name.toStdString();
    }
    // The ended ones are gone by now; a spared one must not end either.
    for (const QString& name : spared)
        EXPECT_FALSE(m_processes[name]->waitForFinished(300)) << name.toStdString() << " was ended";
}
