// The text step of pictures: where the words are laid, how Tesseract is
// run, which languages it offers, and what a page it cannot read costs.
#include "HeadlessPage.h"
#include "PumpWhile.h"
#include "ScriptedMessageBoxes.h"
#include "TestPictures.h"
#include "TestScans.h"
#include "TestSpoolFiles.h"
#include "TestTools.h"

#include "converters/Converters.h"
#include "pdf/GhostscriptRunner.h"
#include "pdf/PicturePlacement.h"
#include "pdf/PictureTextLayer.h"
#include "pdf/RecognitionLanguages.h"
#include "pdf/TextRecognizer.h"
#include "platform/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>

namespace {

using testtools::RunTool;

// A one-page PDF of the given size whose content is content, with an image
// /Im of 40 x 20 grey samples and a second one /Small of 4 x 4.
void WritePicturePdf(const QString& path, double width, double height, const std::string& content)
{
    QPDF pdf;
    pdf.emptyPDF();
    auto image = [&](int w, int h) {
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf, std::string(size_t(w * h), '\x80'));
        stream.replaceDict(QPDFObjectHandle::parse("<< /Type /XObject /Subtype /Image /Width " +
                                                   std::to_string(w) + " /Height " + std::to_string(h) +
                                                   " /ColorSpace /DeviceGray /BitsPerComponent 8 >>"));
        return stream;
    };
    QPDFObjectHandle page = pdf.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Page /MediaBox [0 0 " + std::to_string(width) + " " + std::to_string(height) + "] >>"));
    QPDFObjectHandle xObjects = QPDFObjectHandle::newDictionary();
    xObjects.replaceKey("/Im", image(40, 20));
    xObjects.replaceKey("/Small", image(4, 4));
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xObjects);
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(page), false);
    const QByteArray fileName = QFile::encodeName(path); // read again when written
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();
}

// A text-only page as Tesseract writes one: 72 x 36 points, the word
// "Marker" in invisible text.
void WriteTextPdf(const QString& path)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle page = pdf.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Page /MediaBox [0 0 72 36] /Resources << /Font << /F1 << /Type /Font /Subtype /Type1 "
        "/BaseFont /Helvetica >> >> >> >>"));
    page.replaceKey("/Contents",
                    QPDFObjectHandle::newStream(&pdf, "BT 3 Tr /F1 8 Tf 12 14 Td (Marker) Tj ET\n"));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(page), false);
    const QByteArray fileName = QFile::encodeName(path); // read again when written
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();
}

TEST(TextLayer, TheWordsLieOverThePictureWhereverAndHoweverItIsDrawn)
{
    QTemporaryDir work;
    const QString text = work.filePath("text.pdf");
    WriteTextPdf(text);
    const QList<testscans::Word> alone = testscans::PdfWords(text, 1);
    ASSERT_EQ(alone.size(), 1);
    // The word's centre on the text page, from its foot.
    const double u = alone[0].center.x() / 72, v = (36 - alone[0].center.y()) / 36;

    const struct
    {
        const char* name;
        std::string content;
        double a, b, c, d, e, f; // how the image's unit square lands on the page
    } cases[] = {
        {"upright", "q 1 0 0 1 30 40 cm q 200 0 0 100 0 0 cm /Im Do Q Q", 200, 0, 0, 100, 30, 40},
        {"a smaller image drawn later", "q 200 0 0 100 30 40 cm /Im Do Q q 20 0 0 20 500 700 cm /Small Do Q",
         200, 0, 0, 100, 30, 40},
        {"turned a quarter", "q 0 200 -100 0 300 100 cm /Im Do Q", 0, 200, -100, 0, 300, 100},
        {"transformations in a row", "q 2 0 0 2 10 10 cm 100 0 0 50 0 0 cm /Im Do Q", 200, 0, 0, 100, 10, 10},
        {"an inline image too",
         "q 5 0 0 5 0 0 cm BI /W 2 /H 2 /CS /G /BPC 8 ID \x01\x02\x03\x04 EI Q "
         "q 200 0 0 100 30 40 cm /Im Do Q",
         200, 0, 0, 100, 30, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pictured = work.filePath("picture.pdf"), layered = work.filePath("layered.pdf");
        WritePicturePdf(pictured, 600, 800, c.content);
        QPDF pdf;
        pdf.processFile(QFile::encodeName(pictured).constData());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        const std::optional<PicturePlacement> place = PicturePlacement::Find(pages[0]);
        ASSERT_TRUE(place);
        EXPECT_EQ(place->width, 40);
        EXPECT_EQ(place->height, 20);
        {
            PictureTextLayer layer(pdf);
            layer.Lay(pages[0], *place, text);
            const QByteArray fileName = QFile::encodeName(layered); // read again when written
            QPDFWriter writer(pdf, fileName.constData());
            writer.write();
        }
        const QList<testscans::Word> found = testscans::PdfWords(layered, 1);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found[0].text, "Marker");
        const QPointF expected(c.a * u + c.c * v + c.e, 800 - (c.b * u + c.d * v + c.f));
        EXPECT_LT(std::hypot(found[0].center.x() - expected.x(), found[0].center.y() - expected.y()), 1.0)
            << found[0].center.x() << ", " << found[0].center.y();
        // The page itself draws as before: the text is invisible.
        EXPECT_EQ(RunTool("pdftoppm", {"-r", "20", "-gray", layered}).out,
                  RunTool("pdftoppm", {"-r", "20", "-gray", pictured}).out);
    }
}

// Records each request and answers as told, without running anything.
struct AnsweringRunner : ProcessRunner
{
    ProcessResult Run(const ProcessRequest& request) override
    {
        requests << request;
        ProcessResult result = answer;
        if (result.status == ProcessResult::Status::Finished && result.exitCode == 0) {
            testtools::WriteFile(request.arguments[1] + ".pdf", "%PDF-1.5\n");
            testtools::WriteFile(request.arguments[1] + ".txt", words);
        }
        return result;
    }
    QList<ProcessRequest> requests;
    ProcessResult answer;
    QByteArray words = "Invoice\n";
};

TEST(TextRecognizer, RunsTesseractAloneWithItsArgumentsLimitsAndOutcomes)
{
    QTemporaryDir work;
    AnsweringRunner runner;
    runner.answer.status = ProcessResult::Status::Finished;
    runner.answer.exitCode = 0;
    TextRecognizer::Options options;
    options.executable = "/usr/bin/tesseract";
    options.languages = "eng+deu";
    options.timeoutMs = 1234;
    options.runner = &runner;
    const TextRecognizer recognizer(options);
    qputenv("TESSDATA_PREFIX", "/somewhere/else");
    qputenv("OMP_NUM_THREADS", "64");
    const QString base = work.filePath("page-1");
    TextRecognizer::Result result = recognizer.Recognize(work.filePath("page-1.pgm"), 315, base, work.path());
    qunsetenv("TESSDATA_PREFIX");
    qunsetenv("OMP_NUM_THREADS");
    EXPECT_EQ(result.status, TextRecognizer::Result::Status::Recognized);
    EXPECT_TRUE(result.words);
    EXPECT_EQ(result.textPdf, base + ".pdf");
    ASSERT_EQ(runner.requests.size(), 1);
    const ProcessRequest& request = runner.requests[0];
    EXPECT_EQ(request.program, "/usr/bin/tesseract");
    EXPECT_EQ(request.arguments,
              QStringList({work.filePath("page-1.pgm"), base, "--dpi", "315", "-l", "eng+deu", "--psm", "1",
                           "-c", "textonly_pdf=1", "pdf", "txt"}));
    EXPECT_EQ(request.timeoutMs, 1234);
    EXPECT_FALSE(request.environment.contains("TESSDATA_PREFIX"));
    EXPECT_FALSE(request.environment.contains("OMP_NUM_THREADS"));
    EXPECT_EQ(request.environment.value("OMP_THREAD_LIMIT"), "1");
    EXPECT_EQ(request.environment.value("TMPDIR"), work.path());

    // Only white space: read, but no words.
    runner.words = " \n\f";
    EXPECT_FALSE(recognizer.Recognize(work.filePath("p.pgm"), 20, base, work.path()).words);
    EXPECT_EQ(runner.requests.last().arguments[3], "70") << "the least resolution Tesseract takes";

    const struct
    {
        ProcessResult::Status status;
        int exitCode;
        TextRecognizer::Result::Status expected;
        const char* reason;
    } outcomes[] = {
        {ProcessResult::Status::Crashed, -1, TextRecognizer::Result::Status::Failed,
         "Tesseract ended abnormally."},
        {ProcessResult::Status::TimedOut, -1, TextRecognizer::Result::Status::Failed,
         "did not finish within"},
        {ProcessResult::Status::Stopped, -1, TextRecognizer::Result::Status::Stopped, "Stopped."},
        {ProcessResult::Status::FailedToStart, -1, TextRecognizer::Result::Status::Failed,
         "could not be started"},
        {ProcessResult::Status::Finished, 1, TextRecognizer::Result::Status::Failed,
         "Tesseract: Error opening"},
    };
    for (const auto& o : outcomes) {
        runner.answer.status = o.status;
        runner.answer.exitCode = o.exitCode;
        runner.answer.standardError = "Tesseract Open Source OCR Engine\nError opening data file\n";
        result = recognizer.Recognize(work.filePath("x.pgm"), 300, work.filePath("x"), work.path());
        EXPECT_EQ(result.status, o.expected) << o.reason;
        EXPECT_TRUE(result.reason.contains(o.reason)) << result.reason.toStdString();
    }
}

TEST(RecognitionLanguages, TheInstalledOnesAreOfferedEnglishFirstAndNoOthersTaken)
{
    const QStringList installed = recognitionlanguages::Installed();
    ASSERT_TRUE(installed.contains("eng")) << installed.join(u' ').toStdString();
    EXPECT_FALSE(installed.contains("osd")) << "orientation data is no language";
    EXPECT_EQ(recognitionlanguages::Default(installed), "eng");
    EXPECT_EQ(recognitionlanguages::Default({"fra", "deu"}), "fra");
    EXPECT_EQ(recognitionlanguages::Installed("/nonexistent/tesseract"), QStringList{});
    EXPECT_EQ(recognitionlanguages::Split("eng+deu"), QStringList({"eng", "deu"}));

    const QStringList here{"eng", "deu"};
    EXPECT_EQ(recognitionlanguages::Refusal("eng", here), "");
    EXPECT_EQ(recognitionlanguages::Refusal("deu+eng", here), "");
    for (const char* bad : {"fra", "eng+fra", "-l", "", "+", "eng+../x"})
        EXPECT_FALSE(recognitionlanguages::Refusal(bad, here).isEmpty()) << bad;
    EXPECT_TRUE(recognitionlanguages::Refusal("eng", {}).contains("none is installed"));
}

// Runs every program for real, but Tesseract on the page named by crashOn
// crashes; notes the programs run. Once Tesseract has the first page, the
// file named by removeAfterFirstPage is removed.
struct CrashingRunner : ProcessRunner
{
    ProcessResult Run(const ProcessRequest& request) override
    {
        {
            QMutexLocker lock(&mutex);
            programs << QFileInfo(request.program).fileName();
        }
        if (!removeAfterFirstPage.isEmpty() && request.arguments.value(0).endsWith("page-1.pgm"))
            QFile::remove(removeAfterFirstPage);
        if (!crashOn.isEmpty() && request.arguments.value(0).endsWith(crashOn)) {
            ProcessResult crashed;
            crashed.status = ProcessResult::Status::Crashed;
            return crashed;
        }
        return ProcessRunner::System().Run(request);
    }
    QMutex mutex;
    QStringList programs;
    QString crashOn;
    QString removeAfterFirstPage;
};

// The picture converter's page whose PDF step recognises text.
class RecognizingPage : public HeadlessPage
{
public:
    using HeadlessPage::HeadlessPage;
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override
    {
        GhostscriptOptions options;
        options.runner = &runner;
        options.picture = true;
        QString why;
        options.scratchFolder = QFileInfo(SpoolFilePath(&why)).path();
        return ::MakePdfFromSpool(settings, sourcePath, OutputFolder(), options);
    }
    CrashingRunner runner;
};

TEST(PictureText, APageTesseractCannotReadLosesOnlyItsOwnTextAndIsToldOnce)
{
    testtools::UsePrivateFolders();
    QTemporaryDir work;
    const QString tiff = work.filePath("pages.tif");
    const testscans::Scan letter = testscans::Make(0), notes = testscans::Make(1), story = testscans::Make(2);
    ASSERT_TRUE(testtools::WriteFile(tiff, testpictures::Tiff({letter.image, notes.image, story.image})));
    RecognizingPage page(work.path());
    page.settings.recognizeText = true;
    // Encrypted by the final step, as the words are laid over an unencrypted PDF.
    page.settings.securityEnabled = true;
    page.settings.encryption = EncryptionMethod::Rc4_128;
    page.settings.ownerPassword = "owner";
    page.settings.userPasswordEnabled = false;
    page.runner.crashOn = "page-2.pgm";
    // The later pages are read from the file as it was opened.
    page.runner.removeAfterFirstPage = tiff;
    ScriptedMessageBoxes boxes;
    MessageBoxOverride scope(&boxes, SetMessageBoxService);
    bool converted = false;
    testtools::RunOnWorkerWhilePumping([&] { converted = ConvertPicture(page, tiff); });
    EXPECT_TRUE(converted);
    const QString pdf = work.filePath("pages.pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(page.runner.programs.count("tesseract"), 3);
    EXPECT_EQ(boxes.Texts(), QStringList{"No text could be recognised on page 2 of pages.tif.\n"
                                         "Tesseract ended abnormally."});
    const auto info = RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.out.simplified().contains("Encrypted: yes")) << info.out.constData();
    auto words = [&](int number) {
        return RunTool("pdftotext", {"-opw", "owner", "-f", QString::number(number), "-l",
                                     QString::number(number), pdf, "-"})
            .out.simplified();
    };
    EXPECT_TRUE(words(1).contains("thank you for your order")) << words(1).constData();
    EXPECT_EQ(words(2), "");
    EXPECT_TRUE(words(3).contains("rebuilt after the flood")) << words(3).constData();

    // An office document's PDF is not read: its text is text already.
    QString why;
    ASSERT_TRUE(testtools::WriteFile(page.SpoolFilePath(&why), spool::TextPage()));
    page.runner.programs.clear();
    GhostscriptOptions options;
    options.runner = &page.runner;
    options.scratchFolder = QFileInfo(page.SpoolFilePath(&why)).path();
    ConversionSettings settings;
    settings.recognizeText = true;
    EXPECT_TRUE(MakePdfFromSpool(settings, work.filePath("Report.doc"), work.path(), options).made);
    EXPECT_EQ(page.runner.programs, QStringList{"gs"});
}

} // namespace
