#include "officehost/OfficeDocument.h"

#include "officehost/OfficeDocumentImpl.h"
#include "officehost/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <vector>

using namespace css;

namespace {

uno::Sequence<beans::PropertyValue> Sequence(const std::vector<beans::PropertyValue>& values)
{
    return uno::Sequence<beans::PropertyValue>(values.data(), static_cast<sal_Int32>(values.size()));
}

// Every export option that changes what is drawn is set here, so nothing of a
// profile's PDF settings reaches the print job.
uno::Sequence<beans::PropertyValue> PrinterExportOptions()
{
    return Sequence({
        // Pictures go out losslessly and at full resolution: the PDF step
        // compresses them as the user chose ("JPEG" or "Flate", its quality).
        Property("UseLosslessCompression", uno::Any(true)),
        Property("ReduceImageResolution", uno::Any(false)),
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
    });
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

bool OfficeDocument::ExportPdf(const QString& pdfPath, QString* why)
{
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
    const uno::Sequence<beans::PropertyValue> args = Sequence({
        Property("FilterName", uno::Any(rtl::OUString::createFromAscii(filter))),
        Property("Overwrite", uno::Any(true)),
        Property("FilterData", uno::Any(PrinterExportOptions())),
    });
    try {
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
