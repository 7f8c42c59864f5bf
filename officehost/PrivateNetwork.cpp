#include "officehost/PrivateNetwork.h"

#include <fcntl.h>
#include <sched.h>
#include <string>
#include <unistd.h>

namespace PrivateNetwork {
namespace {

bool WriteProcFile(const char* path, const std::string& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

} // namespace

bool Enter()
{
    // With the right to administer the network (root, a service), directly.
    if (::unshare(CLONE_NEWNET) == 0)
        return true;
    // Else inside a user namespace of the process's own, in which it is
    // still itself: its user and group map to themselves, so the files it
    // reads and writes keep their owner.
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    WriteProcFile("/proc/self/setgroups", "deny");
    const bool mapped =
        WriteProcFile("/proc/self/uid_map", std::to_string(uid) + ' ' + std::to_string(uid) + " 1\n") &&
        WriteProcFile("/proc/self/gid_map", std::to_string(gid) + ' ' + std::to_string(gid) + " 1\n");
    return mapped;
}

} // namespace PrivateNetwork
