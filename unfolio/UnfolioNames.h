#pragma once

#include <array>
#include <string_view>

// The fixed names the clean-up tool works with. Foliant installs the printer
// and the add-in libraries under exactly these names.
namespace unfolio {

inline constexpr std::string_view kWarningText = "Please close all Word and Excel files ";
inline constexpr std::string_view kWarningCaption = "Warning";

// Compared in this order, exactly and case-sensitively.
inline constexpr std::array<std::string_view, 4> kOfficeProcessNames = {"EXCEL.EXE", "WINWORD.EXE",
                                                                        "excel.exe", "winword.exe"};

inline constexpr const char* kWordAddin = "BrevetWord.dll";
inline constexpr const char* kExcelAddin = "BrevetExcel.dll";
inline constexpr const char* kUnregisterEntry = "DllUnregisterServer";

inline constexpr const char* kPrinterName = "Foliant";

} // namespace unfolio
