// Times the PDF step (MakePdfFromSpool: Ghostscript on the office printer's
// job) for documents with transparency, made with LibreOffice as the fidelity
// tests make them, at V1.3 against V1.4, and at V1.3 for a job that still
// carries its transparency (how V1.3 was printed before). Each document goes
// through the real converter and office host once per row; the PDF step is
// then run kRuns times on the same job and its median shown, with the PDF's
// size and the words pdftotext finds in it.

#include "HeadlessPage.h"
#include "OfficeBench.h"
#include "PumpWhile.h"
#include "TestTools.h"

#include "converters/Converters.h"
#include "pdf/GhostscriptRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 5;

struct Row
{
    QString label;
    PdfVersion version = PdfVersion::V1_3;
    bool transparentJob = false; // the printer is told a version with transparency
};

// The headless page, with the PDF step run kRuns times and timed.
class TimedPage : public HeadlessPage
{
public:
    using HeadlessPage::HeadlessPage;

    QString PdfCompatibilityLevel() override
    {
        return transparentJob ? QStringLiteral("1.4") : HeadlessPage::PdfCompatibilityLevel();
    }
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override
    {
        PdfOutcome outcome;
        QList<double> seconds;
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer clock;
            clock.start();
            outcome = HeadlessPage::MakePdfFromSpool(sourcePath);
            seconds.append(clock.nsecsElapsed() / 1e9);
        }
        std::sort(seconds.begin(), seconds.end());
        median = seconds[kRuns / 2];
        return outcome;
    }

    bool transparentJob = false;
    double median = 0;
};

int WordCount(const QString& pdf)
{
    return testtools::PdfWords(pdf).size();
}

} // namespace

int main(int argc, char** argv)
{
    OfficeBench bench(argc, argv, QStringLiteral(FOLIANT_DOCUMENTS_DIR "/make_fidelity_documents.py"));
    if (!bench.Ready())
        return 1;
    const QDir corpus = bench.Corpus(), output = bench.Output();
    const QList<Row> rows{{QStringLiteral("V1.3, flattened job"), PdfVersion::V1_3, false},
                          {QStringLiteral("V1.3, job as before"), PdfVersion::V1_3, true},
                          {QStringLiteral("V1.4"), PdfVersion::V1_4, false}};
    std::printf("PDF step (Ghostscript), median of %d runs\n", kRuns);
    std::printf("%-16s %-20s %10s %12s %8s %14s\n", "document", "version", "seconds", "PDF bytes", "words",
                "LibreOffice's");
    for (const char* name : {"alpha.docx", "undershape.docx", "shadows.ppt", "alphasheet.xls", "long.docx"}) {
        const QString source = corpus.filePath(QString::fromLatin1(name));
        const QString reference =
            corpus.filePath(QStringLiteral("reference/") + QFileInfo(source).completeBaseName() + ".pdf");
        for (const Row& row : rows) {
            TimedPage page(output.path());
            page.settings.pdfVersion = row.version;
            page.transparentJob = row.transparentJob;
            testtools::RunOnWorkerWhilePumping([&]() { ConvertByKind(DefaultConverters(), page, source); });
            const QString pdf = output.filePath(QFileInfo(source).completeBaseName() + ".pdf");
            std::printf("%-16s %-20s %10.2f %12lld %8d %8d words\n", name, qPrintable(row.label), page.median,
                        QFileInfo(pdf).size(), WordCount(pdf), WordCount(reference));
        }
    }
    return bench.Finish();
}
