#include "PumpWhile.h"

#include <QCoreApplication>
#include <QThread>

namespace testtools {

void RunOnWorkerWhilePumping(const std::function<void()>& work)
{
    QThread* worker = QThread::create(work);
    worker->start();
    while (!worker->wait(5))
        QCoreApplication::processEvents();
    delete worker;
}

} // namespace testtools
