#include "platform/ColdHostProcess.h"

#include "platform/ProcessKillSwitch.h"

#include <QProcess>

ColdHostProcess::~ColdHostProcess()
{
    if (m_killSwitch)
        m_killSwitch->Disarm();
}

std::unique_ptr<ColdHostProcess> ColdHostProcess::Start(const QString& program, const QString& progId,
                                                        int timeLimit, QString* why)
{
    std::unique_ptr<ColdHostProcess> host(new ColdHostProcess);
    host->m_process = std::make_unique<QProcess>();
    host->m_process->setProgram(program);
    host->m_process->setArguments({progId});
    // The host's own messages are of no use to the user; keep them only
    // when asked for, while looking into a problem.
    if (qEnvironmentVariableIsSet("FOLIANT_OFFICEHOST_VERBOSE"))
        host->m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        host->m_process->setStandardErrorFile(QProcess::nullDevice());
    host->m_process->start(QIODevice::ReadWrite);
    if (!host->m_process->waitForStarted(timeLimit)) {
        if (why)
            *why = QStringLiteral("The office host could not be started: %1")
                       .arg(host->m_process->errorString());
        return nullptr;
    }
    host->m_killSwitch = std::make_shared<ProcessKillSwitch>(host->m_process->processId());
    return host;
}

qint64 ColdHostProcess::ProcessId() const
{
    return m_process->processId();
}

bool ColdHostProcess::IsRunning()
{
    return m_process->state() != QProcess::NotRunning;
}

void ColdHostProcess::Write(const QByteArray& bytes)
{
    m_process->write(bytes);
    m_process->waitForBytesWritten(1000);
}

QByteArray ColdHostProcess::Read(int milliseconds)
{
    if (m_process->bytesAvailable() == 0)
        m_process->waitForReadyRead(milliseconds);
    return m_process->readAllStandardOutput();
}

void ColdHostProcess::CloseInput()
{
    m_process->closeWriteChannel();
}

bool ColdHostProcess::WaitForEnd(int milliseconds)
{
    return !IsRunning() || m_process->waitForFinished(milliseconds);
}
