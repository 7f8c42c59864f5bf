#pragma once

#include "platform/TaggedExportJob.h"
#include "platform/Variant.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The request/response protocol between a dispatch driver and the office
// host, over the host's standard input and output. Every message is one
// frame: a 32-bit big-endian length, then the message serialised with
// QDataStream. An automation object crosses the pipe as the host's number
// for it; object 1 is the application.
namespace dispatchprotocol {

constexpr quint32 kApplicationObject = 1;
constexpr quint32 kMaxFrameSize = 16 * 1024 * 1024;

enum class MessageType : quint8 {
    Hello = 1,   // host -> client, once, when it is ready (or could not start)
    Invoke = 2,  // client -> host
    Release = 3, // client -> host, no answer
    Reply = 4,   // host -> client, the answer to one Invoke
    // client -> host, no answer: the settings of the printer "Foliant" for
    // the jobs that follow, as a printer is set up before it prints.
    PrinterSettings = 5,
    // client -> host, no answer: whether the printer's jobs that follow are
    // tagged PDFs, and how they are written.
    TaggedExport = 6,
};

// A top-level window the host's application shows (class and title).
struct WindowReport
{
    QString className;
    QString title;
};

struct Message
{
    MessageType type = MessageType::Reply;
    // Hello
    HRESULT status = S_OK; // Hello: S_OK when ready; Reply: the call's result code
    qint64 processId = 0;
    QList<WindowReport> windows;
    // Invoke and Release
    quint32 object = 0;
    DISPID dispid = 0;
    WORD kind = 0;
    VariantList arguments;
    // PrinterSettings: the PDF version the jobs are made into ("1.3".."1.7");
    // empty when not known.
    QString pdfLevel;
    // TaggedExport
    TaggedExportJob taggedExport;
    // Reply
    Variant result;
    QString description; // Hello and Reply: what went wrong
};

// How automation objects are numbered on the way out and found on the way in.
using ObjectToNumber = std::function<quint32(const LPDISPATCH&)>;
using NumberToObject = std::function<LPDISPATCH(quint32)>;

QByteArray EncodeFrame(const Message& message, const ObjectToNumber& toNumber);
// Nothing when the payload is not a well-formed message.
std::optional<Message> DecodePayload(const QByteArray& payload, const NumberToObject& toObject);

// Collects bytes as they arrive and hands out whole frames' payloads.
class FrameReader
{
public:
    void Feed(const QByteArray& bytes) { m_buffer.append(bytes); }
    // The next complete payload, if one is there.
    std::optional<QByteArray> Next();
    // A frame announced itself larger than any real message.
    bool Broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    bool m_broken = false;
};

} // namespace dispatchprotocol
