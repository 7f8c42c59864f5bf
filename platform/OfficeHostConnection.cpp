#include "platform/OfficeHostConnection.h"

#include "platform/OleException.h"
#include "platform/ProcessKillSwitch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

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
    QString dir = qEnvironmentVariable("FOLIANT_PROGRAM_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return dir + QStringLiteral("/officehost");
}

std::shared_ptr<OfficeHostConnection> OfficeHostConnection::Start(const QString& program,
                                                                  const QString& progId, QString* why)
{
    if (!QFileInfo(program).isExecutable()) {
        if (why)
            *why = QStringLiteral("The office host program %1 is missing.").arg(program);
        return nullptr;
    }
    std::shared_ptr<OfficeHostConnection> c(new OfficeHostConnection);
    c->m_process = std::make_unique<QProcess>();
    c->m_process->setProgram(program);
    c->m_process->setArguments({progId});
    // The host's own messages are of no use to the user; keep them only
    // when asked for, while looking into a problem.
    if (qEnvironmentVariableIsSet("FOLIANT_OFFICEHOST_VERBOSE"))
        c->m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        c->m_process->setStandardErrorFile(QProcess::nullDevice());
    c->m_process->start(QIODevice::ReadWrite);
    if (!c->m_process->waitForStarted(g_startTimeLimit)) {
        if (why)
            *why =
                QStringLiteral("The office host could not be started: %1").arg(c->m_process->errorString());
        c->m_process.reset();
        return nullptr;
    }
    c->m_processId = c->m_process->processId();
    c->m_killSwitch = std::make_shared<ProcessKillSwitch>(c->m_processId);
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
    return m_process && m_process->state() != QProcess::NotRunning;
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

std::optional<Message> OfficeHostConnection::ReadMessage(int timeLimit, QString* why)
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
            Kill();
            return std::nullopt;
        }
        if (m_process->bytesAvailable() == 0)
            m_process->waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 1000)));
        m_reader.Feed(m_process->readAllStandardOutput());
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
    m_process->write(EncodeFrame(request, toNumber));
    QString why;
    const std::optional<Message> reply = ReadMessage(g_callTimeLimit, &why);
    if (!reply || reply->type != MessageType::Reply) {
        const bool ended = !IsRunning();
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
    m_process->write(EncodeFrame(m, {}));
    m_process->waitForBytesWritten(1000);
}

void OfficeHostConnection::SetPrinterPdfLevel(const QString& pdfLevel)
{
    if (!IsRunning())
        return; // the next call reports the host's end
    Message m;
    m.type = MessageType::PrinterSettings;
    m.pdfLevel = pdfLevel;
    m_process->write(EncodeFrame(m, {}));
    m_process->waitForBytesWritten(1000);
}

void OfficeHostConnection::Shutdown()
{
    for (HWND w : m_windows)
        WindowRegistry::Instance().Unregister(w);
    m_windows.clear();
    if (!m_process)
        return;
    if (IsRunning()) {
        m_process->closeWriteChannel(); // the host ends when its input closes
        if (!m_process->waitForFinished(kEndTimeLimit)) {
            Kill();
            m_process->waitForFinished(kEndTimeLimit);
        }
    }
    if (m_killSwitch)
        m_killSwitch->Disarm();
    m_process.reset();
}
