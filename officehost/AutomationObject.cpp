#include "officehost/AutomationObject.h"

#include "platform/OleException.h"

namespace {

bool Accepts(AutomationObject::Type type, const Variant& v)
{
    const bool integer = v.vt() == VT_I2 || v.vt() == VT_I4 || v.vt() == VT_BOOL;
    switch (type) {
    case AutomationObject::Type::Text:
        return v.vt() == VT_BSTR;
    case AutomationObject::Type::Integer:
        return integer;
    case AutomationObject::Type::TextOrInteger:
        return integer || v.vt() == VT_BSTR;
    }
    return false;
}

} // namespace

bool AutomationObject::Arguments::Given(int index) const
{
    return index < m_values.size() && !m_values[index].isMissing();
}

QString AutomationObject::Arguments::Text(int index, const QString& fallback) const
{
    return Given(index) ? m_values[index].bstrVal() : fallback;
}

int AutomationObject::Arguments::Integer(int index, int fallback) const
{
    return Given(index) ? m_values[index].integer() : fallback;
}

void AutomationObject::AddMember(DISPID dispid, WORD kind, QList<Parameter> parameters, Handler handler)
{
    m_members.append({dispid, kind, std::move(parameters), std::move(handler)});
}

void AutomationObject::Fail(const QString& description)
{
    throw COleDispatchException(DISP_E_EXCEPTION, description);
}

Variant AutomationObject::Invoke(DISPID dispid, WORD kind, const VariantList& arguments)
{
    for (const Member& m : m_members) {
        if (m.dispid != dispid || m.kind != kind)
            continue;
        if (arguments.size() > m.parameters.size())
            throw COleDispatchException(DISP_E_BADPARAMCOUNT, QStringLiteral("Too many arguments."));
        for (int i = 0; i < m.parameters.size(); ++i) {
            const bool given = i < arguments.size() && !arguments[i].isMissing();
            if (!given && m.parameters[i].required)
                throw COleDispatchException(DISP_E_BADPARAMCOUNT,
                                            QStringLiteral("Argument %1 is not optional.").arg(i + 1));
            if (given && !Accepts(m.parameters[i].type, arguments[i]))
                throw COleDispatchException(DISP_E_TYPEMISMATCH,
                                            QStringLiteral("Argument %1 has the wrong type.").arg(i + 1));
        }
        return m.handler(Arguments(arguments));
    }
    throw COleDispatchException(DISP_E_MEMBERNOTFOUND, QStringLiteral("Unknown name."));
}
