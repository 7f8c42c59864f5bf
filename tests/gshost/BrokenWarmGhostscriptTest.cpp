#include "PdfStepFixture.h"
#include "TestSpoolFiles.h"

#include "pdf/GhostscriptRunner.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmGhostscriptConnection.h"

#include <QFile>

// A program of its own: a warm Ghostscript that cannot start stays given up
// for the rest of the process.
class BrokenWarmGhostscriptTest : public PdfStepFixture
{
};

TEST_F(BrokenWarmGhostscriptTest, PdfsAreMadeByTheProgramWhenTheWarmGhostscriptIsMissingOrDiesAtItsStart)
{
    QTemporaryDir programs;
    ASSERT_TRUE(programs.isValid());
    qputenv("FOLIANT_PROGRAM_DIR", QFile::encodeName(programs.path()));
    WarmGhostscriptConnection::Instance().SetFilesAhead(5);
    const auto makeFour = [&] {
        int made = 0;
        for (int file = 0; file < 4; ++file) {
            EXPECT_TRUE(testtools::WriteFile(ScratchFolder::SpoolFilePath(), spool::TextPage()));
            const QString source = QStringLiteral("/docs/file%1.doc").arg(file);
            made += MakePdfFromSpool(ConversionSettings{}, source, output.path()).made ? 1 : 0;
        }
        return made;
    };

    // Missing: every file is made by gs.
    EXPECT_EQ(makeFour(), 4);
    EXPECT_TRUE(WarmGhostscriptConnection::Instance().ProcessIds().isEmpty());

    // One that ends before it is ready (a broken library, say): the same.
    const QString broken = programs.filePath(QStringLiteral("gshost"));
    ASSERT_TRUE(testtools::WriteFile(broken, "#!/bin/sh\nexit 3\n"));
    ASSERT_TRUE(QFile::setPermissions(broken, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(makeFour(), 4);
    EXPECT_TRUE(WarmGhostscriptConnection::Instance().ProcessIds().isEmpty());
    EXPECT_TRUE(
        QDir(ScratchFolder::Path()).entryList({QStringLiteral("foliant-gshost-*")}, QDir::Dirs).isEmpty())
        << "its scratch folder goes with it";
    for (int file = 0; file < 4; ++file)
        EXPECT_TRUE(QFile::exists(output.filePath(QStringLiteral("file%1.pdf").arg(file))));
}
