#include "converters/ConversionPage.h"
#include "converters/ConverterReports.h"
#include "converters/Converters.h"
#include "converters/CurrentProgramEnder.h"
#include "converters/OpenPassword.h"
#include "converters/PasswordRetry.h"
#include "converters/PrinterName.h"
#include "converters/SpoolFile.h"
#include "platform/COleDispatchDriver.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeDispids.h"

using namespace converterreports;

namespace {

// One attempt at the workbook with the current open password. False when it
// did not open: Excel has been quit and let go, and the password prompt follows.
bool ConvertExcelOnce(ConversionPage& page, const QString& sourcePath)
{
    const QString spoolPath = BeginOfficeAttempt(page, sourcePath);
    if (spoolPath.isEmpty())
        return true;

    const Variant no = Variant::I2(0);
    const Variant yes = Variant::I2(1);
    const Variant zero = Variant::I4(0);
    const Variant one = Variant::I4(1);
    const Variant omitted = Variant::Missing();
    const Variant printer = Variant::Bstr(kPrinterName);
    const Variant spool = Variant::Bstr(spoolPath);

    // Start Excel.
    COleDispatchDriver application;
    if (!StartOffice(page, application, QStringLiteral("Excel.Application"),
                     QStringLiteral("Couldn't get Excel object.")))
        return true;
    CurrentProgramEnder ender(page, application);
    COleDispatchDriver workbooks;
    COleDispatchDriver workbook;

    auto giveUp = [&](const QString& reason) {
        GiveUp(page, ender, sourcePath, reason);
        return true;
    };
    // Close (when a workbook is held, not saved) and Quit, in the failure
    // path and at the end: an Excel that refuses them is ended.
    auto closeAndQuit = [&]() {
        try {
            if (workbook.m_lpDispatch)
                workbook.InvokeHelper(exceldispid::kClose, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
            application.InvokeHelper(exceldispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
        } catch (...) {
            ender.EndProgram();
        }
    };

    // Hide Excel, get the collection.
    try {
        application.InvokeHelper(exceldispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                 {Variant::Bool(false)});
        workbooks.AttachDispatch(
            application.InvokeHelper(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, VT_DISPATCH).pdispVal());
    } catch (const std::exception& e) {
        return giveUp(QString::fromStdString(e.what()));
    }
    QString why;
    if (!spoolfile::Empty(spoolPath, &why))
        return giveUp(why);

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
        workbook.InvokeHelper(exceldispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                              {omitted, omitted, one, no, printer, omitted, omitted, spool});
        printing = true;
    } catch (const COleException& e) {
        // The host could not answer (it ended, hung, lost its channel): no
        // password can help. Only what Excel itself refused goes on below.
        return giveUp(QString::fromStdString(e.what()));
    } catch (...) {
        closeAndQuit();
        workbook.ReleaseDispatch();
        workbooks.ReleaseDispatch();
        if (!opened) {
            // Taken for a password-protected workbook.
            ender.Clear();
            application.ReleaseDispatch();
            return false;
        }
        // It opened but did not print: the PDF step still runs, on a spool
        // file that was emptied, and says so.
    }

    // The spool file complete; a print request that failed leaves none to wait for.
    if (printing) {
        const ConversionPage::WaitEnd end = spoolfile::WaitForJob(page, spoolPath);
        if (end == ConversionPage::WaitEnd::Stopped)
            return true;
        if (end == ConversionPage::WaitEnd::TimedOut)
            return giveUp(QStringLiteral("Excel did not finish printing within %1 minutes and was ended.")
                              .arg(spoolfile::kPrintTimeLimitMinutes));
    } else if (page.StopRequested()) {
        return true;
    }
    page.SetConverted(1);

    const PdfOutcome outcome = page.MakePdfFromSpool(sourcePath);
    if (page.StopRequested()) {
        page.SetConverted(0);
        return true;
    }
    if (!outcome.made) {
        ReportPdfFailure(page, sourcePath, outcome);
        page.SetConverted(0);
    }

    closeAndQuit();
    return true;
}

} // namespace

void ConvertExcel(ConversionPage& page, const QString& sourcePath)
{
    ConvertWithPasswordRetries(page, sourcePath, [&]() { return ConvertExcelOnce(page, sourcePath); });
}
