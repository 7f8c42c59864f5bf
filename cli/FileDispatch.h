#pragma once

#include <QString>

class ConversionPage;
struct ConverterSet;

// True for a file of a kind the program converts.
bool IsConvertible(const QString& path);
// Hands the file to the converter for its kind; true when its PDF was made.
bool ConvertByKind(const ConverterSet& converters, ConversionPage& page, const QString& path);
