#pragma once

#include "pdf/GhostscriptRunner.h"

#include <QString>

class COleDispatchDriver;
class ConversionPage;
class CurrentProgramEnder;

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

// The start of one attempt at an Office file: the converted flag at 0, and
// the spool file's path. Empty when there is nothing to do: the run is
// stopped, or there is no scratch folder (the user has been told).
QString BeginOfficeAttempt(ConversionPage& page, const QString& sourcePath);
// Starts the office application of progId for one attempt and sets its
// printer up for the version the PDF step writes. False when it cannot be
// started: the user has been told with objectMessage ("Couldn't get Word
// object.") and, on a second line, the reason.
bool StartOffice(ConversionPage& page, COleDispatchDriver& application, const QString& progId,
                 const QString& objectMessage);
// A call that failed outside the guarded open: the office host is ended,
// the user told why (unless the run was stopped), the file not converted.
void GiveUp(ConversionPage& page, CurrentProgramEnder& ender, const QString& sourcePath,
            const QString& reason);

} // namespace converterreports
