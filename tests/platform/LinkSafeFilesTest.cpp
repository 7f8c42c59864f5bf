#include "TestTools.h"

#include "platform/LinkSafeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using testtools::ReadFile;
using testtools::WriteFile;

namespace {

// A folder where names are planted, and a file outside it they point at.
class LinkSafeFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid() && outside.isValid());
        victim = outside.filePath(QStringLiteral("precious.txt"));
        ASSERT_TRUE(WriteFile(victim, "precious contents"));
    }

    QString At(const QString& name) const { return scratch.filePath(name); }
    static bool IsLink(const QString& path) { return QFileInfo(path).isSymLink(); }

    QTemporaryDir scratch;
    QTemporaryDir outside;
    QString victim;
};

TEST_F(LinkSafeFilesTest, AFreshFileReplacesAPlantedLinkOrFileAndNeverWritesThroughIt)
{
    const QString name = At(QStringLiteral("tmp.ps"));
    ASSERT_TRUE(QFile::link(victim, name));
    int fd = LinkSafeFiles::CreateFresh(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "job", 3), 3);
    ::close(fd);
    EXPECT_FALSE(IsLink(name));
    EXPECT_EQ(ReadFile(name), "job");
    EXPECT_EQ(ReadFile(victim), "precious contents");
    struct stat info
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A hard link to the outside file, planted at the name, is not truncated.
    QFile::remove(name);
    ASSERT_EQ(::link(QFile::encodeName(victim).constData(), QFile::encodeName(name).constData()), 0);
    fd = LinkSafeFiles::CreateFresh(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(ReadFile(name), "");
    EXPECT_EQ(ReadFile(victim), "precious contents");

    // A link to a name that does not exist yet is not created through.
    QFile::remove(name);
    const QString notYet = outside.filePath(QStringLiteral("created-through"));
    ASSERT_TRUE(QFile::link(notYet, name));
    fd = LinkSafeFiles::CreateFresh(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_FALSE(QFileInfo::exists(notYet));

    // A folder at the name is refused with a reason, and left alone.
    QString error;
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QStringLiteral("taken")));
    EXPECT_EQ(LinkSafeFiles::CreateFresh(At(QStringLiteral("taken")), &error), -1);
    EXPECT_TRUE(error.contains(QStringLiteral("folder"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(At(QStringLiteral("taken"))).isDir());
}

TEST_F(LinkSafeFilesTest, ReplaceRenamesANewFileOverThePlantedLink)
{
    const QString name = At(QStringLiteral("pdfmarks"));
    ASSERT_TRUE(QFile::link(victim, name));
    ASSERT_TRUE(LinkSafeFiles::Replace(name, "[ /Title (x) /DOCINFO pdfmark\n"));
    EXPECT_FALSE(IsLink(name));
    EXPECT_EQ(ReadFile(name), "[ /Title (x) /DOCINFO pdfmark\n");
    EXPECT_EQ(ReadFile(victim), "precious contents");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("pdfmarks")});

    // A folder planted at the name makes it fail, with the reason.
    QString error;
    ASSERT_TRUE(QDir(scratch.path()).mkdir(QStringLiteral("folder")));
    EXPECT_FALSE(LinkSafeFiles::Replace(At(QStringLiteral("folder")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(LinkSafeFilesTest, FoldersAreMadeAndRemovedWithoutFollowingLinks)
{
    const QString folder = At(QStringLiteral("foliant-officehost-1"));
    // A planted link to an outside folder: removing it leaves the outside alone.
    ASSERT_TRUE(QFile::link(outside.path(), folder));
    EXPECT_TRUE(LinkSafeFiles::RemoveFolder(folder));
    EXPECT_FALSE(QFileInfo::exists(folder) || IsLink(folder));
    EXPECT_EQ(ReadFile(victim), "precious contents");

    // Made fresh over a planted link: a real, private folder.
    ASSERT_TRUE(QFile::link(outside.path(), folder));
    ASSERT_TRUE(LinkSafeFiles::MakeFreshFolder(folder));
    EXPECT_FALSE(IsLink(folder));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(ReadFile(victim), "precious contents");

    // A link inside the folder is removed as a link.
    ASSERT_TRUE(QFile::link(outside.path(), folder + QStringLiteral("/inner")));
    ASSERT_TRUE(WriteFile(folder + QStringLiteral("/own.tmp"), "x"));
    EXPECT_TRUE(LinkSafeFiles::RemoveFolder(folder));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(ReadFile(victim), "precious contents");
    EXPECT_TRUE(LinkSafeFiles::RemoveFolder(folder)) << "nothing there is nothing to do";
}

} // namespace
