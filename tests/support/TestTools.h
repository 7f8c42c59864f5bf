#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace testtools {

struct ToolResult
{
    int exitCode = -1; // -1 when the program could not be started or timed out
    QByteArray out;
    QByteArray err;
};

// Runs an outside tool (pdfinfo, qpdf, gs, ...) and collects what it prints.
ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
                   const QByteArray& input = {});

// True when the program can be found on PATH.
bool HaveTool(const QString& program);

QByteArray ReadFile(const QString& path);
bool WriteFile(const QString& path, const QByteArray& bytes);

// pdfimages -list of a PDF: the encoding ("jpeg", "image" for Flate, ...)
// and the stream size in bytes of its first image; empty when it has none.
std::pair<QString, qint64> FirstPdfImage(const QString& pdf);

// The words pdftotext finds in a PDF, in order, split at white space.
QStringList PdfWords(const QString& pdf);

// The folder the build puts the programs in (FOLIANT_PROGRAM_DIR).
QString ProgramDir();

// Gives this test program an office profile and a scratch folder of its own
// (XDG_CACHE_HOME and XDG_RUNTIME_DIR point into folders that live as long
// as the program), the same ones on every call. Returns the runtime folder:
// its name marks every program a run starts.
QString UsePrivateFolders();

// Points HOME and the XDG configuration, data, state, cache and runtime
// folders into a fresh folder of this test program's own, removed when it
// ends, so no test reads or writes the user's settings (Qt's file dialog
// keeps a history there) or another test's. Every test main calls it first.
void UsePrivateHome();

} // namespace testtools
