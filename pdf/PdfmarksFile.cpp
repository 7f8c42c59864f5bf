#include "pdf/PdfmarksFile.h"

#include "platform/LinkSafeFiles.h"
#include "platform/ScratchFolder.h"

bool WritePdfmarksFile(const QString& text, QString* error)
{
    const QString path = ScratchFolder::PdfmarksFilePath(error);
    if (path.isEmpty())
        return false;
    // A fresh file renamed over the name: a link planted there is replaced,
    // never written through.
    return LinkSafeFiles::Replace(path, text.toLatin1(), error);
}
