// Times one small document of each kind from CreateDispatch to Quit through
// the office host (the print file written), started cold and forked from the
// warm office, against LibreOffice's own `soffice --headless --convert-to
// pdf` on the same file, in one run. All use a warm profile of their own; the
// first start is shown apart. Then COUNT files in a row through the warm
// office (`officehost_bench [COUNT]`, 200 by default), to show that it keeps
// no more processes, descriptors or scratch files than it started with.

#include "ChildPeakMemory.h"
#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include "platform/OfficeHostConnection.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmOfficeConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRuns = 5;

double Median(const std::function<void()>& work)
{
    QList<double> seconds;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        seconds.append(clock.nsecsElapsed() / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[kRuns / 2];
}

qsizetype Descriptors(qint64 pid)
{
    return QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::System | QDir::NoDotAndDotDot).size();
}

// Every file and folder under the scratch folder.
QStringList ScratchEntries()
{
    QStringList entries;
    QDirIterator it(ScratchFolder::Path(),
                    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next().mid(ScratchFolder::Path().size() + 1);
    return entries;
}

void PrintPeaks(const char* what, const ChildPeakMemory& peaks)
{
    const QMap<QString, long> resident = peaks.PeaksKiB(), own = peaks.PrivatePeaksKiB();
    std::printf("peak memory of the hosts %s:", what);
    for (auto p = resident.cbegin(); p != resident.cend(); ++p)
        std::printf(" %s %.0f MiB resident (%.0f private);", qPrintable(p.key()), p.value() / 1024.0,
                    own.value(p.key()) / 1024.0);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int soakCount = argc > 1 ? QByteArray(argv[1]).toInt() : 200;
    testtools::UsePrivateFolders();
    QTemporaryDir scratch, sofficeProfile;
    qputenv("FOLIANT_WARM_OFFICE", "0");
    QString why;
    const QString folder = officedocuments::Folder(&why);
    if (folder.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const QString spool = scratch.filePath(QStringLiteral("tmp.ps"));
    const QString noPassword = QStringLiteral("\x01");
    const QString docx = folder + QStringLiteral("/sample.docx");
    const QString xls = folder + QStringLiteral("/sample.xls");
    const QString ppt = folder + QStringLiteral("/sample.ppt");
    const QStringList sofficeBase = {QStringLiteral("--headless"),
                                     QStringLiteral("--norestore"),
                                     QStringLiteral("-env:UserInstallation=") +
                                         QUrl::fromLocalFile(sofficeProfile.path()).toString(),
                                     QStringLiteral("--convert-to"),
                                     QStringLiteral("pdf"),
                                     QStringLiteral("--outdir"),
                                     scratch.path()};
    auto soffice = [&](const QString& file) {
        if (testtools::RunTool(QStringLiteral("soffice"), sofficeBase + QStringList{file}).exitCode != 0)
            std::fprintf(stderr, "soffice failed on %s\n", qPrintable(file));
    };
    const struct
    {
        const char* name;
        QString file;
        std::function<void()> host;
    } cases[] = {
        {"sample.docx (Word)", docx, [&] { officesequences::PrintWithWord(docx, 0, noPassword, spool); }},
        {"sample.xls (Excel)", xls, [&] { officesequences::PrintWithExcel(xls, noPassword, spool); }},
        {"sample.ppt (PowerPoint)", ppt, [&] { officesequences::PrintWithPowerPoint(ppt, spool); }},
    };

    try {
        QElapsedTimer first;
        first.start();
        officesequences::PrintWithWord(docx, 0, noPassword, spool); // makes the host's profile
        const double hostFirst = first.nsecsElapsed() / 1e9;
        first.restart();
        soffice(docx); // makes soffice's profile
        const double sofficeFirst = first.nsecsElapsed() / 1e9;
        std::printf("first start (profile made): office host %.2f s, soffice %.2f s\n", hostFirst,
                    sofficeFirst);

        double cold[3], warm[3], office[3];
        {
            ChildPeakMemory peaks;
            for (int i = 0; i < 3; ++i)
                cold[i] = Median(cases[i].host);
            peaks.Stop();
            PrintPeaks("started cold", peaks);
        }
        for (int i = 0; i < 3; ++i)
            office[i] = Median([&] { soffice(cases[i].file); });

        qunsetenv("FOLIANT_WARM_OFFICE");
        QElapsedTimer warming;
        warming.start();
        if (!WarmOfficeConnection::Instance().WaitUntilReady(OfficeHostConnection::DefaultProgram(), 60000)) {
            std::fprintf(stderr, "the warm office did not start\n");
            return 1;
        }
        std::printf("the warm office ready after %.2f s\n", warming.nsecsElapsed() / 1e9);
        {
            ChildPeakMemory peaks;
            for (int i = 0; i < 3; ++i)
                warm[i] = Median(cases[i].host);
            peaks.Stop();
            PrintPeaks("forked from the warm office", peaks);
        }
        std::printf("\nmedian of %d runs, seconds, CreateDispatch..Quit\n\n", kRuns);
        std::printf(
            "| file | host started cold | host forked warm | soffice --convert-to pdf | warm / soffice |\n"
            "|---|---:|---:|---:|---:|\n");
        for (int i = 0; i < 3; ++i)
            std::printf("| %s | %.2f | %.2f | %.2f | %.2f |\n", cases[i].name, cold[i], warm[i], office[i],
                        warm[i] / office[i]);

        if (soakCount > 0) {
            const qint64 parent = WarmOfficeConnection::Instance().ProcessId();
            const qsizetype descriptors = Descriptors(parent);
            const long rss = ChildPeakMemory::StatusKiB(QString::number(parent), "VmRSS:");
            QElapsedTimer soak;
            soak.start();
            int failed = 0;
            for (int i = 0; i < soakCount; ++i) {
                try {
                    cases[i % 3].host();
                } catch (const CException& e) {
                    ++failed;
                    std::fprintf(stderr, "file %d: %s\n", i, e.what());
                }
            }
            std::printf(
                "\n%d files in a row through the warm office: %.1f s, %d failed; the same warm office: "
                "%s\n",
                soakCount, soak.nsecsElapsed() / 1e9, failed,
                WarmOfficeConnection::Instance().ProcessId() == parent ? "yes" : "no");
            std::printf(
                "warm office descriptors %lld before, %lld after; resident %ld kB before, %ld kB after; "
                "its processes left: %lld\n",
                static_cast<long long>(descriptors), static_cast<long long>(Descriptors(parent)), rss,
                ChildPeakMemory::StatusKiB(QString::number(parent), "VmRSS:"),
                static_cast<long long>(ChildPeakMemory::ChildrenOf(QString::number(parent)).size()));
            std::printf("scratch entries while it runs: %s\n", qPrintable(ScratchEntries().join(u' ')));
            WarmOfficeConnection::Instance().End();
            std::printf("after it ended: scratch entries: %s; processes of this run left: %lld\n",
                        qPrintable(ScratchEntries().join(u' ')),
                        static_cast<long long>(ChildPeakMemory::ChildrenOf(QStringLiteral("self")).size()));
        }
    } catch (const CException& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
