#include "cli/FileDispatch.h"

#include "converters/ConversionPage.h"
#include "converters/Converters.h"

#include <QStringList>

namespace {

QString Extension(const QString& path)
{
    const QString name = path.section(u'/', -1);
    return name.contains(u'.') ? name.section(u'.', -1).toLower() : QString();
}

const QStringList kPictures{"jpg", "jpeg", "bmp", "png", "gif"};
const QStringList kWord{"doc", "docx", "dot", "htm", "html", "xml", "txt", "rtf"};

} // namespace

bool IsConvertible(const QString& path)
{
    const QString extension = Extension(path);
    return kPictures.contains(extension) || kWord.contains(extension) || extension == u"xls" ||
           extension == u"ppt";
}

bool ConvertByKind(const ConverterSet& converters, ConversionPage& page, const QString& path)
{
    const QString extension = Extension(path);
    if (kPictures.contains(extension))
        return converters.picture && converters.picture(page, path);
    page.SetConverted(0);
    const auto& office = extension == u"ppt"   ? converters.powerPoint
                         : extension == u"xls" ? converters.excel
                                               : converters.word;
    if (office)
        office(page, path);
    return page.Converted() == 1;
}
