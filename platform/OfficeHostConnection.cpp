#include "platform/OfficeHostConnection.h"

#include "platform/ColdHostProcess.h"
#include "platform/ForkedHostProcess.h"
#include "platform/HelperProcess.h"
#include "platform/OleException.h"
#include "platform/ProcessKillSwitch.h"
#include "platform/WarmOfficeConnection.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <atomic>

using namespace dispatchprotocol;

namespace {

std::atomic<int> g_callTimeLimit{15 * 60 * 1000}; // beyond the host's own limits
std::atomic<int> g_startTimeLimit{2 * 60 * 1000};
constexpr int kEndTimeLimit = 15 * 1000;

// A remote automation object: the host's number for it on a connection.
class RemoteDispatch : public IDispatch
{
public:
    RemoteDispatch(std::shared_ptr<OfficeHostConnection> connection, quint32 number)
        : m_connection(std::move(connection)), m_number(number)
    {
    }
    ~RemoteDispatch() override { m_connection->Release(m_number); }
    Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override
    {
        return m_connection->Call(m_number, dispid, kind, arguments);
    }
    std::function<void()> ServerEnder() const override { return m_connection->Ender(); }
    const OfficeHostConnection* Connection() const { return m_connection.get(); }
    quint32 Number() const { return m_number; }
    void SetPrinterPdfLevel(const QString& pdfLevel) { m_connection->SetPrinterPdfLevel(pdfLevel); }
    void SetPrinterTaggedExport(const TaggedExportJob& job) { m_connection->SetPrinterTaggedExport(job); }

private:
    std::shared_ptr<OfficeHostConnection> m_connection;
    quint32 m_number;
};

} // namespace

qint64 ServerProcessId(const LPDISPATCH& object)
{
    auto* remote = dynamic_cast<RemoteDispatch*>(object.get());
    return remote ? remote->Connection()->ProcessId() : 0;
}

void SetPrinterPdfLevel(const LPDISPATCH& object, const QString& pdfLevel)
{
    if (auto* remote = dynamic_cast<RemoteDispatch*>(object.get()))
        remote->SetPrinterPdfLevel(pdfLevel);
}

void SetPrinterTaggedExport(const LPDISPATCH& object, const TaggedExportJob& job)
{
    if (auto* remote = dynamic_cast<RemoteDispatch*>(object.get()))
        remote->SetPrinterTaggedExport(job);
}

OfficeHostConnection::OfficeHostConnection() = default;

OfficeHostConnection::~OfficeHostConnection()
{
    Shutdown();
}

void OfficeHostConnection::SetCallTimeLimit(int milliseconds)
{
    g_callTimeLimit = milliseconds;
}

int OfficeHostConnection::CallTimeLimit()
{
    return g_callTimeLimit;
}

void OfficeHostConnection::SetStartTimeLimit(int milliseconds)
{
    g_startTimeLimit = milliseconds;
}

QString OfficeHostConnection::DefaultProgram()
{
    return helperprocess::ProgramBeside(QStringLiteral("officehost"));
}

std::shared_ptr<OfficeHostConnection> OfficeHostConnection::Start(const QString& program,
                                                                  const QString& progId, QString* why)
{
    if (!QFileInfo(program).isExecutable()) {
        if (why)
            *why = QStringLiteral("The office host program %1 is missing.").arg(program);
        return nullptr;
    }
    if (program == DefaultProgram()) {
        if (std::optional<WarmOfficeConnection::Host> forked =
                WarmOfficeConnection::Instance().Fork(program, progId)) {
            auto host =
                std::make_unique<ForkedHostProcess>(forked->channel, forked->pidfd, forked->processId);
            if (std::shared_ptr<OfficeHostConnection> c = Greeted(std::move(host), why))
                return c;
            // A forked host that cannot serve: one started on its own may.
        }
    }
    std::unique_ptr<ColdHostProcess> host = ColdHostProcess::Start(program, progId, g_startTimeLimit, why);
    return host ? Greeted(std::move(host), why) : nullptr;
}

std::shared_ptr<OfficeHostConnection> OfficeHostConnection::Greeted(std::unique_ptr<HostProcess> host,
                                                                    QString* why)
{
    std::shared_ptr<OfficeHostConnection> c(new OfficeHostConnection);
    c->m_host = std::move(host);
    c->m_processId = c->m_host->ProcessId();
    c->m_killSwitch = c->m_host->KillSwitch();
    const std::optional<Message> hello = c->ReadMessage(g_startTimeLimit, why);
    if (!hello || hello->type != MessageType::Hello || FAILED(hello->status)) {
        if (why && hello)
            *why = hello->description;
        c->Kill();
        c->Shutdown();
        return nullptr;
    }
    for (const WindowReport& w : hello->windows)
        c->m_windows.append(
            WindowRegistry::Instance().Register(w.className, w.title, c->m_processId, c->Ender()));
    return c;
}

LPDISPATCH OfficeHostConnection::Application()
{
    return std::make_shared<RemoteDispatch>(shared_from_this(), kApplicationObject);
}

bool OfficeHostConnection::IsRunning() const
{
    return m_host && m_host->IsRunning();
}

void OfficeHostConnection::Kill()
{
    if (m_killSwitch)
        m_killSwitch->Kill();
}

std::function<void()> OfficeHostConnection::Ender() const
{
    std::shared_ptr<ProcessKillSwitch> killSwitch = m_killSwitch;
    return [killSwitch]() {
        if (killSwitch)
            killSwitch->Kill();
    };
}

std::optional<Message> OfficeHostConnection::ReadMessage(int timeLimit, QString* why, bool* timedOut)
{
    QDeadlineTimer deadline(timeLimit);
    for (;;) {
        if (std::optional<QByteArray> payload = m_reader.Next()) {
            std::weak_ptr<OfficeHostConnection> self = weak_from_this();
            auto toObject = [self](quint32 number) -> LPDISPATCH {
                std::shared_ptr<OfficeHostConnection> c = self.lock();
                return c ? std::make_shared<RemoteDispatch>(c, number) : nullptr;
            };
            std::optional<Message> m = DecodePayload(*payload, toObject);
            if (!m && why)
                *why = QStringLiteral("The office host sent a message that could not be read.");
            return m;
        }
        if (m_reader.Broken()) {
            if (why)
                *why = QStringLiteral("The office host sent a message that could not be read.");
            return std::nullopt;
        }
        if (!IsRunning()) {
            if (why)
                *why = QStringLiteral("The office host ended.");
            return std::nullopt;
        }
        if (deadline.hasExpired()) {
            if (why)
                *why = QStringLiteral("The office host did not answer in time and was ended.");
            if (timedOut)
                *timedOut = true;
            Kill();
            return std::nullopt;
        }
        m_reader.Feed(m_host->Read(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 1000))));
    }
}

Variant OfficeHostConnection::Call(quint32 object, DISPID dispid, WORD kind, const VariantList& arguments)
{
    if (!IsRunning())
        throw COleException(RPC_E_DISCONNECTED, QStringLiteral("The office host is not running."));
    Message request;
    request.type = MessageType::Invoke;
    request.object = object;
    request.dispid = dispid;
    request.kind = kind;
    request.arguments = arguments;
    auto toNumber = [this](const LPDISPATCH& d) -> quint32 {
        auto* remote = dynamic_cast<RemoteDispatch*>(d.get());
        return remote && remote->Connection() == this ? remote->Number() : 0;
    };
    m_host->Write(EncodeFrame(request, toNumber));
    QString why;
    bool timedOut = false;
    const std::optional<Message> reply = ReadMessage(g_callTimeLimit, &why, &timedOut);
    if (!reply || reply->type != MessageType::Reply) {
        // A host ended for its silence may already be gone: it still timed out.
        const bool ended = !timedOut && !IsRunning();
        Kill(); // a host that answers wrongly cannot be trusted with the next call
        throw COleException(ended ? RPC_E_DISCONNECTED : RPC_E_TIMEOUT, why);
    }
    if (FAILED(reply->status))
        throw COleDispatchException(reply->status, reply->description);
    return reply->result;
}

void OfficeHostConnection::Release(quint32 object)
{
    if (!IsRunning())
        return;
    Message m;
    m.type = MessageType::Release;
    m.object = object;
    m_host->Write(EncodeFrame(m, {}));
}

void OfficeHostConnection::SetPrinterPdfLevel(const QString& pdfLevel)
{
    if (!IsRunning())
        return; // the next call reports the host's end
    Message m;
    m.type = MessageType::PrinterSettings;
    m.pdfLevel = pdfLevel;
    m_host->Write(EncodeFrame(m, {}));
}

void OfficeHostConnection::SetPrinterTaggedExport(const TaggedExportJob& job)
{
    if (!IsRunning())
        return;
    Message m;
    m.type = MessageType::TaggedExport;
    m.taggedExport = job;
    m_host->Write(EncodeFrame(m, {}));
}

void OfficeHostConnection::Shutdown()
{
    for (HWND w : m_windows)
        WindowRegistry::Instance().Unregister(w);
    m_windows.clear();
    if (!m_host)
        return;
    if (IsRunning()) {
        m_host->CloseInput(); // the host ends when its input closes
        if (!m_host->WaitForEnd(kEndTimeLimit)) {
            Kill();
            m_host->WaitForEnd(kEndTimeLimit);
        }
    }
    if (m_killSwitch)
        m_killSwitch->Disarm();
    m_host.reset();
}
