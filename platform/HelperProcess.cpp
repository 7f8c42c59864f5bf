#include "platform/HelperProcess.h"

#include "platform/DescriptorMessages.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace helperprocess {

QString ProgramBeside(const QString& name)
{
    QString dir = qEnvironmentVariable("FOLIANT_PROGRAM_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return dir + QLatin1Char('/') + name;
}

std::optional<Started> Start(const QString& program, const QByteArrayList& arguments, int controlDescriptor,
                             const QByteArrayList& environment, bool keepStandardError)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return std::nullopt;
    // Above the descriptor it becomes in the child, so the move clears close-on-exec.
    const int childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, controlDescriptor + 1);
    ::close(ends[1]);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    if (!keepStandardError)
        posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, childEnd, controlDescriptor);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const QByteArray path = QFile::encodeName(program);
    std::vector<char*> argv{const_cast<char*>(path.constData())};
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (const QByteArray& entry : environment)
        env.push_back(const_cast<char*>(entry.constData()));
    env.push_back(nullptr);
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, path.constData(), &files, &attributes, argv.data(),
                                     environment.isEmpty() ? environ : env.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    ::close(childEnd);
    if (failed != 0) {
        ::close(ends[0]);
        return std::nullopt;
    }
    Started started;
    started.processId = pid;
    started.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    started.control = ends[0];
    return started;
}

void ForkForClient(int control, const std::function<void()>& becomeChild, const QByteArray& failure)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        becomeChild();
        std::_Exit(2); // it does not return
    }
    if (child < 0) {
        descriptormessages::Send(control, "no " + failure);
        return;
    }
    // The child cannot have been reaped yet, so this is surely its pidfd.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    descriptormessages::Send(control, "ok " + QByteArray::number(child), pidfd);
    if (pidfd >= 0)
        ::close(pidfd);
}

void End(Started& started, int gracePeriod)
{
    if (started.processId == 0)
        return;
    ::close(started.control);
    started.control = -1;
    if (started.pidfd >= 0 && !descriptormessages::WaitReadable(started.pidfd, gracePeriod))
        ::syscall(SYS_pidfd_send_signal, started.pidfd, SIGKILL, nullptr, 0);
    while (::waitpid(started.processId, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (started.pidfd >= 0)
        ::close(started.pidfd);
    started = Started{};
}

} // namespace helperprocess
