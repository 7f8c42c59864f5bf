#include "platform/WarmOfficeConnection.h"

#include "platform/DescriptorMessages.h"
#include "platform/HelperProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kForkAnswerLimit = 30 * 1000;
constexpr int kEndLimit = 5 * 1000;
constexpr int kReadyWaitLimit = 30 * 1000;
// A warm office that fails to load this many times in a row is not started again.
constexpr int kMostFailedStarts = 3;

// Hosts forked from the warm office live in the environment it was started
// in: where LibreOffice, the profile and the scratch folders are.
QByteArray CurrentEnvironment()
{
    QByteArrayList entries;
    for (char** entry = environ; *entry; ++entry)
        entries << QByteArray(*entry);
    std::sort(entries.begin(), entries.end());
    return entries.join('\0');
}

} // namespace

WarmOfficeConnection& WarmOfficeConnection::Instance()
{
    static WarmOfficeConnection connection;
    return connection;
}

WarmOfficeConnection::~WarmOfficeConnection()
{
    End();
}

bool WarmOfficeConnection::Enabled()
{
    return qEnvironmentVariable("FOLIANT_WARM_OFFICE") != QLatin1String("0");
}

bool WarmOfficeConnection::StartLocked(const QString& program)
{
    if (m_failedStarts >= kMostFailedStarts)
        return false;
    const std::optional<helperprocess::Started> started =
        helperprocess::Start(program, {kArgument}, kControlDescriptor, {},
                             qEnvironmentVariableIsSet("FOLIANT_OFFICEHOST_VERBOSE"));
    if (!started) {
        ++m_failedStarts;
        return false;
    }
    m_program = program;
    m_environment = CurrentEnvironment();
    m_helper = *started;
    m_ready = false;
    return true;
}

bool WarmOfficeConnection::ReadyLocked(int milliseconds)
{
    if (m_ready)
        return true;
    if (!descriptormessages::WaitReadable(m_helper.control, milliseconds))
        return false;
    int fd = -1;
    const std::optional<QByteArray> message = descriptormessages::Receive(m_helper.control, &fd);
    if (fd >= 0)
        ::close(fd);
    if (message == QByteArray("ready")) {
        m_ready = true;
        m_failedStarts = 0;
        return true;
    }
    // It ended before it was ready: a new profile, set up by the next cold
    // host, is no failure of its own; an office that did not load is.
    if (!message || !message->startsWith("later "))
        ++m_failedStarts;
    EndLocked(kEndLimit);
    return false;
}

std::optional<WarmOfficeConnection::Host> WarmOfficeConnection::Fork(const QString& program,
                                                                     const QString& progId)
{
    if (!Enabled())
        return std::nullopt;
    QMutexLocker lock(&m_mutex);
    EndIfElsewhereLocked(program);
    if (m_helper.processId == 0) {
        if (m_worthStarting)
            StartLocked(program);
        return std::nullopt; // this host starts cold (while the office warms up)
    }
    // One that is still loading is waited for: another office starting
    // beside it would only slow both down on the same cores.
    if (!ReadyLocked(kReadyWaitLimit))
        return std::nullopt;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return std::nullopt;
    const bool sent = descriptormessages::Send(m_helper.control, "fork " + progId.toUtf8(), ends[1]);
    ::close(ends[1]);
    int pidfd = -1;
    std::optional<QByteArray> answer;
    if (sent && descriptormessages::WaitReadable(m_helper.control, kForkAnswerLimit))
        answer = descriptormessages::Receive(m_helper.control, &pidfd);
    if (!answer) {
        // Dead or hung: the next request starts a new one.
        ::close(ends[0]);
        EndLocked(0);
        return std::nullopt;
    }
    if (!answer->startsWith("ok ") || pidfd < 0) {
        ::close(ends[0]);
        if (pidfd >= 0)
            ::close(pidfd);
        return std::nullopt;
    }
    return Host{ends[0], pidfd, answer->mid(3).toLongLong()};
}

bool WarmOfficeConnection::WaitUntilReady(const QString& program, int milliseconds)
{
    if (!Enabled())
        return false;
    QMutexLocker lock(&m_mutex);
    EndIfElsewhereLocked(program);
    QDeadlineTimer deadline(milliseconds);
    do {
        if (m_helper.processId == 0 && !StartLocked(program))
            return false;
        if (ReadyLocked(static_cast<int>(deadline.remainingTime())))
            return true;
        // One that ended because the profile was not set up yet: again, as
        // the host setting it up may have finished by now.
        if (m_helper.processId == 0 && !deadline.hasExpired())
            QThread::msleep(100);
    } while (!deadline.hasExpired() && m_failedStarts < kMostFailedStarts);
    return false;
}

void WarmOfficeConnection::SetOfficeFilesAhead(qsizetype count)
{
    QMutexLocker lock(&m_mutex);
    m_worthStarting = count > 1;
}

qint64 WarmOfficeConnection::ProcessId()
{
    QMutexLocker lock(&m_mutex);
    if (m_helper.processId != 0 && descriptormessages::WaitReadable(m_helper.pidfd, 0))
        EndLocked(0); // it died: reap it
    return m_helper.processId;
}

void WarmOfficeConnection::EndIfElsewhereLocked(const QString& program)
{
    if (m_helper.processId != 0 && (m_program != program || m_environment != CurrentEnvironment()))
        EndLocked(kEndLimit);
}

void WarmOfficeConnection::End()
{
    QMutexLocker lock(&m_mutex);
    EndLocked(kEndLimit);
}

void WarmOfficeConnection::EndLocked(int gracePeriod)
{
    helperprocess::End(m_helper, gracePeriod);
    m_ready = false;
}
