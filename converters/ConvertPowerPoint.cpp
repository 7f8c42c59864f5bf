#include "converters/BinaryPresentation.h"
#include "converters/ConversionPage.h"
#include "converters/ConverterReports.h"
#include "converters/Converters.h"
#include "converters/CurrentProgramEnder.h"
#include "converters/OpenPassword.h"
#include "converters/PasswordRetry.h"
#include "converters/SpoolFile.h"
#include "platform/COleDispatchDriver.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeDispids.h"
#include "platform/WindowRegistry.h"

using namespace converterreports;

namespace {

// One attempt at the presentation with the current open password. False
// when it did not open or print: PowerPoint has been quit and let go, and the
// user is asked whether to retry.
bool ConvertPowerPointOnce(ConversionPage& page, const QString& sourcePath)
{
    const QString spoolPath = BeginOfficeAttempt(page, sourcePath);
    if (spoolPath.isEmpty())
        return true;

    const Variant one = Variant::I4(1);
    const Variant all = Variant::I4(-1); // From, To; also true for Untitled, WithWindow and Collate

    // Start PowerPoint.
    COleDispatchDriver application;
    if (!StartOffice(page, application, QStringLiteral("PowerPoint.Application"),
                     QStringLiteral("Couldn't get PowerPoint object.")))
        return true;
    CurrentProgramEnder ender(page, application);
    COleDispatchDriver presentations;
    COleDispatchDriver presentation;

    auto giveUp = [&](const QString& reason) {
        GiveUp(page, ender, sourcePath, reason);
        return true;
    };

    // Make it visible, then hide its main window.
    try {
        application.InvokeHelper(powerpointdispid::kVisible, DISPATCH_PROPERTYPUT, VT_EMPTY, {one});
    } catch (const std::exception& e) {
        return giveUp(QString::fromStdString(e.what()));
    }
    WindowRegistry& windows = WindowRegistry::Instance();
    const HWND mainWindow =
        windows.FindWindowW(QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint"));
    if (mainWindow)
        windows.ShowWindow(mainWindow, SW_HIDE);

    try {
        presentations.AttachDispatch(
            application.InvokeHelper(powerpointdispid::kPresentations, DISPATCH_PROPERTYGET, VT_DISPATCH)
                .pdispVal());
    } catch (const std::exception& e) {
        return giveUp(QString::fromStdString(e.what()));
    }
    QString why;
    if (!spoolfile::Empty(spoolPath, &why))
        return giveUp(why);

    // Open, take the active presentation, print: the guarded stretch.
    try {
        // The presentation Open returns is let go at once; the active one
        // prints. The open password follows the four arguments PowerPoint
        // itself takes; the office host hands it to the office.
        presentations.InvokeHelper(powerpointdispid::kOpen, DISPATCH_METHOD, VT_DISPATCH,
                                   {Variant::Bstr(sourcePath), one, all, all, Variant::Bstr(g_openPassword)});
        page.SetConverted(1);
        presentation.AttachDispatch(
            application.InvokeHelper(powerpointdispid::kActivePresentation, DISPATCH_PROPERTYGET, VT_DISPATCH)
                .pdispVal());
        presentation.InvokeHelper(powerpointdispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY,
                                  {all, all, Variant::Bstr(spoolPath), one, all});
    } catch (const COleException& e) {
        // The host could not answer (it ended, hung, lost its channel): no
        // retry can help. Only what PowerPoint itself refused is asked about.
        return giveUp(QString::fromStdString(e.what()));
    } catch (...) {
        page.SetConverted(0);
        try {
            if (presentation.m_lpDispatch)
                presentation.InvokeHelper(powerpointdispid::kClose, DISPATCH_METHOD, VT_EMPTY);
            application.InvokeHelper(powerpointdispid::kQuit, DISPATCH_METHOD, VT_EMPTY);
        } catch (...) {
            ender.EndProgram();
        }
        presentation.ReleaseDispatch();
        presentations.ReleaseDispatch();
        ender.Clear();
        application.ReleaseDispatch();
        // A password was tried on a protected 97-2003 presentation: no
        // password opens it here, so asking again would lead nowhere.
        if (g_openPassword != kNoPassword && binarypresentation::IsEncrypted(sourcePath)) {
            ReportNotConverted(page, sourcePath,
                               QStringLiteral("It is a PowerPoint 97-2003 presentation protected with a "
                                              "password, which LibreOffice cannot open."));
            return true;
        }
        return false;
    }

    // The spool file complete.
    const ConversionPage::WaitEnd end = spoolfile::WaitForJob(page, spoolPath);
    if (end == ConversionPage::WaitEnd::Stopped) {
        page.SetConverted(0);
        return true;
    }
    if (end == ConversionPage::WaitEnd::TimedOut)
        return giveUp(QStringLiteral("PowerPoint did not finish printing within %1 minutes and was ended.")
                          .arg(spoolfile::kPrintTimeLimitMinutes));

    const PdfOutcome outcome = page.MakePdfFromSpool(sourcePath);
    if (page.StopRequested()) {
        page.SetConverted(0);
        return true;
    }
    if (!outcome.made) {
        ReportPdfFailure(page, sourcePath, outcome);
        page.SetConverted(0);
    }

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
