#include "platform/ScratchFolder.h"
#include "PrivateFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
