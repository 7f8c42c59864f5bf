#include "pdf/PicturePlacement.h"

#include <cmath>
#include <vector>

namespace {

// Follows q, Q and cm through the content, and notes each image drawn (by
// Do of an image XObject, or inline) with the transformation it is drawn with.
class ImageFinder : public QPDFObjectHandle::ParserCallbacks
{
public:
    explicit ImageFinder(QPDFObjectHandle xObjects) : m_xObjects(std::move(xObjects)) {}

    std::optional<PicturePlacement> Largest() const { return m_largest; }

    using QPDFObjectHandle::ParserCallbacks::handleObject;
    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            if (m_inInlineImage && !object.isInlineImage())
                m_inlineDictionary.push_back(object);
            else
                m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "q") {
            m_saved.push_back(m_current);
        } else if (op == "Q") {
            if (!m_saved.empty()) {
                m_current = m_saved.back();
                m_saved.pop_back();
            }
        } else if (op == "cm" && m_operands.size() == 6) {
            double v[6];
            for (int i = 0; i < 6; ++i) {
                if (!m_operands[i].getValueAsNumber(v[i])) {
                    m_operands.clear();
                    return;
                }
            }
            // The new transformation comes before the one in force.
            m_current.concat(QPDFMatrix(v[0], v[1], v[2], v[3], v[4], v[5]));
        } else if (op == "Do" && m_operands.size() == 1 && m_operands[0].isName()) {
            DrawXObject(m_operands[0].getName());
        } else if (op == "BI") {
            m_inInlineImage = true;
            m_inlineDictionary.clear();
        } else if (op == "ID") {
            DrawInline();
            m_inInlineImage = false;
        }
        m_operands.clear();
    }

    void handleEOF() override {}

private:
    void Note(int width, int height)
    {
        if (width <= 0 || height <= 0)
            return;
        const double area = std::abs(m_current.a * m_current.d - m_current.b * m_current.c);
        if (m_largest && area <= m_largestArea)
            return;
        m_largestArea = area;
        m_largest = PicturePlacement{m_current, width, height};
    }

    void DrawXObject(const std::string& name)
    {
        if (!m_xObjects.isDictionary() || !m_xObjects.hasKey(name))
            return;
        QPDFObjectHandle image = m_xObjects.getKey(name);
        if (!image.isStream())
            return;
        QPDFObjectHandle dictionary = image.getDict();
        if (!dictionary.getKey("/Subtype").isNameAndEquals("/Image"))
            return;
        int width = 0;
        int height = 0;
        if (dictionary.getKey("/Width").getValueAsInt(width) &&
            dictionary.getKey("/Height").getValueAsInt(height))
            Note(width, height);
    }

    void DrawInline()
    {
        int width = 0;
        int height = 0;
        for (std::size_t i = 0; i + 1 < m_inlineDictionary.size(); i += 2) {
            if (!m_inlineDictionary[i].isName())
                continue;
            const std::string key = m_inlineDictionary[i].getName();
            if (key == "/W" || key == "/Width")
                m_inlineDictionary[i + 1].getValueAsInt(width);
            else if (key == "/H" || key == "/Height")
                m_inlineDictionary[i + 1].getValueAsInt(height);
        }
        Note(width, height);
    }

    QPDFObjectHandle m_xObjects;
    QPDFMatrix m_current;
    std::vector<QPDFMatrix> m_saved;
    std::vector<QPDFObjectHandle> m_operands;
    bool m_inInlineImage = false;
    std::vector<QPDFObjectHandle> m_inlineDictionary;
    std::optional<PicturePlacement> m_largest;
    double m_largestArea = 0;
};

} // namespace

std::optional<PicturePlacement> PicturePlacement::Find(QPDFPageObjectHelper& page)
{
    QPDFObjectHandle resources = page.getAttribute("/Resources", false);
    QPDFObjectHandle xObjects =
        resources.isDictionary() ? resources.getKey("/XObject") : QPDFObjectHandle::newNull();
    ImageFinder finder(xObjects);
    page.parseContents(&finder);
    return finder.Largest();
}

double PicturePlacement::WidthPoints() const
{
    return std::hypot(matrix.a, matrix.b);
}
