#include "platform/ScratchFolder.h"
#include "PrivateFolders.h"
#include "platform/RunScratch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode;
}

using ScratchFolderTest = PrivateFolders;

} // namespace

TEST_F(ScratchFolderTest, LivesInThePrivateRuntimeFolder)
{
    const QString folder = ScratchFolder::Path();
    EXPECT_EQ(folder, runtime.filePath(QStringLiteral("foliant")));
    EXPECT_EQ(ModeOf(folder) & 0777, 0700u);
    EXPECT_EQ(ScratchFolder::SpoolFilePath(), folder + QStringLiteral("/tmp.ps"));
    EXPECT_EQ(ScratchFolder::PdfmarksFilePath(), folder + QStringLiteral("/pdfmarks"));

    // A folder left open to others is closed again.
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    EXPECT_EQ(ScratchFolder::Path(), folder);
    EXPECT_EQ(ModeOf(folder) & 0777, 0700u);
}

TEST_F(ScratchFolderTest, AnOpenRuntimeFolderOrAPlantedLinkIsNotUsed)
{
    // A runtime folder others can write into is passed over for the cache.
    ::chmod(QFile::encodeName(runtime.path()).constData(), 0777);
    EXPECT_EQ(ScratchFolder::Path(), home.filePath(QStringLiteral("cache/foliant")));
    ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);

    // A link named foliant, pointing elsewhere, is never followed.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), runtime.filePath(QStringLiteral("foliant"))));
    const QString folder = ScratchFolder::Path();
    EXPECT_EQ(folder, home.filePath(QStringLiteral("cache/foliant")));
    EXPECT_FALSE(S_ISLNK(ModeOf(folder)));

    // With no runtime folder at all the cache serves.
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(ScratchFolder::Path(), home.filePath(QStringLiteral("cache/foliant")));
}

TEST_F(ScratchFolderTest, EachRunHasAFolderOfItsOwnThatGoesWithIt)
{
    const QString scratch = ScratchFolder::Path();
    QString first;
    {
        RunScratch window;
        RunScratch job;
        first = window.Path();
        ASSERT_FALSE(first.isEmpty());
        EXPECT_EQ(QFileInfo(first).absolutePath(), scratch);
        EXPECT_TRUE(QFileInfo(first).fileName().startsWith(QStringLiteral("run-%1-").arg(::getpid())));
        EXPECT_EQ(ModeOf(first) & 0777, 0700u);
        EXPECT_NE(job.Path(), first) << "two runs never share a spool file";
        EXPECT_EQ(window.SpoolFilePath(), first + QStringLiteral("/tmp.ps"));
        EXPECT_EQ(window.PdfmarksFilePath(), first + QStringLiteral("/pdfmarks"));
        EXPECT_EQ(window.Path(), first) << "the same folder for the whole run";
        ASSERT_TRUE(QFile(window.SpoolFilePath()).open(QIODevice::WriteOnly));

        // Removed at once, made anew on the next use.
        window.Remove();
        EXPECT_FALSE(QFileInfo::exists(first));
        first = window.Path();
        EXPECT_TRUE(QFileInfo(first).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(first)) << "the folder goes with its run";
    EXPECT_EQ(QDir(scratch).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
}

TEST_F(ScratchFolderTest, FoldersOfKilledRunsAreRemovedAndLiveRunsKept)
{
    const QString scratch = ScratchFolder::Path();
    // A process id no process holds (past the kernel's limit), and our parent's.
    const QString dead = scratch + QStringLiteral("/run-99999999-AbCdEf");
    const QString live = scratch + QStringLiteral("/run-%1-AbCdEf").arg(::getppid());
    ASSERT_TRUE(QDir().mkpath(dead + QStringLiteral("/inner")));
    ASSERT_TRUE(QDir().mkpath(live));
    // A link inside a leftover is removed itself, never followed.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile(elsewhere.filePath(QStringLiteral("keep"))).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(elsewhere.path(), dead + QStringLiteral("/link")));

    RunScratch run;
    ASSERT_FALSE(run.Path().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo(live).isDir());
    EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("keep"))));
    QDir(live).removeRecursively();
}
