#include "platform/ForkedHostProcess.h"

#include "platform/DescriptorMessages.h"
#include "platform/ProcessKillSwitch.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ForkedHostProcess::ForkedHostProcess(int channel, int pidfd, qint64 processId)
    : m_channel(channel), m_pidfd(pidfd), m_processId(processId)
{
    m_killSwitch = std::make_shared<ProcessKillSwitch>(processId, ::fcntl(pidfd, F_DUPFD_CLOEXEC, 3));
}

ForkedHostProcess::~ForkedHostProcess()
{
    m_killSwitch->Disarm();
    ::close(m_channel);
    ::close(m_pidfd);
}

bool ForkedHostProcess::IsRunning()
{
    // A pidfd becomes readable when its process has ended.
    return !descriptormessages::WaitReadable(m_pidfd, 0);
}

void ForkedHostProcess::Write(const QByteArray& bytes)
{
    // A host that is gone: the next read says so.
    descriptormessages::SendAll(m_channel, bytes.constData(), bytes.size());
}

QByteArray ForkedHostProcess::Read(int milliseconds)
{
    if (m_channelEnded) {
        WaitForEnd(milliseconds);
        return {};
    }
    pollfd watched[2] = {{m_channel, POLLIN, 0}, {m_pidfd, POLLIN, 0}};
    if (::poll(watched, 2, milliseconds) <= 0 || !(watched[0].revents & (POLLIN | POLLHUP | POLLERR)))
        return {};
    QByteArray bytes(65536, Qt::Uninitialized);
    ssize_t n;
    do {
        n = ::recv(m_channel, bytes.data(), bytes.size(), MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    if (n == 0 || (n < 0 && errno != EAGAIN))
        m_channelEnded = true;
    bytes.truncate(n > 0 ? n : 0);
    return bytes;
}

void ForkedHostProcess::CloseInput()
{
    ::shutdown(m_channel, SHUT_WR);
}

bool ForkedHostProcess::WaitForEnd(int milliseconds)
{
    return descriptormessages::WaitReadable(m_pidfd, milliseconds);
}
