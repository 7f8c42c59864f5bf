// A process that has run threads, and in the thread-checked build the
// checker's own thread besides, becomes single-threaded once they have ended
// and the checker's is ended too; a child forked then may start threads of
// its own (the checker refuses that after a fork from a threaded process).

#include "platform/ThreadChecker.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

int ThreadCount()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

TEST(ThreadChecker, ItsOwnThreadEndsSoThatAForkedChildMayStartThreads)
{
    ASSERT_EQ(ThreadCount(), 1) << "this test program must start with one thread";
    int ran = 0;
    std::thread([&ran] { ran = 1; }).join(); // the checker starts its thread here
    ASSERT_EQ(ran, 1);

    threadchecker::EndOwnThread();
    threadchecker::EndOwnThread(); // a second time changes nothing
    EXPECT_EQ(ThreadCount(), 1);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int childRan = 0;
        std::thread([&childRan] { childRan = 1; }).join();
        ::_exit(childRan == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
