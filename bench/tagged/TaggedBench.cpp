// Times whole office files, untagged (the office printer's job, then
// Ghostscript) against tagged (LibreOffice's own PDF and the final steps, no
// Ghostscript): each document through the real converter, office host and PDF
// step kRuns times per row, the median shown with the PDF's size and words.

#include "HeadlessPage.h"
#include "PumpWhile.h"
#include "ScriptedMessageBoxes.h"
#include "TestTools.h"

#include "converters/Converters.h"
#include "converters/OpenPassword.h"
#include "platform/MessageBoxDispatcher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 5;

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testtools::UsePrivateFolders();
    QTemporaryDir corpus, output;
    const testtools::ToolResult made = testtools::RunTool(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(FOLIANT_TAGGED_DIR "/make_tagged_documents.py"), corpus.path()}, 600000);
    if (made.exitCode != 0) {
        std::fprintf(stderr, "make_tagged_documents.py failed: %s\n", made.err.constData());
        return 1;
    }
    g_openPassword = kNoPassword;
    // A message would be a failure: it is answered, and counted at the end.
    ScriptedMessageBoxes boxes;
    MessageBoxDispatcher dispatcher{boxes};
    MessageBoxService* previous = SetMessageBoxService(&dispatcher);
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
                testtools::RunOnWorkerWhilePumping([&]() { ConvertByKind(DefaultConverters(), page, source); });
                seconds.append(clock.nsecsElapsed() / 1e9);
            }
            std::sort(seconds.begin(), seconds.end());
            std::printf("%-14s %-9s %10.2f %12lld %8lld\n", name, tagged ? "yes" : "no", seconds[kRuns / 2],
                        QFileInfo(pdf).size(), qlonglong(testtools::PdfWords(pdf).size()));
        }
    }
    std::printf("message boxes shown: %lld\n", qlonglong(boxes.Boxes().size()));
    SetMessageBoxService(previous);
    return boxes.Boxes().isEmpty() ? 0 : 1;
}
