#include "controls/Artwork.h"

#include <QDir>

QPixmap LoadBitmapResource(int id)
{
    return QPixmap(QStringLiteral(":/artwork/bitmap%1.png").arg(id));
}

QIcon LoadIconResource(int id)
{
    QIcon icon;
    const QDir folder(QStringLiteral(":/artwork"));
    const QStringList sizes = folder.entryList({QStringLiteral("icon%1-*.png").arg(id)}, QDir::Files);
    for (const QString& name : sizes)
        icon.addFile(folder.filePath(name));
    return icon;
}
