#pragma once

#include <QString>

// Writes the side file text into the pdfmarks file at path: one byte
// per character (the text holds nothing beyond Latin-1 once it is built), line
// feeds as byte 10, no byte-order mark, no terminating zero. Returns false and
// sets *error when the file cannot be written.
bool WritePdfmarksFile(const QString& path, const QString& text, QString* error = nullptr);
