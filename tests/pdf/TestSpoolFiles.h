#pragma once

#include <QByteArray>

// PostScript spool files of the kinds a print job writes, made for the tests.
namespace spool {

// One page of text.
QByteArray TextPage();

// One page with a heading and a colour photo-like picture (smooth colour
// fields with fine grain, so JPEG and Flate give clearly different streams).
QByteArray PhotoPage();

// A page that keeps Ghostscript busy for about the given number of loop
// iterations before it is drawn.
QByteArray SlowPage(int iterations);

} // namespace spool
