#pragma once

#include "platform/IDispatch.h"

// Stands in front of the factory in place while it lives (the office host's):
// starting a host is office host time, and the objects it makes are timed.
class TimingDispatchFactory : public IDispatchFactory
{
public:
    TimingDispatchFactory();
    ~TimingDispatchFactory() override;
    TimingDispatchFactory(const TimingDispatchFactory&) = delete;
    TimingDispatchFactory& operator=(const TimingDispatchFactory&) = delete;

    LPDISPATCH CreateDispatch(const QString& progId) override;

private:
    IDispatchFactory* m_real = nullptr;
};
