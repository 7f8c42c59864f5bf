// Each application's successful sequence of calls, with the arguments the
// converters pass, against the real office host, LibreOffice and Ghostscript.

#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include "platform/COleDispatchDriver.h"
#include "platform/OfficeDispids.h"
#include "platform/OfficeHostConnection.h"
#include "platform/WindowRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace officesequences;

namespace {

const QString kNoPassword = QStringLiteral("\x01");

class OfficeHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // A profile of the test's own, made once for the whole program.
        static QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        s_cache = cache.path();
    }
    static inline QString s_cache;

    void SetUp() override
    {
        QString why;
        m_documents = officedocuments::Folder(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
        m_spool = m_scratch.filePath(QStringLiteral("tmp.ps"));
    }

    QString Document(const QString& name) const { return m_documents + QLatin1Char('/') + name; }
    QString SpoolText() const { return officedocuments::PostScriptText(m_spool); }

    QString m_documents;
    QTemporaryDir m_scratch;
    QString m_spool;
};

bool ProcessGone(qint64 pid)
{
    for (int i = 0; i < 100; ++i) {
        if (::kill(static_cast<pid_t>(pid), 0) != 0)
            return true;
        QThread::msleep(100);
    }
    return false;
}

TEST_F(OfficeHostTest, WordPrintsEveryWordTypeWithItsFormatIntoTheSpoolFile)
{
    const struct
    {
        const char* name;
        int format;
    } files[] = {{"sample.docx", 0}, {"sample.doc", 0}, {"sample.rtf", 3}, {"sample.txt", 4},
                 {"sample.htm", 7},  {"sample.tml", 7}, {"sample.xml", 8}};
    for (const auto& f : files) {
        const QString name = QString::fromLatin1(f.name);
        SCOPED_TRACE(f.name);
        QFile::remove(m_spool);
        qint64 pid = 0;
        try {
            pid = PrintWithWord(Document(name), f.format, kNoPassword, m_spool);
        } catch (const CException& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        const QString text = SpoolText();
        EXPECT_TRUE(text.contains(QStringLiteral("marker") + name.section('.', 1))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("markerpagetwo"))) << "every page is printed";
        EXPECT_TRUE(ProcessGone(pid)) << "the host ends after Quit";
    }
}

TEST_F(OfficeHostTest, WordOpensAFileInTheFormatItIsToldNotTheOneItLooksLike)
{
    // RTF opened as text (format 4) prints its control words.
    PrintWithWord(Document(QStringLiteral("sample.rtf")), 4, kNoPassword, m_spool);
    const QString text = SpoolText();
    EXPECT_TRUE(text.contains(QStringLiteral("\\rtf1"))) << text.left(400).toStdString();
}

TEST_F(OfficeHostTest, WordPrintsInTheBackgroundAndCountsTheJobUntilTheFileIsComplete)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("Word.Application")));
    COleDispatchDriver documents(
        application.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    const Variant no = Variant::I2(0), yes = Variant::I2(-1), zero = Variant::I4(0),
                  omitted = Variant::Missing();
    COleDispatchDriver document(
        documents
            .InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                          {Variant::Bstr(Document(QStringLiteral("sample.docx"))), no, yes, no,
                           Variant::Bstr(kNoPassword), omitted, no, omitted, omitted, zero, omitted, yes})
            .pdispVal());
    // Two jobs in a row: the second one's file replaces the first's.
    for (int job = 0; job < 2; ++job) {
        document.InvokeHelper(worddispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                              {yes, omitted, zero, Variant::Bstr(m_spool), omitted, omitted, zero,
                               Variant::I4(1), omitted, zero, yes, yes, omitted, no, zero, zero, zero, zero});
        // While the job counts, its file is not there; once it no longer
        // counts, the file is complete.
        int running = 0;
        for (int polls = 0;
             (running =
                  application.InvokeHelper(worddispid::kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, VT_I4)
                      .integer()) > 0;
             ++polls) {
            ASSERT_LT(polls, 1200) << "the job never ended";
            EXPECT_EQ(running, 1);
            EXPECT_FALSE(QFile::exists(m_spool)) << "no half-written print file";
            QThread::msleep(50);
        }
        EXPECT_TRUE(SpoolText().contains(QStringLiteral("markerdocx")));
    }
    // Closing the document while a job runs still lets the job finish.
    document.InvokeHelper(worddispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                          {yes, omitted, zero, Variant::Bstr(m_spool), omitted, omitted, zero, Variant::I4(1),
                           omitted, zero, yes, yes, omitted, no, zero, zero, zero, zero});
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    document.InvokeHelper(worddispid::kClose, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    application.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    document.ReleaseDispatch();
    documents.ReleaseDispatch();
    application.ReleaseDispatch();
    ASSERT_TRUE(ProcessGone(pid));
    EXPECT_TRUE(SpoolText().contains(QStringLiteral("markerdocx"))) << "the host ends once the job is done";
}

TEST_F(OfficeHostTest, ExcelPrintsTheWholeWorkbookIntoPrToFileName)
{
    // PrintOut returns with the file complete.
    PrintWithExcel(Document(QStringLiteral("sample.xls")), kNoPassword, m_spool);
    EXPECT_TRUE(testtools::ReadFile(m_spool).startsWith("%PDF-"));
    const QString text = SpoolText();
    EXPECT_TRUE(text.contains(QStringLiteral("markerxls"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("markersheettwo"))) << "every sheet is printed";
}

TEST_F(OfficeHostTest, PowerPointPrintsEverySlideAndReportsItsMainWindow)
{
    WindowRegistry& windows = WindowRegistry::Instance();
    PrintWithPowerPoint(
        Document(QStringLiteral("sample.ppt")), m_spool, [&](COleDispatchDriver& application) {
            const HWND window =
                windows.FindWindowW(QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint"));
            ASSERT_NE(window, 0u);
            EXPECT_EQ(windows.GetWindowThreadProcessId(window), ServerProcessId(application.m_lpDispatch));
            EXPECT_TRUE(windows.ShowWindow(window, SW_HIDE));
            EXPECT_FALSE(windows.IsWindowVisible(window));
        });
    const QString text = SpoolText();
    EXPECT_TRUE(text.contains(QStringLiteral("markerppt"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("markerslidetwo"))) << "every slide is printed";
    EXPECT_EQ(windows.FindWindowW(QStringLiteral("PP11FrameClass"), {}), 0u)
        << "the window goes with its host";
}

TEST_F(OfficeHostTest, TerminatingTheWindowsProcessEndsThePowerPointHost)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("PowerPoint.Application")));
    WindowRegistry& windows = WindowRegistry::Instance();
    const qint64 pid =
        windows.GetWindowThreadProcessId(windows.FindWindowW(QStringLiteral("PP11FrameClass"), {}));
    ASSERT_EQ(pid, ServerProcessId(application.m_lpDispatch));
    EXPECT_FALSE(windows.TerminateProcess(::getpid())) << "only a host's process can be ended";
    EXPECT_TRUE(windows.TerminateProcess(pid));
    EXPECT_THROW(application.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY), COleException);
    application.ReleaseDispatch();
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(OfficeHostTest, ProtectedDocumentsOpenOnlyWithTheirPassword)
{
    for (const QString& password : {kNoPassword, QStringLiteral("wrong")}) {
        SCOPED_TRACE(password.toStdString());
        EXPECT_THROW(PrintWithWord(Document(QStringLiteral("protected.doc")), 0, password, m_spool),
                     COleDispatchException);
        EXPECT_THROW(PrintWithExcel(Document(QStringLiteral("protected.xls")), password, m_spool),
                     COleDispatchException);
    }
    EXPECT_FALSE(QFile::exists(m_spool)) << "nothing was printed";
    PrintWithWord(Document(QStringLiteral("protected.doc")), 0, officedocuments::Password(), m_spool);
    EXPECT_TRUE(SpoolText().contains(QStringLiteral("markerprotecteddoc")));
    PrintWithExcel(Document(QStringLiteral("protected.xls")), officedocuments::Password(), m_spool);
    EXPECT_TRUE(SpoolText().contains(QStringLiteral("markerprotectedxls")));
}

TEST_F(OfficeHostTest, TheHostKeepsAnOfficeProfileOfItsOwnWithMacrosOffAndNoNetwork)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("Excel.Application")));
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    const QByteArray network = NetworkOf(pid);
    ASSERT_FALSE(network.isEmpty());
    if (KernelGivesOwnNetworks())
        EXPECT_NE(network, NetworkOf(::getpid())) << "the host has a network of its own";
    else
        EXPECT_EQ(network, NetworkOf(::getpid())) << "the host runs where the kernel refuses namespaces";
    application.ReleaseDispatch();
    const QString settings = QString::fromUtf8(testtools::ReadFile(
        s_cache + QStringLiteral("/foliant/office-profile/user/registrymodifications.xcu")));
    EXPECT_TRUE(settings.contains(
        QStringLiteral("<prop oor:name=\"MacroSecurityLevel\" oor:op=\"fuse\"><value>3</value></prop>")))
        << settings.toStdString();
    EXPECT_TRUE(settings.contains(QStringLiteral(
        "<prop oor:name=\"DisableMacrosExecution\" oor:op=\"fuse\"><value>true</value></prop>")));
    EXPECT_TRUE(settings.contains(
        QStringLiteral("<prop oor:name=\"PickListSize\" oor:op=\"fuse\"><value>0</value></prop>")));
    EXPECT_TRUE(settings.contains(QStringLiteral(
        "<prop oor:name=\"BlockUntrustedRefererLinks\" oor:op=\"fuse\"><value>true</value></prop>")));
}

TEST_F(OfficeHostTest, TheWordHostRunsUnderWordsProcessName)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("Word.Application")));
    const QString pid = QString::number(ServerProcessId(application.m_lpDispatch));
    EXPECT_EQ(testtools::ReadFile(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed(), "WINWORD.EXE");
    const testtools::ToolResult ps =
        testtools::RunTool(QStringLiteral("ps"),
                           {QStringLiteral("-o"), QStringLiteral("comm=,args="), QStringLiteral("-p"), pid});
    EXPECT_EQ(ps.out.simplified(), "WINWORD.EXE WINWORD.EXE");
}

} // namespace
