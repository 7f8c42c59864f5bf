#include "converters/SpoolFile.h"

#include <QFile>
#include <QFileInfo>

namespace spoolfile {

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

ConversionPage::WaitEnd WaitForJob(ConversionPage& page, const QString& spoolPath)
{
    return page.WaitUntil([&]() { return InPlace(spoolPath); }, kPrintTimeLimit);
}

} // namespace spoolfile
