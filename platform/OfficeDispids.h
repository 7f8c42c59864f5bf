#pragma once

#include "platform/Variant.h"

// The members of Word, Excel and PowerPoint the program calls, by the
// dispatch identifiers of their type libraries: one table for the office
// host that serves them, the converters that call them and their tests.

namespace worddispid {
inline constexpr DISPID kVisible = 23;                  // Application.Visible
inline constexpr DISPID kActivePrinter = 66;            // Application.ActivePrinter
inline constexpr DISPID kDocuments = 6;                 // Application.Documents
inline constexpr DISPID kBackgroundPrintingStatus = 86; // Application.BackgroundPrintingStatus
inline constexpr DISPID kQuit = 1105;                   // Application.Quit
inline constexpr DISPID kOpen = 15;                     // Documents.Open
inline constexpr DISPID kPrintOut = 444;                // Document.PrintOut
inline constexpr DISPID kClose = 1105;                  // Document.Close
} // namespace worddispid

namespace exceldispid {
inline constexpr DISPID kVisible = 0x22E;   // Application.Visible
inline constexpr DISPID kWorkbooks = 0x23C; // Application.Workbooks
inline constexpr DISPID kQuit = 0x12E;      // Application.Quit
inline constexpr DISPID kOpen = 0x2AA;      // Workbooks.Open
inline constexpr DISPID kPrintOut = 0x6EC;  // Workbook.PrintOut
inline constexpr DISPID kClose = 0x115;     // Workbook.Close
} // namespace exceldispid

namespace powerpointdispid {
inline constexpr DISPID kVisible = 0x7EE;            // Application.Visible
inline constexpr DISPID kPresentations = 0x7D1;      // Application.Presentations
inline constexpr DISPID kActivePresentation = 0x7D5; // Application.ActivePresentation
inline constexpr DISPID kQuit = 0x7E5;               // Application.Quit
inline constexpr DISPID kOpen = 0x7D4;               // Presentations.Open
inline constexpr DISPID kPrintOut = 0x7F2;           // Presentation.PrintOut
inline constexpr DISPID kClose = 0x7F7;              // Presentation.Close
} // namespace powerpointdispid
