#include "officehost/HostChannel.h"
#include "platform/DescriptorMessages.h"

#include <QMetaObject>

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

using namespace dispatchprotocol;

namespace {
// How long the host may go on tidying up after its client went away.
constexpr int kGracePeriod = 20 * 1000;
} // namespace

HostChannel::HostChannel(int inputFd, int outputFd, QObject* parent)
    : QObject(parent), m_inputFd(inputFd), m_outputFd(outputFd)
{
}

HostChannel::~HostChannel()
{
    m_stopping = true;
    if (m_reader.joinable())
        m_reader.detach(); // blocked in read(); the process is ending anyway
}

void HostChannel::Start()
{
    m_reader = std::thread([this]() { ReadLoop(); });
}

void HostChannel::ReadLoop()
{
    FrameReader reader;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(m_inputFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        reader.Feed(QByteArray(buffer, n));
        while (std::optional<QByteArray> payload = reader.Next()) {
            // Objects never come from the client; a dispatch argument is null.
            std::optional<Message> m = DecodePayload(*payload, {});
            if (!m)
                continue; // not a message: ignored, the client gets no answer and ends us
            QMetaObject::invokeMethod(
                this, [this, message = *m]() { emit messageReceived(message); }, Qt::QueuedConnection);
        }
        if (reader.Broken())
            break;
    }
    if (m_stopping)
        return;
    QMetaObject::invokeMethod(
        this, [this]() { emit inputClosed(); }, Qt::QueuedConnection);
    std::this_thread::sleep_for(std::chrono::milliseconds(kGracePeriod));
    if (!m_stopping)
        ::_exit(3); // still busy long after the client went away
}

bool HostChannel::Send(const Message& message, const ObjectToNumber& toNumber)
{
    const QByteArray frame = EncodeFrame(message, toNumber);
    return descriptormessages::SendAll(m_outputFd, frame.constData(), frame.size());
}
