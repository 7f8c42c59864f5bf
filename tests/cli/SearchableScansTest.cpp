// Scans made at run time, made searchable by foliant-convert --ocr with the
// real Ghostscript and Tesseract: the words are found where they are drawn,
// the pictures stay as they are, and a stop leaves nothing behind.
#include "ProcessTree.h"
#include "TestPictures.h"
#include "TestScans.h"
#include "TestTools.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>

namespace {

using testscans::Scan;

// How far a word's box may lie from the middle of the word as drawn, in points.
constexpr double kTolerancePoints = 2.0;

bool WaitFor(const std::function<bool()>& done, int limitMs)
{
    for (int waited = 0; waited < limitMs; waited += 50) {
        if (done())
            return true;
        QThread::msleep(50);
    }
    return done();
}

QString Program()
{
    return testtools::ProgramDir() + QStringLiteral("/foliant-convert");
}

// The images of a PDF as pdfimages gives them, one a page.
QList<QImage> Images(const QString& pdf)
{
    QTemporaryDir folder;
    testtools::RunTool(QStringLiteral("pdfimages"), {"-png", pdf, folder.filePath("image")});
    QList<QImage> images;
    for (const QString& name : QDir(folder.path()).entryList({"image-*.png"}, QDir::Files, QDir::Name))
        images << QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB888);
    return images;
}

QImage Drawn(const QString& pdf, int page)
{
    QTemporaryDir folder;
    const QString prefix = folder.filePath("page");
    testtools::RunTool(QStringLiteral("pdftoppm"), {"-r", "50", "-singlefile", "-f", QString::number(page),
                                                    "-l", QString::number(page), pdf, prefix});
    return QImage(prefix + ".ppm");
}

class SearchableScans : public ::testing::Test
{
protected:
    // One run with recognition and one without, over every kind of scan.
    static void SetUpTestSuite()
    {
        s_runtime = testtools::UsePrivateFolders();
        s_work = new QTemporaryDir;
        const QDir in(s_work->filePath("in"));
        ASSERT_TRUE(QDir().mkpath(in.path()) && QDir().mkpath(s_work->filePath("ocr")) &&
                    QDir().mkpath(s_work->filePath("plain")));
        const Scan letter = testscans::Make(0), notes = testscans::Make(1), story = testscans::Make(2);
        s_pages = {{"letter.png", {letter}},
                   {"turned-90.png", {testscans::Turned(notes, 90)}},
                   {"turned-180.png", {testscans::Turned(story, 180)}},
                   {"turned-270.png", {testscans::Turned(letter, 270)}},
                   {"pages.tif", {letter, notes, story}},
                   {"photo.jpg", {story}},
                   {"alpha.png", {notes}}};
        for (const auto& [name, pages] : s_pages) {
            const QString path = in.filePath(name);
            if (name.endsWith(".tif")) {
                ASSERT_TRUE(
                    testtools::WriteFile(path, testpictures::Tiff({letter.image, notes.image, story.image})));
            } else if (name == "alpha.png") {
                ASSERT_TRUE(testscans::WithAlpha(notes).save(path, "PNG"));
            } else {
                ASSERT_TRUE(pages.front().image.save(path, nullptr, 92));
            }
            s_inputs << path;
        }
        s_report = s_work->filePath("report.json");
        s_ocrRun = testtools::RunTool(
            Program(),
            QStringList{"--ocr", "--jobs", "2", "--report", s_report, "-o", s_work->filePath("ocr")} +
                s_inputs,
            900000);
        s_plainRun =
            testtools::RunTool(Program(), QStringList{"-o", s_work->filePath("plain")} + s_inputs, 300000);
    }
    static void TearDownTestSuite() { delete s_work; }

    void TearDown() override
    {
        EXPECT_EQ(processtree::LeftRunning(s_runtime, 10000), QStringList{})
            << "no Tesseract is left running";
        EXPECT_EQ(QDir(s_runtime + "/foliant").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{})
            << "no scratch file is left";
    }

    static QString Pdf(const char* folder, const QString& name)
    {
        return s_work->filePath(QStringLiteral("%1/%2.pdf").arg(folder, QFileInfo(name).completeBaseName()));
    }

    static inline QString s_runtime;
    static inline QTemporaryDir* s_work = nullptr;
    static inline std::map<QString, QList<Scan>> s_pages;
    static inline QStringList s_inputs;
    static inline QString s_report;
    static inline testtools::ToolResult s_ocrRun;
    static inline testtools::ToolResult s_plainRun;
};

TEST_F(SearchableScans, EveryPageGivesItsWordsWhereTheyAreDrawn)
{
    ASSERT_EQ(s_ocrRun.exitCode, 0) << s_ocrRun.out.constData() << s_ocrRun.err.constData();
    EXPECT_EQ(s_ocrRun.out.count("made "), qsizetype(s_pages.size())) << s_ocrRun.out.constData();
    EXPECT_FALSE(s_ocrRun.out.contains("No text")) << s_ocrRun.out.constData();
    for (const auto& [name, pages] : s_pages) {
        for (int page = 1; page <= pages.size(); ++page) {
            SCOPED_TRACE(QStringLiteral("%1, page %2").arg(name).arg(page).toStdString());
            const QString pdf = Pdf("ocr", name);
            const QRectF place = testscans::PicturePlace(pdf, page);
            ASSERT_FALSE(place.isEmpty());
            const QList<testscans::Word> found = testscans::PdfWords(pdf, page);
            const testscans::Match match =
                testscans::Compare(testscans::OnPage(pages[page - 1], place), found, kTolerancePoints);
            ASSERT_GT(match.total, 25);
            EXPECT_GE(match.found * 100, match.total * 95) << match.found << " of " << match.total;
            EXPECT_TRUE(match.misplaced.isEmpty()) << match.misplaced.join(u'\n').toStdString();
        }
    }
}

TEST_F(SearchableScans, ThePicturesStayAsTheyAreAndWithoutRecognitionNothingChanges)
{
    ASSERT_EQ(s_ocrRun.exitCode, 0) << s_ocrRun.err.constData();
    ASSERT_EQ(s_plainRun.exitCode, 0) << s_plainRun.err.constData();
    for (const auto& [name, pages] : s_pages) {
        SCOPED_TRACE(name.toStdString());
        const QString ocr = Pdf("ocr", name), plain = Pdf("plain", name);
        // The picture of the file, pixel for pixel, in both PDFs.
        const QList<QImage> images = Images(ocr);
        ASSERT_EQ(images.size(), pages.size());
        EXPECT_TRUE(Images(plain) == images);
        for (int i = 0; i < pages.size(); ++i) {
            const QImage expected =
                name.endsWith(".jpg") ? QImage(s_work->filePath("in/" + name)) : pages[i].image;
            EXPECT_TRUE(images[i] == expected.convertToFormat(QImage::Format_RGB888)) << "page " << i + 1;
            // Drawn the same: same size, same place.
            EXPECT_TRUE(Drawn(ocr, i + 1) == Drawn(plain, i + 1)) << "page " << i + 1;
        }
        // Without recognition, no text at all.
        EXPECT_EQ(testtools::PdfWords(plain), QStringList{});
        EXPECT_GT(testtools::PdfWords(ocr).size(), 25);
    }
}

TEST_F(SearchableScans, APictureWithoutWordsStillGetsItsPdfAndTheUserIsToldOnce)
{
    QTemporaryDir work;
    const QString blank = work.filePath("blank.png");
    QImage paper(1200, 800, QImage::Format_RGB32);
    paper.fill(Qt::white);
    ASSERT_TRUE(paper.save(blank));
    const QString report = work.filePath("report.json");
    const auto run =
        testtools::RunTool(Program(), {"--ocr", "--report", report, "-o", work.path(), blank}, 300000);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(QFileInfo::exists(work.filePath("blank.pdf")));
    EXPECT_EQ(run.out.count("No text could be recognised in blank.png."), 1) << run.out.constData();
    const QJsonArray files =
        QJsonDocument::fromJson(testtools::ReadFile(report)).object().value("files").toArray();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toObject().value("status").toString(), "made");
    EXPECT_TRUE(files[0].toObject().value("reason").toString().contains("found no words"))
        << files[0].toObject().value("reason").toString().toStdString();

    // A language that is not installed is bad usage; nothing is made.
    const auto refused =
        testtools::RunTool(Program(), {"--ocr-language", "eng+xx_none", "-o", work.path(), blank}, 60000);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("xx_none is not installed")) << refused.err.constData();
}

TEST_F(SearchableScans, StopDuringRecognitionEndsTesseractAtOnceAndLeavesNothing)
{
    QTemporaryDir work;
    const QString tiff = work.filePath("long.tif");
    const Scan page = testscans::Make(1);
    ASSERT_TRUE(
        testtools::WriteFile(tiff, testpictures::Tiff({page.image, page.image, page.image, page.image})));
    QProcess run;
    run.start(Program(), {"--ocr", "-o", work.filePath("."), tiff});
    ASSERT_TRUE(run.waitForStarted());
    auto tesseract = [] {
        return processtree::Running(s_runtime).filter(QStringLiteral("tesseract")).size() > 0;
    };
    ASSERT_TRUE(WaitFor(tesseract, 120000)) << processtree::Running(s_runtime).join(u'\n').toStdString();
    ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 128 + SIGTERM);
    EXPECT_EQ(processtree::Running(s_runtime), QStringList{}) << "Tesseract ended with the run";
    EXPECT_EQ(QDir(work.path()).entryList({"*.pdf", ".foliant-*"}, QDir::Files | QDir::Hidden),
              QStringList{});
}

} // namespace
