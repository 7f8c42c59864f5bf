#pragma once

#include "converters/ConversionPage.h"

#include <QString>

// The spool file every print job of a run writes and the PDF step reads, in
// the run's own folder inside the program's private scratch folder. It is emptied before each print, so a
// print that fails can never leave the previous file's pages behind for the
// PDF step to publish under the next file's name.
namespace spoolfile {

// Removes what it holds; false, with the reason, when it cannot.
bool Empty(const QString& path, QString* why);
// True once a print job stands complete at the path: the printers write a
// job under a name of its own and rename it into place when it is whole.
bool InPlace(const QString& path);
// Waits until the print job stands complete at spoolPath, at most
// kPrintTimeLimit; ends soon after the run is stopped.
ConversionPage::WaitEnd WaitForJob(ConversionPage& page, const QString& spoolPath);

// How long a print job may take to complete before the file is given up.
constexpr int kPrintTimeLimit = 10 * 60 * 1000;
constexpr int kPrintTimeLimitMinutes = kPrintTimeLimit / 60000;

} // namespace spoolfile
