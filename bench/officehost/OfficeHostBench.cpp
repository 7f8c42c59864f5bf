// Times one small document of each kind from CreateDispatch to Quit through
// the office host (the print file written), against LibreOffice's
// own `soffice --headless --convert-to pdf` on the same file, in one run.
// Both use a warm profile of their own; the first start is shown apart.

#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir cache, scratch, sofficeProfile;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
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
        std::printf(
            "median of %d runs, seconds   office host (CreateDispatch..Quit)   soffice --convert-to pdf\n",
            kRuns);
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
        for (const auto& c : cases) {
            const double host = Median(c.host);
            const double office = Median([&] { soffice(c.file); });
            std::printf("%-28s %12.2f %36.2f\n", c.name, host, office);
        }
    } catch (const CException& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
