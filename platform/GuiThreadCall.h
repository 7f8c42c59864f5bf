#pragma once

#include <functional>

class QObject;

// Runs fn on the thread context lives in and waits until it has run: at once
// when the caller is on that thread, otherwise as a queued call that the
// thread's event loop carries out while the caller blocks (the worker's
// SendMessage to a window). Returns false when fn never ran because context
// was destroyed first; the caller is released then too.
bool RunInThreadOf(QObject* context, const std::function<void()>& fn);
