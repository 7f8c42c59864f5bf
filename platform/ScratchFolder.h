#pragma once

#include <QString>

// The program's private scratch folder: each run's spool file, side file and
// argument file live in a folder of that run inside it (RunScratch), never
// at a fixed shared path. It is $XDG_RUNTIME_DIR/foliant when the runtime folder is the user's
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

    // The names of the spool file the print jobs write and the side file
    // Ghostscript reads, inside a run's folder (or this folder itself when
    // the PDF step is given no run's folder).
    static inline const QString kSpoolFileName = QStringLiteral("tmp.ps");
    static inline const QString kPdfmarksFileName = QStringLiteral("pdfmarks");
    static QString SpoolFilePath(QString* error = nullptr) { return FilePath(kSpoolFileName, error); }
    static QString PdfmarksFilePath(QString* error = nullptr) { return FilePath(kPdfmarksFileName, error); }
};
