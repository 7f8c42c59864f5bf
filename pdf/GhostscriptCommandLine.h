#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

// The Ghostscript command line and the text of the side file (pdfmarks) for
// one file. Pure text building: nothing is read, written or started here.

// The fixed names the command line is written with.
inline const QString kSpoolFilePath = QStringLiteral("C:\\tmp.ps");
inline const QString kPdfmarksPath = QStringLiteral("C:\\pdfmarks");
inline const QString kGhostscriptProgram = QStringLiteral("gs\\gs8.64\\bin\\gswin32c  ");

// The program part and the two scratch files a command line names. The
// defaults are the fixed names above; the runner passes this machine's own.
struct GhostscriptPaths
{
    QString program = kGhostscriptProgram; // ends with the blanks that follow it
    QString spoolFile = kSpoolFilePath;
    QString pdfmarksFile = kPdfmarksPath;
};

QString BuildGhostscriptCommandLine(const ConversionSettings& settings, const QString& sourcePath,
                                    const QString& outputFolder);
QString BuildGhostscriptCommandLine(const ConversionSettings& settings, const QString& sourcePath,
                                    const QString& outputFolder, const GhostscriptPaths& paths);

QString BuildPdfmarksText(const ConversionSettings& settings);

// The level the command line's text names for a version ("1.4"); empty for
// the versions after 1.5, which its text cannot name.
QString CompatibilityLevel(PdfVersion pdfVersion);

// The signed permissions number: -4 with the bits of every ticked box cleared.
int PermissionsValue(const ConversionSettings& settings);

// Ghostscript's QFactor for a JPEG quality, and its DCT parameter dictionary.
double QualityFactor(JpegQuality jpegQuality);
QString QualityDictionary(JpegQuality jpegQuality);

// "Report.final.doc" -> "Report.final.pdf". A path with a "/" is a path of
// this system; one without is taken in the Windows form (cut at the last "\").
QString PdfFileName(const QString& sourcePath);

// The full path of the PDF made for sourcePath in outputFolder.
QString PdfOutputPath(const QString& outputFolder, const QString& sourcePath);

// The security switches alone (empty when the PDF is not encrypted).
QString BuildSecurityArguments(const ConversionSettings& settings);
