#include "OfficeSequences.h"

#include "platform/OfficeDispids.h"
#include "platform/OfficeHostConnection.h"

#include <QThread>

#include <cerrno>
#include <csignal>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace officesequences {
namespace {

const Variant kZero = Variant::I4(0);
const Variant kOne = Variant::I4(1);
const Variant kOmitted = Variant::Missing();

COleDispatchDriver Start(const QString& progId)
{
    COleDispatchDriver application;
    if (!application.CreateDispatch(progId))
        throw COleException(CO_E_SERVER_EXEC_FAILURE, COleDispatchDriver::LastCreateError());
    return application;
}

} // namespace

qint64 PrintWithWord(const QString& file, int format, const QString& password, const QString& printFile)
{
    const Variant no = Variant::I2(0), yes = Variant::I2(-1);
    COleDispatchDriver application = Start(QStringLiteral("Word.Application"));
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    application.InvokeHelper(worddispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY, {Variant::Bool(false)});
    application.InvokeHelper(worddispid::kActivePrinter, DISPATCH_PROPERTYPUT, VT_EMPTY,
                             {Variant::Bstr(QStringLiteral("Foliant"))});
    COleDispatchDriver documents(
        application.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    COleDispatchDriver document(
        documents
            .InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                          {Variant::Bstr(file), no, yes, no, Variant::Bstr(password), kOmitted, no, kOmitted,
                           kOmitted, Variant::I4(format), kOmitted, yes})
            .pdispVal());
    document.InvokeHelper(worddispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                          {yes, kOmitted, kZero, Variant::Bstr(printFile), kOmitted, kOmitted, kZero, kOne,
                           kOmitted, kZero, yes, yes, kOmitted, no, kZero, kZero, kZero, kZero});
    for (int polls = 0;
         application.InvokeHelper(worddispid::kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, VT_I4)
             .integer() > 0;
         ++polls) {
        if (polls > 1200)
            throw COleException(RPC_E_TIMEOUT, QStringLiteral("Background printing never ended."));
        QThread::msleep(100);
    }
    document.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    application.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    return pid;
}

qint64 PrintWithExcel(const QString& file, const QString& password, const QString& printFile)
{
    const Variant no = Variant::I2(0), yes = Variant::I2(1);
    COleDispatchDriver application = Start(QStringLiteral("Excel.Application"));
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    application.InvokeHelper(exceldispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY, {Variant::Bool(false)});
    COleDispatchDriver workbooks(
        application.InvokeHelper(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    COleDispatchDriver workbook(
        workbooks
            .InvokeHelper(exceldispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                          {Variant::Bstr(file), kZero, yes, kOmitted, Variant::Bstr(password), kOmitted, yes,
                           kOmitted, kOmitted, no, no, kOmitted, no})
            .pdispVal());
    workbook.InvokeHelper(exceldispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                          {kOmitted, kOmitted, kOne, no, Variant::Bstr(QStringLiteral("Foliant")), kOmitted,
                           kOmitted, Variant::Bstr(printFile)});
    workbook.InvokeHelper(exceldispid::kClose, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    application.InvokeHelper(exceldispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
    return pid;
}

qint64 PrintWithPowerPoint(const QString& file, const QString& printFile,
                           const std::function<void(COleDispatchDriver&)>& afterVisible)
{
    const Variant all = Variant::I4(-1);
    COleDispatchDriver application = Start(QStringLiteral("PowerPoint.Application"));
    const qint64 pid = ServerProcessId(application.m_lpDispatch);
    application.InvokeHelper(powerpointdispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY, {kOne});
    if (afterVisible)
        afterVisible(application);
    COleDispatchDriver presentations(
        application.InvokeHelper(powerpointdispid::kPresentations, DISPATCH_PROPERTYGET, VT_DISPATCH)
            .pdispVal());
    // The presentation Open returns is let go at once; the active one prints.
    presentations.InvokeHelper(powerpointdispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                               {Variant::Bstr(file), kOne, all, all});
    COleDispatchDriver presentation(
        application.InvokeHelper(powerpointdispid::kActivePresentation, DISPATCH_PROPERTYGET, VT_DISPATCH)
            .pdispVal());
    presentation.InvokeHelper(powerpointdispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                              {all, all, Variant::Bstr(printFile), kOne, all});
    presentation.InvokeHelper(powerpointdispid::kClose, DISPATCH_METHOD, VT_EMPTY);
    application.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
    return pid;
}

bool Reaped(qint64 pid)
{
    for (int i = 0; i < 100; ++i) {
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            return true;
        QThread::msleep(100);
    }
    return false;
}

SCODE CallStoppedExcel(qint64* pid)
{
    COleDispatchDriver excel = Start(QStringLiteral("Excel.Application"));
    *pid = ServerProcessId(excel.m_lpDispatch);
    ::kill(static_cast<pid_t>(*pid), SIGSTOP);
    const int limit = OfficeHostConnection::CallTimeLimit();
    OfficeHostConnection::SetCallTimeLimit(1000);
    SCODE failure = S_OK;
    try {
        excel.InvokeHelper(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, VT_DISPATCH);
    } catch (const COleException& e) {
        failure = e.m_sc;
    }
    OfficeHostConnection::SetCallTimeLimit(limit);
    return failure;
}

bool KernelGivesOwnNetworks()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::unshare(CLONE_NEWNET) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0 ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

QByteArray NetworkOf(qint64 pid)
{
    char target[64] = {};
    const QByteArray link = QStringLiteral("/proc/%1/ns/net").arg(pid).toLatin1();
    const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
    return n > 0 ? QByteArray(target, static_cast<int>(n)) : QByteArray();
}

} // namespace officesequences
