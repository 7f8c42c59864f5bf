#include "officehost/ProfileStartLock.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kMarkerName = QStringLiteral("/.foliant-started");

} // namespace

ProfileStartLock::ProfileStartLock(const QString& profileFolder) : m_marker(profileFolder + kMarkerName)
{
    if (QFileInfo::exists(m_marker))
        return;
    // Beside the profile, so removing the profile leaves the lock usable.
    const QByteArray lockPath = QFile::encodeName(profileFolder + QStringLiteral(".lock"));
    m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

ProfileStartLock::~ProfileStartLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

QString ProfileStartLock::MarkerName()
{
    return kMarkerName.mid(1);
}

bool ProfileStartLock::IsStarted(const QString& profileFolder)
{
    return QFileInfo::exists(profileFolder + kMarkerName);
}

void ProfileStartLock::MarkStarted()
{
    if (QFileInfo::exists(m_marker))
        return;
    QFile marker(m_marker);
    if (marker.open(QIODevice::WriteOnly))
        marker.close();
}
