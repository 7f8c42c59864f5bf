#pragma once

// Word's open formats (the Format argument of Documents.Open) that the
// program passes: one set for the converter that chooses them by extension
// and the office host that turns them into LibreOffice import filters.
namespace wordopenformat {
inline constexpr int kAuto = 0;    // Word (and LibreOffice) tell the format from the file
inline constexpr int kRtf = 3;     // Rich Text Format
inline constexpr int kText = 4;    // plain text
inline constexpr int kWebPage = 7; // HTML
inline constexpr int kXml = 8;     // Word 2003 XML
inline constexpr int kNone = -1;   // not a Word-family file
} // namespace wordopenformat
