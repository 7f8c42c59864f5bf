#include "converters/ConversionPage.h"
#include "converters/Converters.h"
#include "converters/OfficeAttempt.h"
#include "converters/OpenPassword.h"
#include "converters/PasswordRetry.h"
#include "converters/PrinterName.h"
#include "platform/OfficeDispids.h"

namespace {

// One attempt at the workbook with the current open password. False when it
// did not open: Excel has been quit and let go, and the password prompt follows.
bool ConvertExcelOnce(ConversionPage& page, const QString& sourcePath)
{
    // Start Excel.
    OfficeAttempt attempt(page, sourcePath);
    if (!attempt.Start(QStringLiteral("Excel.Application"), QStringLiteral("Couldn't get Excel object.")))
        return true;
    COleDispatchDriver& application = attempt.Application();
    COleDispatchDriver workbooks;
    COleDispatchDriver workbook;

    const Variant no = Variant::I2(0);
    const Variant yes = Variant::I2(1);
    const Variant zero = Variant::I4(0);
    const Variant one = Variant::I4(1);
    const Variant omitted = Variant::Missing();
    const Variant printer = Variant::Bstr(kPrinterName);
    const Variant spool = Variant::Bstr(attempt.SpoolPath());

    // Close (when a workbook is held, not saved) and Quit, in the failure
    // path and at the end: an Excel that refuses them is ended.
    auto closeAndQuit = [&]() {
        try {
            if (workbook.m_lpDispatch)
                workbook.InvokeHelper(exceldispid::kClose, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
            application.InvokeHelper(exceldispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
        } catch (...) {
            attempt.EndProgram();
        }
    };

    // Hide Excel, get the collection.
    if (!attempt.Try([&] {
            application.InvokeHelper(exceldispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                     {Variant::Bool(false)});
            workbooks.AttachDispatch(
                application.InvokeHelper(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, VT_DISPATCH)
                    .pdispVal());
        }))
        return true;
    if (!attempt.EmptySpool())
        return true;

    // Open and print: the guarded stretch.
    const Variant password = Variant::Bstr(g_openPassword);
    bool opened = false;
    bool printing = false;
    try {
        workbook.AttachDispatch(workbooks
                                    .InvokeHelper(exceldispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                                  {Variant::Bstr(sourcePath), zero, yes, omitted, password,
                                                   omitted, yes, omitted, omitted, no, no, omitted, no})
                                    .pdispVal());
        opened = true;
        if (!attempt.TakePrintTurn())
            return true;
        workbook.InvokeHelper(exceldispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                              {omitted, omitted, one, no, printer, omitted, omitted, spool});
        printing = true;
    } catch (const COleException& e) {
        // The host could not answer (it ended, hung, lost its channel): no
        // password can help. Only what Excel itself refused goes on below.
        return attempt.GiveUp(QString::fromStdString(e.what()));
    } catch (...) {
        closeAndQuit();
        workbook.ReleaseDispatch();
        workbooks.ReleaseDispatch();
        if (!opened) {
            // Taken for a password-protected workbook.
            attempt.Release();
            return false;
        }
        // It opened but did not print: the PDF step still runs, on a spool
        // file that was emptied, and says so.
    }

    // The spool file complete; a print request that failed leaves none to wait for.
    if (printing) {
        if (!attempt.WaitForPrint(QStringLiteral("Excel")))
            return true;
    } else if (page.StopRequested()) {
        return true;
    }
    page.SetConverted(1);

    if (!attempt.MakePdf())
        return true;
    closeAndQuit();
    return true;
}

} // namespace

void ConvertExcel(ConversionPage& page, const QString& sourcePath)
{
    ConvertWithPasswordRetries(page, sourcePath, [&]() { return ConvertExcelOnce(page, sourcePath); });
}
