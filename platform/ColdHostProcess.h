#pragma once

#include "platform/HostProcess.h"

#include <QString>

class QProcess;

// A host started as a program of its own, its pipes its standard input and
// output.
class ColdHostProcess : public HostProcess
{
public:
    ~ColdHostProcess() override;

    // Null, with the reason, when the program does not start in time.
    static std::unique_ptr<ColdHostProcess> Start(const QString& program, const QString& progId,
                                                  int timeLimit, QString* why);

    qint64 ProcessId() const override;
    bool IsRunning() override;
    void Write(const QByteArray& bytes) override;
    QByteArray Read(int milliseconds) override;
    void CloseInput() override;
    bool WaitForEnd(int milliseconds) override;
    std::shared_ptr<ProcessKillSwitch> KillSwitch() const override { return m_killSwitch; }

private:
    ColdHostProcess() = default;

    std::unique_ptr<QProcess> m_process;
    std::shared_ptr<ProcessKillSwitch> m_killSwitch;
};
