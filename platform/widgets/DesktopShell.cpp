#include "platform/widgets/DesktopShell.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");

} // namespace

DesktopShell::DesktopShell(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) {}

void DesktopShell::OpenFile(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopShell::OpenWebAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

void DesktopShell::OpenFolder(const QString& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void DesktopShell::ShowItemInFolder(const QString& folder, const QString& itemPath)
{
    // A file that is not there cannot be selected (the shell could not parse
    // it either): show the folder alone.
    if (!m_bus.isConnected() || !QFileInfo::exists(itemPath)) {
        OpenFolder(folder);
        emit ShowItemFinished(false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                       kFileManagerService, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(itemPath).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kShowItemsTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, folder](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const bool shown = !w->isError();
        if (!shown)
            OpenFolder(folder);
        emit ShowItemFinished(shown);
    });
}
