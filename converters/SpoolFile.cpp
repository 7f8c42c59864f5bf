#include "converters/SpoolFile.h"

#include "converters/ConversionPage.h"

#include <QFile>
#include <QFileInfo>

namespace spoolfile {

QString Path(ConversionPage& page, QString* why)
{
    return page.SpoolFilePath(why);
}

bool Empty(const QString& path, QString* why)
{
    QFile file(path);
    // A link planted at the name is removed itself, never followed.
    if (!QFileInfo(path).isSymLink() && !file.exists())
        return true;
    if (file.remove())
        return true;
    if (why)
        *why = QStringLiteral("The spool file %1 cannot be emptied: %2").arg(path, file.errorString());
    return false;
}

bool InPlace(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink();
}

} // namespace spoolfile
