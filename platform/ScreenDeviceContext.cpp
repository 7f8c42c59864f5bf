#include "platform/ScreenDeviceContext.h"

#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace {

QMutex factoryMutex;
ScreenDCFactory& Factory()
{
    static ScreenDCFactory factory;
    return factory;
}

} // namespace

ScreenDeviceContext::ScreenDeviceContext(const QWindow* window)
{
    // Screens belong to the GUI thread. Anywhere else (the conversion
    // worker, a console) the screen keeps plain defaults: only its
    // resolution is ever asked for, to make a compatible memory DC.
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return;
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        m_width = screen->geometry().width();
        m_height = screen->geometry().height();
        m_pixelsPerInch = qRound(screen->logicalDotsPerInch());
    }
}

int ScreenDeviceContext::GetDeviceCaps(int index) const
{
    switch (index) {
    case HORZRES:
        return m_width;
    case VERTRES:
        return m_height;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_pixelsPerInch;
    default:
        return 0;
    }
}

std::unique_ptr<DeviceContext> GetDC(const QWindow* window)
{
    {
        QMutexLocker lock(&factoryMutex);
        if (Factory())
            return Factory()(window);
    }
    return std::make_unique<ScreenDeviceContext>(window);
}

void SetScreenDCFactory(ScreenDCFactory factory)
{
    QMutexLocker lock(&factoryMutex);
    Factory() = std::move(factory);
}
