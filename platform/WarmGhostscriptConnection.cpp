#include "platform/WarmGhostscriptConnection.h"

#include "platform/DescriptorMessages.h"
#include "platform/ScratchFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef FOLIANT_GHOSTSCRIPT_PROGRAM
#define FOLIANT_GHOSTSCRIPT_PROGRAM "/usr/bin/gs"
#endif

namespace {

constexpr int kForkAnswerLimit = 10 * 1000;
constexpr int kEndLimit = 5 * 1000;
constexpr int kReadyWaitLimit = 10 * 1000;
constexpr int kPollMs = 100;
constexpr int kTerminateGraceMs = 3000;
const QString kScratchPrefix = QStringLiteral("foliant-gshost-");
// A job's switches seldom take more than two sets (PDF 1.3 and 1.4).
constexpr std::size_t kMostHelpers = 4;
// A warm Ghostscript that fails to start this many times in a row is not started again.
constexpr int kMostFailedStarts = 3;

// The environment Ghostscript runs in (TMPDIR comes with each job): a job
// started in another one is not taken by a warm Ghostscript started before.
QByteArrayList GhostscriptEnvironment()
{
    QProcessEnvironment environment = RestrictedEnvironment();
    environment.remove(QStringLiteral("TMPDIR"));
    QByteArrayList entries;
    for (const QString& entry : environment.toStringList())
        entries << entry.toLocal8Bit();
    return entries;
}

void Field(QByteArray& request, char tag, const QString& value)
{
    request += tag;
    request += QFile::encodeName(value);
    request += '\0';
}

// Takes the whole frames off the front of bytes.
void TakeFrames(QByteArray& bytes, ProcessResult& result, std::optional<int>& exitCode)
{
    constexpr qsizetype kHeader = 5;
    while (bytes.size() >= kHeader) {
        quint32 length = 0;
        std::memcpy(&length, bytes.constData() + 1, sizeof length);
        if (bytes.size() < kHeader + static_cast<qsizetype>(length))
            return;
        const QByteArray payload = bytes.mid(kHeader, length);
        switch (bytes.at(0)) {
        case WarmGhostscriptConnection::kStandardOutput:
            result.standardOutput += payload;
            break;
        case WarmGhostscriptConnection::kStandardError:
            result.standardError += payload;
            break;
        case WarmGhostscriptConnection::kExitCode:
            exitCode = payload.toInt();
            break;
        default:
            break;
        }
        bytes.remove(0, kHeader + length);
    }
}

bool Signal(int pidfd, int signal)
{
    return ::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
}

// Asks the job to end, then kills it.
void EndJob(int pidfd)
{
    Signal(pidfd, SIGTERM);
    if (!descriptormessages::WaitReadable(pidfd, kTerminateGraceMs)) {
        Signal(pidfd, SIGKILL);
        descriptormessages::WaitReadable(pidfd, -1);
    }
}

// Hands the job to its forked process and waits for it as ProcessRunner
// waits for a program. Takes over both descriptors.
ProcessResult Follow(const WarmGhostscriptJob& job, int channel, int pidfd, qint64 processId, int timeoutMs,
                     const std::function<bool()>& stopRequested)
{
    QByteArray request;
    Field(request, WarmGhostscriptConnection::kTemporaryFolder, job.temporaryFolder);
    Field(request, WarmGhostscriptConnection::kWritable, job.writablePath);
    for (const QString& path : job.readablePaths)
        Field(request, WarmGhostscriptConnection::kReadable, path);
    request += WarmGhostscriptConnection::kProgram;
    request += job.program;
    request += '\0';
    // A job that is gone says so below.
    descriptormessages::SendAll(channel, request.constData(), request.size());
    ::shutdown(channel, SHUT_WR);

    ProcessResult result;
    result.processId = processId;
    std::optional<int> exitCode;
    QByteArray pending;
    QElapsedTimer clock;
    clock.start();
    for (bool open = true; open;) {
        if (stopRequested && stopRequested()) {
            EndJob(pidfd);
            result.status = ProcessResult::Status::Stopped;
            break;
        }
        if (clock.elapsed() > timeoutMs) {
            EndJob(pidfd);
            result.status = ProcessResult::Status::TimedOut;
            break;
        }
        if (!descriptormessages::WaitReadable(channel, kPollMs))
            continue;
        char buffer[65536];
        ssize_t n;
        do {
            n = ::recv(channel, buffer, sizeof buffer, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            open = false;
        } else {
            pending.append(buffer, n);
            TakeFrames(pending, result, exitCode);
        }
        if (!open) {
            // Its output ends with the process; a job that ended without its
            // exit code was killed.
            if (!descriptormessages::WaitReadable(pidfd, kEndLimit))
                EndJob(pidfd);
            result.status = exitCode ? ProcessResult::Status::Finished : ProcessResult::Status::Crashed;
            result.exitCode = exitCode.value_or(-1);
        }
    }
    ::close(channel);
    ::close(pidfd);
    return result;
}

} // namespace

WarmGhostscriptConnection& WarmGhostscriptConnection::Instance()
{
    static WarmGhostscriptConnection connection;
    return connection;
}

WarmGhostscriptConnection::~WarmGhostscriptConnection()
{
    End();
}

bool WarmGhostscriptConnection::Enabled()
{
    return qEnvironmentVariable("FOLIANT_WARM_GHOSTSCRIPT") != QLatin1String("0");
}

QString WarmGhostscriptConnection::SystemProgram()
{
    return QStringLiteral(FOLIANT_GHOSTSCRIPT_PROGRAM);
}

WarmGhostscriptConnection::Helper* WarmGhostscriptConnection::StartLocked(const QStringList& deviceSwitches)
{
    if (m_failedStarts >= kMostFailedStarts || m_helpers.size() >= kMostHelpers)
        return nullptr;
    const QString program = helperprocess::ProgramBeside(QStringLiteral("gshost"));
    // Its device's scratch files go into a folder of its own, removed when
    // it ends (or, when this process was killed, by the next run).
    ScratchFolder::RemoveLeftovers(kScratchPrefix);
    const QString base = ScratchFolder::Path();
    if (base.isEmpty())
        return nullptr;
    Helper helper;
    helper.scratch = std::make_unique<QTemporaryDir>(base + QLatin1Char('/') + kScratchPrefix +
                                                     QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    QByteArrayList arguments{kArgument};
    for (const QString& deviceSwitch : deviceSwitches)
        arguments << deviceSwitch.toUtf8();
    m_environment = GhostscriptEnvironment();
    const std::optional<helperprocess::Started> started =
        helper.scratch->isValid()
            ? helperprocess::Start(program, arguments, kControlDescriptor,
                                   m_environment +
                                       QByteArrayList{"TMPDIR=" + QFile::encodeName(helper.scratch->path())},
                                   qEnvironmentVariableIsSet("FOLIANT_GSHOST_VERBOSE"))
            : std::nullopt;
    if (!started) {
        ++m_failedStarts;
        return nullptr;
    }
    helper.started = *started;
    return &(m_helpers[deviceSwitches] = std::move(helper));
}

bool WarmGhostscriptConnection::ReadyLocked(Helper& helper, int milliseconds)
{
    if (helper.ready)
        return true;
    if (!descriptormessages::WaitReadable(helper.started.control, milliseconds))
        return false;
    int fd = -1;
    const std::optional<QByteArray> message = descriptormessages::Receive(helper.started.control, &fd);
    if (fd >= 0)
        ::close(fd);
    if (message == QByteArray("ready")) {
        helper.ready = true;
        m_failedStarts = 0;
        return true;
    }
    ++m_failedStarts;
    return false;
}

std::optional<ProcessResult> WarmGhostscriptConnection::Run(const WarmGhostscriptJob& job, int timeoutMs,
                                                            const std::function<bool()>& stopRequested)
{
    if (!Enabled())
        return std::nullopt;
    int channel = -1;
    int pidfd = -1;
    qint64 processId = 0;
    {
        QMutexLocker lock(&m_mutex);
        if (!m_helpers.empty() && m_environment != GhostscriptEnvironment())
            EndLocked(kEndLimit);
        const auto found = m_helpers.find(job.deviceSwitches);
        if (found == m_helpers.end()) {
            if (m_worthStarting)
                StartLocked(job.deviceSwitches);
            return std::nullopt; // this job runs Ghostscript itself meanwhile
        }
        Helper& helper = found->second;
        const auto forget = [&] {
            helperprocess::End(helper.started, 0);
            m_helpers.erase(found);
        };
        if (!ReadyLocked(helper, kReadyWaitLimit)) {
            if (!helper.ready)
                forget();
            return std::nullopt;
        }
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return std::nullopt;
        const bool sent = descriptormessages::Send(helper.started.control, "run", ends[1]);
        ::close(ends[1]);
        std::optional<QByteArray> answer;
        if (sent && descriptormessages::WaitReadable(helper.started.control, kForkAnswerLimit))
            answer = descriptormessages::Receive(helper.started.control, &pidfd);
        if (!answer || !answer->startsWith("ok ") || pidfd < 0) {
            // Dead, hung or refusing: the next job of its kind starts a new one.
            ::close(ends[0]);
            if (pidfd >= 0)
                ::close(pidfd);
            forget();
            return std::nullopt;
        }
        channel = ends[0];
        processId = answer->mid(3).toLongLong();
    }

    return Follow(job, channel, pidfd, processId, timeoutMs, stopRequested);
}

void WarmGhostscriptConnection::SetFilesAhead(qsizetype count)
{
    QMutexLocker lock(&m_mutex);
    m_worthStarting = count > 1;
}

QList<qint64> WarmGhostscriptConnection::ProcessIds()
{
    QMutexLocker lock(&m_mutex);
    QList<qint64> ids;
    for (auto it = m_helpers.begin(); it != m_helpers.end();) {
        if (descriptormessages::WaitReadable(it->second.started.pidfd, 0)) {
            helperprocess::End(it->second.started, 0); // it died: reap it
            it = m_helpers.erase(it);
        } else {
            ids << it->second.started.processId;
            ++it;
        }
    }
    return ids;
}

void WarmGhostscriptConnection::End()
{
    QMutexLocker lock(&m_mutex);
    EndLocked(kEndLimit);
}

void WarmGhostscriptConnection::EndLocked(int gracePeriod)
{
    // All are asked at once; each is then waited for.
    for (auto& [switches, helper] : m_helpers) {
        ::close(helper.started.control);
        helper.started.control = -1;
    }
    for (auto& [switches, helper] : m_helpers)
        helperprocess::End(helper.started, gracePeriod);
    m_helpers.clear();
}
