#pragma once

#include <QByteArray>

// What a printer needs to know to pass a JPEG file's data on as they are:
// its size, colour components, whether its CMYK values are stored inverted
// (as Adobe's programs write them), how it is to be turned upright (its EXIF
// orientation) and where its image ends. Only 8-bit baseline, extended and
// progressive JPEGs in grey, RGB or CMYK are taken; anything else is not
// valid here and is drawn from its decoded pixels.
struct JpegHeader
{
    bool valid = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool invertedCmyk = false;
    int orientation = 1;  // EXIF: 1 upright, 2-8 mirrored and/or turned
    qsizetype length = 0; // the bytes up to and with the end-of-image marker

    static JpegHeader Read(const QByteArray& data);

    // Width and height as shown, after the orientation's quarter turns.
    int ShownWidth() const { return orientation >= 5 ? height : width; }
    int ShownHeight() const { return orientation >= 5 ? width : height; }
};
