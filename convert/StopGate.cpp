#include "convert/StopGate.h"

#include <chrono>

void StopGate::Reset()
{
    std::lock_guard lock(m_mutex);
    m_held = false;
    m_stopped = false;
}

void StopGate::Hold()
{
    std::lock_guard lock(m_mutex);
    m_held = true;
}

void StopGate::Release()
{
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
    }
    m_changed.notify_all();
}

void StopGate::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
        m_stopped = true;
    }
    m_changed.notify_all();
}

bool StopGate::Wait()
{
    std::unique_lock lock(m_mutex);
    ++m_waiting;
    m_changed.wait(lock, [this] { return !m_held || m_stopped; });
    --m_waiting;
    return m_stopped;
}

bool StopGate::IsStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

bool StopGate::IsHolding() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting > 0;
}

bool StopGate::Sleep(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0),
                              [this] { return m_stopped; });
}
