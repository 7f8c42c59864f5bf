// ocr_bench [SCANS] [ROUNDS]: text recognition of pictures, timed.
//   1. SCANS scans (4) made at run time, as the tests make them, each read
//      by `tesseract` alone (the page segmentation and output the program
//      asks for, on the file) and converted by foliant-convert with and
//      without --ocr: recognition's own time is the difference, against
//      Tesseract alone (goal: at most 1.3 times).
//   2. Ten scans through foliant-convert --ocr with --jobs 2 against
//      --jobs 1 (goal: at most 0.6 times).
//   3. The peak resident memory of foliant-convert and of its Tesseract.
// Each measure is the median of ROUNDS (3) runs, one after the other. Runs in
// a private home. Needs a built foliant-convert beside this program.
#include "ChildPeakMemory.h"
#include "TestScans.h"
#include "TestTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

// CPU seconds (user and system) of every program this process has waited
// for, with everything they waited for in turn.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Wall seconds of a program run to its end; negative when it failed.
double Timed(const QString& program, const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    const testtools::ToolResult result = testtools::RunTool(program, arguments, 1800000);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (result.exitCode != 0) {
        std::fprintf(stderr, "ocr_bench: %s failed: %s\n", qPrintable(program), result.err.constData());
        return -1;
    }
    return seconds;
}

double MedianOf(int rounds, const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i)
        times.push_back(run());
    return Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    // The scans are drawn with the system's fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int scans = argc > 1 ? std::max(1, atoi(argv[1])) : 4;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    testtools::UsePrivateFolders();
    const QString convert = QCoreApplication::applicationDirPath() + QStringLiteral("/foliant-convert");
    const QString tesseract = QStringLiteral("tesseract");
    if (!testtools::HaveTool(tesseract) || !QFileInfo(convert).isExecutable()) {
        std::fprintf(stderr, "ocr_bench: needs tesseract and %s\n", qPrintable(convert));
        return 2;
    }
    QTemporaryDir work;
    const QDir in(work.filePath("in"));
    QDir().mkpath(in.path());
    QStringList files;
    for (int i = 0; i < std::max(scans, 10); ++i) {
        const QString path = in.filePath(QStringLiteral("scan-%1.png").arg(i, 2, 10, QLatin1Char('0')));
        testscans::Make(i % 3).image.save(path);
        files << path;
    }
    std::printf("%d cores, load %s", QThread::idealThreadCount(),
                testtools::ReadFile(QStringLiteral("/proc/loadavg")).left(15).constData());
    std::printf("\nscans of 1400 x 1000 pixels, three sentences each; median of %d runs\n\n", rounds);

    // 1. Recognition against Tesseract alone.
    const QStringList some = files.mid(0, scans);
    auto convertAll = [&](const QStringList& extra, const QStringList& inputs) {
        const QString out = work.filePath(QStringLiteral("out"));
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        return Timed(convert, extra + QStringList{"--overwrite", "-o", out} + inputs);
    };
    const double alone = MedianOf(rounds, [&] {
        double total = 0;
        for (const QString& file : some)
            total += Timed(tesseract, {file, work.filePath("alone"), "--psm", "1", "-l", "eng", "-c",
                                       "textonly_pdf=1", "pdf", "txt"});
        return total;
    });
    const double plain = MedianOf(rounds, [&] { return convertAll({}, some); });
    const double withText = MedianOf(rounds, [&] { return convertAll({"--ocr"}, some); });
    std::printf("%d scans: tesseract alone %.2f s; foliant-convert %.2f s, with --ocr %.2f s\n", scans, alone,
                plain, withText);
    std::printf("  recognition's own time %.2f s = %.2fx tesseract alone (goal <= 1.3x)\n\n",
                withText - plain, (withText - plain) / alone);

    // 2. Two jobs against one, and 3. the memory of a job.
    const QStringList ten = files.mid(0, 10);
    double cpu = ChildrenCpuSeconds();
    const double one = MedianOf(rounds, [&] { return convertAll({"--ocr", "--jobs", "1"}, ten); });
    const double oneCpu = (ChildrenCpuSeconds() - cpu) / rounds;
    ChildPeakMemory memory;
    cpu = ChildrenCpuSeconds();
    const double two = MedianOf(rounds, [&] { return convertAll({"--ocr", "--jobs", "2"}, ten); });
    const double twoCpu = (ChildrenCpuSeconds() - cpu) / rounds;
    memory.Stop();
    std::printf("10 scans with --ocr: --jobs 1 %.2f s, --jobs 2 %.2f s = %.2fx (goal <= 0.6x)\n", one, two,
                two / one);
    std::printf("  CPU time of a run (user and system, every program): --jobs 1 %.2f s, --jobs 2 %.2f s\n",
                oneCpu, twoCpu);
    const QMap<QString, long> peaks = memory.PeaksKiB();
    std::printf("peak resident memory with --jobs 2: foliant-convert %ld KiB (both jobs), tesseract %ld KiB "
                "(each job's)\n",
                peaks.value(QStringLiteral("foliant-convert"), -1),
                peaks.value(QStringLiteral("tesseract"), -1));
    return 0;
}
