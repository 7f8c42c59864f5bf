#include "platform/DispatchProtocol.h"
#include "platform/IDispatch.h"

#include <gtest/gtest.h>

using namespace dispatchprotocol;

namespace {

class Nothing : public IDispatch
{
public:
    Variant Invoke(DISPID, WORD, const VariantList&) override { return {}; }
};

std::optional<Message> RoundTrip(const Message& m, const ObjectToNumber& out = {},
                                 const NumberToObject& in = {})
{
    FrameReader reader;
    reader.Feed(EncodeFrame(m, out));
    const std::optional<QByteArray> payload = reader.Next();
    return payload ? DecodePayload(*payload, in) : std::nullopt;
}

TEST(DispatchProtocol, AnInvokeCarriesEveryArgumentTypeInOrder)
{
    Message m;
    m.type = MessageType::Invoke;
    m.object = 7;
    m.dispid = 0x2AA;
    m.kind = DISPATCH_METHOD;
    m.arguments = {Variant::Bstr(QStringLiteral("C:\\Übersicht.xls")),
                   Variant::I4(-1),
                   Variant::I2(1),
                   Variant::Bool(true),
                   Variant::Missing(),
                   Variant()};
    const std::optional<Message> back = RoundTrip(m);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->type, MessageType::Invoke);
    EXPECT_EQ(back->object, 7u);
    EXPECT_EQ(back->dispid, 0x2AA);
    EXPECT_EQ(back->kind, DISPATCH_METHOD);
    EXPECT_EQ(back->arguments, m.arguments);
    EXPECT_TRUE(back->arguments[4].isMissing());
    EXPECT_EQ(back->arguments[3].integer(), -1) << "VARIANT_TRUE";
}

TEST(DispatchProtocol, ObjectsTravelAsTheirNumbers)
{
    const LPDISPATCH sent = std::make_shared<Nothing>();
    const LPDISPATCH received = std::make_shared<Nothing>();
    Message reply;
    reply.type = MessageType::Reply;
    reply.result = Variant::Dispatch(sent);
    quint32 seen = 0;
    const std::optional<Message> back = RoundTrip(
        reply, [&](const LPDISPATCH& d) { return d == sent ? 42u : 0u; },
        [&](quint32 number) {
            seen = number;
            return received;
        });
    ASSERT_TRUE(back);
    EXPECT_EQ(seen, 42u);
    EXPECT_EQ(back->result.pdispVal(), received);
}

TEST(DispatchProtocol, AGreetingCarriesTheWindows)
{
    Message hello;
    hello.type = MessageType::Hello;
    hello.processId = 4242;
    hello.windows = {{QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint")}};
    const std::optional<Message> back = RoundTrip(hello);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->processId, 4242);
    ASSERT_EQ(back->windows.size(), 1);
    EXPECT_EQ(back->windows[0].className, QStringLiteral("PP11FrameClass"));
    EXPECT_EQ(back->windows[0].title, QStringLiteral("Microsoft PowerPoint"));
}

TEST(DispatchProtocol, FramesArriveInPiecesAndTogether)
{
    Message a;
    a.type = MessageType::Release;
    a.object = 3;
    Message b;
    b.type = MessageType::Reply;
    b.status = DISP_E_TYPEMISMATCH;
    b.description = QStringLiteral("wrong");
    const QByteArray bytes = EncodeFrame(a, {}) + EncodeFrame(b, {});
    FrameReader reader;
    for (char c : bytes.left(bytes.size() - 1))
        reader.Feed(QByteArray(1, c));
    ASSERT_TRUE(reader.Next());
    EXPECT_FALSE(reader.Next()) << "the second frame is not complete yet";
    reader.Feed(bytes.right(1));
    const std::optional<QByteArray> second = reader.Next();
    ASSERT_TRUE(second);
    const std::optional<Message> m = DecodePayload(*second, {});
    ASSERT_TRUE(m);
    EXPECT_EQ(m->status, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(m->description, QStringLiteral("wrong"));
}

TEST(DispatchProtocol, HostileInputIsRefused)
{
    FrameReader huge;
    huge.Feed(QByteArray("\x7f\xff\xff\xff", 4));
    EXPECT_FALSE(huge.Next());
    EXPECT_TRUE(huge.Broken()) << "a 2 GB frame is never waited for";

    EXPECT_FALSE(DecodePayload(QByteArray("\x09garbage"), {})) << "unknown message type";
    Message m;
    m.type = MessageType::Invoke;
    m.arguments = {Variant::I4(1)};
    QByteArray payload = EncodeFrame(m, {}).mid(4);
    EXPECT_TRUE(DecodePayload(payload, {}));
    EXPECT_FALSE(DecodePayload(payload + "x", {})) << "trailing bytes";
    EXPECT_FALSE(DecodePayload(payload.left(payload.size() - 2), {})) << "cut short";
    payload[payload.size() - 6] = 77; // the argument's type
    EXPECT_FALSE(DecodePayload(payload, {})) << "unknown variant type";
}

} // namespace
