#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

// What the converter did, in order: its automation calls, the page's calls
// and the boxes it showed, one line each, from whichever thread.
class EventLog
{
public:
    void Add(const QString& event)
    {
        QMutexLocker lock(&m_mutex);
        m_events << event;
    }
    QStringList Events() const
    {
        QMutexLocker lock(&m_mutex);
        return m_events;
    }
    void Clear()
    {
        QMutexLocker lock(&m_mutex);
        m_events.clear();
    }

private:
    mutable QMutex m_mutex;
    QStringList m_events;
};

#include <ostream>

// Lets the test framework print texts and lists of texts readably.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
