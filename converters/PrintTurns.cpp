#include "converters/PrintTurns.h"

#include <chrono>

namespace {

// How often a waiting job asks whether the run was stopped.
constexpr auto kStopPoll = std::chrono::milliseconds(50);

} // namespace

PrintTurns::PrintTurns(qsizetype files, int width)
    : m_done(static_cast<size_t>(qMax<qsizetype>(0, files)), false), m_width(qMax(1, width))
{
}

bool PrintTurns::Take(qsizetype index, const std::function<bool()>& stopped)
{
    for (;;) {
        bool mine = false;
        {
            std::unique_lock lock(m_mutex);
            mine = m_given.wait_for(lock, kStopPoll, [&] { return index < m_first + m_width; });
        }
        // Asked without the lock: a front end may hold the caller here while
        // it asks. A turn that comes with the stop is not taken.
        if (stopped && stopped())
            return false;
        if (mine)
            return true;
    }
}

void PrintTurns::Give(qsizetype index)
{
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<qsizetype>(m_done.size()) || m_done[index])
            return;
        m_done[index] = true;
        while (m_first < static_cast<qsizetype>(m_done.size()) && m_done[m_first])
            ++m_first;
    }
    m_given.notify_all();
}
