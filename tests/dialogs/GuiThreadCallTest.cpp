#include "platform/GuiThreadCall.h"
#include "PumpWhile.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

namespace {

using testtools::RunOnWorkerWhilePumping;

// Throws queued calls away unrun, as the event loop does with the calls of a
// receiver that is being destroyed.
class DroppingObject : public QObject
{
public:
    bool event(QEvent* event) override { return event->type() == QEvent::MetaCall || QObject::event(event); }
};

} // namespace

TEST(GuiThreadCallTest, RunsOnTheContextsThreadAndWaits)
{
    QObject context;
    QThread* ranOn = nullptr;
    bool ran = false;
    int value = 0;
    RunOnWorkerWhilePumping([&] {
        ran = RunInThreadOf(&context, [&] {
            ranOn = QThread::currentThread();
            value = 42;
        });
        // The call has finished when RunInThreadOf returns.
        EXPECT_EQ(value, 42);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(ranOn, qApp->thread());

    // On the context's own thread it runs at once.
    EXPECT_TRUE(RunInThreadOf(&context, [&] { value = 7; }));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(RunInThreadOf(nullptr, [&] { value = 8; }));
    EXPECT_EQ(value, 7);
}

TEST(GuiThreadCallTest, ACallThrownAwayReleasesTheCaller)
{
    DroppingObject context;
    std::atomic<bool> ran{true};
    std::atomic<bool> called{false};
    RunOnWorkerWhilePumping([&] { ran = RunInThreadOf(&context, [&] { called = true; }); });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(called);
}
