#include "TimingPrinter.h"

#include "TimingLedger.h"

#include "platform/CPrintDialog.h"
#include "platform/PaperSize.h"
#include "platform/PostScriptPrinter.h"

TimingPrinter::TimingPrinter(std::unique_ptr<DeviceContext> real) : m_real(std::move(real)) {}

TimingPrinter::~TimingPrinter()
{
    EndJob();
}

void TimingPrinter::InstallAsDefault()
{
    CPrintDialog::SetDefaultPrinterFactory([]() -> std::unique_ptr<DeviceContext> {
        return std::make_unique<TimingPrinter>(std::make_unique<PostScriptPrinter>(PaperSize::System()));
    });
}

void TimingPrinter::RestoreDefault()
{
    CPrintDialog::SetDefaultPrinterFactory({});
}

int TimingPrinter::StartDoc(const DOCINFO& info)
{
    m_job.start();
    return m_real->StartDoc(info);
}

int TimingPrinter::EndDoc()
{
    const int result = m_real->EndDoc();
    EndJob();
    return result;
}

int TimingPrinter::AbortDoc()
{
    const int result = m_real->AbortDoc();
    EndJob();
    return result;
}

void TimingPrinter::EndJob()
{
    if (!m_job.isValid())
        return;
    TimingLedger::Instance().Add(TimingLedger::Printer, m_job.nsecsElapsed());
    m_job.invalidate();
}
