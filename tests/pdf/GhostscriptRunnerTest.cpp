#include "PdfStepFixture.h"
#include "TestPictures.h"
#include "TestSpoolFiles.h"
#include "TestTools.h"

#include "pdf/AdvancedSettingsReader.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/GhostscriptRunner.h"
#include "pdf/SettingsRefusal.h"
#include "platform/PostScriptPrinter.h"
#include "platform/ProcessRunner.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmGhostscriptConnection.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using testtools::RunTool;

namespace {

class GhostscriptRunnerTest : public PdfStepFixture
{
protected:
    void SetUp() override
    {
        PdfStepFixture::SetUp();
        source = QStringLiteral("/home/someone/docs/Report.doc");
    }

    void WriteSpool(const QByteArray& postscript)
    {
        ASSERT_TRUE(testtools::WriteFile(ScratchFolder::SpoolFilePath(), postscript));
    }

    PdfOutcome Make(const ConversionSettings& settings, const GhostscriptOptions& options = {})
    {
        return MakePdfFromSpool(settings, source, output.path(), options);
    }

    QString Pdf() const { return output.filePath(QStringLiteral("Report.pdf")); }

    // pdfinfo's fields; a value may run over several lines (keywords).
    QMap<QString, QString> Info(const QStringList& extra = {})
    {
        const auto result =
            RunTool(QStringLiteral("pdfinfo"),
                    QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8")} + extra << Pdf());
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QMap<QString, QString> fields;
        QString key;
        static const QRegularExpression field(QStringLiteral("^([A-Za-z ]+):\\s+(.*)$"));
        for (const QString& line : QString::fromUtf8(result.out).split(QLatin1Char('\n'))) {
            const auto match = field.match(line);
            if (match.hasMatch()) {
                key = match.captured(1);
                fields[key] = match.captured(2);
            } else if (!key.isEmpty() && !line.isEmpty()) {
                fields[key] += QLatin1Char('\n') + line;
            }
        }
        return fields;
    }

    QJsonObject Encryption(const QString& password)
    {
        const auto result =
            RunTool(QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=encrypt"),
                                             QStringLiteral("--password=") + password, Pdf()});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out).object().value(QStringLiteral("encrypt")).toObject();
    }

    std::pair<QString, qint64> FirstImage() const { return testtools::FirstPdfImage(Pdf()); }

    QString source;
};

ConversionSettings Secured(EncryptionMethod method, PdfVersion version)
{
    ConversionSettings s;
    s.securityEnabled = true;
    s.ownerPassword = QStringLiteral("owner-secret");
    s.userPassword = QStringLiteral("user-secret");
    s.encryption = method;
    s.pdfVersion = version;
    return s;
}

} // namespace

TEST_F(GhostscriptRunnerTest, FirstShownSettingsMakeAPlainPdf13)
{
    WriteSpool(spool::TextPage());
    const PdfOutcome outcome = Make(ConversionSettings{});
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::None);
    EXPECT_EQ(outcome.pdfPath, Pdf());
    EXPECT_EQ(OutputFolderEntries(), QStringList{QStringLiteral("Report.pdf")}); // no temporary left
    const auto info = Info();
    EXPECT_EQ(info.value(QStringLiteral("PDF version")), QStringLiteral("1.3"));
    EXPECT_EQ(info.value(QStringLiteral("Encrypted")), QStringLiteral("no"));
    EXPECT_EQ(info.value(QStringLiteral("Pages")), QStringLiteral("1"));
    EXPECT_FALSE(info.contains(QStringLiteral("Title")));
    const auto text = RunTool(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")});
    EXPECT_TRUE(text.out.contains("third quarter"));
    // The side file stays; the argument file does not exist without security.
    EXPECT_TRUE(QFileInfo::exists(ScratchFolder::PdfmarksFilePath()));
    struct stat info2
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(ScratchFolder::Path()).constData(), &info2), 0);
    EXPECT_EQ(info2.st_mode & 0777, 0700u);

    // Version 1.5, read from the Advanced page as the command line is built,
    // gives a PDF 1.5, replacing the earlier PDF.
    struct : AdvancedSettingsReader
    {
        void ReadAdvancedSettings(ConversionSettings& s) const override { s.pdfVersion = PdfVersion::V1_5; }
    } advanced;
    GhostscriptOptions options;
    options.advancedSettings = &advanced;
    ASSERT_TRUE(Make(ConversionSettings{}, options).made);
    EXPECT_EQ(Info().value(QStringLiteral("PDF version")), QStringLiteral("1.5"));
    EXPECT_EQ(OutputFolderEntries(), QStringList{QStringLiteral("Report.pdf")});
}

TEST_F(GhostscriptRunnerTest, DocumentInformationReadsBackExactly)
{
    WriteSpool(spool::TextPage());
    ConversionSettings s;
    s.title = QStringLiteral("Report (draft) \\ v2");
    s.author = QStringLiteral("Überblick");
    s.subject = QString::fromUtf8("报告");
    s.keywords = QStringLiteral("first line\nsecond (line)\nthird Überblick");
    const PdfOutcome outcome = Make(s);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    const auto info = Info();
    EXPECT_EQ(info.value(QStringLiteral("Title")), s.title);
    EXPECT_EQ(info.value(QStringLiteral("Author")), s.author);
    EXPECT_EQ(info.value(QStringLiteral("Subject")), s.subject);
    EXPECT_EQ(info.value(QStringLiteral("Keywords")), s.keywords);
}

TEST_F(GhostscriptRunnerTest, TheUsersTitleWinsOverTheTitleThePrintJobGaveItself)
{
    // A printed picture's spool file names the picture as its title.
    QByteArray page = spool::TextPage();
    ASSERT_TRUE(page.startsWith("%!PS"));
    page.insert(page.indexOf('\n') + 1, "%%Title: /home/someone/docs/photo.png\n");
    WriteSpool(page);
    ConversionSettings s;
    ASSERT_TRUE(Make(s).made);
    EXPECT_EQ(Info().value(QStringLiteral("Title")), QStringLiteral("/home/someone/docs/photo.png"))
        << "without a title of the user's the print job's stays";
    s.title = QStringLiteral("Holiday (2026) \\ 报告");
    ASSERT_TRUE(Make(s).made);
    EXPECT_EQ(Info().value(QStringLiteral("Title")), s.title);
}

TEST_F(GhostscriptRunnerTest, EncryptionPermissionsAndPasswords)
{
    WriteSpool(spool::TextPage());
    ConversionSettings low = Secured(EncryptionMethod::Rc4_40, PdfVersion::V1_3);
    low.withheld.printing = true;
    PdfOutcome outcome = Make(low);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    QJsonObject parameters =
        Encryption(QStringLiteral("user-secret")).value(QStringLiteral("parameters")).toObject();
    EXPECT_EQ(parameters.value(QStringLiteral("R")).toInt(), 2);
    EXPECT_EQ(parameters.value(QStringLiteral("bits")).toInt(), 40);
    EXPECT_EQ(parameters.value(QStringLiteral("P")).toInt(), -8);

    ConversionSettings high = Secured(EncryptionMethod::Rc4_128, PdfVersion::V1_4);
    high.withheld.copying = high.withheld.forms = true;
    outcome = Make(high);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    parameters = Encryption(QStringLiteral("user-secret")).value(QStringLiteral("parameters")).toObject();
    EXPECT_EQ(parameters.value(QStringLiteral("R")).toInt(), 3);
    EXPECT_EQ(parameters.value(QStringLiteral("bits")).toInt(), 128);
    EXPECT_EQ(parameters.value(QStringLiteral("P")).toInt(), -500);

    // The user password opens the file; a wrong one does not.
    EXPECT_EQ(RunTool(QStringLiteral("qpdf"),
                      {QStringLiteral("--password=user-secret"), QStringLiteral("--check"), Pdf()})
                  .exitCode,
              0);
    EXPECT_NE(RunTool(QStringLiteral("qpdf"),
                      {QStringLiteral("--password=wrong"), QStringLiteral("--check"), Pdf()})
                  .exitCode,
              0);
    EXPECT_EQ(Info({QStringLiteral("-upw"), QStringLiteral("user-secret")})
                  .value(QStringLiteral("Encrypted"))
                  .left(3),
              QStringLiteral("yes"));
}

TEST_F(GhostscriptRunnerTest, EverySecurityCombinationThatRunsIsEncryptedWithExactlyItsPasswords)
{
    WriteSpool(spool::TextPage());
    auto opens = [&](const QStringList& password) {
        return RunTool(QStringLiteral("pdfinfo"), QStringList(password) << Pdf()).exitCode == 0;
    };
    int made = 0;
    for (int userBox = 0; userBox <= 1; ++userBox)
        for (int ownerBox = 0; ownerBox <= 1; ++ownerBox)
            for (int userGiven = 0; userGiven <= 1; ++userGiven)
                for (int ownerGiven = 0; ownerGiven <= 1; ++ownerGiven)
                    for (int level = 0; level <= 1; ++level) {
                        ConversionSettings s =
                            Secured(level == 0 ? EncryptionMethod::Rc4_40 : EncryptionMethod::Rc4_128,
                                    PdfVersion::V1_3);
                        s.userPasswordEnabled = userBox;
                        s.ownerPasswordEnabled = ownerBox;
                        if (!userGiven)
                            s.userPassword.clear();
                        if (!ownerGiven)
                            s.ownerPassword.clear();
                        s.withheld.changing = true;
                        if (!SettingsRefusal(s).isEmpty())
                            continue; // Convert refuses it; nothing runs
                        const std::string at = QStringLiteral("user box %1, owner box %2, user %3, level %4")
                                                   .arg(userBox)
                                                   .arg(ownerBox)
                                                   .arg(userGiven)
                                                   .arg(level)
                                                   .toStdString();
                        QFile::remove(Pdf());
                        const PdfOutcome outcome = Make(s);
                        ASSERT_TRUE(outcome.made) << at << outcome.reason.toStdString();
                        ++made;
                        const bool userPassword = userBox == 1 && userGiven == 1;
                        EXPECT_EQ(opens({}), !userPassword) << at;
                        EXPECT_FALSE(opens({QStringLiteral("-upw"), QStringLiteral("wrong")}) && userPassword)
                            << at;
                        if (userPassword) {
                            EXPECT_TRUE(opens({QStringLiteral("-upw"), QStringLiteral("user-secret")})) << at;
                        }
                        EXPECT_TRUE(opens({QStringLiteral("-opw"), QStringLiteral("owner-secret")})) << at;
                        const auto info = Info({QStringLiteral("-opw"), QStringLiteral("owner-secret")});
                        EXPECT_TRUE(info.value(QStringLiteral("Encrypted")).startsWith(QStringLiteral("yes")))
                            << at;
                        // 128-bit RC4 with V1.3 chosen is written as PDF 1.4.
                        EXPECT_EQ(info.value(QStringLiteral("PDF version")),
                                  level == 1 ? QStringLiteral("1.4") : QStringLiteral("1.3"))
                            << at;
                        const QJsonObject parameters = Encryption(QStringLiteral("owner-secret"))
                                                           .value(QStringLiteral("parameters"))
                                                           .toObject();
                        EXPECT_EQ(parameters.value(QStringLiteral("bits")).toInt(), level == 1 ? 128 : 40)
                            << at;
                        EXPECT_EQ(parameters.value(QStringLiteral("P")).toInt(), PermissionsValue(s)) << at;
                    }
    EXPECT_EQ(made, 8) << "each user-password setting at both levels, with the owner password";
}

TEST_F(GhostscriptRunnerTest, ImageCompressionAndQualityTakeEffect)
{
    WriteSpool(spool::PhotoPage());
    ConversionSettings s;
    s.imageCompression = ImageCompression::Jpeg;
    s.jpegQuality = JpegQuality::Maximum;
    ASSERT_TRUE(Make(s).made);
    const auto [maxEncoding, maxSize] = FirstImage();
    EXPECT_EQ(maxEncoding, QStringLiteral("jpeg"));

    s.jpegQuality = JpegQuality::Minimum;
    ASSERT_TRUE(Make(s).made);
    const auto [minEncoding, minSize] = FirstImage();
    EXPECT_EQ(minEncoding, QStringLiteral("jpeg"));
    EXPECT_GT(maxSize, minSize * 3 / 2) << maxSize << " vs " << minSize;

    s.imageCompression = ImageCompression::Flate;
    ASSERT_TRUE(Make(s).made);
    EXPECT_EQ(FirstImage().first, QStringLiteral("image")); // Flate-encoded
}

// A one-page PDF print job: a grey square, drawn see-through when asked.
QByteArray PdfJob(bool seeThrough)
{
    const QByteArray content = QByteArray(seeThrough ? "/Half gs " : "") +
                               "0.5 g 72 72 200 200 re f BT /F 24 Tf 80 300 Td (kept words) Tj ET";
    const QByteArray states = seeThrough ? "/ExtGState << /Half << /Type /ExtGState /ca 0.5 >> >> " : "";
    // No cross-reference table: Ghostscript and qpdf both find the objects.
    return "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
           "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
           "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 400 400] /Contents 4 0 R /Resources << " +
           states + "/Font << /F << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >> >> endobj\n" +
           "4 0 obj << /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content +
           "\nendstream endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n";
}

TEST_F(GhostscriptRunnerTest, AnOfficeJobThatKeepsItsTransparencyIsWrittenAtTheLeastVersionThatHoldsIt)
{
    for (const bool seeThrough : {false, true}) {
        SCOPED_TRACE(seeThrough);
        WriteSpool(PdfJob(seeThrough));
        const PdfOutcome outcome = Make(ConversionSettings{});
        ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
        const QString version = seeThrough ? QStringLiteral("1.4") : QStringLiteral("1.3");
        EXPECT_EQ(outcome.pdfVersion, version);
        EXPECT_EQ(Info().value(QStringLiteral("PDF version")), version);
        EXPECT_TRUE(
            RunTool(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")}).out.contains("kept words"));
    }
    // A later version chosen stays as chosen.
    ConversionSettings later;
    later.pdfVersion = PdfVersion::V1_5;
    const PdfOutcome outcome = Make(later);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    EXPECT_EQ(outcome.pdfVersion, QStringLiteral("1.5"));
}

TEST_F(GhostscriptRunnerTest, JpegsAreKeptByteForByteUnlessJpegCompressionIsChosen)
{
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(testpictures::Quadrants(300, 200).save(&buffer, "JPEG", 90));
    }
    {
        PostScriptPrinter printer;
        DOCINFO info;
        info.lpszOutput = ScratchFolder::SpoolFilePath();
        ASSERT_GT(printer.StartDoc(info), 0);
        ASSERT_GT(printer.StartPage(), 0);
        ASSERT_TRUE(printer.StretchJpeg(QRect(0, 0, 3000, 2000), jpeg));
        ASSERT_GT(printer.EndPage(), 0);
        ASSERT_GT(printer.EndDoc(), 0);
    }
    auto stored = [this] {
        QTemporaryDir images;
        RunTool(QStringLiteral("pdfimages"),
                {QStringLiteral("-j"), Pdf(), images.filePath(QStringLiteral("i"))});
        return testtools::ReadFile(images.filePath(QStringLiteral("i-000.jpg")));
    };
    for (const ImageCompression compression :
         {ImageCompression::Flate, ImageCompression::Automatic, ImageCompression::Jpeg}) {
        SCOPED_TRACE(int(compression));
        ConversionSettings s;
        s.imageCompression = compression;
        ASSERT_TRUE(Make(s).made);
        const QByteArray held = stored();
        ASSERT_FALSE(held.isEmpty()) << "a JPEG in the PDF";
        EXPECT_EQ(held == jpeg, compression != ImageCompression::Jpeg);
    }
}

TEST_F(GhostscriptRunnerTest, FailuresAreReportedAndLeaveNothingBehind)
{
    WriteSpool(spool::TextPage());

    GhostscriptOptions missing;
    missing.executable = QStringLiteral("/nonexistent/bin/gs");
    PdfOutcome outcome = Make(ConversionSettings{}, missing);
    EXPECT_FALSE(outcome.made);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::NotStarted);
    EXPECT_TRUE(outcome.reason.contains(QStringLiteral("could not be started")))
        << outcome.reason.toStdString();

    // Ghostscript's own reason comes back.
    WriteSpool("%!PS\nthis is not ( a print job\n");
    outcome = Make(ConversionSettings{});
    EXPECT_FALSE(outcome.made);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::ToolFailed);
    EXPECT_TRUE(outcome.reason.contains(QStringLiteral("Error"))) << outcome.reason.toStdString();
    EXPECT_TRUE(OutputFolderEntries().isEmpty());

    // A print job that wrote nothing does not become an empty PDF.
    WriteSpool(QByteArray());
    outcome = Make(ConversionSettings{});
    EXPECT_FALSE(outcome.made);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::EmptySpool);
    EXPECT_FALSE(outcome.reason.isEmpty());
    EXPECT_TRUE(OutputFolderEntries().isEmpty());

    // An output folder nobody may write into (not even root).
    WriteSpool(spool::TextPage());
    outcome = MakePdfFromSpool(ConversionSettings{}, source, QStringLiteral("/proc"));
    EXPECT_FALSE(outcome.made);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::OutputFolder);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/Report.pdf")));
    EXPECT_FALSE(outcome.reason.isEmpty());
    outcome = MakePdfFromSpool(ConversionSettings{}, source, output.filePath(QStringLiteral("missing")));
    EXPECT_FALSE(outcome.made);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::OutputFolder);
    EXPECT_TRUE(OutputFolderEntries().isEmpty());

    // Past the time limit Ghostscript is ended and nothing is left, neither
    // in the output folder nor among the temporary files.
    QTemporaryDir userTemp;
    qputenv("TMPDIR", QFile::encodeName(userTemp.path()));
    WriteSpool("%!PS\n{ } loop\n");
    GhostscriptOptions quick;
    quick.timeoutMs = 1500;
    outcome = Make(ConversionSettings{}, quick);
    EXPECT_FALSE(outcome.made);
    EXPECT_TRUE(outcome.reason.contains(QStringLiteral("did not finish"))) << outcome.reason.toStdString();
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::TimedOut);
    EXPECT_TRUE(OutputFolderEntries().isEmpty());

    // Stop ends it too.
    GhostscriptOptions stopping;
    std::atomic<int> polls{0};
    stopping.stopRequested = [&] { return ++polls > 5; };
    outcome = Make(ConversionSettings{}, stopping);
    qunsetenv("TMPDIR");
    EXPECT_FALSE(outcome.made);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.failure, PdfOutcome::Failure::Stopped);
    EXPECT_TRUE(OutputFolderEntries().isEmpty());
    EXPECT_EQ(QDir(userTemp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
    // The warm Ghostscript keeps its folder while it lives (as long as the program).
    WarmGhostscriptConnection::Instance().End();
    EXPECT_EQ(QDir(ScratchFolder::Path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});
}

TEST_F(GhostscriptRunnerTest, NothingAroundTheProgramTurnsSaferOff)
{
    // A print job that reads a file of the system is refused while SAFER holds.
    WriteSpool("%!PS\n/Courier findfont 10 scalefont setfont 72 720 moveto\n"
               "(/etc/passwd) (r) file 60 string readstring pop show\nshowpage\n");
    qputenv("GS_OPTIONS", "-dNOSAFER");
    qputenv("GS_LIB", "/nonexistent");
    const PdfOutcome outcome = Make(ConversionSettings{});
    qunsetenv("GS_OPTIONS");
    qunsetenv("GS_LIB");
    EXPECT_FALSE(outcome.made);
    EXPECT_TRUE(outcome.reason.contains(QStringLiteral("invalidfileaccess"))) << outcome.reason.toStdString();
    EXPECT_TRUE(OutputFolderEntries().isEmpty());
}

// Runs real processes and keeps the last request.
struct RecordingRunner : ProcessRunner
{
    ProcessResult Run(const ProcessRequest& request) override
    {
        last = request;
        return ProcessRunner::System().Run(request);
    }
    ProcessRequest last;
};

TEST_F(GhostscriptRunnerTest, APdfPrintJobIsReadWithSaferOnAndTheSameCommandLine)
{
    // The office printer's jobs are PDF: one made from a page of text.
    WriteSpool(spool::TextPage());
    ASSERT_TRUE(Make(ConversionSettings{}).made);
    const QByteArray job = testtools::ReadFile(Pdf());
    ASSERT_TRUE(job.startsWith("%PDF-"));
    QFile::remove(Pdf());
    WriteSpool(job);

    RecordingRunner recording;
    GhostscriptOptions options;
    options.runner = &recording;
    qputenv("GS_OPTIONS", "-dNOSAFER");
    ConversionSettings s;
    s.title = QStringLiteral("From a PDF job");
    const PdfOutcome outcome = Make(s, options);
    qunsetenv("GS_OPTIONS");
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    EXPECT_TRUE(recording.last.arguments.contains(QStringLiteral("-dSAFER")));
    EXPECT_FALSE(recording.last.environment.contains(QStringLiteral("GS_OPTIONS")));
    const QStringList& arguments = recording.last.arguments;
    ASSERT_GE(arguments.size(), 2);
    EXPECT_EQ(arguments[arguments.size() - 2], ScratchFolder::SpoolFilePath());
    EXPECT_EQ(arguments.last(), ScratchFolder::PdfmarksFilePath()) << "read again after the job";
    EXPECT_EQ(Info().value(QStringLiteral("Title")), s.title);
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdftotext"), {Pdf(), QStringLiteral("-")}).out.contains("third quarter"));
}

TEST_F(GhostscriptRunnerTest, ALinkPlantedAtTheSideFileIsReplacedNotWrittenThrough)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("precious"));
    ASSERT_TRUE(testtools::WriteFile(victim, "precious contents"));
    WriteSpool(spool::TextPage());
    ASSERT_TRUE(QFile::link(victim, ScratchFolder::PdfmarksFilePath()));
    ConversionSettings s;
    s.title = QStringLiteral("Side file");
    const PdfOutcome outcome = Make(s);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    EXPECT_EQ(testtools::ReadFile(victim), "precious contents");
    EXPECT_FALSE(QFileInfo(ScratchFolder::PdfmarksFilePath()).isSymLink());
    EXPECT_EQ(Info().value(QStringLiteral("Title")), s.title);

    // A folder planted there instead: no PDF, and the reason names the file.
    QFile::remove(ScratchFolder::PdfmarksFilePath());
    QFile::remove(Pdf());
    ASSERT_TRUE(QDir().mkdir(ScratchFolder::PdfmarksFilePath()));
    const PdfOutcome refused = Make(s);
    EXPECT_FALSE(refused.made);
    EXPECT_TRUE(refused.reason.contains(ScratchFolder::PdfmarksFilePath())) << refused.reason.toStdString();
    EXPECT_TRUE(OutputFolderEntries().isEmpty());
}

TEST_F(GhostscriptRunnerTest, PasswordsWorkAndNeverShowInProcessArguments)
{
    const QString hostile[] = {QStringLiteral("it's \"quoted\" $(id) & more"), QStringLiteral("ends in\\"),
                               QStringLiteral("\" -dNOSAFER -sX=\"")};
    for (const QString& password : hostile) {
        WriteSpool(spool::SlowPage(15000000));
        ConversionSettings s = Secured(EncryptionMethod::Rc4_128, PdfVersion::V1_4);
        s.userPassword = password;
        s.ownerPassword = password + QStringLiteral("!owner");

        std::atomic<bool> done{false};
        PdfOutcome outcome;
        std::thread worker([&] {
            outcome = Make(s);
            done = true;
        });
        bool sawGhostscript = false;
        bool sawPassword = false;
        bool argumentFilePrivate = true;
        const QByteArray needle = password.toUtf8();
        while (!done) {
            QDirIterator processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
            while (processes.hasNext()) {
                const QString dir = processes.next();
                QByteArray cmdline = testtools::ReadFile(dir + QStringLiteral("/cmdline"));
                if (!cmdline.contains(QFile::encodeName(runtime.path())))
                    continue; // not one of ours
                sawGhostscript = true;
                if (cmdline.contains(needle))
                    sawPassword = true;
                for (const QByteArray& argument : cmdline.split('\0')) {
                    struct stat info
                    {
                    };
                    if (argument.startsWith('@') && ::stat(argument.mid(1).constData(), &info) == 0 &&
                        (info.st_mode & 077) != 0)
                        argumentFilePrivate = false;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        worker.join();
        ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
        EXPECT_TRUE(sawGhostscript);
        EXPECT_FALSE(sawPassword);
        EXPECT_TRUE(argumentFilePrivate);
        // The argument file is gone; the side file stays.
        EXPECT_EQ(QDir(ScratchFolder::Path()).entryList(QDir::Files),
                  (QStringList{QStringLiteral("pdfmarks"), QStringLiteral("tmp.ps")}));
        EXPECT_EQ(RunTool(QStringLiteral("qpdf"),
                          {QStringLiteral("--password=") + password, QStringLiteral("--check"), Pdf()})
                      .exitCode,
                  0)
            << password.toStdString();
        EXPECT_EQ(Encryption(password + QStringLiteral("!owner"))
                      .value(QStringLiteral("ownerpasswordmatched"))
                      .toBool(),
                  true);
    }
}

TEST(RunProgramAndWait, StartsTheNamedProgramOrReturnsZero)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    GhostscriptOptions options;
    EXPECT_GT(RunProgramAndWait(QStringLiteral("touch \"") + marker + QStringLiteral("\""), options), 0);
    EXPECT_TRUE(QFileInfo::exists(marker));
    EXPECT_EQ(RunProgramAndWait(QStringLiteral("no-such-program-here --x"), options), 0);
    // The designed Ghostscript program part runs this system's Ghostscript.
    EXPECT_GT(RunProgramAndWait(QStringLiteral("gs\\gs8.64\\bin\\gswin32c  -q -dNODISPLAY -dBATCH -c quit"),
                                options),
              0);
    options.executable = QStringLiteral("/nonexistent/gs");
    EXPECT_EQ(RunProgramAndWait(QStringLiteral("gs\\gs8.64\\bin\\gswin32c  -q"), options), 0);
}
