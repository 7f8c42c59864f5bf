#include "converters/ConversionPage.h"
#include "converters/Converters.h"
#include "converters/FileKinds.h"

bool ConvertByKind(const ConverterSet& converters, ConversionPage& page, const QString& sourcePath)
{
    const std::optional<FileKind> kind = filekinds::KindOf(sourcePath);
    if (kind == FileKind::Picture)
        return converters.picture && converters.picture(page, sourcePath);

    // Each Office converter leaves the flag for its own file; a converter
    // that returns early without a word must not inherit the last file's 1.
    page.SetConverted(0);
    const auto& office = kind == FileKind::PowerPoint ? converters.powerPoint
                         : kind == FileKind::Excel    ? converters.excel
                                                      : converters.word;
    if (office)
        office(page, sourcePath);
    return page.Converted() == 1;
}
