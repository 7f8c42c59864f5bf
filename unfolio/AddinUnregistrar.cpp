#include "AddinUnregistrar.h"

#include "UnfolioNames.h"

#include <dlfcn.h>

namespace unfolio {

AddinUnregistrar::AddinUnregistrar(std::filesystem::path ownFolder) : m_ownFolder(std::move(ownFolder)) {}

void AddinUnregistrar::Unregister(const char* libraryName) const
{
    void* library = Load(libraryName);
    if (library == nullptr)
        return;
    using EntryPoint = int (*)();
    if (void* symbol = dlsym(library, kUnregisterEntry))
        reinterpret_cast<EntryPoint>(symbol)();
    dlclose(library);
}

std::filesystem::path AddinUnregistrar::ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

void* AddinUnregistrar::Load(const char* libraryName) const
{
    if (!m_ownFolder.empty()) {
        const std::filesystem::path own = m_ownFolder / libraryName;
        if (void* library = dlopen(own.c_str(), RTLD_NOW | RTLD_LOCAL))
            return library;
    }
    // A bare name (no slash) makes dlopen use the system's search.
    return dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
}

} // namespace unfolio
