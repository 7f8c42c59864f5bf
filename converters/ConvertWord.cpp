#include "converters/ConversionPage.h"
#include "converters/Converters.h"
#include "converters/FileKinds.h"
#include "converters/OfficeAttempt.h"
#include "converters/OpenPassword.h"
#include "converters/PasswordRetry.h"
#include "converters/PrinterName.h"
#include "converters/SpoolFile.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeDispids.h"
#include "platform/WordOpenFormat.h"

namespace {

constexpr int kAnswerTimer = 3; // answers Word's question boxes while it prints
constexpr int kAnswerTimerPeriod = 200;

QString Why(const std::exception& e)
{
    return QString::fromStdString(e.what());
}

// One attempt at the file with the current open password. False when the
// document did not open: Word has been quit and let go, and the password
// prompt follows.
bool ConvertWordOnce(ConversionPage& page, const QString& sourcePath, int format)
{
    // Start Word.
    OfficeAttempt attempt(page, sourcePath);
    if (!attempt.Start(QStringLiteral("Word.Application"), QStringLiteral("Couldn't get Word object.")))
        return true;
    COleDispatchDriver& application = attempt.Application();
    COleDispatchDriver documents;
    COleDispatchDriver document;

    const Variant spool = Variant::Bstr(attempt.SpoolPath());
    const Variant zero = Variant::I4(0);
    const Variant one = Variant::I4(1);
    const Variant yes = Variant::I2(-1);
    const Variant no = Variant::I2(0);
    const Variant omitted = Variant::Missing();
    const Variant openFormat = Variant::I4(format);
    const Variant fileName = Variant::Bstr(sourcePath);

    // Hide Word, choose the printer, get the collection.
    if (!attempt.Try([&] {
            application.InvokeHelper(worddispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                     {Variant::Bool(false)});
            application.InvokeHelper(worddispid::kActivePrinter, DISPATCH_PROPERTYPUT, VT_EMPTY,
                                     {Variant::Bstr(kPrinterName)});
            documents.AttachDispatch(
                application.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH)
                    .pdispVal());
        }))
        return true;

    // Open: the guarded stretch. An Open Word refused counts as a missing or
    // wrong password; a host that could not answer is given up with its reason.
    const Variant password = Variant::Bstr(g_openPassword);
    try {
        document.AttachDispatch(documents
                                    .InvokeHelper(worddispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                                  {fileName, no, yes, no, password, omitted, no, omitted,
                                                   omitted, openFormat, omitted, yes})
                                    .pdispVal());
    } catch (const COleException& e) {
        return attempt.GiveUp(Why(e));
    } catch (...) {
        try {
            application.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
        } catch (...) {
            attempt.EndProgram();
        }
        documents.ReleaseDispatch();
        attempt.Release();
        return false;
    }
    page.SetConverted(1);

    if (page.StopRequested()) {
        page.SetConverted(0);
        return true;
    }
    if (!attempt.TakePrintTurn() || !attempt.EmptySpool())
        return true;

    // Print in the background and wait until Word reports no job running.
    page.SetTimer(kAnswerTimer, kAnswerTimerPeriod);
    QString printFailure;
    bool stopped = false;
    try {
        document.InvokeHelper(worddispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                              {yes, omitted, zero, spool, omitted, omitted, zero, one, omitted, zero, yes,
                               yes, omitted, no, zero, zero, zero, zero});
        auto printed = [&]() {
            return application
                       .InvokeHelper(worddispid::kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, VT_I4)
                       .integer() <= 0;
        };
        const ConversionPage::WaitEnd end = page.WaitUntil(printed, spoolfile::kPrintTimeLimit);
        stopped = end == ConversionPage::WaitEnd::Stopped;
        if (end == ConversionPage::WaitEnd::TimedOut)
            printFailure = OfficeAttempt::NotPrintedInTime(QStringLiteral("Word"));
    } catch (const std::exception& e) {
        printFailure = Why(e);
    }
    page.KillTimer(kAnswerTimer);
    if (stopped || page.StopRequested()) {
        page.SetConverted(0);
        return true;
    }
    if (!printFailure.isEmpty())
        return attempt.GiveUp(printFailure);

    // The PDF, while Word still holds the document.
    if (!attempt.MakePdf())
        return true;

    // Close without saving, then Quit. A Word that will not is ended; a PDF
    // already made stands.
    try {
        document.InvokeHelper(worddispid::kClose, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
        application.InvokeHelper(worddispid::kQuit, DISPATCH_METHOD, VT_EMPTY, {no, no, no});
    } catch (...) {
        attempt.EndProgram();
    }
    return true;
}

} // namespace

void ConvertWord(ConversionPage& page, const QString& sourcePath)
{
    const int format = filekinds::WordOpenFormat(sourcePath);
    if (format == wordopenformat::kNone) {
        AfxMessageBox(QStringLiteral("Not Suppot File %1,Convert next file?").arg(sourcePath), MB_OK);
        page.SetConverted(0);
        return;
    }
    ConvertWithPasswordRetries(page, sourcePath, [&]() { return ConvertWordOnce(page, sourcePath, format); });
}
