#include "platform/PdfDrawingFacts.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <exception>
#include <set>
#include <vector>

namespace {

bool Below(QPDFObjectHandle value)
{
    return value.isNumber() && value.getNumericValue() < 1.0;
}

// A soft mask, constant opacity below 1, a blend mode other than normal, or a
// transparency group.
bool IsTransparent(QPDFObjectHandle object)
{
    QPDFObjectHandle dictionary = object.isStream() ? object.getDict() : object;
    if (!dictionary.isDictionary())
        return false;
    if (Below(dictionary.getKey("/CA")) || Below(dictionary.getKey("/ca")))
        return true;
    QPDFObjectHandle mask = dictionary.getKey("/SMask");
    if (!mask.isNull() && !mask.isNameAndEquals("/None"))
        return true;
    QPDFObjectHandle blend = dictionary.getKey("/BM");
    if (blend.isName() && !blend.isNameAndEquals("/Normal") && !blend.isNameAndEquals("/Compatible"))
        return true;
    QPDFObjectHandle group = dictionary.getKey("/Group");
    return group.isDictionary() && group.getKey("/S").isNameAndEquals("/Transparency");
}

// The object and the direct objects inside it; indirect ones are visited on their own.
bool AnyTransparent(QPDFObjectHandle object, int depth = 0)
{
    if ((depth > 0 && object.isIndirect()) || depth > 32)
        return false;
    if (IsTransparent(object))
        return true;
    QPDFObjectHandle inner = object.isStream() ? object.getDict() : object;
    if (inner.isDictionary()) {
        for (auto& [key, value] : inner.getDictAsMap())
            if (AnyTransparent(value, depth + 1))
                return true;
    } else if (inner.isArray()) {
        for (QPDFObjectHandle& item : inner.getArrayAsVector())
            if (AnyTransparent(item, depth + 1))
                return true;
    }
    return false;
}

// Adds up the bytes of the strings the text-showing operators show.
class ShownText : public QPDFObjectHandle::ParserCallbacks
{
public:
    qint64 bytes = 0;
    // The graphics states and external objects drawn with, by name.
    std::set<std::string> states, objects;

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            return;
        }
        const std::string name = object.getOperatorValue();
        if ((name == "gs" || name == "Do") && !m_operands.empty() && m_operands.back().isName())
            (name == "gs" ? states : objects).insert(m_operands.back().getName());
        if (name == "Tj" || name == "'" || name == "\"" || name == "TJ") {
            for (QPDFObjectHandle& operand : m_operands) {
                if (operand.isString())
                    bytes += qint64(operand.getStringValue().size());
                else if (operand.isArray())
                    for (QPDFObjectHandle& item : operand.getArrayAsVector())
                        if (item.isString())
                            bytes += qint64(item.getStringValue().size());
            }
        }
        m_operands.clear();
    }
    void handleEOF() override {}

private:
    std::vector<QPDFObjectHandle> m_operands;
};

} // namespace

PdfDrawingFacts PdfDrawingFacts::Read(const QString& pdf, bool countText)
{
    PdfDrawingFacts facts;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processFile(QFile::encodeName(pdf).constData());
        for (QPDFObjectHandle& object : document.getAllObjects()) {
            if (AnyTransparent(object)) {
                facts.transparency = true;
                break;
            }
        }
        facts.read = true;
        if (!countText)
            return facts;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
            // What the page draws, the forms it draws included (each once),
            // each name looked up in the resources of the content naming it:
            // the pages of one file often share one resource dictionary.
            Page drawn;
            drawn.transparency = IsTransparent(page.getObjectHandle());
            std::set<QPDFObjGen> formsSeen;
            std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> forms; // form, its resources
            auto visit = [&](const ShownText& text, QPDFObjectHandle resources) {
                drawn.shownTextBytes += text.bytes;
                if (!resources.isDictionary())
                    return;
                QPDFObjectHandle states = resources.getKey("/ExtGState");
                for (const std::string& name : text.states)
                    if (states.isDictionary() && IsTransparent(states.getKey(name)))
                        drawn.transparency = true;
                QPDFObjectHandle objects = resources.getKey("/XObject");
                for (const std::string& name : text.objects) {
                    QPDFObjectHandle object =
                        objects.isDictionary() ? objects.getKey(name) : QPDFObjectHandle::newNull();
                    if (!object.isStream())
                        continue;
                    drawn.transparency = drawn.transparency || IsTransparent(object);
                    if (object.getDict().getKey("/Subtype").isNameAndEquals("/Form") &&
                        formsSeen.insert(object.getObjGen()).second) {
                        QPDFObjectHandle own = object.getDict().getKey("/Resources");
                        forms.emplace_back(object, own.isDictionary() ? own : resources);
                    }
                }
            };
            ShownText text;
            page.parseContents(&text);
            visit(text, page.getAttribute("/Resources", false));
            while (!forms.empty()) {
                auto [form, resources] = forms.back();
                forms.pop_back();
                ShownText inForm;
                form.parseAsContents(&inForm);
                visit(inForm, resources);
            }
            facts.pages.push_back(drawn);
            facts.shownTextBytes += drawn.shownTextBytes;
        }
    } catch (const std::exception&) {
        facts = PdfDrawingFacts{};
    }
    return facts;
}
