#include "AddinRecord.h"

#include <dlfcn.h>

// The self-registration entry points of one add-in library. The build makes
// one library per Office application, naming it in FOLIANT_ADDIN_APPLICATION.
// Results follow the COM convention: S_OK, or E_FAIL.

namespace {

constexpr int kOk = 0;
constexpr int kFail = static_cast<int>(0x80004005u);

std::filesystem::path ThisLibrary()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&ThisLibrary), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::filesystem::path(info.dli_fname) : path;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int DllRegisterServer()
{
    try {
        return AddinRecord(FOLIANT_ADDIN_APPLICATION).Write(ThisLibrary()) ? kOk : kFail;
    } catch (...) {
        return kFail;
    }
}

extern "C" __attribute__((visibility("default"))) int DllUnregisterServer()
{
    try {
        return AddinRecord(FOLIANT_ADDIN_APPLICATION).Remove() ? kOk : kFail;
    } catch (...) {
        return kFail;
    }
}
