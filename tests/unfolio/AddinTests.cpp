#include "TestTools.h"
#include "UnfolioRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using unfoliotest::AddinRecordPath;
using unfoliotest::Built;
using unfoliotest::CallAddinEntry;
using unfoliotest::ToolFolder;

namespace {

class AddinTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!unfoliotest::StrangeOfficeProcesses().empty())
            GTEST_SKIP() << "a Word or Excel process of someone else is running";
        ASSERT_TRUE(m_folder.IsValid());
        m_trace = m_folder.TraceAddins();
    }
    QString InFolder(const QString& name) const { return QDir(m_folder.Path()).filePath(name); }
    QByteArray Trace() const { return testtools::ReadFile(m_trace); }

    ToolFolder m_folder;
    QString m_trace;
};

} // namespace

TEST(BrevetAddins, RegisterAndUnregisterTheirRecordInTheUsersDataFolder)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    for (const QString application : {"Word", "Excel"}) {
        const QString library = Built("Brevet" + application + ".dll");
        const QString record = AddinRecordPath(data.path(), application);
        ASSERT_EQ(CallAddinEntry(library, "DllRegisterServer", data.path()), 0) << application.toStdString();
        EXPECT_EQ(testtools::ReadFile(record),
                  "[Foliant Office Add-in]\nApplication=" + application.toUtf8() +
                      "\nLibrary=" + library.toUtf8() + "\n");
        EXPECT_EQ(CallAddinEntry(library, "DllUnregisterServer", data.path()), 0);
        EXPECT_FALSE(QFile::exists(record));
        // Unregistering what is not registered is no failure.
        EXPECT_EQ(CallAddinEntry(library, "DllUnregisterServer", data.path()), 0);
    }
    EXPECT_FALSE(QDir(data.filePath("Foliant")).exists()) << "empty add-in folders were left behind";
}

TEST(BrevetAddins, LeaveOtherFilesOfTheDataFolderAlone)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QString word = Built("BrevetWord.dll");
    ASSERT_EQ(CallAddinEntry(word, "DllRegisterServer", data.path()), 0);
    ASSERT_EQ(CallAddinEntry(Built("BrevetExcel.dll"), "DllRegisterServer", data.path()), 0);
    EXPECT_EQ(CallAddinEntry(word, "DllUnregisterServer", data.path()), 0);
    EXPECT_FALSE(QFile::exists(AddinRecordPath(data.path(), "Word")));
    EXPECT_TRUE(QFile::exists(AddinRecordPath(data.path(), "Excel")));
}

TEST_F(AddinTool, UnregistersBothAddinsFromItsOwnFolder)
{
    ASSERT_TRUE(m_folder.PlaceBuiltAddins());
    for (const char* library : {"BrevetWord.dll", "BrevetExcel.dll"})
        ASSERT_EQ(CallAddinEntry(InFolder(library), "DllRegisterServer", m_folder.DataHome()), 0);
    ASSERT_TRUE(QFile::exists(AddinRecordPath(m_folder.DataHome(), "Word")));
    ASSERT_TRUE(QFile::exists(AddinRecordPath(m_folder.DataHome(), "Excel")));

    EXPECT_EQ(m_folder.RunTool().exitCode, 0);
    EXPECT_FALSE(QFile::exists(AddinRecordPath(m_folder.DataHome(), "Word")));
    EXPECT_FALSE(QFile::exists(AddinRecordPath(m_folder.DataHome(), "Excel")));
}

TEST_F(AddinTool, PassesOverALibraryWithoutTheEntryPointAndStillUnloadsIt)
{
    ASSERT_TRUE(m_folder.Place(STUB_NO_ENTRY, "BrevetWord.dll"));
    ASSERT_TRUE(m_folder.Place(Built("BrevetExcel.dll"), "BrevetExcel.dll"));
    ASSERT_EQ(CallAddinEntry(InFolder("BrevetExcel.dll"), "DllRegisterServer", m_folder.DataHome()), 0);

    EXPECT_EQ(m_folder.RunTool().exitCode, 0);
    const QByteArray word = InFolder("BrevetWord.dll").toUtf8();
    EXPECT_EQ(Trace(), "load " + word + "\nunload " + word + "\n");
    EXPECT_FALSE(QFile::exists(AddinRecordPath(m_folder.DataHome(), "Excel")));
}

TEST_F(AddinTool, GoesOnAfterAFailingUnregistrationWordFirst)
{
    ASSERT_TRUE(m_folder.Place(STUB_FAILING, "BrevetWord.dll"));
    ASSERT_TRUE(m_folder.Place(STUB_FAILING, "BrevetExcel.dll"));

    EXPECT_EQ(m_folder.RunTool().exitCode, 0);
    QByteArray expected;
    for (const char* library : {"BrevetWord.dll", "BrevetExcel.dll"}) {
        const QByteArray path = InFolder(library).toUtf8();
        expected += "load " + path + "\nunregister " + path + "\nunload " + path + "\n";
    }
    EXPECT_EQ(Trace(), expected);
}

TEST_F(AddinTool, LooksInItsOwnFolderFirstThenInTheSystemsSearch)
{
    QTemporaryDir system;
    ASSERT_TRUE(system.isValid());
    for (const char* library : {"BrevetWord.dll", "BrevetExcel.dll"})
        ASSERT_TRUE(QFile::copy(STUB_FAILING, system.filePath(library)));
    m_folder.Environment().insert("LD_LIBRARY_PATH", system.path());
    ASSERT_TRUE(m_folder.Place(STUB_NO_ENTRY, "BrevetWord.dll"));

    EXPECT_EQ(m_folder.RunTool().exitCode, 0);
    const QByteArray own = InFolder("BrevetWord.dll").toUtf8();
    const QByteArray found = system.filePath("BrevetExcel.dll").toUtf8();
    EXPECT_EQ(Trace(), "load " + own + "\nunload " + own + "\nload " + found + "\nunregister " + found +
                           "\nunload " + found + "\n");
}
