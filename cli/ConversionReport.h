#pragma once

#include "converters/FileResult.h"

#include <QList>

// Writes the run's report: a JSON object whose "files" lists every file in
// the run's order (source, pdf, status, reason, seconds). The file appears
// whole or not at all. False, with the reason in *error, when it cannot.
bool WriteConversionReport(const QString& path, const QList<FileResult>& files, QString* error);
