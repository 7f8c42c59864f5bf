#pragma once

#include "pdf/ConversionSettings.h"
#include "pdf/PdfFinalStep.h"

#include <QString>

class QTemporaryFile;
class SpoolTextMaps;

// Makes file an empty PDF under a temporary name in finalPath's folder, closed
// so a writer can be given its name. False, with *why, when the folder cannot
// be written into.
bool MakeTemporaryPdfBeside(QTemporaryFile& file, const QString& finalPath, QString* why);

// A PDF written under a temporary name beside its final one: the final steps
// the settings ask for (AES, archival information) are done on it, then it
// gets the usual permissions and its final name, replacing an older PDF only
// now that it is complete. False, with *why, when a step fails or the name
// cannot be given (then *folderFault is true); what was written is removed.
// documentName is the document's name for the final steps (see RunFinalStep);
// textMaps: the print job's text maps, to mend what Ghostscript garbled.
bool CompletePdf(QTemporaryFile& written, const QString& finalPath, const ConversionSettings& settings,
                 FinalSteps steps, QString* why, bool* folderFault, const QString& documentName = {},
                 const SpoolTextMaps* textMaps = nullptr);
