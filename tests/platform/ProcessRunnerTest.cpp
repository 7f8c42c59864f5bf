#include "platform/ProcessRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

namespace {

ProcessRequest Shell(const QString& script, int timeoutMs = 60000)
{
    ProcessRequest request;
    request.program = QStringLiteral("/bin/sh");
    request.arguments = {QStringLiteral("-c"), script};
    request.environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    request.timeoutMs = timeoutMs;
    return request;
}

bool ProcessAlive(qint64 pid)
{
    // A zombie still answers kill(0); look at its state as well.
    const QByteArray stat = [&] {
        QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return !stat.isEmpty() && !stat.contains(") Z ");
}

} // namespace

TEST(ProcessRunner, KeepsExitCodeAndWhatTheProgramPrinted)
{
    const ProcessResult result = ProcessRunner::System().Run(
        Shell(QStringLiteral("echo out; echo err >&2; head -c 300000 /dev/zero; exit 3")));
    EXPECT_EQ(result.status, ProcessResult::Status::Finished);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.standardOutput.startsWith("out\n"));
    EXPECT_EQ(result.standardOutput.size(), 4 + 300000); // a large output does not block the program
    EXPECT_EQ(result.standardError, QByteArray("err\n"));
    EXPECT_GT(result.processId, 0);
}

TEST(ProcessRunner, PassesOnlyTheGivenEnvironmentAndNoShellExpansion)
{
    qputenv("FOLIANT_SHOULD_NOT_PASS", "leak");
    ProcessRequest request;
    request.program = QStringLiteral("/usr/bin/env");
    request.environment.insert(QStringLiteral("ONLY"), QStringLiteral("$(id)"));
    const ProcessResult result = ProcessRunner::System().Run(request);
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(result.standardOutput, QByteArray("ONLY=$(id)\n"));
}

TEST(ProcessRunner, AMissingProgramFailsToStart)
{
    ProcessRequest request;
    request.program = QStringLiteral("/nonexistent/program");
    const ProcessResult result = ProcessRunner::System().Run(request);
    EXPECT_EQ(result.status, ProcessResult::Status::FailedToStart);
    EXPECT_EQ(result.processId, 0);
    EXPECT_FALSE(result.startError.isEmpty());
}

TEST(ProcessRunner, EndsAProgramPastItsLimitEvenIfItIgnoresTerminate)
{
    // The program ignores SIGTERM, so only the kill that follows ends it.
    const ProcessResult result =
        ProcessRunner::System().Run(Shell(QStringLiteral("trap '' TERM; while :; do sleep 1; done"), 500));
    EXPECT_EQ(result.status, ProcessResult::Status::TimedOut);
    ASSERT_GT(result.processId, 0);
    EXPECT_FALSE(ProcessAlive(result.processId));
}

TEST(ProcessRunner, StopsWhenAsked)
{
    int polls = 0;
    ProcessRequest request = Shell(QStringLiteral("sleep 30"));
    request.stopRequested = [&] { return ++polls == 3; };
    const ProcessResult result = ProcessRunner::System().Run(request);
    EXPECT_EQ(result.status, ProcessResult::Status::Stopped);
    EXPECT_FALSE(ProcessAlive(result.processId));
}
