#include "cli/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t g_received = 0;

extern "C" void OnStopSignal(int signal)
{
    g_received = signal;
}

struct sigaction g_previousInt;
struct sigaction g_previousTerm;

} // namespace

StopSignals::StopSignals()
{
    g_received = 0; // each run starts unstopped
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &g_previousInt);
    ::sigaction(SIGTERM, &action, &g_previousTerm);
}

StopSignals::~StopSignals()
{
    ::sigaction(SIGINT, &g_previousInt, nullptr);
    ::sigaction(SIGTERM, &g_previousTerm, nullptr);
}

int StopSignals::Received()
{
    return g_received;
}
