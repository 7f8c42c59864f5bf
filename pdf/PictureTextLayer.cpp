#include "pdf/PictureTextLayer.h"

#include <QFile>

#include <qpdf/QPDFPageDocumentHelper.hh>

#include <stdexcept>
#include <string>

namespace {

QPDFObjectHandle Stream(QPDF& pdf, const std::string& content)
{
    return QPDFObjectHandle::newStream(&pdf, content);
}

// A name for the form that the page's resources do not use yet.
std::string FreeName(QPDFObjectHandle xObjects)
{
    for (int n = 1;; ++n) {
        const std::string name = "/FoliantText" + std::to_string(n);
        if (!xObjects.hasKey(name))
            return name;
    }
}

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
    QPDFObjectHandle form = m_pdf.copyForeignObject(textPage.getFormXObjectForPage());
    m_texts.push_back(std::move(text));

    // The text page's box onto the image's unit square, then as the image
    // is drawn.
    const double width = box.urx - box.llx;
    const double height = box.ury - box.lly;
    if (width <= 0 || height <= 0)
        throw std::runtime_error("the recognised text's page has no size");
    QPDFMatrix matrix = picture.matrix;
    matrix.concat(QPDFMatrix(1 / width, 0, 0, 1 / height, 0, 0));
    matrix.concat(QPDFMatrix(1, 0, 0, 1, -box.llx, -box.lly));

    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    if (!resources.getKey("/XObject").isDictionary())
        resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
    QPDFObjectHandle xObjects = resources.getKey("/XObject");
    const std::string name = FreeName(xObjects);
    xObjects.replaceKey(name, form);

    // The page's own content keeps its graphics state to itself.
    page.addPageContents(Stream(m_pdf, "q\n"), true);
    page.addPageContents(Stream(m_pdf, "\nQ\nq " + matrix.unparse() + " cm " + name + " Do Q\n"), false);
}
