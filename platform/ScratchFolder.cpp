#include "platform/ScratchFolder.h"

#include "platform/LinkSafeFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
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

void ScratchFolder::RemoveLeftovers(const QString& prefix)
{
    const QString base = Path();
    if (base.isEmpty())
        return;
    const QStringList names =
        QDir(base).entryList({prefix + QStringLiteral("*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
    for (const QString& name : names) {
        bool ok = false;
        const pid_t pid = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toInt(&ok);
        const QString path = base + QLatin1Char('/') + name;
        struct stat info
        {
        };
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH &&
            ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == ::getuid())
            LinkSafeFiles::RemoveFolder(path);
    }
}
