#pragma once

#include "platform/HostProcess.h"

// A host forked from the warm office: not our child, so it is watched and
// ended through a pidfd the warm office opened, and its pipe is one end of a
// socket pair.
class ForkedHostProcess : public HostProcess
{
public:
    // Takes over both descriptors.
    ForkedHostProcess(int channel, int pidfd, qint64 processId);
    ~ForkedHostProcess() override;

    qint64 ProcessId() const override { return m_processId; }
    bool IsRunning() override;
    void Write(const QByteArray& bytes) override;
    QByteArray Read(int milliseconds) override;
    void CloseInput() override;
    bool WaitForEnd(int milliseconds) override;
    std::shared_ptr<ProcessKillSwitch> KillSwitch() const override { return m_killSwitch; }

private:
    int m_channel;
    int m_pidfd; // our own, for watching; the kill switch holds another
    qint64 m_processId;
    bool m_channelEnded = false;
    std::shared_ptr<ProcessKillSwitch> m_killSwitch;
};
