#pragma once

#include "platform/Variant.h"

#include <functional>

// One automation object. Invoke calls a member by DISPID and kind with its
// arguments in their natural order and returns the member's result (VT_EMPTY
// when it has none). It throws COleException when the call cannot be made
// and COleDispatchException when the object reports an error.
class IDispatch
{
public:
    virtual ~IDispatch() = default;
    virtual Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) = 0;
    // Ends the server process of this object at once, from any thread (the
    // user's Stop); empty when the object has no process of its own.
    virtual std::function<void()> ServerEnder() const { return {}; }
};

// Creates application objects by ProgID: starts an automation server. The
// default one starts the office host; tests put a fake in its place.
class IDispatchFactory
{
public:
    virtual ~IDispatchFactory() = default;
    // Null when no server for the ProgID can be started.
    virtual LPDISPATCH CreateDispatch(const QString& progId) = 0;
};
