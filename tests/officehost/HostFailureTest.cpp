// The failure cases: unknown members, wrong arguments, files that do not
// open, servers that cannot start, hosts that die or hang, clients that go.

#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include "platform/COleDispatchDriver.h"
#include "platform/OfficeDispids.h"
#include "platform/OfficeHostConnection.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

const Variant kOmitted = Variant::Missing();

class HostFailureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    }
};

SCODE DispatchError(const std::function<void()>& call)
{
    try {
        call();
    } catch (const COleDispatchException& e) {
        return e.m_scError;
    }
    return S_OK;
}

VariantList WordOpenArguments(const QString& file)
{
    return {Variant::Bstr(file),
            Variant::I2(0),
            Variant::I2(-1),
            Variant::I2(0),
            Variant::Bstr(QStringLiteral("\x01")),
            kOmitted,
            Variant::I2(0),
            kOmitted,
            kOmitted,
            Variant::I4(0),
            kOmitted,
            Variant::I2(-1)};
}

TEST_F(HostFailureTest, UnknownMembersAndWrongArgumentsFailCleanlyAndTheHostKeepsServing)
{
    COleDispatchDriver word;
    ASSERT_TRUE(word.CreateDispatch(QStringLiteral("Word.Application")))
        << COleDispatchDriver::LastCreateError().toStdString();
    EXPECT_EQ(DispatchError([&] { word.InvokeHelper(999, DISPATCH_METHOD, VT_EMPTY); }),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(DispatchError([&] { word.InvokeHelper(worddispid::kVisible, DISPATCH_PROPERTYGET, VT_BOOL); }),
              DISP_E_MEMBERNOTFOUND)
        << "Visible can only be set";
    EXPECT_EQ(DispatchError([&] {
                  word.InvokeHelper(worddispid::kActivePrinter, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                    {Variant::I4(1)});
              }),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(DispatchError([&] {
                  word.InvokeHelper(worddispid::kActivePrinter, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                    {Variant::Bstr(QStringLiteral("Other"))});
              }),
              DISP_E_EXCEPTION)
        << "only the product's printer exists";
    EXPECT_EQ(DispatchError([&] {
                  word.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY,
                                    {Variant::I2(0), Variant::I2(0), Variant::I2(0), Variant::I2(0)});
              }),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(DispatchError([&] { word.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_I4); }),
              DISP_E_TYPEMISMATCH)
        << "a collection is no number";

    COleDispatchDriver documents(
        word.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    QString why;
    const QString folder = officedocuments::Folder(&why);
    ASSERT_FALSE(folder.isEmpty()) << why.toStdString();
    QTemporaryDir scratch;
    const QString broken = scratch.filePath(QStringLiteral("broken.docx"));
    static const char kBroken[] = "PK\x03\x04 this is no document \x01\x02\x03";
    ASSERT_TRUE(testtools::WriteFile(broken, QByteArray(kBroken, sizeof kBroken - 1)));
    for (const QString& file : {scratch.filePath(QStringLiteral("missing.doc")), broken}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(DispatchError([&] {
                      documents.InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                             WordOpenArguments(file));
                  }),
                  DISP_E_EXCEPTION);
    }
    VariantList badType = WordOpenArguments(folder + QStringLiteral("/sample.docx"));
    badType[9] = Variant::Bstr(QStringLiteral("0"));
    EXPECT_EQ(DispatchError(
                  [&] { documents.InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH, badType); }),
              DISP_E_TYPEMISMATCH);
    const Variant document =
        documents.InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                               WordOpenArguments(folder + QStringLiteral("/sample.docx")));
    EXPECT_TRUE(document.pdispVal()) << "the host still serves after the failures";
    word.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY,
                      {Variant::I2(0), Variant::I2(0), Variant::I2(0)});
}

// Bytes no spreadsheet or presentation filter recognises are refused by
// their host without loading the word processor, whose plain-text import
// takes anything; a workbook under another workbook type's name still opens.
TEST_F(HostFailureTest, ExcelAndPowerPointRefuseWhatIsNotTheirsWithoutLoadingTheWordProcessor)
{
    QString why;
    const QString folder = officedocuments::Folder(&why);
    ASSERT_FALSE(folder.isEmpty()) << why.toStdString();
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QByteArray noise;
    quint32 state = 25;
    for (int i = 0; i < 30000; ++i) {
        state = state * 1103515245u + 12345u;
        noise.append(static_cast<char>(state >> 24));
    }
    const QString garbageXlsx = scratch.filePath(QStringLiteral("noise.xlsx"));
    const QString garbagePpt = scratch.filePath(QStringLiteral("noise.ppt"));
    const QString renamedXls = scratch.filePath(QStringLiteral("workbook.xlsx"));
    ASSERT_TRUE(testtools::WriteFile(garbageXlsx, noise));
    ASSERT_TRUE(testtools::WriteFile(garbagePpt, noise));
    ASSERT_TRUE(QFile::copy(folder + QStringLiteral("/sample.xls"), renamedXls));
    const auto mapsWordProcessor = [](qint64 pid) {
        const QByteArray maps = testtools::ReadFile(QStringLiteral("/proc/%1/maps").arg(pid));
        EXPECT_FALSE(maps.isEmpty());
        return maps.contains("libswlo.so");
    };

    COleDispatchDriver excel;
    ASSERT_TRUE(excel.CreateDispatch(QStringLiteral("Excel.Application")));
    const qint64 excelPid = ServerProcessId(excel.m_lpDispatch);
    COleDispatchDriver workbooks(
        excel.InvokeHelper(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    const auto openWorkbook = [&](const QString& file) {
        const VariantList open = {Variant::Bstr(file),
                                  Variant::I4(0),
                                  Variant::I2(1),
                                  kOmitted,
                                  Variant::Bstr(QStringLiteral("\x01")),
                                  kOmitted,
                                  Variant::I2(1),
                                  kOmitted,
                                  kOmitted,
                                  Variant::I2(0),
                                  Variant::I2(0),
                                  kOmitted,
                                  Variant::I2(0)};
        return DispatchError(
            [&] { workbooks.InvokeHelper(exceldispid::kOpen, DISPATCH_METHOD, VT_DISPATCH, open); });
    };
    EXPECT_EQ(openWorkbook(folder + QStringLiteral("/sample.doc")), DISP_E_EXCEPTION);
    EXPECT_EQ(openWorkbook(garbageXlsx), DISP_E_EXCEPTION);
    EXPECT_FALSE(mapsWordProcessor(excelPid));
    EXPECT_EQ(openWorkbook(renamedXls), S_OK);
    excel.InvokeHelper(exceldispid::kQuit, DISPATCH_METHOD, VT_EMPTY);

    COleDispatchDriver powerPoint;
    ASSERT_TRUE(powerPoint.CreateDispatch(QStringLiteral("PowerPoint.Application")));
    const qint64 powerPointPid = ServerProcessId(powerPoint.m_lpDispatch);
    COleDispatchDriver presentations(
        powerPoint.InvokeHelper(powerpointdispid::kPresentations, DISPATCH_PROPERTYGET, VT_DISPATCH)
            .pdispVal());
    const Variant all = Variant::I4(-1);
    EXPECT_EQ(DispatchError([&] {
                  presentations.InvokeHelper(powerpointdispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                             {Variant::Bstr(garbagePpt), Variant::I4(1), all, all});
              }),
              DISP_E_EXCEPTION);
    EXPECT_FALSE(mapsWordProcessor(powerPointPid));
    powerPoint.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
}

TEST_F(HostFailureTest, APrintIntoAFolderThatCannotBeWrittenFailsTheCallAndLeavesNothing)
{
    QString why;
    const QString folder = officedocuments::Folder(&why);
    ASSERT_FALSE(folder.isEmpty()) << why.toStdString();
    QTemporaryDir scratch;
    // A folder that is not there, and a name that is a folder.
    for (const QString& printFile :
         {scratch.filePath(QStringLiteral("missing/tmp.ps")), scratch.filePath(QStringLiteral("taken"))}) {
        SCOPED_TRACE(printFile.toStdString());
        QDir(scratch.path()).mkdir(QStringLiteral("taken"));
        try {
            officesequences::PrintWithExcel(folder + QStringLiteral("/sample.xls"), QStringLiteral("\x01"),
                                            printFile);
            ADD_FAILURE() << "the print succeeded";
        } catch (const COleDispatchException& e) {
            EXPECT_EQ(e.m_scError, DISP_E_EXCEPTION);
        }
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("taken")})
            << "no partial file either";
        EXPECT_TRUE(QDir(scratch.filePath(QStringLiteral("taken"))).isEmpty());
    }
}

TEST_F(HostFailureTest, CreateDispatchFailsWhenNoServerCanStart)
{
    COleDispatchDriver driver;
    EXPECT_FALSE(driver.CreateDispatch(QStringLiteral("Visio.Application")));
    EXPECT_TRUE(COleDispatchDriver::LastCreateError().contains(QStringLiteral("Visio.Application")));

    qputenv("FOLIANT_LIBREOFFICE_PROGRAM_DIR", "/nonexistent/libreoffice");
    EXPECT_FALSE(driver.CreateDispatch(QStringLiteral("Word.Application")));
    EXPECT_TRUE(COleDispatchDriver::LastCreateError().contains(QStringLiteral("not installed")));
    qunsetenv("FOLIANT_LIBREOFFICE_PROGRAM_DIR");

    const QByteArray programDir = qgetenv("FOLIANT_PROGRAM_DIR");
    qputenv("FOLIANT_PROGRAM_DIR", "/nonexistent");
    EXPECT_FALSE(driver.CreateDispatch(QStringLiteral("Excel.Application")));
    qputenv("FOLIANT_PROGRAM_DIR", programDir);
    EXPECT_FALSE(driver.m_lpDispatch);
}

TEST_F(HostFailureTest, AHostKilledInTheMiddleOfACallFailsTheCallAndLeavesNothing)
{
    COleDispatchDriver word;
    ASSERT_TRUE(word.CreateDispatch(QStringLiteral("Word.Application")));
    const qint64 pid = ServerProcessId(word.m_lpDispatch);
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGSTOP); // the call is surely still waiting when the host dies
    std::thread killer([pid]() {
        QThread::msleep(500);
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    });
    try {
        word.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH);
        ADD_FAILURE() << "the call succeeded";
    } catch (const COleException& e) {
        EXPECT_EQ(e.m_sc, RPC_E_DISCONNECTED);
    }
    killer.join();
    EXPECT_THROW(word.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH), COleException)
        << "and every later call";
    word.ReleaseDispatch();
    EXPECT_TRUE(officesequences::Reaped(pid));
}

TEST_F(HostFailureTest, AHostThatDoesNotAnswerInTimeIsEnded)
{
    qint64 pid = 0;
    EXPECT_EQ(officesequences::CallStoppedExcel(&pid), RPC_E_TIMEOUT);
    EXPECT_TRUE(officesequences::Reaped(pid));
}

TEST_F(HostFailureTest, AHostWhoseClientGoesAwayEndsByItself)
{
    QProcess host;
    host.start(OfficeHostConnection::DefaultProgram(), {QStringLiteral("PowerPoint.Application")});
    ASSERT_TRUE(host.waitForStarted());
    ASSERT_TRUE(host.waitForReadyRead(60000)) << "no greeting";
    host.closeWriteChannel(); // what the system does when the client ends
    EXPECT_TRUE(host.waitForFinished(30000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
}

} // namespace
