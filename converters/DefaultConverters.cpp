#include "converters/Converters.h"

ConverterSet DefaultConverters()
{
    return {ConvertWord, ConvertExcel, ConvertPowerPoint, ConvertPicture};
}
