#include "officehost/OfficeProfiles.h"

#include "officehost/ProfileStartLock.h"
#include "platform/LinkSafeFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More live offices than this for one user would be a fault of their own.
constexpr int kMostProfiles = 256;

bool MakePrivateFolder(const QString& path)
{
    return QDir().mkpath(path) && ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

// A copy of the set-up profile; its mark goes last, so a copy cut short is
// never taken for a whole one.
bool CopyProfile(const QString& from, const QString& to, QString* why)
{
    if (!LinkSafeFiles::MakeFreshFolder(to, why))
        return false;
    const QDir source(from);
    QDirIterator entries(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        const QString relative = source.relativeFilePath(entry.filePath());
        const QString target = to + QLatin1Char('/') + relative;
        if (entry.isSymLink() || relative == ProfileStartLock::MarkerName())
            continue;
        const bool copied = entry.isDir() ? QDir().mkpath(target) : QFile::copy(entry.filePath(), target);
        if (!copied) {
            *why = QStringLiteral("The office profile could not be copied to %1.").arg(target);
            return false;
        }
    }
    QFile mark(to + QLatin1Char('/') + ProfileStartLock::MarkerName());
    if (!mark.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("The office profile could not be copied to %1.").arg(to);
        return false;
    }
    return true;
}

} // namespace

OfficeProfiles::Lease::~Lease()
{
    if (m_fd >= 0)
        ::close(m_fd); // lets the next office have the profile
}

OfficeProfiles::Lease::Lease(Lease&& other) noexcept
    : m_folder(std::exchange(other.m_folder, {})), m_fd(std::exchange(other.m_fd, -1))
{
}

OfficeProfiles::Lease& OfficeProfiles::Lease::operator=(Lease&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_folder = std::exchange(other.m_folder, {});
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void OfficeProfiles::Lease::Discard()
{
    if (!m_folder.isEmpty())
        LinkSafeFiles::RemoveFolder(m_folder);
}

int OfficeProfiles::Lease::OpenFolder() const
{
    if (m_folder.isEmpty())
        return -1;
    return ::open(QFile::encodeName(m_folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

QString OfficeProfiles::DescriptorPath(int descriptor)
{
    return QStringLiteral("/proc/self/fd/%1").arg(descriptor);
}

OfficeProfiles::OfficeProfiles(QString setUpProfile, QString copiesFolder)
    : m_setUp(std::move(setUpProfile)), m_copies(std::move(copiesFolder))
{
}

OfficeProfiles OfficeProfiles::OfTheUser()
{
    const QString cache =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/foliant");
    return OfficeProfiles(cache + QStringLiteral("/office-profile"),
                          cache + QStringLiteral("/office-profiles"));
}

bool OfficeProfiles::IsSetUp() const
{
    return ProfileStartLock::IsStarted(m_setUp);
}

bool OfficeProfiles::EnsureSetUp(const SetUp& setUp, QString* why) const
{
    if (IsSetUp())
        return true;
    const QString parent = QFileInfo(m_setUp).absolutePath();
    if (!MakePrivateFolder(parent)) {
        *why = QStringLiteral("The folder %1 could not be made.").arg(parent);
        return false;
    }
    ProfileStartLock turn(m_setUp); // the first office sets it up, the others wait for it
    if (IsSetUp())
        return true;
    // Whatever an office that ended during the set-up left is started anew.
    if (!LinkSafeFiles::MakeFreshFolder(m_setUp, why) || !setUp(m_setUp, why))
        return false;
    turn.MarkStarted();
    return IsSetUp();
}

OfficeProfiles::Lease OfficeProfiles::Take(QString* why) const
{
    if (!IsSetUp()) {
        *why = QStringLiteral("The office profile is not set up yet.");
        return {};
    }
    if (!MakePrivateFolder(m_copies)) {
        *why = QStringLiteral("The folder %1 could not be made.").arg(m_copies);
        return {};
    }
    for (int n = 0; n < kMostProfiles; ++n) {
        const QString folder = m_copies + QLatin1Char('/') + QString::number(n);
        const QByteArray lockPath = QFile::encodeName(folder + QStringLiteral(".lock"));
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            *why = QStringLiteral("The office profile's lock %1 could not be opened: %2")
                       .arg(folder + QStringLiteral(".lock"), QString::fromLocal8Bit(std::strerror(errno)));
            return {};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd); // another live office's
            continue;
        }
        if (!ProfileStartLock::IsStarted(folder) && !CopyProfile(m_setUp, folder, why)) {
            LinkSafeFiles::RemoveFolder(folder);
            ::close(fd);
            return {};
        }
        return Lease(folder, fd);
    }
    *why = QStringLiteral("Every office profile is in use.");
    return {};
}
