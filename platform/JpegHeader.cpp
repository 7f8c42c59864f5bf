#include "platform/JpegHeader.h"

#include <QByteArrayView>

namespace {

int Byte(const QByteArray& data, qsizetype at)
{
    return at < data.size() ? uchar(data[at]) : -1;
}

int Word(const QByteArray& data, qsizetype at, bool bigEndian = true)
{
    const int a = Byte(data, at), b = Byte(data, at + 1);
    if (a < 0 || b < 0)
        return -1;
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
}

// The orientation tag of an Exif segment's first image directory; 1 when absent or unreadable.
int ExifOrientation(const QByteArray& segment)
{
    if (!segment.startsWith(QByteArrayView("Exif\0\0", 6)) || segment.size() < 14)
        return 1;
    const QByteArray tiff = segment.mid(6);
    const bool bigEndian = tiff.startsWith("MM");
    if (!bigEndian && !tiff.startsWith("II"))
        return 1;
    auto word = [&](qsizetype at) { return Word(tiff, at, bigEndian); };
    const qint64 first = bigEndian ? (qint64(word(4)) << 16 | word(6)) : (qint64(word(6)) << 16 | word(4));
    if (first < 8 || first + 2 > tiff.size())
        return 1;
    const int entries = word(first);
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = first + 2 + 12 * qsizetype(i);
        if (entry + 12 > tiff.size())
            break;
        if (word(entry) == 0x0112 && word(entry + 2) == 3) { // SHORT
            const int value = word(entry + 8);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

// Where the image ends: just after the end-of-image marker. Within
// entropy-coded data 0xFF is followed by 0x00 or a restart marker; any other
// marker between scans (tables, the next scan) is stepped over by its length.
qsizetype EndOfImage(const QByteArray& data, qsizetype at)
{
    while (at + 1 < data.size()) {
        if (Byte(data, at) != 0xFF) {
            ++at;
            continue;
        }
        const int marker = Byte(data, at + 1);
        if (marker == 0xD9)
            return at + 2;
        if (marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7)) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        const int length = Word(data, at + 2);
        if (length < 2)
            return 0;
        at += 2 + length;
    }
    return 0;
}

} // namespace

JpegHeader JpegHeader::Read(const QByteArray& data)
{
    JpegHeader header;
    if (Byte(data, 0) != 0xFF || Byte(data, 1) != 0xD8)
        return header;
    bool frame = false;
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (Byte(data, at) != 0xFF)
            return header;
        const int marker = Byte(data, at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = Word(data, at + 2);
        if (length < 2 || at + 2 + length > data.size())
            return header;
        const QByteArray segment = data.mid(at + 4, length - 2);
        switch (marker) {
        case 0xC0: // baseline
        case 0xC1: // extended
        case 0xC2: // progressive
            if (segment.size() < 6 || Byte(segment, 0) != 8)
                return header;
            header.height = Word(segment, 1);
            header.width = Word(segment, 3);
            header.components = Byte(segment, 5);
            frame = header.width > 0 && header.height > 0 &&
                    (header.components == 1 || header.components == 3 || header.components == 4);
            if (!frame)
                return header;
            break;
        case 0xC3:
        case 0xC5:
        case 0xC6:
        case 0xC7:
        case 0xC9:
        case 0xCA:
        case 0xCB:
        case 0xCD:
        case 0xCE:
        case 0xCF:
            return header; // lossless, hierarchical or arithmetic-coded: not passed on
        case 0xE1:
            if (header.orientation == 1)
                header.orientation = ExifOrientation(segment);
            break;
        case 0xEE:
            if (segment.startsWith("Adobe"))
                header.invertedCmyk = true;
            break;
        case 0xDA: // the first scan: the rest is image data
            if (!frame)
                return header;
            header.invertedCmyk = header.invertedCmyk && header.components == 4;
            header.length = EndOfImage(data, at + 2 + length);
            header.valid = header.length > 0;
            return header;
        default:
            break;
        }
        at += 2 + length;
    }
    return header;
}
