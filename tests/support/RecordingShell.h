#pragma once

#include "ScopedOverride.h"
#include "platform/ShellService.h"

#include <QList>
#include <QString>

// A shell for tests: records every request, opens nothing, and puts itself in
// place of the desktop's for as long as it lives.
class RecordingShell : public ShellService
{
public:
    struct Request
    {
        QString kind; // "open file", "open address" or "show item"
        QString path; // the file, the address, or the folder of a "show item"
        QString item; // the selected file of a "show item"
        bool operator==(const Request&) const = default;
    };

    RecordingShell() : m_scope(this, &ShellService::SetInstance) {}

    void OpenFile(const QString& path) override { requests.append({QStringLiteral("open file"), path, {}}); }
    void OpenWebAddress(const QString& address) override
    {
        requests.append({QStringLiteral("open address"), address, {}});
    }
    void ShowItemInFolder(const QString& folder, const QString& itemPath) override
    {
        requests.append({QStringLiteral("show item"), folder, itemPath});
    }

    QList<Request> requests;

private:
    ScopedOverride<decltype(&ShellService::SetInstance)> m_scope;
};
