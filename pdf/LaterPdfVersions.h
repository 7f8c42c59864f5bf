#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringList>

// The PDF versions the command line's text cannot name: "V1.6", "V1.7" and
// PDF/A-2b (1.7), and the least version AES needs (AES-128: 1.6, AES-256:
// 1.7). The argument vector that is run carries the later of these and the
// level it names.
QString LaterCompatibilityLevel(const ConversionSettings& settings);

// Raises the -dCompatibilityLevel switch of the arguments to level when
// level is later than the one it names.
void RaiseCompatibilityLevelTo(QStringList& arguments, const QString& level);
