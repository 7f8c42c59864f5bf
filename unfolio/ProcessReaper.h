#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace unfolio {

// Ends the running Word and Excel processes: a snapshot of the process table
// under /proc, each process's name compared with the four names, and SIGKILL
// for every match.
class ProcessReaper
{
public:
    explicit ProcessReaper(std::filesystem::path procRoot = "/proc");

    // Reads the process table. False when it cannot be read or lists no
    // process at all.
    bool Snapshot();

    // The processes of the snapshot whose name is one of the four, in table order.
    std::vector<pid_t> Matches() const;

    // Ends every match. A process that is gone, has changed its name since
    // the snapshot, or may not be ended is passed over.
    void EndMatches() const;

    // Exact and case-sensitive over the whole name.
    static bool IsOfficeName(std::string_view name);

private:
    std::optional<std::string> NameOf(pid_t pid) const;
    void End(pid_t pid) const;

    struct Entry
    {
        pid_t pid;
        std::string name;
    };
    std::filesystem::path m_procRoot;
    std::vector<Entry> m_entries;
};

} // namespace unfolio
