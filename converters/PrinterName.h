#pragma once

#include <QString>

// The product's printer, which Word and Excel are told to print on.
inline const QString kPrinterName = QStringLiteral("Foliant");
