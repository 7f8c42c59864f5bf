#include "platform/LinkSafeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

int LinkSafeFiles::CreateFresh(const QString& path, QString* error, int mode)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(native.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            SetError(error, QStringLiteral("Cannot write %1: a folder has that name.").arg(path));
            return -1;
        }
        if (::unlink(native.constData()) != 0 && errno != ENOENT) {
            SetError(error, QStringLiteral("Cannot replace %1: %2").arg(path, SystemError()));
            return -1;
        }
    }
    // O_EXCL fails on any name that reappeared meanwhile, a link included.
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0)
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, SystemError()));
    return fd;
}

bool LinkSafeFiles::Replace(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo target(path);
    QTemporaryFile part(target.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX").arg(target.fileName())));
    if (!part.open() || part.write(bytes) != bytes.size() || !part.flush()) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, part.errorString()));
        return false;
    }
    part.close();
    // rename() replaces a link standing at the name, never its target.
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) !=
        0) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, SystemError()));
        return false;
    }
    part.setAutoRemove(false);
    return true;
}

bool LinkSafeFiles::MakeFreshFolder(const QString& path, QString* error)
{
    RemoveFolder(path);
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0) {
        SetError(error, QStringLiteral("Cannot create %1: %2").arg(path, SystemError()));
        return false;
    }
    struct stat info
    {
    };
    // mkdir applies the umask; the folder must end up closed to others.
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        ::chmod(native.constData(), 0700) != 0) {
        SetError(error, QStringLiteral("Cannot create %1: %2").arg(path, SystemError()));
        return false;
    }
    return true;
}

bool LinkSafeFiles::RemoveFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(native.constData(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(native.constData()) == 0;
    // A real folder: Qt removes links inside it as links.
    return QDir(path).removeRecursively();
}
