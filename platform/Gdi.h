#pragma once

#include <QString>

#include <cstdint>

// The few GDI types and numbers the printing code speaks in. The values are
// those of the Windows headers, so code written against GDI reads the same.

// Result of a failed print-job call (StartDoc, StartPage, EndPage, EndDoc, AbortDoc).
inline constexpr int SP_ERROR = -1;

// Raster operation: copy the source as it is.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// GetDeviceCaps indexes.
inline constexpr int HORZSIZE = 4;          // printable width in millimetres
inline constexpr int VERTSIZE = 6;          // printable height in millimetres
inline constexpr int HORZRES = 8;           // printable width in device units
inline constexpr int VERTRES = 10;          // printable height in device units
inline constexpr int LOGPIXELSX = 88;       // device units per inch, across
inline constexpr int LOGPIXELSY = 90;       // device units per inch, down
inline constexpr int PHYSICALWIDTH = 110;   // paper width in device units
inline constexpr int PHYSICALHEIGHT = 111;  // paper height in device units
inline constexpr int PHYSICALOFFSETX = 112; // left edge of paper to printable area
inline constexpr int PHYSICALOFFSETY = 113; // top edge of paper to printable area

// What StartDoc is told about a print job.
struct DOCINFO
{
    QString lpszDocName; // the job's name; the PostScript's %%Title
    QString lpszOutput;  // the file the job is written to
};

// What GetObject reports of a bitmap.
struct BITMAP
{
    int bmType = 0;
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    int bmPlanes = 1;
    int bmBitsPixel = 0;
};
