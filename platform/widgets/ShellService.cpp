#include "platform/ShellService.h"
#include "platform/widgets/DesktopShell.h"

#include <QCoreApplication>
#include <QPointer>

#include <utility>

namespace {

ShellService* installedService = nullptr;

} // namespace

ShellService& ShellService::Instance()
{
    if (installedService)
        return *installedService;
    // Made on first use on the GUI thread and owned by the application object,
    // so it goes before the bus connection does.
    static QPointer<DesktopShell> desktop;
    if (!desktop)
        desktop = new DesktopShell(QDBusConnection::sessionBus(), QCoreApplication::instance());
    return *desktop;
}

ShellService* ShellService::SetInstance(ShellService* service)
{
    return std::exchange(installedService, service);
}
