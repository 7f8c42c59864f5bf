#pragma once

#include "officehost/ObjectTable.h"
#include "platform/DispatchProtocol.h"

#include <QObject>

#include <memory>

class HostApplication;
class HostChannel;

// Serves one application to the client: answers each Invoke with the
// member's result or error, forgets released objects, and finishes after
// Quit (once running print jobs are done) or when the client goes away.
class OfficeHost : public QObject
{
    Q_OBJECT

public:
    OfficeHost(HostChannel& channel, std::shared_ptr<HostApplication> application, QObject* parent = nullptr);

    // The greeting that tells the client the application is ready.
    void Greet();

signals:
    void finished(int exitCode);

private:
    void OnMessage(const dispatchprotocol::Message& message);
    void Finish(int exitCode);

    HostChannel& m_channel;
    std::shared_ptr<HostApplication> m_application;
    ObjectTable m_objects;
    bool m_finished = false;
};
