#include "platform/SingleInstanceLock.h"

#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SingleInstanceLock::DefaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/Foliant");
    const QString scratch = ScratchFolder::Path();
    if (scratch.isEmpty())
        return {};
    return QFileInfo(scratch).absolutePath() + QStringLiteral("/Foliant");
}

SingleInstanceLock::Result SingleInstanceLock::Acquire(const QString& path)
{
    if (m_fd >= 0)
        return Result::Acquired;
    const QString file = path.isEmpty() ? DefaultPath() : path;
    if (file.isEmpty()) {
        m_error = QStringLiteral("No folder for the lock file.");
        return Result::Unavailable;
    }
    // Close-on-exec: Ghostscript and the office hosts must never inherit the
    // lock, or one left behind would keep the program from starting again.
    // A link planted at the name is not followed.
    const int fd =
        ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_error =
            QStringLiteral("Cannot open %1: %2").arg(file, QString::fromLocal8Bit(std::strerror(errno)));
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::HeldByAnother;
        m_error =
            QStringLiteral("Cannot lock %1: %2").arg(file, QString::fromLocal8Bit(std::strerror(error)));
        return Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}
