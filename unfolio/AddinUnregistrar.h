#pragma once

#include <filesystem>

namespace unfolio {

// Unregisters an add-in library through its self-unregistration entry point.
// The library is looked for in the tool's own folder first, then by the
// system's library search.
class AddinUnregistrar
{
public:
    explicit AddinUnregistrar(std::filesystem::path ownFolder);

    // Loads the library, calls "DllUnregisterServer" when it has one (its
    // result is not looked at) and unloads it again. A library that cannot
    // be loaded is passed over.
    void Unregister(const char* libraryName) const;

    // The folder of the running program.
    static std::filesystem::path ProgramFolder();

private:
    void* Load(const char* libraryName) const;

    std::filesystem::path m_ownFolder;
};

} // namespace unfolio
