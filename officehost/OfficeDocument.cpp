#include "officehost/OfficeDocument.h"

#include "officehost/ContentGuard.h"
#include "officehost/ExportPictures.h"
#include "officehost/OfficeDocumentImpl.h"
#include "officehost/TaggedExportOptions.h"
#include "officehost/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFileInfo>

#include <vector>

using namespace css;

namespace {

constexpr int kSketchResolution = 75; // dots per inch, the least LibreOffice offers

uno::Sequence<beans::PropertyValue> Sequence(const std::vector<beans::PropertyValue>& values)
{
    return uno::Sequence<beans::PropertyValue>(values.data(), static_cast<sal_Int32>(values.size()));
}

// Every export option that changes what is drawn is set here, so nothing of a
// profile's PDF settings reaches the print job.
uno::Sequence<beans::PropertyValue> PrinterExportOptions(OfficeDocument::Transparency transparency,
                                                         bool keepJpegs, const QString& pageRange = {})
{
    using Transparency = OfficeDocument::Transparency;
    const bool sketch = transparency == Transparency::Sketched;
    std::vector<beans::PropertyValue> options{
        // Pictures go out at full resolution, and a JPEG as the document
        // holds it, byte for byte: decoding it only to compress it again
        // without loss makes it larger and adds nothing. Every other bitmap
        // goes out losslessly (see ExportPictures). The PDF step keeps them
        // or compresses them as the user chose. A sketch goes at a low
        // resolution: only its text counts.
        Property("UseLosslessCompression", uno::Any(!keepJpegs)),
        Property("Quality", uno::Any(sal_Int32(100))),
        Property("ReduceImageResolution", uno::Any(sketch)),
        // Every font is embedded, the standard fourteen too, so the PDF shows
        // the document's own letters wherever it is opened.
        Property("EmbedStandardFonts", uno::Any(true)),
        // What a printer prints: every page, blank ones included; no
        // comments, notes pages or hidden slides.
        Property("IsSkipEmptyPages", uno::Any(false)),
        Property("ExportNotes", uno::Any(false)),
        Property("ExportNotesPages", uno::Any(false)),
        Property("ExportOnlyNotesPages", uno::Any(false)),
        Property("ExportHiddenSlides", uno::Any(false)),
        Property("ExportPlaceholders", uno::Any(false)),
        Property("SinglePageSheets", uno::Any(false)),
        Property("Watermark", uno::Any(rtl::OUString())),
        // Security is the PDF step's: an encrypted job could not be read.
        Property("EncryptFile", uno::Any(false)),
        Property("RestrictPermissions", uno::Any(false)),
        // The PDF ends up in another folder than the job: links to files
        // keep their full paths.
        Property("ExportLinksRelativeFsys", uno::Any(false)),
        Property("IsAddStream", uno::Any(false)),
        // The PDF step keeps links and bookmarks but drops form fields with
        // their values and the structure tree: controls are drawn into the
        // page as a printer draws them, and tags would only cost time.
        Property("ExportBookmarks", uno::Any(true)),
        Property("ExportFormFields", uno::Any(false)),
        Property("UseTaggedPDF", uno::Any(false)),
        Property("PDFUACompliance", uno::Any(false)),
    };
    // The archive format PDF/A-1b allows no transparency: LibreOffice then
    // flattens each see-through object into the page, keeping text, links
    // and fonts, where a PDF 1.3 writer would turn the whole page into one
    // picture.
    if (transparency != Transparency::Kept)
        options.push_back(Property("SelectPdfVersion", uno::Any(sal_Int32(1))));
    if (sketch)
        options.push_back(Property("MaxImageResolution", uno::Any(sal_Int32(kSketchResolution))));
    if (!pageRange.isEmpty())
        options.push_back(Property("PageRange", uno::Any(ToOUString(pageRange))));
    return Sequence(options);
}

// On white paper a solid white slide background draws nothing. Without it a
// see-through shape is flattened on its own; with it, the background joins
// the shape and the whole slide, its text too, becomes one picture.
void DropWhiteBackgrounds(const uno::Reference<lang::XComponent>& component)
{
    uno::Reference<drawing::XDrawPagesSupplier> drawPages(component, uno::UNO_QUERY);
    uno::Reference<drawing::XMasterPagesSupplier> masterPages(component, uno::UNO_QUERY);
    if (!drawPages.is() || !masterPages.is())
        return;
    for (const uno::Reference<container::XIndexAccess>& pages :
         {uno::Reference<container::XIndexAccess>(drawPages->getDrawPages(), uno::UNO_QUERY),
          uno::Reference<container::XIndexAccess>(masterPages->getMasterPages(), uno::UNO_QUERY)}) {
        for (sal_Int32 i = 0; pages.is() && i < pages->getCount(); ++i) {
            try {
                uno::Reference<beans::XPropertySet> page(pages->getByIndex(i), uno::UNO_QUERY);
                uno::Reference<beans::XPropertySet> background(page->getPropertyValue("Background"),
                                                               uno::UNO_QUERY);
                if (!background.is())
                    continue;
                drawing::FillStyle style = drawing::FillStyle_NONE;
                sal_Int32 colour = 0;
                background->getPropertyValue("FillStyle") >>= style;
                background->getPropertyValue("FillColor") >>= colour;
                if (style != drawing::FillStyle_SOLID || (colour & 0xFFFFFF) != 0xFFFFFF)
                    continue;
                background->setPropertyValue("FillStyle", uno::Any(drawing::FillStyle_NONE));
                page->setPropertyValue("Background", uno::Any(background));
            } catch (const uno::Exception&) {
                // A page whose background cannot be read or changed keeps it.
            }
        }
    }
}

} // namespace

OfficeDocument::OfficeDocument(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

OfficeDocument::~OfficeDocument()
{
    Close();
}

OfficeDocument::Kind OfficeDocument::DocumentKind() const
{
    uno::Reference<lang::XServiceInfo> info(m_impl->component, uno::UNO_QUERY);
    if (!info.is())
        return Kind::Other;
    // A web page opened as such is a Writer/Web document, drawn as text.
    if (info->supportsService("com.sun.star.text.TextDocument") ||
        info->supportsService("com.sun.star.text.WebDocument"))
        return Kind::Text;
    if (info->supportsService("com.sun.star.sheet.SpreadsheetDocument"))
        return Kind::Spreadsheet;
    if (info->supportsService("com.sun.star.presentation.PresentationDocument"))
        return Kind::Presentation;
    return Kind::Other;
}

OfficeDocument::Kind OfficeDocument::KindOfService(const QString& documentService)
{
    if (documentService == u"com.sun.star.text.TextDocument" ||
        documentService == u"com.sun.star.text.WebDocument")
        return Kind::Text;
    if (documentService == u"com.sun.star.sheet.SpreadsheetDocument")
        return Kind::Spreadsheet;
    if (documentService == u"com.sun.star.presentation.PresentationDocument")
        return Kind::Presentation;
    return Kind::Other;
}

QString OfficeDocument::FilterName() const
{
    uno::Reference<frame::XModel> model(m_impl->component, uno::UNO_QUERY);
    if (!model.is())
        return {};
    const uno::Sequence<beans::PropertyValue> args = model->getArgs();
    for (const beans::PropertyValue& p : args) {
        rtl::OUString name;
        if (p.Name == "FilterName" && (p.Value >>= name))
            return ToQString(name);
    }
    return {};
}

bool OfficeDocument::PagesAreSlides(qsizetype pageCount) const
{
    if (DocumentKind() != Kind::Presentation)
        return false;
    uno::Reference<drawing::XDrawPagesSupplier> drawPages(m_impl->component, uno::UNO_QUERY);
    uno::Reference<container::XIndexAccess> slides(drawPages.is() ? drawPages->getDrawPages() : nullptr,
                                                   uno::UNO_QUERY);
    if (!slides.is() || slides->getCount() != pageCount)
        return false;
    try {
        for (sal_Int32 i = 0; i < slides->getCount(); ++i) {
            uno::Reference<beans::XPropertySet> slide(slides->getByIndex(i), uno::UNO_QUERY);
            bool shown = true;
            if (!slide.is() || !(slide->getPropertyValue("Visible") >>= shown) || !shown)
                return false; // a hidden slide has a number but no page
        }
    } catch (const uno::Exception&) {
        return false;
    }
    return true;
}

bool OfficeDocument::ExportPdf(const QString& pdfPath, Transparency transparency, QString* why,
                               const TaggedExportJob& tagged, const QString& pageRange)
{
    if (tagged.tagged)
        transparency = Transparency::Kept;
    uno::Reference<lang::XServiceInfo> info(m_impl->component, uno::UNO_QUERY);
    uno::Reference<frame::XStorable> storable(m_impl->component, uno::UNO_QUERY);
    if (!info.is() || !storable.is()) {
        *why = QStringLiteral("The document is closed.");
        return false;
    }
    const char* filter = "writer_pdf_Export";
    if (info->supportsService("com.sun.star.text.WebDocument"))
        filter = "writer_web_pdf_Export";
    else if (info->supportsService("com.sun.star.sheet.SpreadsheetDocument"))
        filter = "calc_pdf_Export";
    else if (info->supportsService("com.sun.star.presentation.PresentationDocument"))
        filter = "impress_pdf_Export";
    try {
        const QString folder = QFileInfo(pdfPath).absolutePath();
        ContentGuard::AllowFolder(folder);
        if (!m_impl->keepsJpegs)
            m_impl->keepsJpegs =
                ExportPictures::PrepareToKeepJpegs(m_impl->context, m_impl->component, folder);
        if (transparency != Transparency::Kept)
            DropWhiteBackgrounds(m_impl->component);
        const uno::Sequence<beans::PropertyValue> args = Sequence({
            Property("FilterName", uno::Any(rtl::OUString::createFromAscii(filter))),
            Property("Overwrite", uno::Any(true)),
            Property("FilterData",
                     uno::Any(tagged.tagged
                                  ? TaggedExportOptions(
                                        PrinterExportOptions(Transparency::Kept, *m_impl->keepsJpegs), tagged)
                                  : PrinterExportOptions(transparency, *m_impl->keepsJpegs, pageRange))),
        });
        storable->storeToURL(FileUrl(pdfPath), args);
        return true;
    } catch (const uno::Exception& e) {
        *why = ToQString(e.Message);
    } catch (...) {
        *why = QStringLiteral("LibreOffice could not render the document.");
    }
    return false;
}

void OfficeDocument::Close()
{
    if (!m_impl->component.is())
        return;
    try {
        uno::Reference<util::XCloseable> closeable(m_impl->component, uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            m_impl->component->dispose();
    } catch (...) {
        // A document that refuses to close is left to the office's end.
    }
    m_impl->component.clear();
}
