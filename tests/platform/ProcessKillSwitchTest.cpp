#include "platform/ProcessKillSwitch.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QProcess* StartSleeper()
{
    auto* process = new QProcess;
    process->start(QStringLiteral("sleep"), {QStringLiteral("30")});
    EXPECT_TRUE(process->waitForStarted());
    return process;
}

} // namespace

TEST(ProcessKillSwitch, EndsAChildFromAnotherThreadWhileItsOwnerWaits)
{
    std::unique_ptr<QProcess> child(StartSleeper());
    ProcessKillSwitch killSwitch(child->processId());
    QThread* other = QThread::create([&]() { killSwitch.Kill(); });
    other->start();
    // The owner keeps using its QProcess meanwhile.
    EXPECT_TRUE(child->waitForFinished(10000));
    other->wait();
    delete other;
    EXPECT_EQ(child->exitStatus(), QProcess::CrashExit);
}

TEST(ProcessKillSwitch, NeverReachesAnotherProcessOnceItsOwnHasEnded)
{
    std::unique_ptr<QProcess> first(StartSleeper());
    const qint64 firstId = first->processId();
    ProcessKillSwitch killSwitch(firstId);
    first->kill();
    ASSERT_TRUE(first->waitForFinished(10000)); // ended and reaped
    first.reset();
    // Whatever runs now, possibly under the same number, is not hit.
    std::unique_ptr<QProcess> second(StartSleeper());
    killSwitch.Kill();
    EXPECT_FALSE(second->waitForFinished(500)) << "the second process was ended";
    EXPECT_EQ(second->state(), QProcess::Running);
    // A disarmed switch does nothing either.
    ProcessKillSwitch disarmed(second->processId());
    disarmed.Disarm();
    disarmed.Kill();
    EXPECT_FALSE(second->waitForFinished(300));
    second->kill();
    second->waitForFinished();
}
