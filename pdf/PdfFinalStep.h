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
enum class FinalSteps { OneFile, Combined, Part, WithText };

bool NeedsFinalStep(const ConversionSettings& settings, FinalSteps steps);

// Reads input and writes the finished PDF to output (another file). False,
// with the reason in *why, when it could not be done.
// textMaps, when given, mends the text maps Ghostscript garbled.
bool RunFinalStep(const QString& input, const QString& output, const ConversionSettings& settings,
                  FinalSteps steps, QString* why, const SpoolTextMaps* textMaps = nullptr);
