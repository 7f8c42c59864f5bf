#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

// The PDF version a file is actually written at: the later of the version
// chosen on the Advanced page and the least version that carries what else
// was chosen (128-bit RC4 needs 1.4), "1.3" to "1.7". The command line's
// text keeps the chosen version; the arguments Ghostscript runs with carry
// this one.
QString EffectiveCompatibilityLevel(const ConversionSettings& settings);
