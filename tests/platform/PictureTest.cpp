#include "TestPictures.h"
#include "TestTools.h"

#include "platform/CImage.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

using namespace testpictures;

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void PutBig(QByteArray& out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
}

void PutChunk(QByteArray& png, const QByteArray& chunk)
{
    PutBig(png, quint32(chunk.size() - 4));
    png.append(chunk);
    PutBig(png, quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), uInt(chunk.size()))));
}

// A PNG whose header claims width x height, followed (when withData) by a
// few bytes of picture data.
QByteArray PngClaiming(quint32 width, quint32 height, bool withData)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header("IHDR");
    PutBig(header, width);
    PutBig(header, height);
    header.append("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    PutChunk(png, header);
    if (withData) {
        PutChunk(png, "IDAT" + qCompress(QByteArray(64, '\0')).mid(4));
        PutChunk(png, "IEND");
    }
    return png;
}

// A real small JPEG whose frame header is changed to claim width x height,
// cut off shortly after its scan starts.
QByteArray JpegClaiming(int width, int height)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    Quadrants(16, 16).save(&buffer, "JPEG");
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xff);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xff);
    return jpeg.left(jpeg.indexOf("\xff\xda") + 40);
}

} // namespace

TEST(CImage, DecodesEveryPixelAndLaysWhatIsSeeThroughOverWhite)
{
    QTemporaryDir folder;
    QImage transparent(4, 2, QImage::Format_ARGB32);
    transparent.fill(qRgba(0, 0, 255, 0));
    transparent.setPixel(3, 1, qRgba(10, 20, 30, 128));
    ASSERT_TRUE(transparent.save(folder.filePath("t.png")));
    ASSERT_TRUE(
        testtools::WriteFile(folder.filePath("two.gif"), Gif({Quadrants(6, 6), Quadrants(6, 6).mirrored()})));
    // The extension does not decide: this "jpg" is a BMP.
    ASSERT_TRUE(Quadrants(8, 8).save(folder.filePath("bmp.jpg"), "BMP"));

    CImage image;
    ASSERT_TRUE(image.Load(folder.filePath("t.png"))) << image.ErrorText().toStdString();
    const QImage pixels = image.Detach();
    EXPECT_TRUE(image.IsNull());
    // Clear: the paper's white; half: half the colour, half white.
    EXPECT_FALSE(pixels.hasAlphaChannel());
    EXPECT_EQ(QColor(pixels.pixel(0, 0)).rgb() & 0xffffff, 0xffffffu);
    EXPECT_EQ(QColor(pixels.pixel(3, 1)).rgb() & 0xffffff, 0x84898eu); // 132, 137, 142
    // A GIF's transparent colour likewise; its other colours are as stored.
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("clear.gif"), Gif({Quadrants(6, 6)}, kTopLeft.rgb())));
    ASSERT_TRUE(image.Load(folder.filePath("clear.gif")));
    const QImage gif = image.Detach();
    EXPECT_TRUE(Near(gif.pixelColor(0, 0), Qt::white));
    EXPECT_TRUE(Near(gif.pixelColor(5, 5), kBottomRight));

    ASSERT_TRUE(image.Load(folder.filePath("two.gif")));
    EXPECT_EQ(image.GetWidth(), 6);
    EXPECT_TRUE(Near(image.Detach().pixelColor(0, 0), kTopLeft)); // the first frame
    ASSERT_TRUE(image.Load(folder.filePath("bmp.jpg")));
    EXPECT_TRUE(Near(image.Detach().pixelColor(7, 7), kBottomRight));
}

TEST(CImage, RefusesWhatCannotBeDecodedSafelyWithAReason)
{
    QTemporaryDir folder;
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("huge.png"), PngClaiming(100000, 100000, true)));
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("huge.jpg"), JpegClaiming(60000, 60000)));
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("text.png"), "this is no picture"));
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("cut.png"), PngClaiming(20, 20, false)));

    const long before = PeakKilobytes();
    CImage image;
    EXPECT_FALSE(image.Load(folder.filePath("huge.png")));
    EXPECT_EQ(image.ErrorText().toStdString(),
              "huge.png is too large to convert: 100000 x 100000 pixels (at most 100 million pixels).");
    EXPECT_FALSE(image.Load(folder.filePath("huge.jpg")));
    EXPECT_TRUE(image.ErrorText().contains("60000 x 60000 pixels")) << image.ErrorText().toStdString();
    EXPECT_LT(PeakKilobytes() - before, 32 * 1024); // nothing of the claimed size was allocated

    EXPECT_FALSE(image.Load(folder.filePath("text.png")));
    EXPECT_EQ(image.ErrorText().toStdString(), "text.png is not a picture that can be read.");
    EXPECT_FALSE(image.Load(folder.filePath("cut.png")));
    EXPECT_TRUE(image.ErrorText().startsWith("cut.png could not be decoded: "))
        << image.ErrorText().toStdString();
    EXPECT_FALSE(image.Load(folder.filePath("missing.png")));
    EXPECT_TRUE(image.IsNull());
}

TEST(CImage, ReadsATiffsPagesInOrderFromTheFileAsItWasOpened)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("scan.tif");
    const QImage first = Quadrants(8, 8);
    const QList<QImage> pages{first, first.mirrored(true, false), first.mirrored(false, true),
                              first.mirrored(true, true)};
    ASSERT_TRUE(testtools::WriteFile(path, Tiff(pages)));
    const QString other = folder.filePath("other.tif");

    // Another file put in the picture's place after the first page, or the
    // name removed, changes nothing: the pages come from the file as opened.
    for (const bool replace : {true, false}) {
        SCOPED_TRACE(replace ? "replaced" : "removed");
        ASSERT_TRUE(testtools::WriteFile(path, Tiff(pages)));
        CImage image;
        ASSERT_TRUE(image.Load(path)) << image.ErrorText().toStdString();
        ASSERT_EQ(image.PageCount(), 4);
        EXPECT_TRUE(Near(image.Detach().pixelColor(0, 0), kTopLeft));
        if (replace) {
            ASSERT_TRUE(testtools::WriteFile(other, Tiff({Quadrants(4, 4)})));
            ASSERT_TRUE(QFile::remove(path));
            ASSERT_TRUE(QFile::rename(other, path));
        } else {
            ASSERT_TRUE(QFile::remove(path));
        }
        ASSERT_TRUE(image.LoadPage(1)) << image.ErrorText().toStdString();
        QImage page = image.Detach();
        EXPECT_EQ(page.width(), 8);
        EXPECT_TRUE(Near(page.pixelColor(7, 0), kTopLeft)) << "the second page, mirrored left to right";
        // A page may be passed over; pages do not go back.
        ASSERT_TRUE(image.LoadPage(3)) << image.ErrorText().toStdString();
        EXPECT_TRUE(Near(image.Detach().pixelColor(7, 7), kTopLeft)) << "the fourth page, turned half round";
        EXPECT_FALSE(image.LoadPage(2));
        EXPECT_EQ(image.ErrorText().toStdString(), "scan.tif has no page 3.");
        EXPECT_FALSE(image.LoadPage(4));
    }
}
