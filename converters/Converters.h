#pragma once

#include <QString>

#include <functional>

class ConversionPage;

// The four converters. Each prints one file into the spool file and has the
// page make its PDF; each returns when its Ghostscript run has ended.
// The Office converters leave the page's converted flag at 1 when the file's
// PDF was made and 0 otherwise; the worker reads it afterwards.
void ConvertWord(ConversionPage& page, const QString& sourcePath);
void ConvertExcel(ConversionPage& page, const QString& sourcePath);
void ConvertPowerPoint(ConversionPage& page, const QString& sourcePath);
// A picture has no flag of its own: it is recorded unless its converter
// says otherwise (false: nothing was made, and the user has been told why).
bool ConvertPicture(ConversionPage& page, const QString& sourcePath);

// The converters the worker dispatches to; tests put fakes in their place.
struct ConverterSet
{
    std::function<void(ConversionPage&, const QString&)> word;
    std::function<void(ConversionPage&, const QString&)> excel;
    std::function<void(ConversionPage&, const QString&)> powerPoint;
    std::function<bool(ConversionPage&, const QString&)> picture;
};

// The real converters above.
ConverterSet DefaultConverters();

// Hands the file to the converter of its kind (the table of file kinds):
// pictures to the picture converter, workbooks to Excel, presentations to
// PowerPoint, everything else to Word, whose own check refuses what it does
// not take. True when its PDF was made. Both front ends dispatch through it.
bool ConvertByKind(const ConverterSet& converters, ConversionPage& page, const QString& sourcePath);
