#pragma once

#include <QString>
#include <QStringList>

// What is actually run for a Ghostscript command line. The command line text
// stays as built; the argument vector adapts it to current Ghostscript:
// - `.setpdfwrite` (gone from Ghostscript 9.54 on) is defined where missing;
// - the side file is read before the spool file, and its distiller
//   parameters are recorded in the page device, so they govern every page of
//   a PostScript or a PDF print job alike;
// - the security switches go into an argument file (@file), so no password is
//   ever visible among a process's arguments;
// - the PDF is written under a temporary name, renamed once it is complete.
struct GhostscriptInvocation
{
    QStringList arguments;    // without the program itself
    QString argumentFileText; // empty when there are no security switches
};

// splitCommandLine: the command line split into arguments (program first).
GhostscriptInvocation AdaptGhostscriptArguments(const QStringList& splitCommandLine,
                                                const QString& temporaryOutput,
                                                const QString& argumentFilePath);

// One argument as a line of a Ghostscript argument file, so Ghostscript reads
// back exactly the argument, whatever quotes, blanks or backslashes it holds.
QString ArgumentFileLine(const QString& argument);

// A path for -sOutputFile: Ghostscript reads "%" there as a page-number
// format, so a literal "%" is doubled.
QString EscapeOutputFilePath(const QString& path);
