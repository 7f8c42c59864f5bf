#include "TestPictures.h"

#include <QBuffer>
#include <QTransform>

#include "TestTools.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>

namespace testpictures {

QByteArray OrientedJpeg(const QImage& upright, int orientation, int quality)
{
    // What each orientation does to the stored pixels to show them; the
    // stored picture is the upright one undone.
    QTransform shown;
    bool mirror = false;
    switch (orientation) {
    case 2:
        mirror = true;
        break;
    case 3:
        shown.rotate(180);
        break;
    case 6:
        shown.rotate(90);
        break;
    case 8:
        shown.rotate(-90);
        break;
    default:
        break;
    }
    QImage stored = upright.transformed(shown.inverted());
    if (mirror)
        stored = stored.mirrored(true, false);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "JPEG", quality);
    // An Exif segment right after the start marker: a big-endian TIFF header
    // and one directory holding the orientation.
    QByteArray exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\0\0\0\0\0\0\0", 32);
    exif[25] = char(orientation);
    const int length = int(exif.size()) + 2;
    jpeg.insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif);
    return jpeg;
}

QImage Quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = width / 2, h = height / 2;
    painter.fillRect(0, 0, w, h, kTopLeft);
    painter.fillRect(w, 0, width - w, h, kTopRight);
    painter.fillRect(0, h, w, height - h, kBottomLeft);
    painter.fillRect(w, h, width - w, height - h, kBottomRight);
    return image;
}

namespace {

void PutShort(QByteArray& out, int value)
{
    out.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

} // namespace

QByteArray Tiff(const QList<QImage>& pages)
{
    QByteArray out("II*\0", 4);
    auto u16 = [&](int v) { out.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
    auto u32 = [&](quint32 v) {
        u16(int(v & 0xffff));
        u16(int(v >> 16));
    };
    auto patch32 = [&](qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = char((v >> (8 * i)) & 0xff);
    };
    qsizetype nextLink = out.size();
    u32(0);
    for (const QImage& picture : pages) {
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        // The pixels, then the three bits-per-sample values, then the directory.
        const auto pixelsAt = quint32(out.size());
        for (int y = 0; y < rgb.height(); ++y)
            out.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
        const auto pixelBytes = quint32(out.size()) - pixelsAt;
        if (out.size() % 2)
            out.append('\0');
        const auto bitsAt = quint32(out.size());
        u16(8), u16(8), u16(8);
        patch32(nextLink, quint32(out.size()));
        const struct
        {
            int tag, type;
            quint32 value;
        } entries[] = {{256, 4, quint32(rgb.width())},
                       {257, 4, quint32(rgb.height())},
                       {258, 3, bitsAt},
                       {259, 3, 1},
                       {262, 3, 2},
                       {273, 4, pixelsAt},
                       {277, 3, 3},
                       {278, 4, quint32(rgb.height())},
                       {279, 4, pixelBytes}};
        u16(int(std::size(entries)));
        for (const auto& e : entries) {
            u16(e.tag);
            u16(e.type);
            u32(e.tag == 258 ? 3 : 1);
            if (e.type == 3 && e.tag != 258) {
                u16(int(e.value));
                u16(0);
            } else {
                u32(e.value);
            }
        }
        nextLink = out.size();
        u32(0);
    }
    return out;
}

QByteArray Gif(const QList<QImage>& frames, std::optional<QRgb> transparent)
{
    // One global table of the frames' colours, padded to 128 entries.
    QList<QRgb> table;
    for (const QImage& frame : frames)
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                if (!table.contains(frame.pixel(x, y) | 0xff000000))
                    table.append(frame.pixel(x, y) | 0xff000000);
    table.resize(128, 0xff000000);
    const int width = frames.first().width(), height = frames.first().height();
    QByteArray out("GIF89a");
    PutShort(out, width);
    PutShort(out, height);
    out.append(char(0xF6)).append('\0').append('\0'); // global table of 2^7 colours
    for (QRgb colour : table)
        out.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    for (const QImage& frame : frames) {
        if (transparent) { // a graphic control extension naming the see-through entry
            out.append("\x21\xF9\x04\x01", 4).append('\0').append('\0');
            out.append(char(table.indexOf(*transparent | 0xff000000))).append('\0');
        }
        out.append(char(0x2C));
        PutShort(out, 0);
        PutShort(out, 0);
        PutShort(out, width);
        PutShort(out, height);
        out.append('\0').append(char(7)); // no local table; LZW minimum code size 7
        // Codes of 8 bits: every pixel a literal, and a clear code (128) often
        // enough that the decoder's table never widens the codes.
        QByteArray codes;
        for (int i = 0; i < width * height; ++i) {
            if (i % 100 == 0)
                codes.append(char(128));
            codes.append(char(table.indexOf(frame.pixel(i % width, i / width) | 0xff000000)));
        }
        codes.append(char(129)); // end of information
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            out.append(char(block.size())).append(block);
        }
        out.append('\0');
    }
    return out.append(char(0x3B));
}

QList<QImage> Render(const QString& postScriptPath, int dpi)
{
    QTemporaryDir folder;
    const testtools::ToolResult result =
        testtools::RunTool(QStringLiteral("gs"), {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m",
                                                  QStringLiteral("-r%1").arg(dpi), "-o",
                                                  folder.filePath("page%03d.png"), postScriptPath});
    QList<QImage> pages;
    if (result.exitCode != 0)
        return pages;
    const QStringList names = QDir(folder.path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        pages.append(QImage(folder.filePath(name)));
    return pages;
}

bool Near(QColor actual, QColor expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace testpictures
