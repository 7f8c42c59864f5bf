#include "controls/Artwork.h"

#include <QDir>
#include <QLabel>

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

void ShowTemplatePictures(QWidget* dialog)
{
    const auto labels = dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        const QVariant id = label->property("imageId");
        if (id.isValid() && id.toInt() != 0)
            label->setPixmap(LoadBitmapResource(id.toInt()));
    }
}
