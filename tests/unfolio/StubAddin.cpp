// A stand-in add-in library for the tests. It notes in the file named by
// UNFOLIO_ADDIN_TRACE when it is loaded and unloaded (with its own path) and,
// when built with STUB_HAS_ENTRY, when its unregistration is called, which
// then fails.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

void Note(const char* what)
{
    const char* trace = std::getenv("UNFOLIO_ADDIN_TRACE");
    if (trace == nullptr)
        return;
    Dl_info info{};
    dladdr(reinterpret_cast<const void*>(&Note), &info);
    if (FILE* file = std::fopen(trace, "a")) {
        std::fprintf(file, "%s %s\n", what, info.dli_fname != nullptr ? info.dli_fname : "?");
        std::fclose(file);
    }
}

__attribute__((constructor)) void Loaded()
{
    Note("load");
}

__attribute__((destructor)) void Unloaded()
{
    Note("unload");
}

} // namespace

#ifdef STUB_HAS_ENTRY
extern "C" __attribute__((visibility("default"))) int DllUnregisterServer()
{
    Note("unregister");
    return static_cast<int>(0x80004005u);
}
#endif
