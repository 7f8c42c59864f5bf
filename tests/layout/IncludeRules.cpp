#include "IncludeRules.h"

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace includerules {
namespace {

namespace fs = std::filesystem;

// The folders each folder may include, besides its own.
const std::map<std::string, std::set<std::string>>& Allowed()
{
    static const std::map<std::string, std::set<std::string>> allowed = {
        {"app", {"convert", "converters", "options", "controls", "pdf", "platform"}},
        {"convert", {"converters", "options", "controls", "pdf", "platform"}},
        {"converters", {"controls", "pdf", "platform"}},
        {"options", {"controls", "pdf", "platform"}},
        {"controls", {"platform"}},
        {"pdf", {"platform"}},
        {"platform", {}},
        {"officehost", {"platform"}},
        {"cli", {"converters", "pdf", "platform"}},
        {"unfolio", {}},
    };
    return allowed;
}

bool IsSharedDataHeader(const std::string& header)
{
    return header == "app/Resource.h" || header == "app/DialogTemplates.h";
}

std::string TopFolder(const std::string& path)
{
    const auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

std::vector<Violation> Check(const std::string& file, const std::string& text)
{
    std::vector<Violation> found;
    const std::string folder = TopFolder(file);
    const auto rule = Allowed().find(folder);
    if (rule == Allowed().end())
        return found; // tests, benchmarks and tools may include anything
    static const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, includeLine))
            continue;
        const std::string named = m[1];
        std::string header;
        // A name with a folder is taken from the source tree's top, as the
        // build's include path does; a bare name is a neighbour of the file.
        if (named.find('/') != std::string::npos && named.rfind("../", 0) != 0 && named.rfind("./", 0) != 0)
            header = fs::path(named).lexically_normal().generic_string();
        else
            header = (fs::path(file).parent_path() / named).lexically_normal().generic_string();
        const std::string target = TopFolder(header);
        if (target == folder || IsSharedDataHeader(header) || rule->second.count(target))
            continue;
        if (!Allowed().count(target) && target != "tests")
            continue; // a system or generated header (ui_*.h, moc files)
        found.push_back({file, header});
    }
    return found;
}

std::vector<Violation> CheckTree(const fs::path& sourceDir, int* filesRead)
{
    std::vector<Violation> found;
    int count = 0;
    for (const auto& [folder, unused] : Allowed()) {
        const fs::path root = sourceDir / folder;
        if (!fs::is_directory(root))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            const std::string relative = fs::relative(entry.path(), sourceDir).generic_string();
            for (Violation& v : Check(relative, text.str()))
                found.push_back(std::move(v));
            ++count;
        }
    }
    if (filesRead)
        *filesRead = count;
    return found;
}

} // namespace includerules
