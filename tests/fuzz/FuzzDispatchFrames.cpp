// Both ends of the office host's pipe read frames from the other side: the
// reader never crashes, and what it decodes encodes and decodes again alike.
#include "platform/DispatchProtocol.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace dispatchprotocol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FrameReader reader;
    // Fed in two pieces, as a pipe delivers them.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    reader.Feed(bytes.left(bytes.size() / 2));
    reader.Feed(bytes.mid(bytes.size() / 2));
    const NumberToObject noObjects = [](quint32) { return LPDISPATCH(); };
    const ObjectToNumber noNumbers = [](const LPDISPATCH&) { return quint32(0); };
    for (int frames = 0; frames < 64; ++frames) {
        const std::optional<QByteArray> payload = reader.Next();
        if (!payload)
            break;
        const std::optional<Message> message = DecodePayload(*payload, noObjects);
        if (!message)
            continue;
        const QByteArray again = EncodeFrame(*message, noNumbers);
        FrameReader second;
        second.Feed(again);
        const std::optional<QByteArray> secondPayload = second.Next();
        if (!secondPayload || !DecodePayload(*secondPayload, noObjects))
            std::abort();
    }
    return 0;
}
