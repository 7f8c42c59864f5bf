#include "pdf/TaggedPdfStructure.h"

#include <QFile>
#include <QLocale>

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

using Handle = QPDFObjectHandle;

Handle Name(const char* name)
{
    return Handle::newName(name);
}

Handle Text(const QString& text)
{
    return Handle::newUnicodeString(text.toStdString());
}

bool IsElement(Handle object, const char* type)
{
    return object.isDictionary() && object.getKey("/S").isNameAndEquals(type);
}

// Marks a picture's page: its drawing is the Figure (MCID 0); each text
// object laid over it (a line of recognised words) is a paragraph of its
// own (MCID 1, 2, ...), in the order drawn. The text comes after the
// drawing, so the Figure ends where the first text begins.
class PictureMarks : public Handle::TokenFilter
{
public:
    void handleToken(QPDFTokenizer::Token const& token) override
    {
        if (!m_started) {
            write("/Figure <</MCID 0>> BDC\n");
            m_started = m_inFigure = true;
        }
        const bool word = token.getType() == QPDFTokenizer::tt_word;
        const std::string& op = token.getValue();
        if (word && op == "BT" && m_depth == 0) {
            if (m_inFigure)
                write("\nEMC\n");
            m_inFigure = false;
            write("/P <</MCID " + std::to_string(++lines) + ">> BDC\n");
            m_inLine = true;
        }
        writeToken(token);
        if (word && (op == "BMC" || op == "BDC"))
            ++m_depth;
        else if (word && op == "EMC" && m_depth > 0)
            --m_depth;
        else if (word && op == "ET" && m_inLine) {
            write("\nEMC\n");
            m_inLine = false;
        }
    }
    void handleEOF() override
    {
        if (!m_started)
            write("/Figure <</MCID 0>> BDC\n");
        if (!m_started || m_inFigure)
            write("\nEMC\n");
    }

    int lines = 0;

private:
    bool m_started = false;
    bool m_inFigure = false;
    bool m_inLine = false;
    int m_depth = 0;
};

} // namespace

bool TaggedPdfStructure::HasStructure(const QString& path)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(path).constData());
        return pdf.getRoot().getKey("/StructTreeRoot").isDictionary();
    } catch (const std::exception&) {
        return false;
    }
}

QString TaggedPdfStructure::UserLanguage()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return QStringLiteral("en");
    return locale.bcp47Name();
}

void TaggedPdfStructure::TagPictures(QPDF& pdf, const QString& altText, const QString& language)
{
    Handle root = pdf.getRoot();
    Handle treeRoot = pdf.makeIndirectObject(Handle::parse("<< /Type /StructTreeRoot >>"));
    Handle document = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Document >>"));
    document.replaceKey("/P", treeRoot);
    Handle elements = Handle::newArray();
    Handle numbers = Handle::newArray();
    long long index = 0;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        PictureMarks marks;
        Pl_Buffer buffer("tagged picture");
        page.filterContents(&marks, &buffer);
        const std::shared_ptr<Buffer> content = buffer.getBufferSharedPointer();
        Handle pageObject = page.getObjectHandle();
        pageObject.replaceKey("/Contents",
                              pdf.newStream(std::string(reinterpret_cast<const char*>(content->getBuffer()),
                                                        content->getSize())));
        Handle figure = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Figure /K 0 >>"));
        figure.replaceKey("/P", document);
        figure.replaceKey("/Pg", pageObject);
        figure.replaceKey("/Alt", Text(altText));
        Handle box = pageObject.getKey("/MediaBox");
        if (box.isArray())
            figure.replaceKey("/A", Handle::newDictionary({{"/O", Name("/Layout")}, {"/BBox", box}}));
        elements.appendItem(figure);
        Handle parents = Handle::newArray({figure});
        for (int mcid = 1; mcid <= marks.lines; ++mcid) {
            Handle paragraph = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /P >>"));
            paragraph.replaceKey("/P", document);
            paragraph.replaceKey("/Pg", pageObject);
            paragraph.replaceKey("/K", Handle::newInteger(mcid));
            elements.appendItem(paragraph);
            parents.appendItem(paragraph);
        }
        pageObject.replaceKey("/StructParents", Handle::newInteger(index));
        pageObject.replaceKey("/Tabs", Name("/S"));
        numbers.appendItem(Handle::newInteger(index));
        numbers.appendItem(parents);
        ++index;
    }
    document.replaceKey("/K", elements);
    treeRoot.replaceKey("/K", document);
    treeRoot.replaceKey("/ParentTree", pdf.makeIndirectObject(Handle::newDictionary({{"/Nums", numbers}})));
    treeRoot.replaceKey("/ParentTreeNextKey", Handle::newInteger(index));
    root.replaceKey("/StructTreeRoot", treeRoot);
    if (!root.getKey("/Lang").isString())
        root.replaceKey("/Lang", Text(language));
}

void TaggedPdfStructure::Finish(QPDF& pdf, const QString& fallbackTitle, const QString& language)
{
    Handle root = pdf.getRoot();
    Handle trailer = pdf.getTrailer();
    Handle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(Handle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    Handle title = info.getKey("/Title");
    if (!title.isString() || QString::fromStdString(title.getUTF8Value()).trimmed().isEmpty())
        info.replaceKey("/Title", Text(fallbackTitle));

    Handle preferences = root.getKey("/ViewerPreferences");
    if (!preferences.isDictionary()) {
        preferences = Handle::newDictionary();
        root.replaceKey("/ViewerPreferences", preferences);
    }
    preferences.replaceKey("/DisplayDocTitle", Handle::newBool(true));
    Handle markInfo = root.getKey("/MarkInfo");
    if (!markInfo.isDictionary()) {
        markInfo = Handle::newDictionary();
        root.replaceKey("/MarkInfo", markInfo);
    }
    markInfo.replaceKey("/Marked", Handle::newBool(true));
    if (!root.getKey("/Lang").isString())
        root.replaceKey("/Lang", Text(language));

    // Readers expect one Document element at the top; a presentation's and a
    // sheet's export lists their elements there side by side.
    Handle treeRoot = root.getKey("/StructTreeRoot");
    if (treeRoot.isDictionary()) {
        Handle kids = treeRoot.getKey("/K");
        if (kids.isArray() && kids.getArrayNItems() == 1 && IsElement(kids.getArrayItem(0), "/Document"))
            treeRoot.replaceKey("/K", kids = kids.getArrayItem(0));
        if (!IsElement(kids, "/Document")) {
            std::vector<Handle> elements;
            if (kids.isArray())
                elements = kids.getArrayAsVector();
            else if (kids.isDictionary())
                elements.push_back(kids);
            Handle document = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Document >>"));
            document.replaceKey("/P", treeRoot);
            for (Handle element : elements) {
                if (element.isDictionary())
                    element.replaceKey("/P", document);
            }
            document.replaceKey("/K", Handle::newArray(elements));
            treeRoot.replaceKey("/K", document);
        }
    }

    // A form field's name stands for its description where it has none.
    QPDFAcroFormDocumentHelper forms(pdf);
    for (QPDFFormFieldObjectHelper& field : forms.getFormFields()) {
        Handle object = field.getObjectHandle();
        if (!object.getKey("/TU").isString() && object.getKey("/T").isString())
            object.replaceKey("/TU", object.getKey("/T"));
    }
}
