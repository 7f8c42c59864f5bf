#include "officehost/OfficeHost.h"

#include "officehost/HostApplication.h"
#include "officehost/HostChannel.h"
#include "officehost/PrintSpooler.h"
#include "platform/OleException.h"

#include <QCoreApplication>

using namespace dispatchprotocol;

namespace {
constexpr int kQuitPrintLimit = 10 * 60 * 1000;
} // namespace

OfficeHost::OfficeHost(HostChannel& channel, std::shared_ptr<HostApplication> application, QObject* parent)
    : QObject(parent), m_channel(channel), m_application(std::move(application))
{
    connect(&m_channel, &HostChannel::messageReceived, this, &OfficeHost::OnMessage);
    connect(&m_channel, &HostChannel::inputClosed, this, [this]() { Finish(0); });
}

void OfficeHost::Greet()
{
    Message hello;
    hello.type = MessageType::Hello;
    hello.status = S_OK;
    hello.processId = QCoreApplication::applicationPid();
    hello.windows = m_application->Windows();
    const quint32 number = m_objects.AddReference(m_application);
    Q_ASSERT(number == kApplicationObject);
    if (!m_channel.Send(hello, {}))
        Finish(1);
}

void OfficeHost::OnMessage(const Message& message)
{
    if (m_finished)
        return;
    if (message.type == MessageType::Release) {
        m_objects.Release(message.object);
        return;
    }
    if (message.type == MessageType::PrinterSettings) {
        m_application->Spooler().SetPdfLevel(message.pdfLevel);
        return;
    }
    if (message.type == MessageType::TaggedExport) {
        m_application->Spooler().SetTaggedExport(message.taggedExport);
        return;
    }
    if (message.type != MessageType::Invoke)
        return;
    Message reply;
    reply.type = MessageType::Reply;
    if (LPDISPATCH object = m_objects.Find(message.object)) {
        try {
            reply.result = object->Invoke(message.dispid, message.kind, message.arguments);
        } catch (const COleDispatchException& e) {
            reply.status = e.m_scError;
            reply.description = e.m_strDescription;
        } catch (const std::exception& e) {
            reply.status = E_FAIL;
            reply.description = QString::fromLocal8Bit(e.what());
        }
    } else {
        reply.status = RPC_E_DISCONNECTED;
        reply.description = QStringLiteral("The object invoked has disconnected from its clients.");
    }
    const bool sent =
        m_channel.Send(reply, [this](const LPDISPATCH& d) { return m_objects.AddReference(d); });
    if (!sent) {
        Finish(1);
        return;
    }
    if (m_application->QuitRequested()) {
        // The application ends once what it was asked to print is printed.
        m_application->Spooler().WaitForAll(kQuitPrintLimit);
        Finish(0);
    }
}

void OfficeHost::Finish(int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    m_application->Quit();
    emit finished(exitCode);
}
