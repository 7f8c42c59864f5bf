#include "platform/COleDispatchDriver.h"

#include "platform/OfficeHostConnection.h"

#include <atomic>

namespace {

class OfficeHostFactory : public IDispatchFactory
{
public:
    LPDISPATCH CreateDispatch(const QString& progId) override
    {
        std::shared_ptr<OfficeHostConnection> connection =
            OfficeHostConnection::Start(OfficeHostConnection::DefaultProgram(), progId, &m_lastError);
        return connection ? connection->Application() : nullptr;
    }
    thread_local static QString m_lastError;
};

thread_local QString OfficeHostFactory::m_lastError;

OfficeHostFactory g_officeHostFactory;
std::atomic<IDispatchFactory*> g_factory{&g_officeHostFactory};

} // namespace

IDispatchFactory* COleDispatchDriver::SetDispatchFactory(IDispatchFactory* factory)
{
    return g_factory.exchange(factory ? factory : &g_officeHostFactory);
}

QString COleDispatchDriver::LastCreateError()
{
    return OfficeHostFactory::m_lastError;
}

bool COleDispatchDriver::CreateDispatch(const QString& progId)
{
    ReleaseDispatch();
    OfficeHostFactory::m_lastError.clear();
    m_lpDispatch = g_factory.load()->CreateDispatch(progId);
    return m_lpDispatch != nullptr;
}

Variant COleDispatchDriver::InvokeHelper(DISPID dispid, WORD kind, VARTYPE vtRet,
                                         const VariantList& arguments)
{
    if (!m_lpDispatch)
        throw COleException(E_FAIL, QStringLiteral("No automation object is attached."));
    const Variant result = m_lpDispatch->Invoke(dispid, kind, arguments);
    if (vtRet == VT_EMPTY || result.vt() == vtRet)
        return vtRet == VT_EMPTY ? Variant() : result;
    // The conversions Automation makes between the integer types.
    const bool integer = result.vt() == VT_I2 || result.vt() == VT_I4 || result.vt() == VT_BOOL;
    if (integer && vtRet == VT_I4)
        return Variant::I4(result.integer());
    if (integer && vtRet == VT_I2 && result.integer() >= -32768 && result.integer() <= 32767)
        return Variant::I2(static_cast<std::int16_t>(result.integer()));
    if (integer && vtRet == VT_BOOL)
        return Variant::Bool(result.integer() != 0);
    throw COleDispatchException(
        DISP_E_TYPEMISMATCH, QStringLiteral("The result has type %1, not %2.").arg(result.vt()).arg(vtRet));
}

void COleDispatchDriver::SetProperty(DISPID dispid, const Variant& value)
{
    InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, {value});
}

Variant COleDispatchDriver::GetProperty(DISPID dispid, VARTYPE vtRet)
{
    return InvokeHelper(dispid, DISPATCH_PROPERTYGET, vtRet);
}
