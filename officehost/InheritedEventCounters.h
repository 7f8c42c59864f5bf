#pragma once

// The event counters (eventfd) a process forked from the warm office
// inherits: they are the warm office's, shared with every other host forked
// from it. A main loop's wakeup written into one by a host can be read by
// another host idle on the same counter, and the host it was meant for
// sleeps through it for good.
class InheritedEventCounters
{
public:
    // Puts a new counter of the same kind (blocking or not, counting or
    // semaphore, closed on exec or not), starting at zero, in place of each
    // inherited one at the same descriptor, so code holding the number
    // holds a counter of this process alone. Call it in the new process
    // while it has one thread. False, with the reason, when one could not
    // be replaced.
    static bool MakeOwn(const char** why);
};
