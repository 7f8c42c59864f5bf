#include "platform/WindowRegistry.h"

WindowRegistry& WindowRegistry::Instance()
{
    static WindowRegistry registry;
    return registry;
}

HWND WindowRegistry::Register(const QString& className, const QString& title, qint64 processId,
                              std::function<void()> terminator)
{
    QMutexLocker lock(&m_mutex);
    Entry e;
    e.window = m_next;
    m_next += 0x10;
    e.className = className;
    e.title = title;
    e.processId = processId;
    e.terminator = std::move(terminator);
    m_entries.append(e);
    return e.window;
}

void WindowRegistry::Unregister(HWND window)
{
    QMutexLocker lock(&m_mutex);
    m_entries.removeIf([window](const Entry& e) { return e.window == window; });
}

const WindowRegistry::Entry* WindowRegistry::Find(HWND window) const
{
    for (const Entry& e : m_entries)
        if (e.window == window)
            return &e;
    return nullptr;
}

HWND WindowRegistry::FindWindowW(const QString& className, const QString& title) const
{
    QMutexLocker lock(&m_mutex);
    for (const Entry& e : m_entries)
        if ((className.isNull() || e.className == className) && (title.isNull() || e.title == title))
            return e.window;
    return 0;
}

bool WindowRegistry::ShowWindow(HWND window, int command)
{
    QMutexLocker lock(&m_mutex);
    for (Entry& e : m_entries)
        if (e.window == window) {
            e.visible = command != SW_HIDE;
            return true;
        }
    return false;
}

bool WindowRegistry::IsWindowVisible(HWND window) const
{
    QMutexLocker lock(&m_mutex);
    const Entry* e = Find(window);
    return e && e->visible;
}

qint64 WindowRegistry::GetWindowThreadProcessId(HWND window) const
{
    QMutexLocker lock(&m_mutex);
    const Entry* e = Find(window);
    return e ? e->processId : 0;
}

bool WindowRegistry::TerminateProcess(qint64 processId)
{
    std::function<void()> terminator;
    {
        QMutexLocker lock(&m_mutex);
        for (const Entry& e : m_entries)
            if (e.processId == processId && e.terminator) {
                terminator = e.terminator;
                break;
            }
    }
    if (!terminator)
        return false;
    terminator(); // outside the lock: it may unregister the window
    return true;
}
