#include "officehost/HostFolders.h"

#include "platform/LinkSafeFiles.h"
#include "platform/ScratchFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace hostfolders {
namespace {

const QString kScratchPrefix = QStringLiteral("foliant-officehost-");

// Inside the program's private scratch folder, so the host's temporary
// files get the same protection as the spool file.
QString ScratchBase()
{
    return ScratchFolder::Path();
}

bool MakePrivateFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

bool OwnedByUs(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == ::getuid();
}

} // namespace

QString OfficeProfile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/foliant/office-profile");
    MakePrivateFolder(folder);
    return folder;
}

QString MakeScratchFolder()
{
    const QString base = ScratchBase();
    if (base.isEmpty())
        return {};
    // Folders of hosts that were killed: their process is gone. Whatever
    // stands at such a name is removed itself, never what a link points at.
    const QStringList leftovers =
        QDir(base).entryList({kScratchPrefix + QStringLiteral("*")}, QDir::AllEntries | QDir::System);
    for (const QString& name : leftovers) {
        bool ok = false;
        const pid_t pid = name.mid(kScratchPrefix.size()).toInt(&ok);
        const QString path = base + QLatin1Char('/') + name;
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH && OwnedByUs(path))
            LinkSafeFiles::RemoveFolder(path);
    }
    const QString folder = base + QLatin1Char('/') + kScratchPrefix + QString::number(::getpid());
    return LinkSafeFiles::MakeFreshFolder(folder) ? folder : QString();
}

void RemoveScratchFolder(const QString& folder)
{
    if (!folder.isEmpty())
        LinkSafeFiles::RemoveFolder(folder);
}

} // namespace hostfolders
