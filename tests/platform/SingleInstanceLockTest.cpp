#include "platform/SingleInstanceLock.h"
#include "PrivateFolders.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

namespace {

using Result = SingleInstanceLock::Result;

using SingleInstanceLockTest = PrivateFolders;

TEST_F(SingleInstanceLockTest, OneHolderAtATimeUntilItEnds)
{
    EXPECT_EQ(SingleInstanceLock::DefaultPath(), runtime.filePath(QStringLiteral("Foliant")));
    std::optional<SingleInstanceLock> first(std::in_place);
    ASSERT_EQ(first->Acquire(), Result::Acquired);
    EXPECT_TRUE(QFile::exists(runtime.filePath(QStringLiteral("Foliant"))));
    SingleInstanceLock second;
    EXPECT_EQ(second.Acquire(), Result::HeldByAnother);
    first.reset();
    EXPECT_EQ(second.Acquire(), Result::Acquired);
}

TEST_F(SingleInstanceLockTest, WithoutARuntimeFolderTheLockSitsBesideTheScratchFolder)
{
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstanceLock::DefaultPath(), home.filePath(QStringLiteral("cache/Foliant")));
    SingleInstanceLock lock;
    EXPECT_EQ(lock.Acquire(), Result::Acquired);
}

TEST_F(SingleInstanceLockTest, ALockThatCannotBeMadeIsReportedNotFatal)
{
    SingleInstanceLock missingFolder;
    EXPECT_EQ(missingFolder.Acquire(runtime.filePath(QStringLiteral("no/such/Foliant"))),
              Result::Unavailable);
    EXPECT_FALSE(missingFolder.Error().isEmpty());

    // A link planted at the name is not followed, and its target is left alone.
    const QString target = home.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QFile::link(target, runtime.filePath(QStringLiteral("Foliant"))));
    SingleInstanceLock planted;
    EXPECT_EQ(planted.Acquire(), Result::Unavailable);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(SingleInstanceLockTest, ChildProgramsDoNotInheritTheLock)
{
    std::optional<SingleInstanceLock> lock(std::in_place);
    ASSERT_EQ(lock->Acquire(), Result::Acquired);
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted());
    lock.reset();
    // The child still runs; had it inherited the lock, the next start would find it held.
    SingleInstanceLock next;
    EXPECT_EQ(next.Acquire(), Result::Acquired);
    child.kill();
    child.waitForFinished();
}

} // namespace
