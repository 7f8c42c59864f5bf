#pragma once

#include "pdf/ConversionSettings.h"

// Gives the Advanced values (pdfVersion, documentCompression,
// imageCompression, jpegQuality, tagged) as they stand at the moment of asking: the
// PDF step asks each time it builds a file's command line. Callable from the
// conversion thread.
class AdvancedSettingsReader
{
public:
    virtual ~AdvancedSettingsReader() = default;
    virtual void ReadAdvancedSettings(ConversionSettings& settings) const = 0;
};
