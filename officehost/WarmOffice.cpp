#include "officehost/WarmOffice.h"

#include "officehost/ApplicationCatalog.h"
#include "officehost/HostFolders.h"
#include "officehost/HostMain.h"
#include "officehost/InheritedEventCounters.h"
#include "officehost/LibreOffice.h"
#include "officehost/OfficeProfiles.h"
#include "platform/DescriptorMessages.h"
#include "platform/HelperProcess.h"
#include "platform/ThreadChecker.h"
#include "platform/WarmOfficeConnection.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace WarmOffice {
namespace {

constexpr int kControlDescriptor = WarmOfficeConnection::kControlDescriptor;

constexpr int kSettleLimit = 20 * 1000; // LibreOffice's threads after loading
constexpr int kForkSettleLimit = 2 * 1000;

int ThreadCount()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The office's own threads end once it has loaded; a thread checker's
// would not, so it is ended first.
bool WaitUntilSingleThreaded(int limit)
{
    threadchecker::EndOwnThread();
    QDeadlineTimer deadline(limit);
    while (ThreadCount() != 1) {
        if (deadline.hasExpired())
            return false;
        ::usleep(10 * 1000);
    }
    return true;
}

void Answer(const QByteArray& text, int fd = -1)
{
    descriptormessages::Send(kControlDescriptor, text, fd);
}

// In the new process: the host of progId on the channel, as if started on
// its own.
[[noreturn]] void BecomeHost(int argc, char** argv, int channel, const QString& progId,
                             OfficeProfiles::Lease& warmProfile, int profileDescriptor)
{
    ::close(kControlDescriptor);
    // Before any thread runs: a wakeup meant for this host's main loop must
    // not be taken by another host's.
    const char* why = nullptr;
    if (!InheritedEventCounters::MakeOwn(&why)) {
        std::fprintf(stderr, "The office host could not make its event counters its own: %s.\n", why);
        std::_Exit(2);
    }
    // The warm office keeps its profile; the host takes one of its own.
    warmProfile = OfficeProfiles::Lease();
    std::signal(SIGCHLD, SIG_DFL);
    ::dup2(channel, 0);
    ::dup2(channel, 1);
    ::close(channel);
    std::exit(RunHost(argc, argv, progId, HostStart::Forked, profileDescriptor));
}

void Serve(int argc, char** argv, const QByteArray& request, int channel, OfficeProfiles::Lease& profile,
           int profileDescriptor)
{
    if (!request.startsWith("fork ") || channel < 0) {
        Answer("no The request could not be read.");
        return;
    }
    const QString progId = QString::fromUtf8(request.mid(5));
    if (!FindServedApplication(progId)) {
        Answer("no Invalid class string: " + progId.toUtf8());
        return;
    }
    if (!WaitUntilSingleThreaded(kForkSettleLimit)) {
        Answer("no The warm office is busy.");
        return;
    }
    helperprocess::ForkForClient(
        kControlDescriptor, [&] { BecomeHost(argc, argv, channel, progId, profile, profileDescriptor); },
        "The warm office could not fork.");
}

} // namespace

int Run(int argc, char** argv)
{
    // Nothing of the starting program's but the control socket.
    ::close_range(kControlDescriptor + 1, ~0U, 0);
    ::fcntl(kControlDescriptor, F_SETFD, FD_CLOEXEC);
    if (::fcntl(kControlDescriptor, F_GETFD) < 0)
        return 2; // not started by a client
    // The hosts are reaped by the system; each client watches its own.
    std::signal(SIGCHLD, SIG_IGN);

    const QString scratch = hostfolders::MakeScratchFolder();
    if (scratch.isEmpty())
        return 2;
    qputenv("TMPDIR", QFile::encodeName(scratch));
    int exitCode = 0;
    const OfficeProfiles profiles = OfficeProfiles::OfTheUser();
    QString why;
    // A profile that no host has set up yet is set up by a cold host first:
    // hosts forked from an office loaded before that would each redo it.
    // Otherwise this office holds a copy no other live office uses, and each
    // host it forks takes one of its own. The office is loaded with the copy
    // as /proc/self/fd/N, which each host points at its own: the settings
    // file, bound at loading, then follows the host too.
    OfficeProfiles::Lease lease;
    int profileDescriptor = -1;
    if (!profiles.IsSetUp()) {
        descriptormessages::Send(kControlDescriptor, "later The office profile is not set up yet.");
        exitCode = 3;
    } else if (lease = profiles.Take(&why);
               (profileDescriptor = lease.OpenFolder()) < 0 ||
               !LibreOffice::Preload(OfficeProfiles::DescriptorPath(profileDescriptor), &why) ||
               !WaitUntilSingleThreaded(kSettleLimit)) {
        exitCode = 2;
    } else if (descriptormessages::Send(kControlDescriptor, "ready")) {
        for (;;) {
            int channel = -1;
            const std::optional<QByteArray> request =
                descriptormessages::Receive(kControlDescriptor, &channel);
            if (!request)
                break; // the client let go
            Serve(argc, argv, *request, channel, lease, profileDescriptor);
            if (channel >= 0)
                ::close(channel);
        }
    }
    hostfolders::RemoveScratchFolder(scratch);
    std::fflush(nullptr);
    ::_exit(exitCode); // the loaded office is not taken down: nothing of it needs keeping
}

} // namespace WarmOffice
