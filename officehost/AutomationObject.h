#pragma once

#include "platform/IDispatch.h"
#include "platform/Variant.h"

#include <QList>
#include <QString>

#include <functional>

// An automation object of the host with a fixed table of members. Invoke
// finds the member by DISPID and kind, checks the number and types of the
// arguments and calls it. Anything not in the table answers
// DISP_E_MEMBERNOTFOUND; an argument of the wrong type DISP_E_TYPEMISMATCH;
// too many or too few DISP_E_BADPARAMCOUNT. Members report their own
// failures by throwing COleDispatchException.
class AutomationObject : public IDispatch
{
public:
    enum class Type { Text, Integer, TextOrInteger };
    struct Parameter
    {
        Type type;
        bool required = false;
    };

    // The checked arguments of one call, omitted ones answering their defaults.
    class Arguments
    {
    public:
        explicit Arguments(const VariantList& values) : m_values(values) {}
        bool Given(int index) const;
        QString Text(int index, const QString& fallback = {}) const;
        int Integer(int index, int fallback = 0) const;

    private:
        VariantList m_values;
    };

    using Handler = std::function<Variant(const Arguments&)>;

    Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override;

protected:
    void AddMember(DISPID dispid, WORD kind, QList<Parameter> parameters, Handler handler);
    static Parameter Text(bool required = false) { return {Type::Text, required}; }
    static Parameter Integer(bool required = false) { return {Type::Integer, required}; }
    static Parameter TextOrInteger() { return {Type::TextOrInteger, false}; }
    // The error an Office application reports, as the exception it raises.
    [[noreturn]] static void Fail(const QString& description);

private:
    struct Member
    {
        DISPID dispid;
        WORD kind;
        QList<Parameter> parameters;
        Handler handler;
    };
    QList<Member> m_members;
};
