#pragma once

#include <QString>

// The spool file every print job writes and the PDF step reads, in the
// program's private scratch folder. It is emptied before each print, so a
// print that fails can never leave the previous file's pages behind for the
// PDF step to publish under the next file's name.
namespace spoolfile {

// Its path; empty, with the reason in *why, when there is no scratch folder.
QString Path(QString* why);
// Removes what it holds; false, with the reason, when it cannot.
bool Empty(const QString& path, QString* why);

} // namespace spoolfile
