#pragma once

#include "platform/IDispatch.h"
#include "platform/OleException.h"
#include "platform/Variant.h"

#include <QString>

// Holds one automation object and calls its members by DISPID, the way the
// converters drive Word, Excel and PowerPoint. A failing call throws
// (COleException, COleDispatchException; both are CException).
class COleDispatchDriver
{
public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(LPDISPATCH dispatch) : m_lpDispatch(std::move(dispatch)) {}

    // Starts the automation server of the ProgID and holds its application
    // object; false when that cannot be done.
    bool CreateDispatch(const QString& progId);
    void AttachDispatch(LPDISPATCH dispatch) { m_lpDispatch = std::move(dispatch); }
    // Lets go of the object; the server ends when nothing holds its objects.
    void ReleaseDispatch() { m_lpDispatch.reset(); }

    // Calls a member: kind is DISPATCH_METHOD, DISPATCH_PROPERTYGET or
    // DISPATCH_PROPERTYPUT; vtRet the result type wanted (VT_EMPTY for none).
    // The result is converted to vtRet; a result of another type fails with
    // DISP_E_TYPEMISMATCH.
    Variant InvokeHelper(DISPID dispid, WORD kind, VARTYPE vtRet, const VariantList& arguments = {});
    void SetProperty(DISPID dispid, const Variant& value);
    Variant GetProperty(DISPID dispid, VARTYPE vtRet);

    LPDISPATCH m_lpDispatch;

    // Where CreateDispatch gets its servers; null restores the office host.
    // Returns the factory in place before, so a wrapper can call on to it.
    static IDispatchFactory* SetDispatchFactory(IDispatchFactory* factory);
    // Why the last CreateDispatch on this thread failed.
    static QString LastCreateError();
};
