#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

// The automation types of late-bound calls: the variant types the converters
// pass and receive, the call kinds and the result codes, with their Windows
// names and numbers.

using HRESULT = std::int32_t;
using SCODE = HRESULT;
using DISPID = std::int32_t;
using VARTYPE = std::uint16_t;
using WORD = std::uint16_t;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_ERROR = 10;
constexpr VARTYPE VT_BOOL = 11;

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT RPC_E_DISCONNECTED = static_cast<HRESULT>(0x80010108);
constexpr HRESULT RPC_E_TIMEOUT = static_cast<HRESULT>(0x8001011F);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005);

constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

class IDispatch;
using LPDISPATCH = std::shared_ptr<IDispatch>;

// One VARIANT. VT_BOOL holds true or false (VARIANT_TRUE is -1); VT_ERROR
// holds an SCODE, DISP_E_PARAMNOTFOUND for an omitted optional argument.
class Variant
{
public:
    Variant() = default;
    static Variant I2(std::int16_t value);
    static Variant I4(std::int32_t value);
    static Variant Bool(bool value);
    static Variant Bstr(const QString& value);
    static Variant Error(SCODE code);
    static Variant Missing() { return Error(DISP_E_PARAMNOTFOUND); }
    static Variant Dispatch(LPDISPATCH value);

    VARTYPE vt() const { return m_vt; }
    bool isMissing() const { return m_vt == VT_ERROR && m_integer == DISP_E_PARAMNOTFOUND; }
    // The value of VT_I2, VT_I4, VT_BOOL (0 or -1) and VT_ERROR.
    std::int32_t integer() const { return m_integer; }
    bool boolVal() const { return m_vt == VT_BOOL && m_integer != 0; }
    const QString& bstrVal() const { return m_string; }
    const LPDISPATCH& pdispVal() const { return m_dispatch; }

    bool operator==(const Variant& other) const;
    QString toDebugString() const;

private:
    static Variant Integer(VARTYPE vt, std::int32_t value);

    VARTYPE m_vt = VT_EMPTY;
    std::int32_t m_integer = 0;
    QString m_string;
    LPDISPATCH m_dispatch;
};

using VariantList = QList<Variant>;
