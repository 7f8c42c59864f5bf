#pragma once

#include <QString>

// The program's private scratch folder: the spool file the print jobs write
// and the side file Ghostscript reads live here, never at a fixed shared
// path. It is $XDG_RUNTIME_DIR/foliant when the runtime folder is the user's
// own and closed to others, else foliant in the user's cache folder; the
// folder itself is made with mode 0700 and checked to be the user's own.
class ScratchFolder
{
public:
    // The folder's path, created when missing; empty (and *error set) when no
    // private folder can be had.
    static QString Path(QString* error = nullptr);

    // A file inside the folder; empty when the folder cannot be had.
    static QString FilePath(const QString& name, QString* error = nullptr);

    // The spool file the print jobs write and the side file Ghostscript reads.
    static inline const QString kSpoolFileName = QStringLiteral("tmp.ps");
    static inline const QString kPdfmarksFileName = QStringLiteral("pdfmarks");
    static QString SpoolFilePath(QString* error = nullptr) { return FilePath(kSpoolFileName, error); }
    static QString PdfmarksFilePath(QString* error = nullptr) { return FilePath(kPdfmarksFileName, error); }
};
