#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// Pictures made at test time, and Ghostscript's view of the printer's output.
namespace testpictures {

// A picture of four quadrants: red top-left, green top-right, blue
// bottom-left, yellow bottom-right.
QImage Quadrants(int width, int height);
inline const QColor kTopLeft{255, 0, 0}, kTopRight{0, 160, 0}, kBottomLeft{0, 0, 255},
    kBottomRight{255, 255, 0};

// A GIF (written by hand: Qt reads GIF but does not write it) with one
// frame for each picture; all have the first one's size and at most 128 colours.
// Pixels of the colour transparent (when given) are see-through.
QByteArray Gif(const QList<QImage>& frames, std::optional<QRgb> transparent = std::nullopt);

// An uncompressed RGB TIFF (written by hand: Qt writes one page only) with
// one page for each picture.
QByteArray Tiff(const QList<QImage>& pages);

// A JPEG that shows upright as the picture given once its EXIF orientation
// (1, 2, 3, 6 or 8) is applied: the pixels are stored turned or mirrored the other way.
QByteArray OrientedJpeg(const QImage& upright, int orientation, int quality = 95);

// Renders a PostScript file with Ghostscript at dpi; one image per page,
// none when Ghostscript fails.
QList<QImage> Render(const QString& postScriptPath, int dpi);

// True when the colours differ by at most tolerance in every component.
bool Near(QColor actual, QColor expected, int tolerance = 0);

} // namespace testpictures
