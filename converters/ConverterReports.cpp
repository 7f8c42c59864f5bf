#include "converters/ConverterReports.h"

#include "converters/ConversionPage.h"
#include "platform/MessageBoxService.h"

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

} // namespace converterreports
