#include "ProcessReaper.h"

#include "UnfolioNames.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/syscall.h>
#include <unistd.h>

namespace unfolio {

namespace {

std::optional<pid_t> PidFromName(const std::string& name)
{
    pid_t pid = 0;
    const char* end = name.data() + name.size();
    const auto [last, error] = std::from_chars(name.data(), end, pid);
    if (error != std::errc() || last != end || pid <= 0)
        return std::nullopt;
    return pid;
}

// Called through syscall(): Debian 12's C library declares the wrappers
// without C linkage for C++.
int OpenPidfd(pid_t pid)
{
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

void SendKill(int pidfd)
{
    syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0);
}

} // namespace

ProcessReaper::ProcessReaper(std::filesystem::path procRoot) : m_procRoot(std::move(procRoot)) {}

bool ProcessReaper::Snapshot()
{
    m_entries.clear();
    std::error_code error;
    std::filesystem::directory_iterator it(m_procRoot, error);
    if (error)
        return false;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        const std::optional<pid_t> pid = PidFromName(it->path().filename().string());
        if (!pid)
            continue;
        // A process that ended since the folder was listed has no name to read.
        if (std::optional<std::string> name = NameOf(*pid))
            m_entries.push_back({*pid, std::move(*name)});
    }
    return !m_entries.empty();
}

std::vector<pid_t> ProcessReaper::Matches() const
{
    std::vector<pid_t> pids;
    for (const Entry& entry : m_entries) {
        if (IsOfficeName(entry.name))
            pids.push_back(entry.pid);
    }
    return pids;
}

void ProcessReaper::EndMatches() const
{
    for (pid_t pid : Matches())
        End(pid);
}

bool ProcessReaper::IsOfficeName(std::string_view name)
{
    return std::any_of(kOfficeProcessNames.begin(), kOfficeProcessNames.end(),
                       [name](std::string_view office) { return name == office; });
}

std::optional<std::string> ProcessReaper::NameOf(pid_t pid) const
{
    std::ifstream file(m_procRoot / std::to_string(pid) / "comm", std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string name((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return std::nullopt;
    // The kernel ends the name with one newline of its own.
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

void ProcessReaper::End(pid_t pid) const
{
    // The process is held by a pidfd before its name is checked once more, so
    // a number that was reused since the snapshot never ends a stranger.
    const auto stillOffice = [this, pid] {
        const std::optional<std::string> name = NameOf(pid);
        return name && IsOfficeName(*name);
    };
    const int handle = OpenPidfd(pid);
    if (handle < 0) {
        // Kernels before 5.3 have no pidfd; the check just before is the best there is.
        if (errno == ENOSYS && stillOffice())
            kill(pid, SIGKILL);
        return;
    }
    if (stillOffice())
        SendKill(handle);
    close(handle);
}

} // namespace unfolio
