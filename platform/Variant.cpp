#include "platform/Variant.h"

Variant Variant::Integer(VARTYPE vt, std::int32_t value)
{
    Variant v;
    v.m_vt = vt;
    v.m_integer = value;
    return v;
}

Variant Variant::I2(std::int16_t value)
{
    return Integer(VT_I2, value);
}

Variant Variant::I4(std::int32_t value)
{
    return Integer(VT_I4, value);
}

Variant Variant::Bool(bool value)
{
    return Integer(VT_BOOL, value ? -1 : 0);
}

Variant Variant::Bstr(const QString& value)
{
    Variant v;
    v.m_vt = VT_BSTR;
    v.m_string = value;
    return v;
}

Variant Variant::Error(SCODE code)
{
    return Integer(VT_ERROR, code);
}

Variant Variant::Dispatch(LPDISPATCH value)
{
    Variant v;
    v.m_vt = VT_DISPATCH;
    v.m_dispatch = std::move(value);
    return v;
}

bool Variant::operator==(const Variant& other) const
{
    return m_vt == other.m_vt && m_integer == other.m_integer && m_string == other.m_string &&
           m_dispatch == other.m_dispatch;
}

QString Variant::toDebugString() const
{
    switch (m_vt) {
    case VT_EMPTY:
        return QStringLiteral("VT_EMPTY");
    case VT_I2:
        return QStringLiteral("VT_I2 %1").arg(m_integer);
    case VT_I4:
        return QStringLiteral("VT_I4 %1").arg(m_integer);
    case VT_BOOL:
        return QStringLiteral("VT_BOOL %1").arg(m_integer);
    case VT_BSTR:
        return QStringLiteral("VT_BSTR \"%1\"").arg(m_string);
    case VT_ERROR:
        return QStringLiteral("VT_ERROR 0x%1").arg(static_cast<std::uint32_t>(m_integer), 8, 16, QChar('0'));
    case VT_DISPATCH:
        return QStringLiteral("VT_DISPATCH");
    }
    return QStringLiteral("VT %1").arg(m_vt);
}
