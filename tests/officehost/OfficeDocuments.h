#pragma once

#include <QString>

// The office documents the host tests open, made once per test program with
// LibreOffice itself (make_documents.py) in a folder removed at the end.
namespace officedocuments {

// The folder holding sample.<type> for every office type the program takes
// (but .xlsb, which LibreOffice cannot write), protected.doc, protected.xls,
// protected.pptx and protected.odp; empty (with the reason in *why) when they could not be made.
QString Folder(QString* why = nullptr);
// The password of the protected documents.
QString Password();
// The PostScript file's text, as Ghostscript reads it.
QString PostScriptText(const QString& path);

} // namespace officedocuments
