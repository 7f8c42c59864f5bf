#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The folder rule of the project: which folder's code may include which
// folder's headers. app/Resource.h and app/DialogTemplates.h are shared data
// headers that every folder may include.
namespace includerules {

struct Violation
{
    std::string file;    // relative to the source tree
    std::string include; // the header as it resolves, relative to the source tree
};

// The includes of one file's text that break the rule. file is the file's
// path relative to the source tree (e.g. "converters/ConvertWord.cpp").
std::vector<Violation> Check(const std::string& file, const std::string& text);

// Every source and header file of the program's folders, checked.
std::vector<Violation> CheckTree(const std::filesystem::path& sourceDir, int* filesRead = nullptr);

} // namespace includerules
