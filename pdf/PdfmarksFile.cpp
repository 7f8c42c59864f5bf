#include "pdf/PdfmarksFile.h"

#include "platform/ScratchFolder.h"

#include <QSaveFile>

bool WritePdfmarksFile(const QString& text, QString* error)
{
    const QString path = ScratchFolder::PdfmarksFilePath(error);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray bytes = text.toLatin1();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
