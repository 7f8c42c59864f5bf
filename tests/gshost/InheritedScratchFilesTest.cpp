#include "gshost/InheritedScratchFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(InheritedScratchFiles, EachSharedFileBecomesAPrivateCopyAtTheSameDescriptorAndOffset)
{
    QTemporaryDir warm, job, elsewhere;
    ASSERT_TRUE(warm.isValid() && job.isValid() && elsewhere.isValid());
    const std::string shared = warm.filePath("gs_shared").toStdString();
    const int fd = ::open(shared.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    const int other = ::open(elsewhere.filePath("mine").toStdString().c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::write(fd, "header|", 7), 7);
    ASSERT_EQ(::unlink(shared.c_str()), 0); // as a job that closed the device before left it
    struct stat before
    {
    };
    struct stat otherBefore
    {
    };
    ASSERT_EQ(::fstat(fd, &before), 0);
    ASSERT_EQ(::fstat(other, &otherBefore), 0);

    std::string why;
    ASSERT_TRUE(InheritedScratchFiles::MakeOwn(warm.path().toStdString(), job.path().toStdString(), &why))
        << why;

    struct stat after
    {
    };
    struct stat otherAfter
    {
    };
    ASSERT_EQ(::fstat(fd, &after), 0);
    ASSERT_EQ(::fstat(other, &otherAfter), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "the descriptor is a file of its own now";
    EXPECT_EQ(otherAfter.st_ino, otherBefore.st_ino) << "files outside the warm folder stay";
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 7) << "at the same offset";
    EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
    char text[8] = {};
    EXPECT_EQ(::pread(fd, text, 7, 0), 7);
    EXPECT_STREQ(text, "header|") << "with the same contents";
    ::close(fd);
    ::close(other);
}
