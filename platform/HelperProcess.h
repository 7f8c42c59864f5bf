#pragma once

#include <QByteArrayList>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

// The helper programs of ours that serve a run from the background (the warm
// office, the warm Ghostscript): found beside the program, started with one
// argument and a control socket (SOCK_SEQPACKET) at a fixed descriptor, in a
// process group of their own, so a terminal's Ctrl+C stops the run through
// its client rather than killing them under it.
namespace helperprocess {

struct Started
{
    pid_t processId = 0;
    int pidfd = -1;   // -1 where the system has none
    int control = -1; // our end of the control socket
};

// The program of that name beside this program (FOLIANT_PROGRAM_DIR when set).
QString ProgramBeside(const QString& name);

// environment: entries NAME=value; empty means this process's own.
// keepStandardError: the helper's messages reach our standard error, else
// they are dropped.
std::optional<Started> Start(const QString& program, const QByteArrayList& arguments, int controlDescriptor,
                             const QByteArrayList& environment, bool keepStandardError);

// In a helper that serves forks: forks, runs becomeChild in the new process
// (it must not return), and answers the client on control with "ok PID" and
// a pidfd of the new process, or with "no " and failure when it could not fork.
void ForkForClient(int control, const std::function<void()>& becomeChild, const QByteArray& failure);

// Ends a helper: closes its control socket (it ends when that closes), waits
// at most gracePeriod, then kills it, and reaps it. Clears started.
void End(Started& started, int gracePeriod);

} // namespace helperprocess
