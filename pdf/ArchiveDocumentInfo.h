#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

class QPDF;

// The document information of an archival PDF, written after Ghostscript:
// Ghostscript leaves out of a PDF/A every value with characters beyond
// ASCII. The title, subject, author and keywords the user typed, in any
// script, go into the Info dictionary as text strings and into a new XMP
// packet that states the same values (with Ghostscript's producer, creator
// and dates) and the PDF/A-2b identification.
void WriteArchiveDocumentInfo(QPDF& pdf, const ConversionSettings& settings);

// A PDF date (D:YYYYMMDDHHmmSSOHH'mm') as an XMP date; empty when unreadable.
QString XmpDate(const QString& pdfDate);
