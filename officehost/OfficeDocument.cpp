#include "officehost/OfficeDocument.h"

#include "officehost/OfficeDocumentImpl.h"
#include "officehost/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using namespace css;

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
    uno::Sequence<beans::PropertyValue> args(2);
    args.getArray()[0].Name = "FilterName";
    args.getArray()[0].Value <<= rtl::OUString::createFromAscii(filter);
    args.getArray()[1].Name = "Overwrite";
    args.getArray()[1].Value <<= true;
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
