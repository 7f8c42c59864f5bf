#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

class SpoolTextMaps;

// What is done to a finished PDF before it gets its name, with qpdf's
// library: JPEGs passed through get back their own last bytes, an archival PDF gets the user's document
// information in Info and XMP, and AES encrypts it. A combined PDF, joined from unencrypted parts, is
// encrypted here whatever the level. The passwords reach the library through
// its interface only. A part of a combined PDF gets none of them: the
// combined PDF gets them once joined. A picture's PDF with its text laid
// over it was written unencrypted, and is encrypted here whatever the level.
// A tagged PDF always has a final step: a picture's PDF is tagged, every one
// gets its title (name where no other is given), the PDF/UA identification
// and the version PDF/UA needs, and it is encrypted here at any level, so
// Ghostscript never writes its security.
enum class FinalSteps { OneFile, Combined, Part, WithText };

bool NeedsFinalStep(const ConversionSettings& settings, FinalSteps steps);

// Reads input and writes the finished PDF to output (another file). False,
// with the reason in *why, when it could not be done.
// name is the document's: the title a tagged PDF falls back on, and a
// picture's alternate text. textMaps, when given, mends the text maps
// Ghostscript garbled.
bool RunFinalStep(const QString& input, const QString& output, const ConversionSettings& settings,
                  FinalSteps steps, QString* why, const QString& name = {},
                  const SpoolTextMaps* textMaps = nullptr);
