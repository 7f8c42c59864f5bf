#pragma once

#include "pdf/AdvancedChoices.h"
#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringList>

// The archival choice of "PDF Version": PDF/A-2b, written by Ghostscript
// with Debian's sRGB output intent, with the user's document information put
// into the Info dictionary and the XMP metadata afterwards.
using advancedchoices::kPdfA2bVersion;

bool IsArchive(const ConversionSettings& settings);

// Ghostscript's definition file for PDF/A (PDFA_def.ps) and the sRGB profile
// it names, as this system's Ghostscript installs them; empty when missing.
struct ArchiveResources
{
    QString definitionFile;
    QString srgbProfile;
};
ArchiveResources FindArchiveResources();

// Ghostscript's definition file adapted to this program: the output intent
// with the sRGB profile at its full path, and no document information of its
// own (the side file carries the user's).
QString AdaptedArchiveDefinition(const QString& definitionText, const QString& srgbProfile);

// The executed argument vector made to write PDF/A-2b: the switches after
// the level (1.7 by then), the profile it may read, and the definition file
// read before the inputs.
QStringList AddArchiveArguments(const QStringList& arguments, const QString& adaptedDefinitionFile,
                                const QString& srgbProfile);
