#include "platform/GuiThreadCall.h"

#include "platform/ThreadChecker.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// Qt's event queue hands a queued call from the posting thread to the
// receiving one under a lock inside Qt, which a thread checker does not
// see: the hand-over is told to it, so that what the poster wrote before
// posting is known to come before the call. Nothing in other builds.
char g_handOver;
void HandOver()
{
    threadchecker::HandOver(&g_handOver);
}
void TakeOver()
{
    threadchecker::TakeOver(&g_handOver);
}

// The standard library's mutex and condition: a thread checker sees the
// caller take the mutex back when it wakes, and so sees everything fn did
// before the caller goes on (Qt's wait condition relocks the mutex inside
// Qt, out of its sight).
struct Waiter
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool ran = false;
};

// Owned by the queued call: when the call has run, or has been thrown away
// with its receiver, its destruction releases the caller.
class Release
{
public:
    explicit Release(std::shared_ptr<Waiter> w) : m_waiter(std::move(w)) {}
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;
    ~Release()
    {
        const std::lock_guard lock(m_waiter->mutex);
        m_waiter->done = true;
        m_waiter->finished.notify_all();
    }

private:
    std::shared_ptr<Waiter> m_waiter;
};

} // namespace

bool RunInThreadOf(QObject* context, const std::function<void()>& fn)
{
    if (!context)
        return false;
    if (QThread::currentThread() == context->thread()) {
        fn();
        return true;
    }
    auto waiter = std::make_shared<Waiter>();
    {
        auto release = std::make_shared<Release>(waiter);
        HandOver();
        const bool posted = QMetaObject::invokeMethod(
            context,
            [release, fn, waiter] {
                TakeOver();
                fn();
                const std::lock_guard lock(waiter->mutex);
                waiter->ran = true;
            },
            Qt::QueuedConnection);
        if (!posted)
            return false;
    }
    std::unique_lock lock(waiter->mutex);
    waiter->finished.wait(lock, [&] { return waiter->done; });
    return waiter->ran;
}

void PostToThreadOf(QObject* context, std::function<void()> fn)
{
    HandOver();
    QMetaObject::invokeMethod(
        context,
        [fn = std::move(fn)] {
            TakeOver();
            fn();
        },
        Qt::QueuedConnection);
}
