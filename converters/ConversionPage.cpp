#include "converters/ConversionPage.h"

#include <QDeadlineTimer>

ConversionPage::WaitEnd ConversionPage::WaitUntil(const std::function<bool()>& done, int limitMilliseconds)
{
    const QDeadlineTimer deadline(limitMilliseconds);
    for (;;) {
        if (done())
            return WaitEnd::Done;
        if (StopRequested())
            return WaitEnd::Stopped;
        if (deadline.hasExpired())
            return WaitEnd::TimedOut;
        Sleep(static_cast<int>(qMin<qint64>(kWaitPoll, deadline.remainingTime())));
    }
}
