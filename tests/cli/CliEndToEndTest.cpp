// foliant-convert as a script runs it: the real program, office host,
// LibreOffice and Ghostscript, on a mixed handful of files.
#include "OfficeDocuments.h"
#include "ProcessTree.h"
#include "RenderedPdf.h"
#include "TestPictures.h"
#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>

namespace {

bool WaitFor(const std::function<bool()>& done, int limitMs)
{
    for (int waited = 0; waited < limitMs; waited += 100) {
        if (done())
            return true;
        QThread::msleep(100);
    }
    return done();
}

class CliEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_runtime = testtools::UsePrivateFolders(); }

    void SetUp() override
    {
        QString why;
        m_documents = officedocuments::Folder(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
        ASSERT_TRUE(QDir().mkpath(m_work.filePath("in")) && QDir().mkpath(m_work.filePath("out")));
    }
    void TearDown() override
    {
        EXPECT_EQ(processtree::Running(s_runtime), QStringList{})
            << "no office host, office or Ghostscript is left running";
        EXPECT_EQ(QDir(s_runtime + "/foliant").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{})
            << "no scratch file is left";
        const QStringList partial =
            QDir(m_work.filePath("out")).entryList({".foliant-*"}, QDir::Files | QDir::Hidden);
        EXPECT_EQ(partial, QStringList{}) << "no partial PDF is left";
    }

    QString Copy(const char* original, const QString& name)
    {
        const QString path = m_work.filePath("in/" + name);
        EXPECT_TRUE(QFile::copy(QDir(m_documents).filePath(QString::fromLatin1(original)), path));
        return path;
    }
    QString Out(const QString& name) const { return m_work.filePath("out/" + name); }

    static QString Program() { return testtools::ProgramDir() + QStringLiteral("/foliant-convert"); }

    // Runs a README example as a user pastes it into a shell in folder, with
    // the program on the path and input on standard input.
    static std::pair<int, QByteArray> Shell(const QString& folder, const QString& script,
                                            const QByteArray& input = {})
    {
        QProcess shell;
        shell.setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", testtools::ProgramDir() + ":" + environment.value("PATH"));
        shell.setProcessEnvironment(environment);
        shell.setProcessChannelMode(QProcess::MergedChannels);
        shell.start("bash", {"-e", "-c", script});
        shell.write(input);
        shell.closeWriteChannel();
        if (!shell.waitForFinished(600000))
            shell.kill();
        shell.waitForFinished();
        return {shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1, shell.readAll()};
    }

    // The README's shell blocks, in order.
    static QStringList ReadmeExamples()
    {
        const QString readme = QString::fromUtf8(testtools::ReadFile(QStringLiteral(FOLIANT_README)));
        QStringList blocks;
        for (qsizetype at = readme.indexOf("```sh\n"); at >= 0; at = readme.indexOf("```sh\n", at)) {
            at += 6;
            const qsizetype end = readme.indexOf("```", at);
            blocks << readme.mid(at, end - at);
            at = end;
        }
        return blocks;
    }

    static inline QString s_runtime;
    QString m_documents;
    QTemporaryDir m_work;
};

TEST_F(CliEndToEnd, AMixedHandfulIsMadeFileByFileAndTheDamagedOneIsReported)
{
    const QString picture = m_work.filePath("in/photo.png");
    ASSERT_TRUE(testpictures::Quadrants(240, 160).save(picture, "PNG"));
    const QString damaged = m_work.filePath("in/damaged.doc");
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) % 251);
    ASSERT_TRUE(testtools::WriteFile(damaged, noise));
    const QStringList inputs{Copy("sample.docx", "letter.docx"),
                             Copy("sample.xls", "sheet.xls"),
                             Copy("sample.ppt", "slides.ppt"),
                             picture,
                             damaged,
                             Copy("protected.doc", "locked.doc")};
    const QString report = m_work.filePath("report.json");
    // The open password comes on standard input, never on the command line.
    const auto run =
        testtools::RunTool(Program(),
                           QStringList{"--jobs", "2", "--report", report, "--title", "Handful",
                                       "--open-password-file", "-", "-o", m_work.filePath("out")} +
                               inputs,
                           300000, officedocuments::Password().toUtf8() + "\n");
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_TRUE(run.err.contains("damaged.doc: It would not open")) << run.err.constData();
    EXPECT_EQ(run.err.count("foliant-convert: "), 2)
        << "the damaged file and the count: " << run.err.constData();
    EXPECT_EQ(run.out.count("made "), 5) << run.out.constData();

    const QJsonArray files =
        QJsonDocument::fromJson(testtools::ReadFile(report)).object().value("files").toArray();
    ASSERT_EQ(files.size(), inputs.size());
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject file = files[i].toObject();
        SCOPED_TRACE(inputs[i].toStdString());
        EXPECT_EQ(file.value("source").toString(), inputs[i]);
        const bool bad = inputs[i] == damaged;
        EXPECT_EQ(file.value("status").toString(), bad ? "failed" : "made");
        EXPECT_EQ(file.value("reason").toString().isEmpty(), !bad);
        EXPECT_EQ(QFileInfo::exists(file.value("pdf").toString()), !bad);
        if (bad)
            continue;
        // Each document's own marker; the picture drawn, not a speck.
        const Rendered page = Render(file.value("pdf").toString());
        if (inputs[i] == picture) {
            EXPECT_GT(page.inkedPixels, 1000);
        } else {
            EXPECT_TRUE(page.text.contains(QStringLiteral("Foliant sample marker")))
                << page.text.toStdString();
        }
        // Each PDF's version, as written; the first-shown version here.
        EXPECT_EQ(file.value("version").toString(), "1.3");
        EXPECT_TRUE(
            run.out.contains(QStringLiteral("%1 (PDF 1.3, ").arg(file.value("pdf").toString()).toUtf8()))
            << run.out.constData();
    }
    EXPECT_TRUE(Render(Out("letter.pdf")).text.contains("Foliant"))
        << Render(Out("letter.pdf")).text.toStdString();
}

TEST_F(CliEndToEnd, CtrlCMidRunEndsEveryProgramAndLeavesNoPartialPdf)
{
    QStringList inputs;
    for (int i = 0; i < 6; ++i)
        inputs << Copy("sample.docx", QStringLiteral("doc%1.docx").arg(i));
    QProcess run;
    run.start(Program(), QStringList{"--jobs", "2", "-o", m_work.filePath("out")} + inputs);
    ASSERT_TRUE(run.waitForStarted());
    // Interrupted while both jobs have their office host running.
    ASSERT_TRUE(WaitFor(
        [&] { return processtree::Running(s_runtime).filter(QStringLiteral(" WINWORD.EXE")).size() >= 2; },
        60000))
        << processtree::Running(s_runtime).join(u'\n').toStdString();
    ::kill(static_cast<pid_t>(run.processId()), SIGINT);
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 128 + SIGINT);
    const QByteArray err = run.readAllStandardError();
    EXPECT_TRUE(err.contains("Stopped")) << err.constData();
    EXPECT_LT(QDir(m_work.filePath("out")).entryList({"*.pdf"}).size(), inputs.size());
}

TEST_F(CliEndToEnd, TheReadmesExamplesRunAsWritten)
{
    const QStringList examples = ReadmeExamples();
    ASSERT_GE(examples.size(), 2);
    ASSERT_TRUE(examples[0].startsWith("foliant-convert report.docx budget.xls photo.jpg -o out\n"))
        << examples[0].toStdString();

    // The first block, in a folder with the files it names and no "out" yet.
    const QString first = m_work.filePath("first");
    ASSERT_TRUE(QDir().mkpath(first + "/inbox/old"));
    for (const auto& [original, name] : {std::pair{"sample.docx", "report.docx"},
                                         {"sample.xls", "budget.xls"},
                                         {"sample.doc", "contract.doc"},
                                         {"sample.docx", "inbox/memo.docx"},
                                         {"sample.ppt", "inbox/old/slides.ppt"}})
        ASSERT_TRUE(QFile::copy(QDir(m_documents).filePath(original), first + "/" + name)) << name;
    ASSERT_TRUE(testpictures::Quadrants(240, 160).save(first + "/photo.jpg", "JPG"));
    ASSERT_TRUE(testtools::WriteFile(first + "/reader.txt", "reader\n"));
    const auto [status, output] = Shell(first, examples[0], "owner\n");
    ASSERT_EQ(status, 0) << output.constData();
    EXPECT_TRUE(Render(first + "/out/report.pdf").text.contains("markerdocx"));
    EXPECT_TRUE(Render(first + "/out/budget.pdf").text.contains("markerxls"));
    EXPECT_GT(Render(first + "/out/photo.pdf").inkedPixels, 1000);
    EXPECT_TRUE(Render(first + "/out/memo.pdf").text.contains("markerdocx"));
    EXPECT_TRUE(Render(first + "/out/old/slides.pdf").text.contains("markerppt"));
    const QJsonArray files =
        QJsonDocument::fromJson(testtools::ReadFile(first + "/run.json")).object().value("files").toArray();
    ASSERT_EQ(files.size(), 2);
    for (const QJsonValue file : files)
        EXPECT_EQ(file.toObject().value("status").toString(), "made");
    EXPECT_EQ(Render(first + "/out/contract.pdf").inkedPixels, -1) << "it needs the user password";
    EXPECT_TRUE(Render(first + "/out/contract.pdf", "reader").text.contains("markerdoc"));

    // xargs, four one-file runs at once into a folder none of them finds.
    const QStringList lines = examples[1].split(u'\n');
    const auto xargs = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.startsWith("find inbox -name '*.docx'");
    });
    ASSERT_NE(xargs, lines.end()) << examples[1].toStdString();
    const QString second = m_work.filePath("second");
    ASSERT_TRUE(QDir().mkpath(second + "/inbox/more"));
    const QStringList names{"a", "b", "c", "d", "more/e"};
    for (const QString& name : names)
        ASSERT_TRUE(
            QFile::copy(QDir(m_documents).filePath("sample.docx"), second + "/inbox/" + name + ".docx"));
    const auto [xargsStatus, xargsOutput] = Shell(second, *xargs);
    ASSERT_EQ(xargsStatus, 0) << xargsOutput.constData();
    for (const QString& name : names)
        EXPECT_TRUE(
            Render(second + "/out/" + QFileInfo(name).fileName() + ".pdf").text.contains("markerdocx"))
            << name.toStdString();
}

} // namespace
