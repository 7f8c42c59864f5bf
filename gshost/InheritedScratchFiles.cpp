#include "gshost/InheritedScratchFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace InheritedScratchFiles {
namespace {

// An unnamed file in folder; -1 when none can be made.
int PrivateFile(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EOPNOTSUPP)
        return fd;
    std::string name = folder + "/gsjob-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(name.c_str());
    return fd;
}

bool CopyInPlace(int fd, const std::string& ownFolder)
{
    const int copy = PrivateFile(ownFolder);
    if (copy < 0)
        return false;
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    char buffer[65536];
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (n > 0 && ::write(copy, buffer, static_cast<size_t>(n)) != n)) {
            ::close(copy);
            return false;
        }
        if (n == 0)
            break;
        at += n;
    }
    const int flags = ::fcntl(fd, F_GETFD);
    const bool placed = offset >= 0 && ::lseek(copy, offset, SEEK_SET) == offset &&
                        ::dup3(copy, fd, (flags & FD_CLOEXEC) ? O_CLOEXEC : 0) == fd;
    ::close(copy);
    return placed;
}

} // namespace

bool MakeOwn(const std::string& inherited, const std::string& ownFolder, std::string* why)
{
    DIR* listing = ::opendir("/proc/self/fd");
    if (!listing) {
        *why = std::string("/proc/self/fd cannot be read: ") + std::strerror(errno);
        return false;
    }
    std::vector<int> shared;
    const std::string prefix = inherited + "/";
    while (const dirent* entry = ::readdir(listing)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] == '.' || fd == ::dirfd(listing))
            continue;
        char target[4096];
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)).compare(0, prefix.size(), prefix) == 0)
            shared.push_back(fd);
    }
    ::closedir(listing);
    for (int fd : shared) {
        if (!CopyInPlace(fd, ownFolder)) {
            *why = "a scratch file could not be copied into " + ownFolder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace InheritedScratchFiles
