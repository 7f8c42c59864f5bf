#include "AddinRecord.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

AddinRecord::AddinRecord(std::string application) : m_application(std::move(application)) {}

std::filesystem::path AddinRecord::DataFolder()
{
    // Relative values are invalid by the XDG rules and are ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return data;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/')
        return {};
    return std::filesystem::path(home) / ".local" / "share";
}

std::filesystem::path AddinRecord::Path() const
{
    const std::filesystem::path data = DataFolder();
    if (data.empty())
        return {};
    return data / "Foliant" / "addins" / (m_application + ".addin");
}

bool AddinRecord::Write(const std::filesystem::path& library) const
{
    const std::filesystem::path path = Path();
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error)
        return false;
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << "[Foliant Office Add-in]\n"
             << "Application=" << m_application << "\n"
             << "Library=" << library.string() << "\n";
        file.close();
        if (!file) {
            std::filesystem::remove(partial, error);
            return false;
        }
    }
    // Renaming replaces whatever stood under the name (a link is not followed).
    std::filesystem::rename(partial, path, error);
    if (error)
        std::filesystem::remove(partial, error);
    return !error;
}

bool AddinRecord::Remove() const
{
    const std::filesystem::path path = Path();
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error)
        return false;
    // Leave no empty folders behind; a folder that still holds something stays.
    std::error_code ignored;
    std::filesystem::remove(path.parent_path(), ignored);
    std::filesystem::remove(path.parent_path().parent_path(), ignored);
    return true;
}
