#pragma once

#include <QElapsedTimer>
#include <QMutex>

#include <array>

// Where the time of the file being converted goes. One file converts at a
// time (one worker), so the ledger holds the current file's sums; the
// benchmark clears it when a file is dispatched and reads it when the
// converter returns.
class TimingLedger
{
public:
    enum Part { OfficeHost, Printer, Ghostscript, Waits, PartCount };
    using Sums = std::array<double, PartCount>; // seconds

    static TimingLedger& Instance();

    void Clear();
    void Add(Part part, qint64 nanoseconds);
    Sums Current() const;

private:
    mutable QMutex m_mutex;
    Sums m_sums{};
};

// Adds the time from its making to its end to one part of the ledger, also
// when the timed call throws.
class TimedSpan
{
public:
    explicit TimedSpan(TimingLedger::Part part) : m_part(part) { m_clock.start(); }
    ~TimedSpan() { TimingLedger::Instance().Add(m_part, m_clock.nsecsElapsed()); }
    TimedSpan(const TimedSpan&) = delete;
    TimedSpan& operator=(const TimedSpan&) = delete;

private:
    TimingLedger::Part m_part;
    QElapsedTimer m_clock;
};
