#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// True when path is a real folder (not a link) owned by us and closed to others.
bool IsPrivateFolder(const QString& path)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString MakePrivateFolder(const QString& parent, QString* error)
{
    const QString path = parent + QStringLiteral("/foliant");
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("Cannot create %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    struct stat info
    {
    };
    if (::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
        (info.st_mode & 077) != 0)
        ::chmod(native.constData(), 0700);
    if (!IsPrivateFolder(path)) {
        if (error)
            *error = QStringLiteral("%1 is not a private folder of this user.").arg(path);
        return {};
    }
    return path;
}

} // namespace

QString ScratchFolder::Path(QString* error)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime)) {
        const QString path = MakePrivateFolder(runtime, error);
        if (!path.isEmpty())
            return path;
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) {
        if (error)
            *error = QStringLiteral("No cache folder is available for the scratch files.");
        return {};
    }
    return MakePrivateFolder(cache, error);
}

QString ScratchFolder::FilePath(const QString& name, QString* error)
{
    const QString folder = Path(error);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}
