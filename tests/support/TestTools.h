#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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

// The folder the build puts the programs in (FOLIANT_PROGRAM_DIR).
QString ProgramDir();

} // namespace testtools
