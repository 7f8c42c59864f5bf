#include "converters/OfficeAttempt.h"

#include "converters/ConversionPage.h"
#include "converters/ConverterReports.h"
#include "converters/SpoolFile.h"
#include "pdf/TaggedPdf.h"
#include "platform/MessageBoxService.h"
#include "platform/OfficeHostConnection.h"

using namespace converterreports;

OfficeAttempt::OfficeAttempt(ConversionPage& page, const QString& sourcePath)
    : m_page(page), m_sourcePath(sourcePath)
{
}

bool OfficeAttempt::Start(const QString& progId, const QString& notStarted)
{
    m_page.SetConverted(0);
    if (m_page.StopRequested())
        return false;
    QString why;
    m_spoolPath = m_page.SpoolFilePath(&why);
    if (m_spoolPath.isEmpty()) {
        ReportNotConverted(m_page, m_sourcePath, why);
        return false;
    }
    if (!m_application.CreateDispatch(progId)) {
        const QString reason = COleDispatchDriver::LastCreateError();
        AfxMessageBox(reason.isEmpty() ? notStarted : notStarted + QLatin1Char('\n') + reason);
        return false;
    }
    SetPrinterPdfLevel(m_application.m_lpDispatch, m_page.PdfCompatibilityLevel());
    const ConversionSettings settings = m_page.PdfSettingsNow();
    if (settings.tagged)
        SetPrinterTaggedExport(m_application.m_lpDispatch, taggedpdf::ExportJobFor(settings));
    m_ender.emplace(m_page, m_application);
    return true;
}

bool OfficeAttempt::TakePrintTurn()
{
    if (m_page.TakePrintTurn())
        return true;
    EndProgram();
    m_page.SetConverted(0);
    return false;
}

bool OfficeAttempt::GiveUp(const QString& reason)
{
    EndProgram();
    if (!m_page.StopRequested())
        ReportNotConverted(m_page, m_sourcePath, reason);
    m_page.SetConverted(0);
    return true;
}

bool OfficeAttempt::Try(const std::function<void()>& calls)
{
    try {
        calls();
        return true;
    } catch (const std::exception& e) {
        GiveUp(QString::fromStdString(e.what()));
    }
    return false;
}

bool OfficeAttempt::EmptySpool()
{
    QString why;
    if (spoolfile::Empty(m_spoolPath, &why))
        return true;
    GiveUp(why);
    return false;
}

QString OfficeAttempt::NotPrintedInTime(const QString& applicationName)
{
    return QStringLiteral("%1 did not finish printing within %2 minutes and was ended.")
        .arg(applicationName)
        .arg(spoolfile::kPrintTimeLimitMinutes);
}

bool OfficeAttempt::WaitForPrint(const QString& applicationName)
{
    switch (spoolfile::WaitForJob(m_page, m_spoolPath)) {
    case ConversionPage::WaitEnd::Done:
        return true;
    case ConversionPage::WaitEnd::Stopped:
        m_page.SetConverted(0);
        return false;
    case ConversionPage::WaitEnd::TimedOut:
        GiveUp(NotPrintedInTime(applicationName));
        return false;
    }
    return false;
}

bool OfficeAttempt::MakePdf()
{
    const PdfOutcome outcome = m_page.MakePdfFromSpool(m_sourcePath);
    if (m_page.StopRequested()) {
        m_page.SetConverted(0);
        return false;
    }
    if (!outcome.made) {
        ReportPdfFailure(m_page, m_sourcePath, outcome);
        m_page.SetConverted(0);
    }
    return true;
}

void OfficeAttempt::EndProgram()
{
    if (m_ender)
        m_ender->EndProgram();
}

void OfficeAttempt::Release()
{
    if (m_ender)
        m_ender->Clear();
    m_application.ReleaseDispatch();
}
