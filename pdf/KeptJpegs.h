#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringList>

class QPDF;

// JPEG data reach the PDF as they come, byte for byte, unless the user chose
// "JPEG" image compression, whose quality then applies to them too:
// decoding a JPEG only to compress it again without loss makes it larger and
// adds nothing.
namespace keptjpegs {

bool Kept(const ConversionSettings& settings);

// Ghostscript's switch for it, added to the arguments it runs with.
QString GhostscriptSwitch(const ConversionSettings& settings);

// Ghostscript ends each JPEG it passes through with a second end-of-image
// marker. True when the PDF holds such a stream (an unencrypted one: they are
// found by their bytes).
bool HasDoubledEnds(const QString& pdf);

// Takes the second marker off every JPEG stream that ends with two; the number trimmed.
int TrimDoubledEnds(QPDF& pdf);

} // namespace keptjpegs
