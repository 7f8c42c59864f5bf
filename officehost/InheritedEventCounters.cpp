#include "officehost/InheritedEventCounters.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

struct Counter
{
    int fd;
    int flags; // EFD_NONBLOCK, EFD_CLOEXEC, EFD_SEMAPHORE
};

// The flags of an eventfd descriptor from /proc/self/fdinfo; false when it
// cannot be read.
bool ReadFlags(int fd, int* flags)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fdinfo/%d", fd);
    FILE* info = std::fopen(path, "re");
    if (!info)
        return false;
    char line[256];
    bool found = false;
    *flags = 0;
    while (std::fgets(line, sizeof line, info)) {
        if (std::strncmp(line, "flags:", 6) == 0) {
            const long open = std::strtol(line + 6, nullptr, 8);
            *flags |= (open & O_NONBLOCK ? EFD_NONBLOCK : 0) | (open & O_CLOEXEC ? EFD_CLOEXEC : 0);
            found = true;
        } else if (std::strncmp(line, "eventfd-semaphore:", 18) == 0 && std::atoi(line + 18) != 0) {
            *flags |= EFD_SEMAPHORE;
        }
    }
    std::fclose(info);
    return found;
}

} // namespace

bool InheritedEventCounters::MakeOwn(const char** why)
{
    // Listed first: the new counters must not be found again.
    std::vector<Counter> counters;
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds) {
        *why = "/proc/self/fd cannot be read";
        return false;
    }
    while (const dirent* entry = ::readdir(fds)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == ::dirfd(fds))
            continue;
        char path[64];
        char target[64] = {};
        std::snprintf(path, sizeof path, "/proc/self/fd/%ld", fd);
        if (::readlink(path, target, sizeof target - 1) > 0 &&
            std::strcmp(target, "anon_inode:[eventfd]") == 0)
            counters.push_back({static_cast<int>(fd), 0});
    }
    ::closedir(fds);

    for (Counter& counter : counters) {
        if (!ReadFlags(counter.fd, &counter.flags)) {
            *why = "an event counter's flags cannot be read";
            return false;
        }
        const int own = ::eventfd(0, counter.flags);
        if (own < 0) {
            *why = "no event counter can be made";
            return false;
        }
        const int placed = ::dup3(own, counter.fd, counter.flags & EFD_CLOEXEC ? O_CLOEXEC : 0);
        ::close(own);
        if (placed < 0) {
            *why = "an event counter cannot be replaced";
            return false;
        }
    }
    return true;
}
