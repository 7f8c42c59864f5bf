#include "platform/FlateAscii85Writer.h"

#include <QIODevice>

#include <array>

namespace {

constexpr int kLineLength = 75;
constexpr qsizetype kChunk = 1 << 16;

} // namespace

FlateAscii85Writer::FlateAscii85Writer(QIODevice* device) : m_device(device), m_text(kChunk + 2 * kLineLength)
{
    // Run-length matching: on predicted picture rows it compresses about as
    // well as full matching, in half the time. The spool file is read once
    // and thrown away, so time counts more than its last megabytes.
    m_ready = deflateInit2(&m_stream, 1, Z_DEFLATED, 15, 8, Z_RLE) == Z_OK;
    m_failed = !m_ready;
}

FlateAscii85Writer::~FlateAscii85Writer()
{
    if (m_ready)
        deflateEnd(&m_stream);
}

bool FlateAscii85Writer::Write(const char* bytes, qsizetype size)
{
    return !m_failed && Deflate(bytes, size, Z_NO_FLUSH);
}

bool FlateAscii85Writer::Finish()
{
    if (m_failed || !Deflate(nullptr, 0, Z_FINISH))
        return false;
    if (m_groupSize > 0)
        EncodeGroup(m_group, m_groupSize);
    m_groupSize = 0;
    for (const char c : {'~', '>', '\n'})
        m_text[m_used++] = c;
    return Drain(true);
}

bool FlateAscii85Writer::Deflate(const char* bytes, qsizetype size, int flush)
{
    std::array<unsigned char, kChunk> out;
    // zlib counts in unsigned int; feed big buffers in pieces it can count.
    do {
        const qsizetype piece = std::min<qsizetype>(size, 1 << 30);
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes));
        m_stream.avail_in = static_cast<uInt>(piece);
        const int pieceFlush = piece == size ? flush : Z_NO_FLUSH;
        int result = Z_OK;
        do {
            m_stream.next_out = out.data();
            m_stream.avail_out = static_cast<uInt>(out.size());
            result = deflate(&m_stream, pieceFlush);
            if (result == Z_STREAM_ERROR) {
                m_failed = true;
                return false;
            }
            Encode(out.data(), static_cast<qsizetype>(out.size() - m_stream.avail_out));
            if (!Drain(false))
                return false;
        } while (m_stream.avail_out == 0 || (pieceFlush == Z_FINISH && result != Z_STREAM_END));
        bytes += piece;
        size -= piece;
    } while (size > 0);
    return true;
}

void FlateAscii85Writer::Encode(const unsigned char* bytes, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        m_group[m_groupSize++] = bytes[i];
        if (m_groupSize == 4) {
            EncodeGroup(m_group, 4);
            m_groupSize = 0;
            // A group adds at most 15 characters; the buffer has room for more.
            if (m_used >= std::size_t(kChunk))
                Drain(true);
        }
    }
}

void FlateAscii85Writer::EncodeGroup(const unsigned char* group, int size)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | (i < size ? group[i] : 0);
    if (size == 4 && value == 0) {
        Put('z');
        return;
    }
    char digits[5];
    for (int i = 4; i >= 0; --i) {
        digits[i] = static_cast<char>('!' + value % 85);
        value /= 85;
    }
    // A final group of n bytes is written as its first n + 1 digits.
    for (int i = 0; i < size + 1; ++i)
        Put(digits[i]);
}

void FlateAscii85Writer::Put(char c)
{
    if (m_column == 0 && c == '%') {
        m_text[m_used++] = ' ';
        ++m_column;
    }
    m_text[m_used++] = c;
    if (++m_column >= kLineLength) {
        m_text[m_used++] = '\n';
        m_column = 0;
    }
}

bool FlateAscii85Writer::Drain(bool all)
{
    if (!all && m_used < std::size_t(kChunk))
        return true;
    if (m_device->write(m_text.data(), qint64(m_used)) != qint64(m_used))
        m_failed = true;
    m_used = 0;
    return !m_failed;
}
