#include "CleanupSteps.h"
#include "CleanupTool.h"
#include "UnfolioRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

using unfoliotest::ToolFolder;

namespace {

class ScriptedSteps : public unfolio::CleanupSteps
{
public:
    explicit ScriptedSteps(bool processTable) : m_processTable(processTable) {}
    void LeaveConsole() override { calls.push_back("leave console"); }
    void Warn() override { calls.push_back("warn"); }
    bool EndOfficeProcesses() override
    {
        calls.push_back("end processes");
        return m_processTable;
    }
    void UnregisterAddin(const char* name) override { calls.push_back(std::string("unregister ") + name); }
    void DeletePrinter(const char* name) override { calls.push_back(std::string("delete printer ") + name); }

    std::vector<std::string> calls;

private:
    bool m_processTable;
};

} // namespace

TEST(CleanupTool, RunsItsStepsInTheirFixedOrder)
{
    ScriptedSteps steps(true);
    EXPECT_EQ(unfolio::CleanupTool::Run(steps), 0);
    const std::vector<std::string> expected = {"leave console",
                                               "warn",
                                               "end processes",
                                               "unregister BrevetWord.dll",
                                               "unregister BrevetExcel.dll",
                                               "delete printer Foliant"};
    EXPECT_EQ(steps.calls, expected);
}

TEST(CleanupTool, WithoutAProcessTableLeavesTheAddinsAndThePrinterAlone)
{
    ScriptedSteps steps(false);
    EXPECT_EQ(unfolio::CleanupTool::Run(steps), 0);
    const std::vector<std::string> expected = {"leave console", "warn", "end processes"};
    EXPECT_EQ(steps.calls, expected);
}

TEST(UnfolioTool, ExitsWithZeroAndPrintsOnlyTheWarningWhenEveryStepFails)
{
    if (!unfoliotest::StrangeOfficeProcesses().empty())
        GTEST_SKIP() << "a Word or Excel process of someone else is running";
    ToolFolder folder; // no add-in libraries, no CUPS server, no display, no terminal
    ASSERT_TRUE(folder.IsValid());
    const unfoliotest::Run run = folder.RunTool();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray());
    EXPECT_EQ(run.err, QByteArray("Warning: Please close all Word and Excel files \n"));
}

TEST(UnfolioTool, EndsEarlyWhenTheProcessTableIsEmpty)
{
    if (geteuid() != 0 || qEnvironmentVariableIsEmpty("UNFOLIO_TESTS_ISOLATED"))
        GTEST_SKIP() << "hiding the process table needs a private mount namespace (root)";
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' run-time cannot start without /proc";
#endif
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "the thread checker's run-time warns on standard error without /proc";
#endif
    ToolFolder folder;
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(folder.Place(STUB_FAILING, "BrevetWord.dll"));
    const QString trace = folder.TraceAddins();

    // An empty file system over /proc, seen by the tool alone.
    const unfoliotest::Run run = unfoliotest::RunProgram(
        "unshare",
        {"--mount", "--", "sh", "-c", "mount -t tmpfs none /proc && exec \"$0\"", folder.Program()},
        folder.Environment());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err, QByteArray("Warning: Please close all Word and Excel files \n"));
    EXPECT_FALSE(QFile::exists(trace)) << "an add-in was loaded after a failed process snapshot";
}
