// Each application's successful sequence of calls, with the arguments the
// converters pass, against the real office host, LibreOffice and Ghostscript.

#include "OfficeDocuments.h"
#include "TestTools.h"

#include "platform/COleDispatchDriver.h"
#include "platform/OfficeHostConnection.h"
#include "platform/WindowRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const Variant kFalse = Variant::I2(0);
const Variant kTrue = Variant::I2(-1);
const Variant kZero = Variant::I4(0);
const Variant kOne = Variant::I4(1);
const Variant kOmitted = Variant::Missing();

class OfficeHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // A profile of the test's own, made once for the whole program.
        static QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    }

    void SetUp() override
    {
        QString why;
        m_documents = officedocuments::Folder(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
        m_spool = m_scratch.filePath(QStringLiteral("tmp.ps"));
    }

    QString Document(const QString& name) const { return m_documents + QLatin1Char('/') + name; }

    QString m_documents;
    QTemporaryDir m_scratch;
    QString m_spool;
};

// Word's calls 1 to 8; returns the host's process id.
qint64 PrintWithWord(const QString& file, int format, const QString& password, const QString& spool)
{
    COleDispatchDriver application;
    EXPECT_TRUE(application.CreateDispatch(QStringLiteral("Word.Application")))
        << COleDispatchDriver::LastCreateError().toStdString();
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    application.InvokeHelper(23, DISPATCH_PROPERTYPUT, VT_EMPTY, {Variant::Bool(false)});
    application.InvokeHelper(66, DISPATCH_PROPERTYPUT, VT_EMPTY, {Variant::Bstr(QStringLiteral("Foliant"))});
    COleDispatchDriver documents(application.InvokeHelper(6, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    COleDispatchDriver document(documents
                                    .InvokeHelper(15, DISPATCH_METHOD, VT_DISPATCH,
                                                  {Variant::Bstr(file), kFalse, kTrue, kFalse,
                                                   Variant::Bstr(password), kOmitted, kFalse, kOmitted, kOmitted,
                                                   Variant::I4(format), kOmitted, kTrue})
                                    .pdispVal());
    EXPECT_TRUE(document.m_lpDispatch);
    document.InvokeHelper(444, DISPATCH_METHOD, VT_EMPTY,
                          {kTrue, kOmitted, kZero, Variant::Bstr(spool), kOmitted, kOmitted, kZero, kOne, kOmitted,
                           kZero, kTrue, kTrue, kOmitted, kFalse, kZero, kZero, kZero, kZero});
    int polls = 0;
    while (application.InvokeHelper(86, DISPATCH_PROPERTYGET, VT_I4).integer() > 0 && ++polls < 600)
        QThread::msleep(100);
    EXPECT_LT(polls, 600) << "background printing never ended";
    document.InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, {kFalse, kFalse, kFalse});
    application.InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, {kFalse, kFalse, kFalse});
    document.ReleaseDispatch();
    documents.ReleaseDispatch();
    application.ReleaseDispatch();
    return pid;
}

void PrintWithExcel(const QString& file, const QString& password, const QString& spool)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("Excel.Application")))
        << COleDispatchDriver::LastCreateError().toStdString();
    const Variant no = Variant::I2(0), yes = Variant::I2(1);
    application.InvokeHelper(0x22E, DISPATCH_PROPERTYPUT, VT_EMPTY, {Variant::Bool(false)});
    COleDispatchDriver workbooks(application.InvokeHelper(0x23C, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    COleDispatchDriver workbook(workbooks
                                    .InvokeHelper(0x2AA, DISPATCH_METHOD, VT_DISPATCH,
                                                  {Variant::Bstr(file), kZero, yes, kOmitted,
                                                   Variant::Bstr(password), kOmitted, yes, kOmitted, kOmitted, no,
                                                   no, kOmitted, no})
                                    .pdispVal());
    workbook.InvokeHelper(0x6EC, DISPATCH_METHOD, VT_EMPTY,
                          {kOmitted, kOmitted, kOne, no, Variant::Bstr(QStringLiteral("Foliant")), kOmitted,
                           kOmitted, Variant::Bstr(spool)});
    workbook.InvokeHelper(0x115, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    application.InvokeHelper(0x12E, DISPATCH_METHOD, VT_EMPTY);
}

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
        SCOPED_TRACE(f.name);
        QFile::remove(m_spool);
        const qint64 pid = PrintWithWord(Document(QString::fromLatin1(f.name)), f.format, QStringLiteral("\x01"),
                                         m_spool);
        const QString text = officedocuments::PostScriptText(m_spool);
        EXPECT_TRUE(text.contains(QStringLiteral("marker") + QString::fromLatin1(f.name).section('.', 1)))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("markerpagetwo"))) << "every page is printed";
        EXPECT_TRUE(QFile::exists(m_spool));
        EXPECT_TRUE(ProcessGone(pid)) << "the host ends after Quit";
    }
}

TEST_F(OfficeHostTest, ExcelPrintsTheWholeWorkbookIntoPrToFileName)
{
    PrintWithExcel(Document(QStringLiteral("sample.xls")), QStringLiteral("\x01"), m_spool);
    const QString text = officedocuments::PostScriptText(m_spool);
    EXPECT_TRUE(text.contains(QStringLiteral("markerxls"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("markersheettwo"))) << "every sheet is printed";
}

TEST_F(OfficeHostTest, PowerPointPrintsEverySlideOfTheActivePresentation)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("PowerPoint.Application")));
    application.InvokeHelper(0x7EE, DISPATCH_PROPERTYPUT, VT_EMPTY, {kOne});
    const HWND window = WindowRegistry::Instance().FindWindowW(QStringLiteral("PP11FrameClass"),
                                                               QStringLiteral("Microsoft PowerPoint"));
    ASSERT_NE(window, 0u);
    EXPECT_EQ(WindowRegistry::Instance().GetWindowThreadProcessId(window), ServerProcessId(application.m_lpDispatch));
    EXPECT_TRUE(WindowRegistry::Instance().ShowWindow(window, SW_HIDE));
    COleDispatchDriver presentations(application.InvokeHelper(0x7D1, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    presentations.InvokeHelper(0x7D4, DISPATCH_METHOD, VT_DISPATCH,
                               {Variant::Bstr(Document(QStringLiteral("sample.ppt"))), kOne, Variant::I4(-1),
                                Variant::I4(-1)});
    COleDispatchDriver presentation(application.InvokeHelper(0x7D5, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    presentation.InvokeHelper(0x7F2, DISPATCH_METHOD, VT_EMPTY,
                              {Variant::I4(-1), Variant::I4(-1), Variant::Bstr(m_spool), kOne, Variant::I4(-1)});
    presentation.InvokeHelper(0x7F7, DISPATCH_METHOD, VT_EMPTY);
    application.InvokeHelper(0x7E5, DISPATCH_METHOD, VT_EMPTY);
    const QString text = officedocuments::PostScriptText(m_spool);
    EXPECT_TRUE(text.contains(QStringLiteral("markerppt"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("markerslidetwo"))) << "every slide is printed";
    application.ReleaseDispatch();
    presentation.ReleaseDispatch();
    presentations.ReleaseDispatch();
    EXPECT_EQ(WindowRegistry::Instance().FindWindowW(QStringLiteral("PP11FrameClass"), {}), 0u)
        << "the window goes with its host";
}

TEST_F(OfficeHostTest, ProtectedDocumentsOpenOnlyWithTheirPassword)
{
    for (const QString& password : {QStringLiteral("\x01"), QStringLiteral("wrong")}) {
        EXPECT_THROW(PrintWithWord(Document(QStringLiteral("protected.doc")), 0, password, m_spool),
                     COleDispatchException);
        EXPECT_THROW(PrintWithExcel(Document(QStringLiteral("protected.xls")), password, m_spool),
                     COleDispatchException);
    }
    EXPECT_FALSE(QFile::exists(m_spool)) << "nothing was printed";
    PrintWithWord(Document(QStringLiteral("protected.doc")), 0, officedocuments::Password(), m_spool);
    EXPECT_TRUE(officedocuments::PostScriptText(m_spool).contains(QStringLiteral("markerprotecteddoc")));
    PrintWithExcel(Document(QStringLiteral("protected.xls")), officedocuments::Password(), m_spool);
    EXPECT_TRUE(officedocuments::PostScriptText(m_spool).contains(QStringLiteral("markerprotectedxls")));
}

TEST_F(OfficeHostTest, TheWordHostRunsUnderWordsProcessName)
{
    COleDispatchDriver application;
    ASSERT_TRUE(application.CreateDispatch(QStringLiteral("Word.Application")));
    const QString pid = QString::number(ServerProcessId(application.m_lpDispatch));
    const QByteArray comm = testtools::ReadFile(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed();
    EXPECT_EQ(comm, "WINWORD.EXE");
    const testtools::ToolResult ps =
        testtools::RunTool(QStringLiteral("ps"), {QStringLiteral("-o"), QStringLiteral("comm=,args="),
                                                  QStringLiteral("-p"), pid});
    EXPECT_EQ(ps.out.simplified(), "WINWORD.EXE WINWORD.EXE");
}

} // namespace
