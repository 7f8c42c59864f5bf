#pragma once

#include <QByteArray>
#include <QString>

// Files and folders written where someone may have planted a link or a file
// of their own at the name beforehand. Whatever stands at the name is
// replaced; a link is never followed, a planted file never written through.
class LinkSafeFiles
{
public:
    // Removes whatever stands at path unless it is a folder (a link itself,
    // never its target), then creates a new file there exclusively. Returns
    // its descriptor (close-on-exec), or -1 with *error set.
    static int CreateFresh(const QString& path, QString* error = nullptr, int mode = 0600);

    // Writes bytes into a new temporary file beside path and renames it over
    // path, so path holds either its old contents or all of the new ones.
    static bool Replace(const QString& path, const QByteArray& bytes, QString* error = nullptr);

    // Makes a new folder (mode 0700) at path, removing whatever stood there.
    static bool MakeFreshFolder(const QString& path, QString* error = nullptr);

    // Removes the folder at path with everything in it; a link standing at
    // path, or inside, is removed itself, never what it points at.
    static bool RemoveFolder(const QString& path);
};
