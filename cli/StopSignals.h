#pragma once

// Ctrl-C (SIGINT) and SIGTERM, caught for as long as this object lives, so a
// run can end its office hosts and Ghostscript and clean up before it exits.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received (its number), or 0.
    static int Received();
};
