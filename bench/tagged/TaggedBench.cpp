// Times whole office files, untagged (the office printer's job, then
// Ghostscript) against tagged (LibreOffice's own PDF and the final steps, no
// Ghostscript): each document through the real converter, office host and PDF
// step kRuns times per row, the median shown with the PDF's size and words.

#include "HeadlessPage.h"
#include "OfficeBench.h"
#include "PumpWhile.h"
#include "TestTools.h"

#include "converters/Converters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 5;

} // namespace

int main(int argc, char** argv)
{
    OfficeBench bench(argc, argv, QStringLiteral(FOLIANT_DOCUMENTS_DIR "/make_tagged_documents.py"));
    if (!bench.Ready())
        return 1;
    const QDir corpus = bench.Corpus(), output = bench.Output();
    std::printf("whole office file (office host, export, PDF step), median of %d runs\n", kRuns);
    std::printf("%-14s %-9s %10s %12s %8s\n", "document", "tagged", "seconds", "PDF bytes", "words");
    for (const char* name : {"report.docx", "figures.xlsx", "slides.pptx"}) {
        const QString source = corpus.filePath(QString::fromLatin1(name));
        const QString pdf = output.filePath(QFileInfo(source).completeBaseName() + ".pdf");
        for (const bool tagged : {false, true}) {
            QList<double> seconds;
            for (int i = 0; i < kRuns; ++i) {
                HeadlessPage page(output.path());
                page.settings.tagged = tagged;
                QElapsedTimer clock;
                clock.start();
                testtools::RunOnWorkerWhilePumping(
                    [&]() { ConvertByKind(DefaultConverters(), page, source); });
                seconds.append(clock.nsecsElapsed() / 1e9);
            }
            std::sort(seconds.begin(), seconds.end());
            std::printf("%-14s %-9s %10.2f %12lld %8lld\n", name, tagged ? "yes" : "no", seconds[kRuns / 2],
                        QFileInfo(pdf).size(), qlonglong(testtools::PdfWords(pdf).size()));
        }
    }
    return bench.Finish();
}
