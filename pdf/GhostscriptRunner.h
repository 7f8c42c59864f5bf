#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

#include <functional>

class AdvancedSettingsReader;
class ProcessRunner;

struct GhostscriptOptions
{
    QString executable;                  // empty: "gs" on the search path
    int timeoutMs = 10 * 60 * 1000;      // then Ghostscript is ended and the PDF is not made
    std::function<bool()> stopRequested; // the user's Stop: Ghostscript is ended
    ProcessRunner* runner = nullptr;     // null: real processes
    // When given, the four Advanced values are read from it as the command
    // line is built, overriding those of the settings passed in.
    const AdvancedSettingsReader* advancedSettings = nullptr;
    // A part of a combined PDF: written to this path (not after the source),
    // unencrypted and without the final steps, which the combined PDF gets.
    QString partPath;
    // The run's own scratch folder (spool file, side file, argument file);
    // empty: the program's private scratch folder itself.
    QString scratchFolder;
    // The source is a picture: with text recognition chosen, its words are
    // laid over its pages.
    bool picture = false;
    QString tesseractExecutable; // empty: tesseract on the search path
};

struct PdfOutcome
{
    // Why the PDF was not made, so callers choose their message without
    // reading the text.
    enum class Failure {
        None,
        NotStarted,   // Ghostscript could not be started (missing, not executable)
        Stopped,      // ended at the user's request
        TimedOut,     // ended after its time limit
        ToolFailed,   // Ghostscript ran and failed, or wrote no PDF
        OutputFolder, // the output folder is missing or cannot be written
        EmptySpool,   // the print job wrote nothing into the spool file
        ScratchFiles, // the private scratch folder or a file in it cannot be written
    };

    bool made = false;
    Failure failure = Failure::None;
    bool stopped = false; // ended at the user's request (failure is Stopped)
    QString pdfPath;      // the PDF's final path
    QString pdfVersion;   // when made: the version it was written at ("1.3" to "1.7")
    QString reason;       // when not made: why, in Ghostscript's own words where it gave any
    QString notice;       // when made: what the user is told about it (no text could be recognised)
};

// Makes the PDF for sourcePath in outputFolder from the spool file: builds
// the command line and the side file, writes the side file, runs Ghostscript
// and waits for it. The PDF appears under its final name only when complete.
PdfOutcome MakePdfFromSpool(const ConversionSettings& settings, const QString& sourcePath,
                            const QString& outputFolder, const GhostscriptOptions& options = {});

// Starts the program of a Windows-style command line without a shell (the
// text split by the Windows rules), waits for it and returns its process id,
// or 0 when it could not be started.
qint64 RunProgramAndWait(const QString& commandLine, const GhostscriptOptions& options = {});

// The program a command line names: the Ghostscript of the command line is
// this system's Ghostscript; any other name is looked up beside this
// program, then in the current folder, then on the search path. Empty when
// not found.
QString ResolveProgram(const QString& programToken, const GhostscriptOptions& options = {});

// What Ghostscript said, without its banner and stack dumps.
QString GhostscriptMessages(const QByteArray& standardOutput, const QByteArray& standardError);
