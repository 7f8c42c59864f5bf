#include "pdf/PictureTextLayer.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <map>
#include <stdexcept>
#include <string>

namespace {

QPDFObjectHandle Stream(QPDF& pdf, const std::string& content)
{
    return QPDFObjectHandle::newStream(&pdf, content);
}

// Renames the resources a content stream uses.
class ResourceRenamer : public QPDFObjectHandle::TokenFilter
{
public:
    explicit ResourceRenamer(std::map<std::string, std::string> names) : m_names(std::move(names)) {}

    void handleToken(QPDFTokenizer::Token const& token) override
    {
        if (token.getType() == QPDFTokenizer::tt_name) {
            const auto renamed = m_names.find(token.getValue());
            if (renamed != m_names.end()) {
                write(QPDFObjectHandle::newName(renamed->second).unparse());
                return;
            }
        }
        writeToken(token);
    }

private:
    std::map<std::string, std::string> m_names;
};

} // namespace

void PictureTextLayer::Lay(QPDFPageObjectHelper& page, const PicturePlacement& picture,
                           const QString& textPdf)
{
    auto text = std::make_unique<QPDF>();
    text->setSuppressWarnings(true);
    text->processFile(QFile::encodeName(textPdf).constData());
    std::vector<QPDFPageObjectHelper> textPages = QPDFPageDocumentHelper(*text).getAllPages();
    if (textPages.empty())
        throw std::runtime_error("the recognised text has no page");
    QPDFPageObjectHelper& textPage = textPages.front();
    const QPDFObjectHandle::Rectangle box = textPage.getMediaBox().getArrayAsRectangle();

    // The text page's box onto the image's unit square, then as the image
    // is drawn.
    const double width = box.urx - box.llx;
    const double height = box.ury - box.lly;
    if (width <= 0 || height <= 0)
        throw std::runtime_error("the recognised text's page has no size");
    QPDFMatrix matrix = picture.matrix;
    matrix.concat(QPDFMatrix(1 / width, 0, 0, 1 / height, 0, 0));
    matrix.concat(QPDFMatrix(1, 0, 0, 1, -box.llx, -box.lly));

    // The text page's resources (its font) join the page's, renamed where
    // the page uses the name already.
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle textResources = textPage.getAttribute("/Resources", false);
    QPDFObjectHandle copied = QPDFObjectHandle::newDictionary();
    if (textResources.isDictionary()) {
        textResources.makeResourcesIndirect(*text);
        for (auto [kind, entries] : textResources.getDictAsMap()) {
            if (!entries.isDictionary())
                continue;
            QPDFObjectHandle copies = QPDFObjectHandle::newDictionary();
            for (auto [name, object] : entries.getDictAsMap())
                copies.replaceKey(name, m_pdf.copyForeignObject(object));
            copied.replaceKey(kind, copies);
        }
    }
    std::map<std::string, std::map<std::string, std::string>> conflicts;
    resources.mergeResources(copied, &conflicts);
    std::map<std::string, std::string> renamed;
    for (const auto& [kind, names] : conflicts)
        renamed.insert(names.begin(), names.end());
    ResourceRenamer renamer(renamed);
    Pl_Buffer words("recognised words");
    textPage.filterContents(&renamer, &words);
    const std::shared_ptr<Buffer> content = words.getBufferSharedPointer();
    m_texts.push_back(std::move(text));

    // The words are drawn in the page's own content, after the picture,
    // so each line of them can be marked as text of its own; the picture's
    // drawing keeps its graphics state to itself.
    page.addPageContents(Stream(m_pdf, "q\n"), true);
    page.addPageContents(Stream(m_pdf, "\nQ\nq " + matrix.unparse() + " cm\n" +
                                           std::string(reinterpret_cast<const char*>(content->getBuffer()),
                                                       content->getSize()) +
                                           "\nQ\n"),
                         false);
}
