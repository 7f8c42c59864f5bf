#include "officehost/ProfileStartLock.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

// Hosts starting in a profile nobody has started in take turns; once one
// has started, nobody waits.
TEST(ProfileStartLock, HostsTakeTurnsUntilTheProfileHasBeenStartedIn)
{
    QTemporaryDir cache;
    const QString profile = cache.filePath("office-profile");
    std::atomic<bool> secondIn{false};
    std::thread second;
    {
        ProfileStartLock first(profile);
        second = std::thread([&] {
            ProfileStartLock turn(profile);
            secondIn = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(secondIn) << "the second host waits while the first starts";
        ASSERT_TRUE(QDir().mkpath(profile));
        first.MarkStarted();
    }
    second.join();
    EXPECT_TRUE(secondIn);

    // Started in once: a host holding the turn keeps no one waiting.
    ProfileStartLock holder(profile);
    std::atomic<bool> thirdIn{false};
    std::thread third([&] {
        ProfileStartLock turn(profile);
        thirdIn = true;
    });
    third.join();
    EXPECT_TRUE(thirdIn);
}
