#pragma once

#include <functional>

namespace testtools {

// Runs work on a thread of its own while the calling (GUI) thread keeps
// serving its event loop, as the conversion thread runs beside the windows;
// returns when work has returned.
void RunOnWorkerWhilePumping(const std::function<void()>& work);

} // namespace testtools
