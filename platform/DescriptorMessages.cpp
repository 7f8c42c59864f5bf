#include "platform/DescriptorMessages.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace descriptormessages {
namespace {
constexpr int kLargestMessage = 4096;
} // namespace

bool WaitReadable(int fd, int milliseconds)
{
    pollfd watched{fd, POLLIN, 0};
    int n;
    do {
        n = ::poll(&watched, 1, milliseconds);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

bool Send(int socket, const QByteArray& bytes, int fd)
{
    iovec part{const_cast<char*>(bytes.constData()), static_cast<size_t>(bytes.size())};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (fd >= 0) {
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        cmsghdr* item = CMSG_FIRSTHDR(&header);
        item->cmsg_level = SOL_SOCKET;
        item->cmsg_type = SCM_RIGHTS;
        item->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(item), &fd, sizeof fd);
    }
    for (;;) {
        const ssize_t n = ::sendmsg(socket, &header, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        return n == bytes.size();
    }
}

bool SendAll(int descriptor, const char* bytes, qsizetype size)
{
    bool socket = true;
    qsizetype written = 0;
    while (written < size) {
        const auto left = static_cast<size_t>(size - written);
        const ssize_t n = socket ? ::send(descriptor, bytes + written, left, MSG_NOSIGNAL)
                                 : ::write(descriptor, bytes + written, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == ENOTSOCK && std::exchange(socket, false))
            continue; // a pipe
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

std::optional<QByteArray> Receive(int socket, int* fd)
{
    *fd = -1;
    QByteArray bytes(kLargestMessage, Qt::Uninitialized);
    iovec part{bytes.data(), static_cast<size_t>(bytes.size())};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    ssize_t n;
    do {
        n = ::recvmsg(socket, &header, MSG_CMSG_CLOEXEC);
    } while (n < 0 && errno == EINTR);
    for (cmsghdr* item = CMSG_FIRSTHDR(&header); n >= 0 && item; item = CMSG_NXTHDR(&header, item)) {
        if (item->cmsg_level == SOL_SOCKET && item->cmsg_type == SCM_RIGHTS &&
            item->cmsg_len == CMSG_LEN(sizeof(int)) && *fd < 0)
            std::memcpy(fd, CMSG_DATA(item), sizeof *fd);
    }
    if (n <= 0 || (header.msg_flags & (MSG_TRUNC | MSG_CTRUNC))) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
        return std::nullopt;
    }
    bytes.truncate(n);
    return bytes;
}

} // namespace descriptormessages
