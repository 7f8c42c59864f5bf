// picture_bench [folder] [tiff]: makes a 12-megapixel JPEG and PNG of a photo-like
// scene in folder (a temporary one when none is given) and times, for each:
//   ours   - CImage::Load, one page on the PostScript printer, Ghostscript pdfwrite
//   floor  - one decode plus one encode of the same picture with the same libraries
//            (Qt's readers and writers): into its own format, and into JPEG, the
//            form Ghostscript's pdfwrite stores a photograph in
//   img2pdf - the Debian tool on the same file
// and the pages of a multi-page TIFF (50 and 100 pages) decoded one after another
// by CImage, against a reader opened anew for each page ("tiff": those alone).
// Each step runs in a child process of its own, so its peak memory is its own.
// Reports the median of the runs.

#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CImage.h"
#include "platform/CPrintDialog.h"
#include "platform/ScreenDeviceContext.h"

#include "TestPictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 3;

struct Sample
{
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

// A scene with smooth shading, edges and fine grain, so the codecs work as
// hard as on a photograph.
QImage Scene(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            const double u = double(x) / width, v = double(y) / height;
            const int r = int(128 + 100 * std::sin(6 * u + 3 * v)) + grain;
            const int g = int(128 + 90 * std::cos(9 * v - 2 * u)) + grain;
            const int b = ((x / 250 + y / 250) % 2 ? 200 : 60) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

Sample Measure(const std::function<bool()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0)
        _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {timer.nsecsElapsed() / 1e9, usage.ru_maxrss, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

Sample MeasureProgram(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {timer.nsecsElapsed() / 1e9, usage.ru_maxrss, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

Sample Median(std::vector<Sample> samples)
{
    std::sort(samples.begin(), samples.end(), [](auto& a, auto& b) { return a.seconds < b.seconds; });
    Sample middle = samples[samples.size() / 2];
    middle.ok = std::all_of(samples.begin(), samples.end(), [](auto& s) { return s.ok; });
    return middle;
}

// The picture converter's print: decode, default printer, one page, width 4720.
bool PrintPicture(const QString& path, const QString& spool)
{
    CImage image;
    if (!image.Load(path))
        return false;
    CBitmap bitmap;
    bitmap.Attach(image.Detach());
    CPrintDialog dialog(false);
    if (!dialog.GetDefaults())
        return false;
    CDC printer;
    printer.Attach(dialog.GetPrinterDC());
    DOCINFO info;
    info.lpszDocName = path;
    info.lpszOutput = spool;
    if (printer.StartDoc(&info) < 0 || printer.StartPage() < 0)
        return false;
    CDC window;
    window.Attach(GetDC(nullptr));
    CDC memory;
    if (!memory.CreateCompatibleDC(&window))
        return false;
    BITMAP header;
    bitmap.GetBitmap(&header);
    CBitmap* previous = memory.SelectObject(&bitmap);
    const float scale = 4730.0f / float(header.bmWidth);
    const bool drawn = printer.StretchBlt(0, 0, 4720, int(double(float(header.bmHeight)) * double(scale)),
                                          &memory, 0, 0, header.bmWidth, header.bmHeight, SRCCOPY);
    const bool ended = printer.EndPage() > 0 && printer.EndDoc() > 0;
    memory.SelectObject(previous);
    return drawn && ended;
}

bool DecodeAndEncode(const QString& path, const QByteArray& format)
{
    QImage image;
    if (!QImageReader(path).read(&image))
        return false;
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) && !encoded.isEmpty();
}

double Megabytes(const QString& path)
{
    return QFileInfo(path).size() / 1e6;
}

// Every page of a multi-page picture, as the converter reads them.
bool ReadPages(const QString& path, int pages)
{
    CImage image;
    if (!image.Open(path) || image.PageCount() != pages)
        return false;
    for (int page = 0; page < pages; ++page)
        if (!image.LoadPage(page))
            return false;
    return true;
}

// Every page, each from a reader of its own that opens the file and
// counts its pages again.
bool ReadPagesReopened(const QString& path, int pages)
{
    for (int page = 0; page < pages; ++page) {
        QImageReader reader(path);
        QImage image;
        if (reader.imageCount() != pages || !reader.jumpToImage(page) || !reader.read(&image))
            return false;
    }
    return true;
}

void Report(const char* what, const Sample& sample, const QString& note = {})
{
    std::printf("  %-34s %7.3f s  peak %6.0f MB  %s%s\n", what, sample.seconds, sample.peakKilobytes / 1024.0,
                sample.ok ? "" : "FAILED ", qPrintable(note));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    const QString jpeg = folder + "/scene.jpg", png = folder + "/scene.png";
    if (!QFileInfo::exists(jpeg) || !QFileInfo::exists(png)) {
        const QImage scene = Scene(4000, 3000);
        scene.save(jpeg, "JPEG", 90);
        scene.save(png, "PNG");
    }
    const QString spool = folder + "/tmp.ps", pdf = folder + "/out.pdf";
    const bool haveImg2pdf = !QStandardPaths::findExecutable("img2pdf").isEmpty();

    const bool tiffOnly = argc > 2 && qstrcmp(argv[2], "tiff") == 0;
    if (!tiffOnly)
        std::printf("picture -> PDF, 4000 x 3000 pixels, median of %d runs\n", kRuns);
    for (const QString& picture : tiffOnly ? QStringList() : QStringList{jpeg, png}) {
        const QByteArray format = QFileInfo(picture).suffix() == "jpg" ? "JPEG" : "PNG";
        std::vector<Sample> print, ghostscript, total, floor, floorJpeg, img2pdf;
        for (int run = 0; run < kRuns; ++run) {
            print.push_back(Measure([&] { return PrintPicture(picture, spool); }));
            ghostscript.push_back(MeasureProgram(
                {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", pdf, spool}));
            total.push_back({print.back().seconds + ghostscript.back().seconds,
                             std::max(print.back().peakKilobytes, ghostscript.back().peakKilobytes),
                             print.back().ok && ghostscript.back().ok});
            floor.push_back(Measure([&] { return DecodeAndEncode(picture, format); }));
            floorJpeg.push_back(Measure([&] { return DecodeAndEncode(picture, "JPEG"); }));
            if (haveImg2pdf)
                img2pdf.push_back(MeasureProgram({"img2pdf", picture, "-o", folder + "/img2pdf.pdf"}));
        }
        std::printf("%s (%.1f MB)\n", qPrintable(QFileInfo(picture).fileName()), Megabytes(picture));
        Report("decode + PostScript printer", Median(print),
               QStringLiteral("spool %1 MB").arg(Megabytes(spool), 0, 'f', 1));
        Report("Ghostscript pdfwrite", Median(ghostscript),
               QStringLiteral("PDF %1 MB").arg(Megabytes(pdf), 0, 'f', 1));
        Report("whole road", Median(total));
        Report(("floor: decode + encode " + format).constData(), Median(floor));
        if (format != "JPEG")
            Report("floor: decode + encode JPEG", Median(floorJpeg));
        if (haveImg2pdf)
            Report("img2pdf", Median(img2pdf),
                   QStringLiteral("PDF %1 MB").arg(Megabytes(folder + "/img2pdf.pdf"), 0, 'f', 1));
        else
            std::printf("  img2pdf: not installed\n");
    }

    // A scanned document: pages of 600 x 800 pixels (uncompressed RGB).
    std::printf("multi-page TIFF, 600 x 800 pixels a page, median of %d runs\n", kRuns);
    for (int pages : {50, 100}) {
        const QString tiff = folder + QStringLiteral("/pages-%1.tif").arg(pages);
        if (!QFileInfo::exists(tiff)) {
            const QImage page = Scene(600, 800);
            QFile file(tiff);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(testpictures::Tiff(QList<QImage>(pages, page))) <= 0)
                return 1;
        }
        std::vector<Sample> ours, reopened;
        for (int run = 0; run < kRuns; ++run) {
            ours.push_back(Measure([&] { return ReadPages(tiff, pages); }));
            reopened.push_back(Measure([&] { return ReadPagesReopened(tiff, pages); }));
        }
        std::printf("%d pages (%.1f MB)\n", pages, Megabytes(tiff));
        Report("CImage, every page", Median(ours));
        Report("a reader opened for each page", Median(reopened));
    }
    return 0;
}
