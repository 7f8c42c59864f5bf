#pragma once

#include "platform/IDispatch.h"

#include <QString>

// An automation object of the office host with a stopwatch in front: each
// call is booked as printer time (the print and its status poll) or as
// office host time (everything else, and letting go of the object, which
// ends the host with the last one). Objects it returns are wrapped too.
class TimingDispatch : public IDispatch
{
public:
    TimingDispatch(LPDISPATCH inner, QString progId);
    ~TimingDispatch() override;

    Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override;
    std::function<void()> ServerEnder() const override { return m_inner->ServerEnder(); }

    // True for the calls that print: PrintOut of the three applications and
    // Word's background-printing status.
    static bool IsPrinting(const QString& progId, DISPID dispid);

private:
    LPDISPATCH m_inner;
    QString m_progId;
};
