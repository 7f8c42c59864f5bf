#include "converters/BinaryPresentation.h"
#include "converters/ConversionPage.h"
#include "converters/ConverterReports.h"
#include "converters/Converters.h"
#include "converters/OfficeAttempt.h"
#include "converters/OpenPassword.h"
#include "converters/PasswordRetry.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeDispids.h"
#include "platform/WindowRegistry.h"

namespace {

// One attempt at the presentation with the current open password. False
// when it did not open or print: PowerPoint has been quit and let go, and the
// user is asked whether to retry.
bool ConvertPowerPointOnce(ConversionPage& page, const QString& sourcePath)
{
    // Start PowerPoint.
    OfficeAttempt attempt(page, sourcePath);
    if (!attempt.Start(QStringLiteral("PowerPoint.Application"),
                       QStringLiteral("Couldn't get PowerPoint object.")))
        return true;
    COleDispatchDriver& application = attempt.Application();
    COleDispatchDriver presentations;
    COleDispatchDriver presentation;

    const Variant one = Variant::I4(1);
    const Variant all = Variant::I4(-1); // From, To; also true for Untitled, WithWindow and Collate

    // Make it visible, then hide its main window.
    if (!attempt.Try([&] {
            application.InvokeHelper(powerpointdispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY, {one});
        }))
        return true;
    WindowRegistry& windows = WindowRegistry::Instance();
    const HWND mainWindow =
        windows.FindWindowW(QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint"));
    if (mainWindow)
        windows.ShowWindow(mainWindow, SW_HIDE);

    if (!attempt.Try([&] {
            presentations.AttachDispatch(
                application.InvokeHelper(powerpointdispid::kPresentations, DISPATCH_PROPERTYGET, VT_DISPATCH)
                    .pdispVal());
        }))
        return true;
    if (!attempt.EmptySpool())
        return true;

    // Open, take the active presentation, print: the guarded stretch.
    try {
        // The presentation Open returns is let go at once; the active one
        // prints. The open password follows the four arguments PowerPoint
        // itself takes; the office host hands it to the office.
        presentations.InvokeHelper(powerpointdispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                   {Variant::Bstr(sourcePath), one, all, all, Variant::Bstr(g_openPassword)});
        page.SetConverted(1);
        if (!attempt.TakePrintTurn())
            return true;
        presentation.AttachDispatch(
            application.InvokeHelper(powerpointdispid::kActivePresentation, DISPATCH_PROPERTYGET, VT_DISPATCH)
                .pdispVal());
        presentation.InvokeHelper(powerpointdispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                                  {all, all, Variant::Bstr(attempt.SpoolPath()), one, all});
    } catch (const COleException& e) {
        // The host could not answer (it ended, hung, lost its channel): no
        // retry can help. Only what PowerPoint itself refused is asked about.
        return attempt.GiveUp(QString::fromStdString(e.what()));
    } catch (...) {
        page.SetConverted(0);
        try {
            if (presentation.m_lpDispatch)
                presentation.InvokeHelper(powerpointdispid::kClose, DISPATCH_METHOD, VT_EMPTY);
            application.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
        } catch (...) {
            attempt.EndProgram();
        }
        presentation.ReleaseDispatch();
        presentations.ReleaseDispatch();
        attempt.Release();
        // A password was tried on a protected 97-2003 presentation: no
        // password opens it here, so asking again would lead nowhere.
        if (g_openPassword != kNoPassword && binarypresentation::IsEncrypted(sourcePath)) {
            converterreports::ReportNotConverted(
                page, sourcePath,
                QStringLiteral("It is a PowerPoint 97-2003 presentation protected with a "
                               "password, which LibreOffice cannot open."));
            return true;
        }
        return false;
    }

    // The spool file complete.
    if (!attempt.WaitForPrint(QStringLiteral("PowerPoint")))
        return true;
    if (!attempt.MakePdf())
        return true;

    // Close and Quit; a PowerPoint that will not is terminated through its
    // main window's process. The PDF made stands.
    try {
        presentation.InvokeHelper(powerpointdispid::kClose, DISPATCH_METHOD, VT_EMPTY);
        application.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
    } catch (...) {
        if (mainWindow)
            windows.TerminateProcess(windows.GetWindowThreadProcessId(mainWindow));
    }
    return true;
}

} // namespace

void ConvertPowerPoint(ConversionPage& page, const QString& sourcePath)
{
    // Yes to the question leads to the password prompt, as Word's and
    // Excel's failed opens do.
    ConvertWithPasswordRetries(
        page, sourcePath, [&]() { return ConvertPowerPointOnce(page, sourcePath); },
        [&]() {
            return MessageBox(page.Window(), QStringLiteral("Password is wrong.Do you want to  enter again?"),
                              QStringLiteral("Warning"), MB_YESNO) == IDYES;
        });
}
