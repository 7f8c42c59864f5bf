#include "converters/ConverterReports.h"

#include "converters/ConversionPage.h"
#include "converters/CurrentProgramEnder.h"
#include "platform/COleDispatchDriver.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeHostConnection.h"

namespace converterreports {

void ReportNotConverted(ConversionPage& page, const QString& sourcePath, const QString& reason)
{
    MessageBox(page.Window(), QStringLiteral("%1 was not converted.\n%2").arg(sourcePath, reason), kCaption,
               MB_OK | MB_ICONEXCLAMATION);
}

void ReportPdfFailure(ConversionPage& page, const QString& sourcePath, const PdfOutcome& outcome)
{
    if (outcome.failure == PdfOutcome::Failure::Stopped)
        return;
    MessageBox(page.Window(),
               QStringLiteral("The PDF of %1 could not be made.\n%2").arg(sourcePath, outcome.reason),
               kCaption, MB_OK | MB_ICONEXCLAMATION);
}

void ReportPdfNotice(ConversionPage& page, const PdfOutcome& outcome)
{
    if (outcome.made && !outcome.notice.isEmpty())
        MessageBox(page.Window(), outcome.notice, kCaption, MB_OK | MB_ICONINFORMATION);
}

QString BeginOfficeAttempt(ConversionPage& page, const QString& sourcePath)
{
    page.SetConverted(0);
    if (page.StopRequested())
        return {};
    QString why;
    const QString spoolPath = page.SpoolFilePath(&why);
    if (spoolPath.isEmpty())
        ReportNotConverted(page, sourcePath, why);
    return spoolPath;
}

bool StartOffice(ConversionPage& page, COleDispatchDriver& application, const QString& progId,
                 const QString& objectMessage)
{
    if (!application.CreateDispatch(progId)) {
        const QString why = COleDispatchDriver::LastCreateError();
        AfxMessageBox(why.isEmpty() ? objectMessage : objectMessage + QLatin1Char('\n') + why);
        return false;
    }
    SetPrinterPdfLevel(application.m_lpDispatch, page.PdfCompatibilityLevel());
    return true;
}

void GiveUp(ConversionPage& page, CurrentProgramEnder& ender, const QString& sourcePath,
            const QString& reason)
{
    ender.EndProgram();
    if (!page.StopRequested())
        ReportNotConverted(page, sourcePath, reason);
    page.SetConverted(0);
}

} // namespace converterreports
