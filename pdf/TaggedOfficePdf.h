#pragma once

#include "pdf/ConversionSettings.h"
#include "pdf/GhostscriptRunner.h"

#include <QString>

// The PDF step of a tagged office document: the office printer's job is
// LibreOffice's tagged PDF, and it becomes the PDF at finalPath through the
// final steps alone (document information, PDF/UA identification, version,
// security); Ghostscript is not run, since it would drop the structure tree
// and the form fields. A job without a structure tree is refused, never
// passed off as tagged.
PdfOutcome MakeTaggedOfficePdf(const QString& spoolPath, const QString& finalPath,
                               const ConversionSettings& settings, bool part, const QString& name);
