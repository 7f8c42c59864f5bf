#include "platform/DispatchProtocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace dispatchprotocol {
namespace {

constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

void WriteVariant(QDataStream& out, const Variant& v, const ObjectToNumber& toNumber)
{
    out << quint16(v.vt());
    switch (v.vt()) {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_ERROR:
        out << qint32(v.integer());
        break;
    case VT_BSTR:
        out << v.bstrVal();
        break;
    case VT_DISPATCH:
        out << quint32(v.pdispVal() && toNumber ? toNumber(v.pdispVal()) : 0);
        break;
    default:
        break;
    }
}

bool ReadVariant(QDataStream& in, Variant& v, const NumberToObject& toObject)
{
    quint16 vt = 0;
    in >> vt;
    qint32 integer = 0;
    switch (vt) {
    case VT_EMPTY:
        v = Variant();
        break;
    case VT_I2:
        in >> integer;
        v = Variant::I2(static_cast<std::int16_t>(integer));
        break;
    case VT_I4:
        in >> integer;
        v = Variant::I4(integer);
        break;
    case VT_BOOL:
        in >> integer;
        v = Variant::Bool(integer != 0);
        break;
    case VT_ERROR:
        in >> integer;
        v = Variant::Error(integer);
        break;
    case VT_BSTR: {
        QString text;
        in >> text;
        v = Variant::Bstr(text);
        break;
    }
    case VT_DISPATCH: {
        quint32 number = 0;
        in >> number;
        v = Variant::Dispatch(number && toObject ? toObject(number) : nullptr);
        break;
    }
    default:
        return false;
    }
    return in.status() == QDataStream::Ok;
}

} // namespace

QByteArray EncodeFrame(const Message& message, const ObjectToNumber& toNumber)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << quint8(message.type);
    switch (message.type) {
    case MessageType::Hello:
        out << qint32(message.status) << qint64(message.processId) << message.description
            << quint32(message.windows.size());
        for (const WindowReport& w : message.windows)
            out << w.className << w.title;
        break;
    case MessageType::Invoke:
    case MessageType::Release:
        out << quint32(message.object) << qint32(message.dispid) << quint16(message.kind)
            << quint32(message.arguments.size());
        for (const Variant& v : message.arguments)
            WriteVariant(out, v, toNumber);
        break;
    case MessageType::Reply:
        out << qint32(message.status) << message.description;
        WriteVariant(out, message.result, toNumber);
        break;
    case MessageType::PrinterSettings:
        out << message.pdfLevel;
        break;
    case MessageType::TaggedExport: {
        const TaggedExportJob& job = message.taggedExport;
        out << job.tagged << job.pdfVersion << job.imageQuality << job.losslessImages;
        break;
    }
    }
    QByteArray frame(4, Qt::Uninitialized);
    qToBigEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

std::optional<Message> DecodePayload(const QByteArray& payload, const NumberToObject& toObject)
{
    QDataStream in(payload);
    in.setVersion(kStreamVersion);
    Message m;
    quint8 type = 0;
    in >> type;
    m.type = MessageType(type);
    switch (m.type) {
    case MessageType::Hello: {
        quint32 count = 0;
        in >> m.status >> m.processId >> m.description >> count;
        if (count > 64)
            return std::nullopt;
        for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            WindowReport w;
            in >> w.className >> w.title;
            m.windows.append(w);
        }
        break;
    }
    case MessageType::Invoke:
    case MessageType::Release: {
        quint32 count = 0;
        in >> m.object >> m.dispid >> m.kind >> count;
        if (count > 64)
            return std::nullopt;
        for (quint32 i = 0; i < count; ++i) {
            Variant v;
            if (!ReadVariant(in, v, toObject))
                return std::nullopt;
            m.arguments.append(v);
        }
        break;
    }
    case MessageType::Reply:
        in >> m.status >> m.description;
        if (!ReadVariant(in, m.result, toObject))
            return std::nullopt;
        break;
    case MessageType::PrinterSettings:
        in >> m.pdfLevel;
        break;
    case MessageType::TaggedExport: {
        TaggedExportJob& job = m.taggedExport;
        in >> job.tagged >> job.pdfVersion >> job.imageQuality >> job.losslessImages;
        break;
    }
    default:
        return std::nullopt;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return m;
}

std::optional<QByteArray> FrameReader::Next()
{
    if (m_broken || m_buffer.size() < 4)
        return std::nullopt;
    const quint32 size = qFromBigEndian<quint32>(m_buffer.constData());
    if (size > kMaxFrameSize) {
        m_broken = true;
        return std::nullopt;
    }
    if (quint32(m_buffer.size()) < 4 + size)
        return std::nullopt;
    QByteArray payload = m_buffer.mid(4, size);
    m_buffer.remove(0, 4 + size);
    return payload;
}

} // namespace dispatchprotocol
