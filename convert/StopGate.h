#pragma once

#include <condition_variable>
#include <mutex>

// The user's Stop as the worker sees it: a request honoured between steps.
// While the page asks whether to stop, the gate is held and the worker waits
// at its next step; No opens it again, Yes stops the run for good. The GUI
// thread only sets the state and never waits here.
class StopGate
{
public:
    // A new run: open, not stopped.
    void Reset();
    // The page is asking: the worker holds at its next step.
    void Hold();
    // The answer was No: the worker goes on from where it held.
    void Release();
    // The run is stopped: every waiting and sleeping worker returns at once.
    void Stop();

    // Holds the caller while the gate is held; true once the run is stopped.
    bool Wait();
    // Never waits.
    bool IsStopped() const;
    // Whether a worker is held at the gate now.
    bool IsHolding() const;
    // Sleeps for milliseconds, less when the run is stopped meanwhile. True
    // when it was stopped.
    bool Sleep(int milliseconds);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_stopped = false;
    int m_waiting = 0;
};
