#pragma once

#include <QMutex>
#include <QtGlobal>

// Ends one child process at once (SIGKILL), from any thread. It holds a
// handle on the process itself (a pidfd), not its number: once the process
// has ended and been reaped, a new process that gets the same number can
// never be hit by it.
class ProcessKillSwitch
{
public:
    explicit ProcessKillSwitch(qint64 processId);
    // Takes over a pidfd already held on the process (one that is not our
    // child, whose number alone could be reused before it is opened).
    ProcessKillSwitch(qint64 processId, int pidfd);
    ~ProcessKillSwitch();
    ProcessKillSwitch(const ProcessKillSwitch&) = delete;
    ProcessKillSwitch& operator=(const ProcessKillSwitch&) = delete;

    // Does nothing once the process is gone or the switch is disarmed.
    void Kill();
    // Lets go of the process: the owner has seen it end.
    void Disarm();

private:
    QMutex m_mutex;
    int m_pidfd = -1;
    qint64 m_processId = 0; // used only where the system has no pidfd
};
