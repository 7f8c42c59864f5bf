#include "platform/ProcessKillSwitch.h"

#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

ProcessKillSwitch::ProcessKillSwitch(qint64 processId)
{
    if (processId <= 0)
        return;
    m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(processId), 0));
    // Without pidfds (old kernels) the number is all there is; the owner
    // disarms the switch as soon as it sees the process end.
    if (m_pidfd < 0)
        m_processId = processId;
}

ProcessKillSwitch::ProcessKillSwitch(qint64 processId, int pidfd) : m_pidfd(pidfd)
{
    if (m_pidfd < 0)
        m_processId = processId;
}

ProcessKillSwitch::~ProcessKillSwitch()
{
    Disarm();
}

void ProcessKillSwitch::Kill()
{
    QMutexLocker lock(&m_mutex);
    if (m_pidfd >= 0)
        ::syscall(SYS_pidfd_send_signal, m_pidfd, SIGKILL, nullptr, 0);
    else if (m_processId > 0)
        ::kill(static_cast<pid_t>(m_processId), SIGKILL);
}

void ProcessKillSwitch::Disarm()
{
    QMutexLocker lock(&m_mutex);
    if (m_pidfd >= 0)
        ::close(m_pidfd);
    m_pidfd = -1;
    m_processId = 0;
}
