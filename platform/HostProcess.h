#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

class ProcessKillSwitch;

// An office host's process and the pipe to it, whether it was started on its
// own or forked from the warm office. Used from one thread; only the kill
// switch may be used from any.
class HostProcess
{
public:
    virtual ~HostProcess() = default;

    virtual qint64 ProcessId() const = 0;
    virtual bool IsRunning() = 0;
    // Hands bytes to the host's input.
    virtual void Write(const QByteArray& bytes) = 0;
    // What the host wrote, waiting at most the given time while nothing is there.
    virtual QByteArray Read(int milliseconds) = 0;
    // Tells the host to end: its input closes.
    virtual void CloseInput() = 0;
    // False when the host is still running after the given time.
    virtual bool WaitForEnd(int milliseconds) = 0;
    virtual std::shared_ptr<ProcessKillSwitch> KillSwitch() const = 0;
};
