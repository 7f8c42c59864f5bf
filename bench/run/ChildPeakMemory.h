#pragma once

#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

// The peak memory of the programs this process starts (office hosts, gs),
// by program name. Those programs are separate processes that end before
// anyone can ask them, so a thread looks at this process's children (and
// theirs) every few milliseconds while it lives and keeps the largest peak
// resident size (VmHWM) each name reached.
class ChildPeakMemory
{
public:
    ChildPeakMemory();
    ~ChildPeakMemory();
    ChildPeakMemory(const ChildPeakMemory&) = delete;
    ChildPeakMemory& operator=(const ChildPeakMemory&) = delete;

    void Stop();
    // Program name -> peak resident size in KiB.
    QMap<QString, long> PeaksKiB() const;
    // Program name -> peak private memory in KiB: the resident pages no other
    // process shares (a host forked from the warm office shares the loaded
    // office with it, which its resident size counts too).
    QMap<QString, long> PrivatePeaksKiB() const;

    // This process's own peak since the last ResetOwnPeak (VmHWM), in KiB;
    // -1 when the system does not say.
    static long OwnPeakKiB();
    // Starts this process's peak afresh from its current size.
    static bool ResetOwnPeak();

    // A size field of /proc/<pid>/status ("VmHWM:", "VmRSS:") in KiB; -1
    // when there is none.
    static long StatusKiB(const QString& pid, const char* field);
    // The children of every thread of pid.
    static QStringList ChildrenOf(const QString& pid);

private:
    void Sample(const QString& pid, int depth);

    std::atomic<bool> m_stop{false};
    mutable QMutex m_mutex;
    QMap<QString, long> m_peaks;
    QMap<QString, long> m_privatePeaks;
    std::thread m_thread;
};
