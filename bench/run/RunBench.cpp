// A run's benchmark: N files (default 20; a mix of small .docx, .xls, .ppt
// and 4-megapixel JPEG and PNG pictures made here) through the worker of the
// real conversion page with the real converters, office host and
// Ghostscript. Each file's time from dispatch to finished PDF is split, by
// instrumenting the calls, into office host, printer, Ghostscript and the
// waits for the print jobs; the same files then go through soffice and img2pdf.
//
//     run_bench [N]

#include "ChildPeakMemory.h"
#include "Comparisons.h"
#include "OfficeDocuments.h"
#include "PageTestTools.h"
#include "TimedConverters.h"
#include "TimedPage.h"
#include "TimingDispatchFactory.h"
#include "TimingPrinter.h"

#include "convert/CListBoxEx.h"
#include "converters/OpenPassword.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/OfficeHostConnection.h"
#include "platform/WarmOfficeConnection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <map>

namespace {

const QStringList kKinds = {"docx", "xls", "ppt", "jpg", "png"};
bool IsPicture(const QString& kind)
{
    return kind == "jpg" || kind == "png";
}

// A 4-megapixel picture with smooth colour and some grain, as a photograph
// has, so that neither format finds it trivially small.
QImage Photograph(int seed)
{
    QImage image(2448, 1634, QImage::Format_RGB32);
    quint32 noise = 2654435761u * static_cast<quint32>(seed + 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            line[x] = qRgb(qBound(0, x * 255 / image.width() + grain, 255),
                           qBound(0, y * 255 / image.height() + grain, 255),
                           qBound(0, (x + y + seed * 97) % 256 + grain, 255));
        }
    }
    return image;
}

// The benchmark's files, kinds in turn: file01.docx, file02.xls, ...
QStringList MakeFiles(int count, const QString& folder, QString* why)
{
    const QString documents = officedocuments::Folder(why);
    if (documents.isEmpty())
        return {};
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString kind = kKinds[i % kKinds.size()];
        const QString path =
            QStringLiteral("%1/file%2.%3").arg(folder).arg(i + 1, 2, 10, QChar(u'0')).arg(kind);
        const bool made = IsPicture(kind) ? Photograph(i).save(path, kind == "jpg" ? "JPG" : "PNG", 90)
                                          : QFile::copy(documents + "/sample." + kind, path);
        if (!made) {
            *why = "could not make " + path;
            return {};
        }
        files << path;
    }
    return files;
}

// One run of the page: the files listed, the folder typed, Convert clicked;
// returns the seconds until the worker has ended. The completion dialog is
// closed by the watcher.
double RunPage(CConvertDlg& page, const QStringList& files, const QString& folder,
               pagetest::CompletionWatcher& watcher)
{
    for (const QString& file : files)
        page.m_fileList->InsertString(-1, file);
    page.OnFilesDropped();
    DlgItem<QLineEdit>(&page, IDC_OUTPUT_FOLDER)->setText(folder);
    const int shownBefore = watcher.shown;
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(DlgItem<QAbstractButton>(&page, IDC_CONVERT), Qt::LeftButton);
    pagetest::WaitUntil([&] { return !page.IsConverting() && !page.IsWorkerRunning(); }, 3600000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    pagetest::WaitUntil([&] { return watcher.shown > shownBefore; }, 10000);
    return seconds;
}

double MiB(long kilobytes)
{
    return kilobytes / 1024.0;
}

struct KindRow
{
    int files = 0;
    int made = 0;
    double total = 0;
    TimingLedger::Sums parts{};
    double soffice = 0;
    int sofficeMade = 0;
    double img2pdf = 0;
    int img2pdfMade = 0;
};

QString Cell(double seconds, int count)
{
    return count > 0 ? QString::number(seconds / count, 'f', 2) : QStringLiteral("–");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The office profile and the scratch folder are the benchmark's own.
    QTemporaryDir cache, runtime, work, sofficeProfile;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);

    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20;
    if (count < 1) {
        std::fprintf(stderr, "usage: run_bench [number of files, at least 1]\n");
        return 2;
    }
    QDir dir(work.path());
    for (const char* sub : {"in", "warm", "page", "soffice-each", "soffice-all", "img2pdf"})
        dir.mkdir(QString::fromLatin1(sub));
    QString why;
    const QStringList files = MakeFiles(count, dir.filePath("in"), &why);
    if (files.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }

    ScriptedMessageBoxes boxes;
    MessageBoxDispatcher dispatcher{boxes};
    MessageBoxOverride boxesInPlace{&dispatcher, SetMessageBoxService};
    g_openPassword = kNoPassword;
    TimingDispatchFactory timedHosts;
    TimingPrinter::InstallAsDefault();

    TimedConverters converters(DefaultConverters());
    TimedPage page(converters.Set());
    page.show();
    if (!QTest::qWaitForWindowExposed(&page))
        std::fprintf(stderr, "the page was not shown\n");
    pagetest::CompletionWatcher watcher(page);

    // The first office host makes its LibreOffice profile: not timed.
    std::printf("warming up (one .docx through the page, one through soffice; the warm office %s)...\n",
                WarmOfficeConnection::Enabled() ? "made ready" : "turned off");
    std::fflush(stdout);
    QFile::copy(files.first(), dir.filePath("warm/warm.docx"));
    RunPage(page, {dir.filePath("warm/warm.docx")}, dir.filePath("warm"), watcher);
    converters.ClearResults();
    // That file started the warm office; every office file after the first
    // of a session finds it ready (FOLIANT_WARM_OFFICE=0: hosts start cold).
    if (WarmOfficeConnection::Enabled() &&
        !WarmOfficeConnection::Instance().WaitUntilReady(OfficeHostConnection::DefaultProgram(), 60000))
        std::fprintf(stderr, "the warm office did not get ready; hosts start cold\n");

    std::printf("converting %d files through the page...\n", count);
    std::fflush(stdout);
    const bool ownPeakReset = ChildPeakMemory::ResetOwnPeak();
    ChildPeakMemory childPeaks;
    const double pageSeconds = RunPage(page, files, dir.filePath("page"), watcher);
    childPeaks.Stop();
    const long runPeak = ChildPeakMemory::OwnPeakKiB();
    const QList<FileTiming> results = converters.Results();
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    TimingPrinter::RestoreDefault();

    std::map<QString, KindRow> rows;
    for (const FileTiming& timing : results) {
        KindRow& row = rows[timing.kind];
        ++row.files;
        row.made += timing.made ? 1 : 0;
        row.total += timing.total;
        for (int part = 0; part < TimingLedger::PartCount; ++part)
            row.parts[part] += timing.parts[part];
    }

    std::printf("comparing with soffice and img2pdf...\n");
    std::fflush(stdout);
    const comparisons::Soffice soffice(sofficeProfile.path());
    const bool haveSoffice = soffice.Available();
    const bool haveImg2pdf = comparisons::HaveImg2pdf();
    QStringList officeFiles;
    for (const QString& file : files)
        if (!IsPicture(QFileInfo(file).suffix()))
            officeFiles << file;
    if (haveSoffice && !officeFiles.isEmpty())
        soffice.WarmUp(dir.filePath("warm/warm.docx"), dir.filePath("warm")); // makes its profile
    for (const QString& file : files) {
        const QString kind = QFileInfo(file).suffix();
        if (!IsPicture(kind) && haveSoffice) {
            const comparisons::Timed timed = soffice.Convert({file}, dir.filePath("soffice-each"));
            rows[kind].soffice += timed.seconds;
            rows[kind].sofficeMade += timed.made;
        } else if (IsPicture(kind) && haveImg2pdf) {
            const comparisons::Timed timed = comparisons::Img2pdf(file, dir.filePath("img2pdf"));
            rows[kind].img2pdf += timed.seconds;
            rows[kind].img2pdfMade += timed.made;
        }
    }
    comparisons::Timed allInOne;
    if (haveSoffice && !officeFiles.isEmpty())
        allInOne = soffice.Convert(officeFiles, dir.filePath("soffice-all"));

    std::printf("\nseconds per file, from dispatch to finished PDF (mean per kind)\n\n");
    std::printf("| kind | files | PDFs | total | office host | printer | Ghostscript | waits | other |"
                " soffice, one process per file | img2pdf |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const QString& kind : kKinds) {
        if (!rows.count(kind) || rows[kind].files == 0)
            continue;
        const KindRow& row = rows[kind];
        double parts = 0;
        for (double part : row.parts)
            parts += part;
        const bool picture = IsPicture(kind);
        std::printf(
            "| %s | %d | %d | %s | %s | %s | %s | %s | %s | %s | %s |\n", qPrintable(kind), row.files,
            row.made, qPrintable(Cell(row.total, row.files)),
            qPrintable(Cell(row.parts[TimingLedger::OfficeHost], row.files)),
            qPrintable(Cell(row.parts[TimingLedger::Printer], row.files)),
            qPrintable(Cell(row.parts[TimingLedger::Ghostscript], row.files)),
            qPrintable(Cell(row.parts[TimingLedger::Waits], row.files)),
            qPrintable(Cell(row.total - parts, row.files)),
            picture ? "–"
            : haveSoffice
                ? qPrintable(
                      QStringLiteral("%1 (%2 PDFs)").arg(Cell(row.soffice, row.files)).arg(row.sofficeMade))
                : "skipped: no soffice",
            !picture ? "–"
            : haveImg2pdf
                ? qPrintable(
                      QStringLiteral("%1 (%2 PDFs)").arg(Cell(row.img2pdf, row.files)).arg(row.img2pdfMade))
                : "skipped: no img2pdf");
    }
    std::printf("\nthe whole run through the page (Convert to the worker's end): %.2f s for %d files\n",
                pageSeconds, count);
    if (haveSoffice && !officeFiles.isEmpty())
        std::printf("soffice, one process for all %lld office files: %.2f s (%.2f s per file, %d PDFs)\n",
                    static_cast<long long>(officeFiles.size()), allInOne.seconds,
                    allInOne.seconds / officeFiles.size(), allInOne.made);
    else
        std::printf("soffice, one process for all office files: skipped (%s)\n",
                    haveSoffice ? "no office files" : "no soffice");
    std::printf("peak memory of the GUI process: %.0f MiB during the run%s, %.0f MiB over its life"
                " (with making the inputs)\n",
                MiB(runPeak), ownPeakReset ? "" : " (could not be reset: its whole life)",
                MiB(self.ru_maxrss));
    const QMap<QString, long> peaks = childPeaks.PeaksKiB();
    const QMap<QString, long> privatePeaks = childPeaks.PrivatePeaksKiB();
    for (auto peak = peaks.cbegin(); peak != peaks.cend(); ++peak)
        std::printf("peak memory of %s (separate processes, largest one): %.0f MiB resident, %.0f MiB of it"
                    " private\n",
                    qPrintable(peak.key()), MiB(peak.value()), MiB(privatePeaks.value(peak.key())));
    std::printf("message boxes shown during the runs: %lld\n", static_cast<long long>(boxes.Boxes().size()));
    for (const ScriptedMessageBoxes::Box& box : boxes.Boxes())
        std::printf("  %s\n", qPrintable(box.request.text));
    return 0;
}
