#pragma once

#include "pdf/ConversionSettings.h"
#include "platform/TaggedExportJob.h"

#include <QString>

// "Tagged PDF (accessible, PDF/UA)": an office document's final PDF is
// LibreOffice's own tagged export, Ghostscript is not run for it (it would
// drop the structure tree and draw form fields flat), and the final steps
// with qpdf's library give it the user's document information, security and
// version. A picture's PDF from Ghostscript is tagged by the final steps.
namespace taggedpdf {

// How the office printer writes a tagged job for these settings: pictures
// losslessly for "Flate", as JPEG at the chosen quality otherwise; PDF/A-2b
// and PDF/UA-1 in one file for the archival version.
TaggedExportJob ExportJobFor(const ConversionSettings& settings);

// JPEG quality (1 to 100) that compresses as the "JPEG Quality" choice does
// in Ghostscript's quality dictionary.
int ImageQuality(JpegQuality jpegQuality);

// True when the file begins as a PDF does (an office printer's job), false
// for PostScript (a picture's) or a file that cannot be read.
bool IsPdfFile(const QString& path);

} // namespace taggedpdf
