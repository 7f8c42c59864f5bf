#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

class QPDF;

// The document information of an archival or a tagged PDF, written after
// Ghostscript or LibreOffice: Ghostscript leaves out of a PDF/A every value
// with characters beyond ASCII. The title, subject, author and keywords the
// user typed, in any script, go into the Info dictionary as text strings and
// into a new XMP packet that states the same values (with the producer,
// creator and dates the PDF has) and the PDF/A-2b and PDF/UA-1
// identifications the settings ask for.
void WriteArchiveDocumentInfo(QPDF& pdf, const ConversionSettings& settings);

// A PDF date (D:YYYYMMDDHHmmSSOHH'mm') as an XMP date; empty when unreadable.
QString XmpDate(const QString& pdfDate);
