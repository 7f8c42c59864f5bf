#include "platform/ThreadChecker.h"

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#include <sanitizer/tsan_interface.h>

#include <mutex>
#endif

namespace threadchecker {

#if defined(__SANITIZE_THREAD__)

void HandOver(void* token)
{
    __tsan_release(token);
}

void TakeOver(void* token)
{
    __tsan_acquire(token);
}

void EndOwnThread()
{
    // The checker ends its thread when told the process is about to be
    // sandboxed; told twice, it would wait for a thread it no longer has.
    static std::once_flag once;
    std::call_once(once, [] { __sanitizer_sandbox_on_notify(nullptr); });
}

#else

void HandOver(void*) {}
void TakeOver(void*) {}
void EndOwnThread() {}

#endif

} // namespace threadchecker
