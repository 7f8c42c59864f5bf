#pragma once

#include "platform/DispatchProtocol.h"

#include <QObject>

#include <atomic>
#include <thread>

// The host's end of the pipe. A reader thread takes the client's messages off
// the input and hands them to the main thread; when the input closes (the
// client ended or let go), inputClosed is signalled, and should the host
// still be busy inside the office after a grace period, the reader ends the
// process itself, so no host outlives its client.
class HostChannel : public QObject
{
    Q_OBJECT

public:
    HostChannel(int inputFd, int outputFd, QObject* parent = nullptr);
    ~HostChannel() override;

    void Start();
    // Writes one message; false when the client is gone.
    bool Send(const dispatchprotocol::Message& message, const dispatchprotocol::ObjectToNumber& toNumber);

signals:
    void messageReceived(const dispatchprotocol::Message& message);
    void inputClosed();

private:
    void ReadLoop();

    int m_inputFd;
    int m_outputFd;
    std::thread m_reader;
    std::atomic<bool> m_stopping{false};
};
