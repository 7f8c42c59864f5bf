// Runs that share a machine: the window and two foliant-convert runs of the
// same user at once, each with two jobs, over and over. Every live office
// has a profile of its own, so none ends during start-up and every file is
// made, the first round included (when the user's profile is set up).

#include "FoliantSession.h"
#include "RenderedPdf.h"
#include "TestTools.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <memory>

namespace {

using SharedMachine = FoliantSession;

// An office file of every kind the office host serves, and a picture.
const QStringList kKinds{"doc", "docx", "xls", "ppt", "rtf", "jpg"};

QString Marker(const QString& name)
{
    const QString kind = QFileInfo(name).suffix();
    return kind == u"jpg" ? QString() : QStringLiteral("marker") + kind;
}

TEST_F(SharedMachine, TheWindowAndTwoCommandLineRunsAtOnceMakeEveryFile)
{
    constexpr int kRounds = 3;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE(round);
        const QString roundFolder = m_work.filePath(QStringLiteral("round%1").arg(round));
        QStringList windowFiles;
        for (const QString& kind : kKinds)
            windowFiles << Source(QStringLiteral("w%1-%2.%2").arg(round).arg(kind));

        // Two command-line runs, started first so their offices start with the window's.
        std::vector<std::unique_ptr<QProcess>> runs;
        QList<QStringList> runFiles;
        for (int r = 0; r < 2; ++r) {
            QStringList files;
            for (const QString& kind : kKinds)
                files << Source(QStringLiteral("c%1-%2-%3.%4").arg(round).arg(r).arg(kind).arg(kind));
            auto run = std::make_unique<QProcess>();
            run->start(testtools::ProgramDir() + QStringLiteral("/foliant-convert"),
                       QStringList{"--jobs", "2", "-o", roundFolder + QStringLiteral("/cli%1").arg(r)} +
                           files);
            ASSERT_TRUE(run->waitForStarted());
            runs.push_back(std::move(run));
            runFiles << files;
        }

        ASSERT_TRUE(QDir().mkpath(roundFolder + "/window"));
        Drop(windowFiles);
        SetOutputFolder(roundFolder + "/window");
        ConvertAndWait();
        WaitForCompletion(round);
        EXPECT_EQ(m_completion->listed.size(), windowFiles.size());
        for (const auto& run : runs) {
            // The window's wait may have seen it end already.
            if (run->state() != QProcess::NotRunning) {
                ASSERT_TRUE(run->waitForFinished(10 * 60 * 1000));
            }
            ASSERT_EQ(run->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().constData();
        }

        // Every PDF, with its own file's words (a picture: its ink).
        auto check = [](const QString& pdf, const QString& source) {
            SCOPED_TRACE(pdf.toStdString());
            const Rendered rendered = Render(pdf);
            const QString marker = Marker(source);
            if (marker.isEmpty())
                EXPECT_GT(rendered.inkedPixels, 1000);
            else
                EXPECT_TRUE(rendered.text.contains(marker)) << rendered.text.toStdString();
        };
        for (const QString& file : windowFiles)
            check(roundFolder + "/window/" + QFileInfo(file).completeBaseName() + ".pdf", file);
        for (int r = 0; r < 2; ++r)
            for (const QString& file : runFiles[r])
                check(roundFolder + QStringLiteral("/cli%1/").arg(r) + QFileInfo(file).completeBaseName() +
                          ".pdf",
                      file);
        QTest::mouseClick(Button(IDC_REMOVE_ALL), Qt::LeftButton);
        ASSERT_EQ(Page()->m_fileList->count(), 0);
    }
}

} // namespace
