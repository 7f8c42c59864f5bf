#include "pdf/PdfmarksFile.h"

#include "platform/LinkSafeFiles.h"

bool WritePdfmarksFile(const QString& path, const QString& text, QString* error)
{
    // A fresh file renamed over the name: a link planted there is replaced,
    // never written through.
    return LinkSafeFiles::Replace(path, text.toLatin1(), error);
}
