#pragma once

#include <QString>
#include <QStringList>

// Checks a PDF against the machine-checkable rules of PDF/UA-1 that apply to
// the PDFs this program writes: every piece of page content is tagged or an
// artifact; every structure type is standard or mapped to one by the role
// map; the parent tree and the marked-content ids agree; annotations
// are in the structure; figures have an alternate text; the document has a
// language, a title the viewer shows, and the PDF/UA identification in its
// XMP; every font is embedded; an encrypted PDF grants extraction for
// accessibility. Built on qpdf's library.
class PdfUaChecker
{
public:
    // What breaks a rule, one line each; empty when the PDF passes. A PDF
    // that cannot be read gives one line saying why.
    static QStringList Check(const QString& pdfPath, const QString& password = {});
};
