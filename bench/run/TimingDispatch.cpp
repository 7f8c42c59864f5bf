#include "TimingDispatch.h"

#include "TimingLedger.h"

#include "platform/OfficeDispids.h"

TimingDispatch::TimingDispatch(LPDISPATCH inner, QString progId)
    : m_inner(std::move(inner)), m_progId(std::move(progId))
{
}

TimingDispatch::~TimingDispatch()
{
    TimedSpan span(TimingLedger::OfficeHost);
    m_inner.reset();
}

bool TimingDispatch::IsPrinting(const QString& progId, DISPID dispid)
{
    if (progId == QLatin1String("Word.Application"))
        return dispid == worddispid::kPrintOut || dispid == worddispid::kBackgroundPrintingStatus;
    if (progId == QLatin1String("Excel.Application"))
        return dispid == exceldispid::kPrintOut;
    if (progId == QLatin1String("PowerPoint.Application"))
        return dispid == powerpointdispid::kPrintOut;
    return false;
}

Variant TimingDispatch::Invoke(DISPID dispid, WORD kind, const VariantList& arguments)
{
    Variant result;
    {
        TimedSpan span(IsPrinting(m_progId, dispid) ? TimingLedger::Printer : TimingLedger::OfficeHost);
        result = m_inner->Invoke(dispid, kind, arguments);
    }
    if (result.vt() == VT_DISPATCH && result.pdispVal())
        return Variant::Dispatch(std::make_shared<TimingDispatch>(result.pdispVal(), m_progId));
    return result;
}
