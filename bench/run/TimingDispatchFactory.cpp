#include "TimingDispatchFactory.h"

#include "TimingDispatch.h"
#include "TimingLedger.h"

#include "platform/COleDispatchDriver.h"

TimingDispatchFactory::TimingDispatchFactory() : m_real(COleDispatchDriver::SetDispatchFactory(this)) {}

TimingDispatchFactory::~TimingDispatchFactory()
{
    COleDispatchDriver::SetDispatchFactory(m_real);
}

LPDISPATCH TimingDispatchFactory::CreateDispatch(const QString& progId)
{
    LPDISPATCH application;
    {
        TimedSpan span(TimingLedger::OfficeHost);
        application = m_real->CreateDispatch(progId);
    }
    return application ? std::make_shared<TimingDispatch>(application, progId) : nullptr;
}
