#include "platform/WindowRegistry.h"

#include <gtest/gtest.h>

TEST(WindowRegistry, WindowsAreFoundByClassAndTitleAndTheirProcessEndedOnlyThroughTheirOwner)
{
    WindowRegistry& registry = WindowRegistry::Instance();
    int terminated = 0;
    const HWND frame = registry.Register(QStringLiteral("PP11FrameClass"),
                                         QStringLiteral("Microsoft PowerPoint"), 4711, [&] { ++terminated; });
    EXPECT_EQ(registry.FindWindowW(QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint")),
              frame);
    EXPECT_EQ(registry.FindWindowW({}, QStringLiteral("Microsoft PowerPoint")), frame) << "any class";
    EXPECT_EQ(registry.FindWindowW(QStringLiteral("PP12FrameClass"), {}), 0u);
    EXPECT_EQ(registry.FindWindowW(QStringLiteral("PP11FrameClass"), QStringLiteral("microsoft powerpoint")),
              0u)
        << "titles are compared exactly";
    EXPECT_TRUE(registry.IsWindowVisible(frame));
    EXPECT_TRUE(registry.ShowWindow(frame, SW_HIDE));
    EXPECT_FALSE(registry.IsWindowVisible(frame));
    EXPECT_EQ(registry.GetWindowThreadProcessId(frame), 4711);
    EXPECT_FALSE(registry.TerminateProcess(4712));
    EXPECT_TRUE(registry.TerminateProcess(4711));
    EXPECT_EQ(terminated, 1);
    registry.Unregister(frame);
    EXPECT_EQ(registry.FindWindowW(QStringLiteral("PP11FrameClass"), {}), 0u);
    EXPECT_FALSE(registry.ShowWindow(frame, SW_SHOW));
    EXPECT_EQ(registry.GetWindowThreadProcessId(frame), 0);
}
