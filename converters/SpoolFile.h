#pragma once

#include <QString>

class ConversionPage;

// The spool file every print job of a run writes and the PDF step reads, in
// the run's own folder inside the program's private scratch folder. It is emptied before each print, so a
// print that fails can never leave the previous file's pages behind for the
// PDF step to publish under the next file's name.
namespace spoolfile {

// Its path for the page's run; empty, with the reason in *why, when there is
// no scratch folder.
QString Path(ConversionPage& page, QString* why);
// Removes what it holds; false, with the reason, when it cannot.
bool Empty(const QString& path, QString* why);

} // namespace spoolfile
