#pragma once

#include <QList>
#include <QMutex>
#include <QString>

#include <cstdint>
#include <functional>

using HWND = std::uintptr_t;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// The top-level windows the program can find by class and title: its own and
// the ones an office host reports for its application. A window's process can
// be ended only through the terminator its owner registered, so no other
// process on the machine can be reached this way.
class WindowRegistry
{
public:
    static WindowRegistry& Instance();

    HWND Register(const QString& className, const QString& title, qint64 processId,
                  std::function<void()> terminator);
    void Unregister(HWND window);

    // A null class or title matches any. 0 when there is no such window.
    HWND FindWindowW(const QString& className, const QString& title) const;
    // Hides or shows the window; false for an unknown window. Nothing of an
    // office host is ever on screen: this only records the state.
    bool ShowWindow(HWND window, int command);
    bool IsWindowVisible(HWND window) const;
    // The window's process id, 0 for an unknown window.
    qint64 GetWindowThreadProcessId(HWND window) const;
    // Ends the process of a registered window; false when none is known.
    bool TerminateProcess(qint64 processId);

private:
    struct Entry
    {
        HWND window = 0;
        QString className;
        QString title;
        qint64 processId = 0;
        bool visible = true;
        std::function<void()> terminator;
    };
    const Entry* Find(HWND window) const;

    mutable QMutex m_mutex;
    QList<Entry> m_entries;
    HWND m_next = 0x10010;
};
