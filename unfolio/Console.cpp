#include "Console.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace unfolio {

namespace {

int KeepAside(int fd)
{
    return fcntl(fd, F_DUPFD_CLOEXEC, 3);
}

void WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

void WaitForEnter(int fd)
{
    char c = 0;
    for (;;) {
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            return;
    }
}

} // namespace

Console::~Console()
{
    Release();
}

void Console::Leave()
{
    m_input = KeepAside(STDIN_FILENO);
    m_error = KeepAside(STDERR_FILENO);

    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            dup2(null, fd);
        if (null > STDERR_FILENO)
            close(null);
    }
    // Once the work has begun it runs to the end: a terminal that closes under
    // the tool must not stop it half-way, nor may a reader that went away.
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

void Console::Warn(std::string_view caption, std::string_view text)
{
    std::string message(caption);
    message += ": ";
    message += text;
    message += '\n';

    if (m_input >= 0 && isatty(m_input)) {
        // Ask on the terminal the answer is read from, even when the error
        // stream was sent elsewhere.
        const int tty = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
        const int out = tty >= 0 ? tty : m_error;
        WriteAll(out, message);
        WriteAll(out, "Press Enter for OK.\n");
        WaitForEnter(m_input);
        if (tty >= 0)
            close(tty);
        return;
    }
    if (m_error >= 0)
        WriteAll(m_error, message);
}

void Console::Release()
{
    for (int* fd : {&m_input, &m_error}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}

} // namespace unfolio
