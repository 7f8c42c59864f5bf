#pragma once

#include "converters/FileResult.h"

#include <QList>
#include <QStringList>

// The files a run converts, in the order given: a file as named; a folder
// (with -r) as the files of the kinds the program converts inside it and its
// subfolders, in name order, their PDFs in the same subfolders of the output
// folder. Two files whose PDFs would have the same path: the later one fails
// (unless their PDFs are parts of one combined PDF).
QList<FileResult> SourceFiles(const QStringList& inputs, bool recursive, const QString& outputFolder,
                              bool combined = false);
