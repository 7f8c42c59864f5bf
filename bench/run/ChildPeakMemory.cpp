#include "ChildPeakMemory.h"

#include <QDir>
#include <QFile>

#include <chrono>

namespace {

constexpr auto kPeriod = std::chrono::milliseconds(25);
constexpr int kDepth = 3; // children, grandchildren, their children

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Private_Clean plus Private_Dirty of /proc/<pid>/smaps_rollup in KiB.
long PrivateOf(const QString& pid)
{
    long kib = 0;
    for (const QByteArray& line : Read(QStringLiteral("/proc/%1/smaps_rollup").arg(pid)).split('\n'))
        if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
            kib += line.mid(14).trimmed().split(' ').value(0).toLong();
    return kib;
}

} // namespace

long ChildPeakMemory::StatusKiB(const QString& pid, const char* field)
{
    const qsizetype length = qstrlen(field);
    for (const QByteArray& line : Read(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith(field))
            return line.mid(length).trimmed().split(' ').value(0).toLong();
    return -1;
}

QStringList ChildPeakMemory::ChildrenOf(const QString& pid)
{
    QStringList children;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QByteArray& child : Read(tasks + u'/' + task + QStringLiteral("/children")).split(' '))
            if (!child.trimmed().isEmpty())
                children << QString::fromLatin1(child.trimmed());
    return children;
}

ChildPeakMemory::ChildPeakMemory()
    : m_thread([this] {
          while (!m_stop) {
              Sample(QStringLiteral("self"), 0);
              std::this_thread::sleep_for(kPeriod);
          }
      })
{
}

ChildPeakMemory::~ChildPeakMemory()
{
    Stop();
}

void ChildPeakMemory::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void ChildPeakMemory::Sample(const QString& pid, int depth)
{
    if (depth == kDepth)
        return;
    for (const QString& child : ChildrenOf(pid)) {
        const QString name = QString::fromLatin1(Read(QStringLiteral("/proc/%1/comm").arg(child)).trimmed());
        const long peak = StatusKiB(child, "VmHWM:");
        const long own = PrivateOf(child);
        if (!name.isEmpty() && peak > 0) {
            QMutexLocker lock(&m_mutex);
            m_peaks[name] = std::max(m_peaks.value(name, 0), peak);
            m_privatePeaks[name] = std::max(m_privatePeaks.value(name, 0), own);
        }
        Sample(child, depth + 1);
    }
}

QMap<QString, long> ChildPeakMemory::PeaksKiB() const
{
    QMutexLocker lock(&m_mutex);
    return m_peaks;
}

QMap<QString, long> ChildPeakMemory::PrivatePeaksKiB() const
{
    QMutexLocker lock(&m_mutex);
    return m_privatePeaks;
}

long ChildPeakMemory::OwnPeakKiB()
{
    return StatusKiB(QStringLiteral("self"), "VmHWM:");
}

bool ChildPeakMemory::ResetOwnPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}
