#pragma once

#include "platform/ShellService.h"

#include <QDBusConnection>
#include <QObject>

// The desktop's shell: files and addresses open through QDesktopServices
// (xdg-open), and a file is shown selected through the file manager's
// org.freedesktop.FileManager1.ShowItems on the session bus.
//
// ShowItems is called asynchronously, so a slow or starting file manager
// never freezes the window; when the call fails (no bus, no file manager,
// an error answer or no answer in time) the folder is opened instead.
class DesktopShell : public QObject, public ShellService
{
    Q_OBJECT

public:
    explicit DesktopShell(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    void OpenFile(const QString& path) override;
    void OpenWebAddress(const QString& address) override;
    void ShowItemInFolder(const QString& folder, const QString& itemPath) override;

    // How long a file manager may take to answer ShowItems (one that is
    // started for the call may need a while).
    static constexpr int kShowItemsTimeoutMs = 25000;

signals:
    // The answer to a ShowItems call arrived (shown true) or the folder was
    // opened instead (shown false). Lets tests wait for the outcome.
    void ShowItemFinished(bool shown);

private:
    void OpenFolder(const QString& folder);

    QDBusConnection m_bus;
};
