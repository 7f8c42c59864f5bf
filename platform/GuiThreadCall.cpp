#include "platform/GuiThreadCall.h"

#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QWaitCondition>

#include <memory>
#include <utility>

namespace {

struct Waiter
{
    QMutex mutex;
    QWaitCondition finished;
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
        QMutexLocker lock(&m_waiter->mutex);
        m_waiter->done = true;
        m_waiter->finished.wakeAll();
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
        const bool posted = QMetaObject::invokeMethod(
            context,
            [release, fn, waiter] {
                fn();
                QMutexLocker lock(&waiter->mutex);
                waiter->ran = true;
            },
            Qt::QueuedConnection);
        if (!posted)
            return false;
    }
    QMutexLocker lock(&waiter->mutex);
    while (!waiter->done)
        waiter->finished.wait(&waiter->mutex);
    return waiter->ran;
}
