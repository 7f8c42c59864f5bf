#include "TestPictures.h"
#include "TestTools.h"

#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CImage.h"
#include "platform/CPrintDialog.h"
#include "platform/JpegHeader.h"
#include "platform/MemoryDeviceContext.h"
#include "platform/PostScriptPrinter.h"
#include "platform/ScreenDeviceContext.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace testpictures;

namespace {

// The picture converter's printing steps: default printer, one page, the
// picture StretchBlt-ed from a memory DC at width 4720, its height scaled by
// 4730 / width in single precision and truncated. The product is taken in
// double: a float product would round 100 x 47.2999992 up to 4730.
int PrintAsTheConverterDoes(CBitmap& bitmap, const QString& output, const QString& documentName)
{
    CPrintDialog dialog(false, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                   PD_NOSELECTION);
    EXPECT_TRUE(dialog.GetDefaults());
    CDC printer;
    printer.Attach(dialog.GetPrinterDC());
    DOCINFO info;
    info.lpszDocName = documentName;
    info.lpszOutput = output;
    EXPECT_GT(printer.StartDoc(&info), 0);
    EXPECT_GT(printer.StartPage(), 0);
    CDC window;
    window.Attach(GetDC(nullptr));
    CDC memory;
    EXPECT_TRUE(memory.CreateCompatibleDC(&window));
    BITMAP header;
    EXPECT_GT(bitmap.GetBitmap(&header), 0);
    const float width = float(header.bmWidth), height = float(header.bmHeight);
    CBitmap* previous = memory.SelectObject(&bitmap);
    EXPECT_EQ(previous, &MemoryDeviceContext::StockBitmap());
    const float scale = 4730.0f / width;
    const int destinationHeight = int(double(height) * double(scale));
    EXPECT_TRUE(
        printer.StretchBlt(0, 0, 4720, destinationHeight, &memory, 0, 0, int(width), int(height), SRCCOPY));
    EXPECT_GT(printer.EndPage(), 0);
    EXPECT_GT(printer.EndDoc(), 0);
    EXPECT_EQ(memory.SelectObject(previous), &bitmap);
    return destinationHeight;
}

CBitmap Load(const QString& path)
{
    CImage image;
    EXPECT_TRUE(image.Load(path)) << image.ErrorText().toStdString();
    CBitmap bitmap;
    bitmap.Attach(image.Detach());
    return bitmap;
}

// The device rectangle and pixel size of the image the printer drew.
struct Drawn
{
    double x, y, width, height;
    int pixelsWide, pixelsHigh;
};

QList<Drawn> DrawnImages(const QString& postScriptPath)
{
    static const QRegularExpression pattern(
        R"((\S+) (\S+) translate (\S+) (\S+) scale\n%%BeginData: \d+ Binary Bytes\n(\d+) (\d+) [13] FoliantImage\n)");
    QList<Drawn> drawn;
    for (const auto& m : pattern.globalMatch(QString::fromLatin1(testtools::ReadFile(postScriptPath))))
        drawn.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble(), m.captured(5).toInt(), m.captured(6).toInt()});
    return drawn;
}

} // namespace

namespace {

constexpr int kDpi = 40; // 15 device units a pixel

QImage White(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The rendered colour at a point given in device units from the printable
// area's top-left corner.
QColor At(const QImage& page, int x, int y)
{
    const int margin = PostScriptPrinter::kMargin;
    return page.pixelColor((margin + x) * kDpi / 600, (margin + y) * kDpi / 600);
}

} // namespace

TEST(PostScriptPrinter, PlacesPicturesAtWidth4720AsTheConverterScalesThem)
{
    QTemporaryDir folder;
    const QString output = folder.filePath("tmp.ps");
    const struct
    {
        int width, height, expected;
    } cases[] = {{800, 600, 3547}, {1000, 1000, 4730}, {100, 100, 4729}, {3000, 4000, 6306}, {1, 1, 4730}};
    for (const auto& c : cases) {
        CBitmap bitmap;
        QImage pixels(c.width, c.height, QImage::Format_RGB888);
        pixels.fill(Qt::darkCyan);
        bitmap.Attach(pixels);
        EXPECT_EQ(PrintAsTheConverterDoes(bitmap, output, "/pictures/p.png"), c.expected);
        const QList<Drawn> drawn = DrawnImages(output);
        ASSERT_EQ(drawn.size(), 1) << c.width << " x " << c.height;
        EXPECT_EQ(drawn[0].x, 0);
        EXPECT_EQ(drawn[0].y, 0);
        EXPECT_EQ(drawn[0].width, 4720);
        EXPECT_EQ(drawn[0].height, c.expected);
        // At the picture's own resolution, not resampled for the printer.
        EXPECT_EQ(drawn[0].pixelsWide, c.width);
        EXPECT_EQ(drawn[0].pixelsHigh, c.height);
    }
}

TEST(PostScriptPrinter, PrintsEveryPictureKindInItsColoursFromThePrintableCorner)
{
    QTemporaryDir folder;
    const QImage quadrants = Quadrants(80, 80);
    ASSERT_TRUE(quadrants.save(folder.filePath("q.bmp")));
    ASSERT_TRUE(quadrants.save(folder.filePath("q.jpg"), "JPEG", 95));
    ASSERT_TRUE(testtools::WriteFile(folder.filePath("q.gif"), Gif({Quadrants(20, 20), White(20, 20)})));
    // Left half fully transparent, right half half transparent: printed as
    // laid over the white paper.
    QImage transparent = quadrants.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            transparent.setPixel(x, y, (transparent.pixel(x, y) & 0xffffff) | (x < 40 ? 0 : 0x80000000));
    ASSERT_TRUE(transparent.save(folder.filePath("q.png")));

    for (const char* name : {"q.bmp", "q.jpg", "q.gif", "q.png"}) {
        SCOPED_TRACE(name);
        const int tolerance = QByteArray(name) == "q.jpg" ? 40 : 0;
        const QString output = folder.filePath("tmp.ps");
        CBitmap bitmap = Load(folder.filePath(name));
        EXPECT_EQ(PrintAsTheConverterDoes(bitmap, output, folder.filePath(name)), 4730);
        const QList<QImage> pages = Render(output, kDpi);
        ASSERT_EQ(pages.size(), 1);
        const QImage& page = pages[0];
        const bool png = QByteArray(name) == "q.png";
        const QColor topLeft = png ? QColor(Qt::white) : kTopLeft;
        EXPECT_TRUE(Near(At(page, 1180, 1180), topLeft, tolerance));
        EXPECT_TRUE(Near(At(page, 3540, 1180), png ? QColor(127, 207, 127) : kTopRight, tolerance));
        EXPECT_TRUE(Near(At(page, 1180, 3540), png ? QColor(Qt::white) : kBottomLeft, tolerance));
        EXPECT_TRUE(Near(At(page, 3540, 3540), png ? QColor(255, 255, 127) : kBottomRight, tolerance));
        // The corner: white in the margin, the picture just inside it.
        EXPECT_TRUE(Near(At(page, -60, -60), Qt::white));
        EXPECT_TRUE(Near(At(page, 20, 20), topLeft, tolerance));
        EXPECT_TRUE(Near(At(page, 4750, 1180), Qt::white));
        EXPECT_TRUE(Near(At(page, 1180, 4760), Qt::white));
    }
}

TEST(PostScriptPrinter, PassesJpegDataOnAsTheyAreUprightAndInTheirColours)
{
    QTemporaryDir folder;
    const QString output = folder.filePath("tmp.ps");
    const QImage upright = Quadrants(160, 80);
    const QImage greyPicture = upright.convertToFormat(QImage::Format_Grayscale8);
    QByteArray grey;
    {
        QBuffer buffer(&grey);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(greyPicture.save(&buffer, "JPEG", 95));
    }
    struct Case
    {
        QByteArray jpeg;
        QList<QColor> quadrants; // top-left, top-right, bottom-left, bottom-right
    };
    const QList<QColor> colours{kTopLeft, kTopRight, kBottomLeft, kBottomRight};
    const QList<QColor> greys{greyPicture.pixelColor(40, 20), greyPicture.pixelColor(120, 20),
                              greyPicture.pixelColor(40, 60), greyPicture.pixelColor(120, 60)};
    QList<Case> cases;
    for (int orientation : {1, 2, 3, 6, 8})
        cases.append({OrientedJpeg(upright, orientation), colours});
    cases.append({grey, greys});

    for (const Case& c : cases) {
        const JpegHeader header = JpegHeader::Read(c.jpeg);
        SCOPED_TRACE(header.orientation);
        ASSERT_TRUE(header.valid);
        ASSERT_EQ(header.ShownWidth(), 160);
        ASSERT_EQ(header.ShownHeight(), 80);
        EXPECT_EQ(JpegHeader::Read(c.jpeg + "after the end").length, c.jpeg.size())
            << "the image ends at its marker";
        PostScriptPrinter printer;
        DOCINFO info;
        info.lpszOutput = output;
        ASSERT_GT(printer.StartDoc(info), 0);
        ASSERT_GT(printer.StartPage(), 0);
        EXPECT_TRUE(printer.StretchJpeg(QRect(0, 0, 4720, 2360), c.jpeg));
        EXPECT_FALSE(printer.StretchJpeg(QRect(0, 0, 4720, 2360), QByteArray("not a picture")));
        ASSERT_GT(printer.EndPage(), 0);
        ASSERT_GT(printer.EndDoc(), 0);
        EXPECT_TRUE(testtools::ReadFile(output).contains(c.jpeg)) << "the JPEG's own bytes";
        const QList<QImage> pages = Render(output, kDpi);
        ASSERT_EQ(pages.size(), 1);
        EXPECT_TRUE(Near(At(pages[0], 1180, 590), c.quadrants[0], 40))
            << At(pages[0], 1180, 590).name().toStdString();
        EXPECT_TRUE(Near(At(pages[0], 3540, 590), c.quadrants[1], 40));
        EXPECT_TRUE(Near(At(pages[0], 1180, 1770), c.quadrants[2], 40));
        EXPECT_TRUE(Near(At(pages[0], 3540, 1770), c.quadrants[3], 40));
        EXPECT_TRUE(Near(At(pages[0], 1180, 2500), Qt::white)) << "nothing below the picture";
    }
}

TEST(PostScriptPrinter, CutsATallPictureAtThePrintableAreaOnOnePage)
{
    QTemporaryDir folder;
    const QString output = folder.filePath("tmp.ps");
    CBitmap bitmap;
    bitmap.Attach(Quadrants(100, 300)); // 4720 x 14189 device units
    EXPECT_EQ(PrintAsTheConverterDoes(bitmap, output, "tall.bmp"), 14189);
    const QList<QImage> pages = Render(output, kDpi);
    ASSERT_EQ(pages.size(), 1);
    const int bottom = PostScriptPrinter(PaperSize::System()).GetDeviceCaps(VERTRES);
    EXPECT_TRUE(Near(At(pages[0], 1180, bottom - 30), kTopLeft));
    EXPECT_TRUE(Near(At(pages[0], 1180, bottom + 40), Qt::white));
    EXPECT_TRUE(testtools::ReadFile(output).contains("%%Pages: 1\n"));
}

TEST(PostScriptPrinter, WritesStructuredPostScriptWithOnePagePerStartPage)
{
    QTemporaryDir folder;
    const QString output = folder.filePath("tmp.ps");
    PostScriptPrinter printer(PaperSize::FromName("letter"));
    DOCINFO info;
    info.lpszDocName = QString::fromUtf8("/home/ann/Holiday (1)\\Café €.png");
    info.lpszOutput = output;
    ASSERT_GT(printer.StartDoc(info), 0);
    for (const QColor colour : {kTopLeft, kBottomLeft}) {
        ASSERT_GT(printer.StartPage(), 0);
        QImage pixels(2, 2, QImage::Format_Grayscale8);
        pixels.fill(colour == kTopLeft ? 0 : 200);
        EXPECT_TRUE(printer.StretchBlt({0, 0, 600, 600}, pixels, pixels.rect(), SRCCOPY));
        ASSERT_GT(printer.EndPage(), 0);
    }
    ASSERT_GT(printer.StartPage(), 0);
    QImage noise(300, 300, QImage::Format_RGB888); // thousands of lines of data
    quint32 seed = 1;
    for (uchar* byte = noise.bits(); byte < noise.bits() + noise.sizeInBytes(); ++byte)
        *byte = uchar((seed = seed * 1664525u + 1013904223u) >> 24);
    EXPECT_TRUE(printer.StretchBlt({0, 0, 600, 600}, noise, noise.rect(), SRCCOPY));
    ASSERT_GT(printer.EndPage(), 0);
    ASSERT_GT(printer.EndDoc(), 0);
    const QByteArray text = testtools::ReadFile(output);
    EXPECT_TRUE(text.startsWith("%!PS-Adobe-3.0\n"));
    // Outside the binary data sections, whose sizes the comments give exactly,
    // only structuring comments start a line with "%".
    static const QRegularExpression comment(
        "^%%(Title|Creator|CreationDate|LanguageLevel|DocumentData|BoundingBox|HiResBoundingBox|"
        "DocumentMedia|Orientation|Pages|PageOrder|EndComments|BeginProlog|BeginResource|EndResource|"
        "EndProlog|BeginSetup|BeginFeature|EndFeature|EndSetup|Page|BeginPageSetup|EndPageSetup|"
        "BeginData|EndData|PageTrailer|Trailer|EOF)(:|$)");
    static const QRegularExpression data("^%%BeginData: (\\d+) Binary Bytes$");
    int comments = 0;
    int sections = 0;
    for (qsizetype at = text.indexOf('\n') + 1; at < text.size();) {
        const qsizetype end = text.indexOf('\n', at);
        ASSERT_GE(end, at) << "every line ends";
        const QByteArray line = text.mid(at, end - at);
        at = end + 1;
        if (!line.startsWith('%'))
            continue;
        ++comments;
        EXPECT_TRUE(comment.match(QString::fromLatin1(line)).hasMatch()) << line.toStdString();
        if (const QRegularExpressionMatch m = data.match(QString::fromLatin1(line)); m.hasMatch()) {
            ++sections;
            at += m.captured(1).toLongLong();
            EXPECT_TRUE(text.mid(at).startsWith("\n%%EndData\n"));
        }
    }
    EXPECT_EQ(sections, 3);
    EXPECT_EQ(comments, 37 + 2 * 3);
    EXPECT_TRUE(text.contains("\n%%Title: /home/ann/Holiday (1)\\Caf\xe9 ?.png\n"));
    EXPECT_TRUE(text.contains("\n%%DocumentMedia: letter 612 792 0 () ()\n"));
    EXPECT_TRUE(text.contains("\n%%DocumentData: Binary\n"));
    EXPECT_TRUE(text.contains("\n%%Page: 3 3\n"));
    EXPECT_TRUE(text.endsWith("%%Trailer\n%%Pages: 3\n%%EOF\n"));
    // Ghostscript makes the document name the PDF's title.
    const QString pdf = folder.filePath("out.pdf");
    ASSERT_EQ(testtools::RunTool(
                  "gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", pdf, output})
                  .exitCode,
              0);
    EXPECT_TRUE(testtools::RunTool("pdfinfo", {pdf})
                    .out.contains("Title:           /home/ann/Holiday (1)\\Caf\xc3\xa9 ?.png\n"));
    const QList<QImage> pages = Render(output, kDpi);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].size(), QSize(340, 440)); // 8.5 x 11 inches
    EXPECT_TRUE(Near(At(pages[0], 300, 300), Qt::black));
    EXPECT_TRUE(Near(At(pages[1], 300, 300), QColor(200, 200, 200)));
}

TEST(PostScriptPrinter, StartDocFailsWhenTheOutputCannotBeOpened)
{
    QTemporaryDir folder;
    PostScriptPrinter printer;
    DOCINFO info;
    info.lpszDocName = "p.png";
    for (const QString& output : {folder.filePath("missing/tmp.ps"), folder.path(), QString()}) {
        info.lpszOutput = output;
        EXPECT_LT(printer.StartDoc(info), 0) << output.toStdString();
        EXPECT_LT(printer.StartPage(), 0);
    }
}

TEST(PostScriptPrinter, ALinkOrFilePlantedAtTheOutputNameIsReplacedNotWrittenThrough)
{
    QTemporaryDir folder, outside;
    const QString output = folder.filePath("tmp.ps");
    const QString victim = outside.filePath("precious");
    ASSERT_TRUE(testtools::WriteFile(victim, "precious contents"));
    QImage pixels(16, 16, QImage::Format_RGB888);
    pixels.fill(Qt::blue);
    DOCINFO info;
    info.lpszDocName = "p.png";
    info.lpszOutput = output;
    const auto plantSymbolic = [&] { return QFile::link(victim, output); };
    const auto plantHard = [&] {
        return ::link(QFile::encodeName(victim).constData(), QFile::encodeName(output).constData()) == 0;
    };
    for (const auto& plant : {std::function<bool()>(plantSymbolic), std::function<bool()>(plantHard)}) {
        QFile::remove(output);
        ASSERT_TRUE(plant());
        PostScriptPrinter printer;
        ASSERT_GT(printer.StartDoc(info), 0);
        ASSERT_GT(printer.StartPage(), 0);
        EXPECT_TRUE(printer.StretchBlt({0, 0, 600, 600}, pixels, pixels.rect(), SRCCOPY));
        ASSERT_GT(printer.EndDoc(), 0);
        EXPECT_EQ(testtools::ReadFile(victim), "precious contents");
        EXPECT_FALSE(QFileInfo(output).isSymLink());
        EXPECT_TRUE(testtools::ReadFile(output).startsWith("%!PS-Adobe-3.0"));
    }
}

TEST(PostScriptPrinter, AFailedOrAbortedJobLeavesNoFileBehind)
{
    QTemporaryDir folder;
    const QString output = folder.filePath("tmp.ps");
    DOCINFO info;
    info.lpszDocName = "p.png";
    info.lpszOutput = output;
    QImage pixels(64, 64, QImage::Format_RGB888);
    pixels.fill(Qt::red);
    {
        CDC printer; // given up in the middle of a job
        printer.Attach(std::make_unique<PostScriptPrinter>());
        ASSERT_GT(printer.StartDoc(&info), 0);
        ASSERT_GT(printer.StartPage(), 0);
        EXPECT_FALSE(QFile::exists(output)) << "a job appears under its name only when whole";
    }
    EXPECT_FALSE(QFile::exists(output));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no part is left";
    PostScriptPrinter printer;
    ASSERT_GT(printer.StartDoc(info), 0);
    EXPECT_GT(printer.AbortDoc(), 0);
    EXPECT_FALSE(QFile::exists(output));
    // A full disk: the job reports failure and the device stays.
    info.lpszOutput = "/dev/full";
    ASSERT_GT(printer.StartDoc(info), 0);
    printer.StartPage();
    printer.StretchBlt({0, 0, 600, 600}, pixels, pixels.rect(), SRCCOPY);
    printer.EndPage();
    EXPECT_LT(printer.EndDoc(), 0);
    EXPECT_TRUE(QFile::exists("/dev/full"));
}

TEST(PostScriptPrinter, RefusesCallsOutOfTurnAndUnknownOperations)
{
    QTemporaryDir folder;
    PostScriptPrinter printer(PaperSize::FromName("a4"));
    QImage pixels(4, 4, QImage::Format_RGB888);
    pixels.fill(Qt::red);
    EXPECT_LT(printer.StartPage(), 0);
    EXPECT_LT(printer.EndPage(), 0);
    EXPECT_LT(printer.EndDoc(), 0);
    EXPECT_LT(printer.AbortDoc(), 0);
    DOCINFO info;
    info.lpszOutput = folder.filePath("tmp.ps");
    ASSERT_GT(printer.StartDoc(info), 0);
    EXPECT_LT(printer.StartDoc(info), 0);
    EXPECT_FALSE(printer.StretchBlt({0, 0, 10, 10}, pixels, pixels.rect(), SRCCOPY)); // no page
    ASSERT_GT(printer.StartPage(), 0);
    EXPECT_LT(printer.StartPage(), 0);
    EXPECT_FALSE(printer.StretchBlt({0, 0, 10, 10}, pixels, pixels.rect(), 0x00EE0086)); // SRCPAINT
    EXPECT_FALSE(printer.StretchBlt({0, 0, 10, 10}, pixels, {0, 0, 5, 4}, SRCCOPY));     // past the source
    EXPECT_FALSE(printer.StretchBlt({0, 0, 0, 10}, pixels, pixels.rect(), SRCCOPY));
    EXPECT_TRUE(printer.StretchBlt({9000, 0, 10, 10}, pixels, pixels.rect(), SRCCOPY)); // off the page
    EXPECT_GT(printer.EndDoc(), 0);
    EXPECT_TRUE(DrawnImages(info.lpszOutput).isEmpty());
}

TEST(PostScriptPrinter, ReportsTheDeviceOfThePaper)
{
    const PostScriptPrinter a4(PaperSize::FromName("a4"));
    EXPECT_EQ(a4.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(a4.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(a4.GetDeviceCaps(PHYSICALWIDTH), 4960); // 210 mm
    EXPECT_EQ(a4.GetDeviceCaps(PHYSICALHEIGHT), 7015);
    EXPECT_EQ(a4.GetDeviceCaps(PHYSICALOFFSETX), 100);
    EXPECT_EQ(a4.GetDeviceCaps(PHYSICALOFFSETY), 100);
    EXPECT_EQ(a4.GetDeviceCaps(HORZRES), 4760);
    EXPECT_EQ(a4.GetDeviceCaps(VERTRES), 6815);
    const PostScriptPrinter letter(PaperSize::FromName("Letter"));
    EXPECT_EQ(letter.GetDeviceCaps(HORZRES), 4900);
    EXPECT_EQ(letter.GetDeviceCaps(VERTRES), 6400);
    EXPECT_EQ(letter.GetDeviceCaps(HORZSIZE), 207);
}

namespace {

// A screen that cannot give a memory device context.
class ExhaustedScreen : public DeviceContext
{
public:
    int GetDeviceCaps(int) const override { return 96; }
    std::unique_ptr<DeviceContext> CreateCompatible() const override { return nullptr; }
};

} // namespace

TEST(PrintingObjects, ReportMissingPrintersAndDevicesAsGdiDoes)
{
    CPrintDialog::SetDefaultPrinterFactory([] { return nullptr; });
    CPrintDialog none(false);
    EXPECT_FALSE(none.GetDefaults());
    EXPECT_EQ(none.GetPrinterDC(), nullptr);
    CPrintDialog::SetDefaultPrinterFactory({});
    CPrintDialog product(false);
    ASSERT_TRUE(product.GetDefaults());
    CDC printer;
    ASSERT_TRUE(printer.Attach(product.GetPrinterDC()));
    EXPECT_EQ(printer.GetDeviceCaps(LOGPIXELSX), 600);

    SetScreenDCFactory([](const QWindow*) { return std::make_unique<ExhaustedScreen>(); });
    CDC window;
    window.Attach(GetDC(nullptr));
    CDC memory;
    EXPECT_FALSE(memory.CreateCompatibleDC(&window));
    EXPECT_EQ(memory.GetSafeHdc(), nullptr);
    SetScreenDCFactory({});

    // A null or empty bitmap cannot be selected; nothing is drawn from a DC without one.
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CBitmap empty;
    EXPECT_EQ(memory.SelectObject(&empty), nullptr);
    EXPECT_FALSE(printer.StretchBlt(0, 0, 10, 10, &window, 0, 0, 1, 1, SRCCOPY));
    EXPECT_TRUE(memory.DeleteDC());
    EXPECT_FALSE(memory.DeleteDC());
}
