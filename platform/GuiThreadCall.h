#pragma once

#include <functional>

class QObject;

// Runs fn on the thread context lives in and waits until it has run: at once
// when the caller is on that thread, otherwise as a queued call that the
// thread's event loop carries out while the caller blocks (the worker's
// SendMessage to a window). Returns false when fn never ran because context
// was destroyed first; the caller is released then too. The context's thread
// must never wait for the caller, or both wait forever.
bool RunInThreadOf(QObject* context, const std::function<void()>& fn);

// Posts fn to the thread context lives in and returns at once (the
// worker's PostMessage); fn never runs when context is destroyed first.
void PostToThreadOf(QObject* context, std::function<void()> fn);
