#pragma once

#include <QString>

// Ghostscript leaves out of a PDF/A every annotation that is not printed, so
// before an office job becomes an archival PDF its links get the print flag
// (as an office's own PDF/A export sets it). A job that is no PDF (a printed
// picture's PostScript) is left as it is. Rewrites the file in place; false,
// with *why, when the job cannot be read or written.
bool MakeLinksPrintable(const QString& jobPath, QString* why);
