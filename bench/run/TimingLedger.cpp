#include "TimingLedger.h"

TimingLedger& TimingLedger::Instance()
{
    static TimingLedger ledger;
    return ledger;
}

void TimingLedger::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_sums = {};
}

void TimingLedger::Add(Part part, qint64 nanoseconds)
{
    QMutexLocker lock(&m_mutex);
    m_sums[part] += nanoseconds / 1e9;
}

TimingLedger::Sums TimingLedger::Current() const
{
    QMutexLocker lock(&m_mutex);
    return m_sums;
}
