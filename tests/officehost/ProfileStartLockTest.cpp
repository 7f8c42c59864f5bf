#include "officehost/ProfileStartLock.h"

#include "TestTools.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include <sys/stat.h>

namespace {

// True when the system lists a process blocked waiting for a flock on the
// file (a "->" line of /proc/locks naming its inode).
bool SomeoneWaitsFor(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const QString inode = QStringLiteral(":%1 ").arg(info.st_ino);
    const QStringList lines =
        QString::fromLatin1(testtools::ReadFile(QStringLiteral("/proc/locks"))).split(u'\n');
    for (const QString& line : lines)
        if (line.contains(QLatin1String("-> FLOCK")) && line.contains(inode))
            return true;
    return false;
}

// Waits (within a generous limit) until the condition holds.
template <typename Condition> bool WaitUntil(Condition condition)
{
    const QDeadlineTimer limit(30000);
    while (!condition()) {
        if (limit.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Takes the profile's turn on a thread of its own. The thread owns what it
// touches, so a test that gives up on it can leave it behind safely.
struct Taker
{
    explicit Taker(const QString& profile) : in(std::make_shared<std::atomic<bool>>(false))
    {
        thread = std::thread([profile, flag = in] {
            ProfileStartLock turn(profile);
            *flag = true;
        });
    }
    ~Taker()
    {
        if (*in)
            thread.join();
        else
            thread.detach(); // stuck: the failure is reported, the test goes on
    }
    bool WaitUntilIn()
    {
        return WaitUntil([this] { return in->load(); });
    }

    std::shared_ptr<std::atomic<bool>> in;
    std::thread thread;
};

} // namespace

// Hosts starting in a profile nobody has started in take turns; once one
// has started, nobody waits.
TEST(ProfileStartLock, HostsTakeTurnsUntilTheProfileHasBeenStartedIn)
{
    QTemporaryDir cache;
    const QString profile = cache.filePath("office-profile");
    {
        auto first = std::make_unique<ProfileStartLock>(profile);
        Taker second(profile);
        ASSERT_TRUE(WaitUntil([&] { return SomeoneWaitsFor(profile + QStringLiteral(".lock")); }))
            << "the second host waits for its turn";
        EXPECT_FALSE(*second.in) << "and does not go on while the first starts";
        ASSERT_TRUE(QDir().mkpath(profile));
        first->MarkStarted();
        first.reset();
        EXPECT_TRUE(second.WaitUntilIn()) << "its turn comes when the first has started";
    }

    // Started in once: a host holding the turn keeps no one waiting.
    ProfileStartLock holder(profile);
    Taker third(profile);
    EXPECT_TRUE(third.WaitUntilIn());
}
