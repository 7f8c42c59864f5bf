#include "CupsServer.h"
#include "UnfolioRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using unfoliotest::ToolFolder;

namespace {

constexpr const char* kWarningLine = "Warning: Please close all Word and Excel files \n";

class PrinterTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!unfoliotest::StrangeOfficeProcesses().empty())
            GTEST_SKIP() << "a Word or Excel process of someone else is running";
        const QString why = m_cups.Start();
        if (!why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        ASSERT_TRUE(m_folder.IsValid());
        m_folder.Environment().insert("CUPS_SERVER", m_cups.Socket());
        ASSERT_TRUE(m_cups.AddQueue("Foliant"));
        ASSERT_TRUE(m_cups.AddQueue("Other"));
    }

    unfoliotest::CupsServer m_cups;
    ToolFolder m_folder;
};

} // namespace

TEST_F(PrinterTool, DeletesTheQueueAndTheAddinsThenIsQuietWhenAllIsGone)
{
    ASSERT_TRUE(m_folder.PlaceBuiltAddins());
    const QDir folder(m_folder.Path());
    ASSERT_EQ(unfoliotest::CallAddinEntry(folder.filePath("BrevetWord.dll"), "DllRegisterServer",
                                          m_folder.DataHome()),
              0);
    ASSERT_EQ(unfoliotest::CallAddinEntry(folder.filePath("BrevetExcel.dll"), "DllRegisterServer",
                                          m_folder.DataHome()),
              0);

    const unfoliotest::Run first = m_folder.RunTool();
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_FALSE(m_cups.HasQueue("Foliant"));
    EXPECT_TRUE(m_cups.HasQueue("Other")) << "a queue of another name was deleted";
    EXPECT_FALSE(QDir(QDir(m_folder.DataHome()).filePath("Foliant")).exists());

    const unfoliotest::Run second = m_folder.RunTool();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, QByteArray());
    EXPECT_EQ(second.err, QByteArray(kWarningLine)) << "something was shown after the warning";
    EXPECT_TRUE(m_cups.HasQueue("Other"));
}

TEST_F(PrinterTool, DeletesTheQueueWithNeitherAddinPresent)
{
    const unfoliotest::Run run = m_folder.RunTool();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray(kWarningLine));
    EXPECT_FALSE(m_cups.HasQueue("Foliant"));
}
