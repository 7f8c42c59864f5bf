#include "pdf/WarmGhostscriptArguments.h"
#include "pdf/ArchiveFormat.h"
#include "pdf/GhostscriptArguments.h"
#include "pdf/GhostscriptCommandLine.h"
#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace {

QStringList PdfStepArguments(const ConversionSettings& settings, const QString& temporaryPdf)
{
    GhostscriptPaths paths;
    paths.spoolFile = QStringLiteral("/run/f/tmp.ps");
    paths.pdfmarksFile = QStringLiteral("/run/f/pdfmarks");
    const QStringList split = SplitWindowsCommandLine(
        BuildGhostscriptCommandLine(settings, QStringLiteral("/in/a.doc"), QStringLiteral("/out"), paths));
    QStringList arguments =
        AdaptGhostscriptArguments(split, temporaryPdf, QStringLiteral("/run/f/args")).arguments;
    arguments.prepend(QStringLiteral("-dPassThroughJPEGImages=true"));
    return arguments;
}

} // namespace

TEST(WarmGhostscriptArguments, RunsThePdfStepsVectorAsTheProgramWouldOrRefusesIt)
{
    const ConversionSettings settings;
    const std::optional<WarmGhostscriptJob> job = WarmGhostscriptJobFor(
        PdfStepArguments(settings, QStringLiteral("/out/100%/.t (1).pdf")), "/run/f/gs");
    ASSERT_TRUE(job);
    // The device is opened with its switches; the job names its file, then
    // runs the code and the files in the order given.
    EXPECT_EQ(job->deviceSwitches, QStringList({QStringLiteral("-dPassThroughJPEGImages=true"),
                                                QStringLiteral("-dCompatibilityLevel=1.3")}));
    EXPECT_EQ(job->writablePath, QStringLiteral("/out/100%/.t (1).pdf"));
    EXPECT_EQ(job->readablePaths,
              QStringList({QStringLiteral("/run/f/pdfmarks"), QStringLiteral("/run/f/tmp.ps"),
                           QStringLiteral("/run/f/pdfmarks")}));
    EXPECT_EQ(job->temporaryFolder, QStringLiteral("/run/f/gs"));
    const QByteArray pdfmarks = '<' + QByteArray("/run/f/pdfmarks").toHex() + "> run\n";
    EXPECT_EQ(job->program,
              "<< /OutputFile <" + QByteArray("/out/100%%/.t (1).pdf").toHex() + "> >> setpagedevice\n" +
                  "/.setpdfwrite where {pop} {/.setpdfwrite {3000000 setvmthreshold} bind def} ifelse "
                  ".setpdfwrite\n" +
                  pdfmarks + "<< >> setpagedevice\n<" + QByteArray("/run/f/tmp.ps").toHex() + "> run\n" +
                  pdfmarks);

    // What the warm Ghostscript cannot run as the program would goes to the program.
    ConversionSettings secured;
    secured.securityEnabled = true;
    secured.ownerPassword = QStringLiteral("o");
    EXPECT_FALSE(WarmGhostscriptJobFor(PdfStepArguments(secured, QStringLiteral("/out/t.pdf")), {}))
        << "the passwords' argument file";
    EXPECT_FALSE(WarmGhostscriptJobFor(
        AddArchiveArguments(PdfStepArguments(settings, QStringLiteral("/out/t.pdf")),
                            QStringLiteral("/run/f/pdfa_def.ps"), QStringLiteral("/srgb.icc")),
        {}))
        << "PDF/A";
    QStringList other = PdfStepArguments(settings, QStringLiteral("/out/t.pdf"));
    other.replaceInStrings(QStringLiteral("-sDEVICE=pdfwrite"), QStringLiteral("-sDEVICE=ps2write"));
    EXPECT_FALSE(WarmGhostscriptJobFor(other, {})) << "another device";
    QStringList pages = PdfStepArguments(settings, QStringLiteral("/out/t.pdf"));
    pages.replaceInStrings(QStringLiteral("-sOutputFile=/out/t.pdf"),
                           QStringLiteral("-sOutputFile=/out/p%d.pdf"));
    EXPECT_FALSE(WarmGhostscriptJobFor(pages, {})) << "a file per page";
    QStringList unsafe = PdfStepArguments(settings, QStringLiteral("/out/t.pdf"));
    unsafe.removeAll(QStringLiteral("-dSAFER"));
    EXPECT_FALSE(WarmGhostscriptJobFor(unsafe, {})) << "without -dSAFER";
    QStringList code = PdfStepArguments(settings, QStringLiteral("/out/t.pdf"));
    code.replaceInStrings(QStringLiteral("-dCompatibilityLevel=1.3"),
                          QStringLiteral("-dCompatibilityLevel=(x)"));
    EXPECT_FALSE(WarmGhostscriptJobFor(code, {})) << "a switch value that is not a number";
}
