#pragma once

#include "pdf/GhostscriptRunner.h"

#include <QString>

class ConversionPage;

// The messages a converter shows when a file is not converted for a reason
// the user can do something about. Each is shown once, by the GUI thread,
// while the converter waits.
namespace converterreports {

// The caption of the program's own messages.
inline const QString kCaption = QStringLiteral("Foliant 3.0");

// "<file> was not converted." with the reason.
void ReportNotConverted(ConversionPage& page, const QString& sourcePath, const QString& reason);
// The PDF step failed: the file and Ghostscript's reason. Nothing is shown
// when the user stopped the run.
void ReportPdfFailure(ConversionPage& page, const QString& sourcePath, const PdfOutcome& outcome);

// What the user is told about a PDF that was made (no text could be
// recognised in it), once; nothing when there is nothing to tell.
void ReportPdfNotice(ConversionPage& page, const PdfOutcome& outcome);

} // namespace converterreports
