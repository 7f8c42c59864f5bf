#include "platform/RunScratch.h"

#include "platform/LinkSafeFiles.h"
#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "run-<pid>-XXXXXX": the process id tells a leftover from a live run's folder.
void RemoveLeftovers(const QString& base)
{
    const QStringList names = QDir(base).entryList({RunScratch::kFolderPrefix + QStringLiteral("*")},
                                                   QDir::AllEntries | QDir::System | QDir::Hidden);
    for (const QString& name : names) {
        bool ok = false;
        const pid_t pid = name.section(QLatin1Char('-'), 1, 1).toInt(&ok);
        const QString path = base + QLatin1Char('/') + name;
        struct stat info
        {
        };
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH &&
            ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == ::getuid())
            LinkSafeFiles::RemoveFolder(path);
    }
}

} // namespace

RunScratch::~RunScratch()
{
    Remove();
}

QString RunScratch::Path(QString* error)
{
    QMutexLocker lock(&m_mutex);
    if (!m_path.isEmpty() && QFileInfo(m_path).isDir())
        return m_path;
    m_path.clear();
    const QString base = ScratchFolder::Path(error);
    if (base.isEmpty())
        return {};
    RemoveLeftovers(base);
    // mkdtemp makes the folder with mode 0700 under a name nobody holds.
    QByteArray pattern = QFile::encodeName(base + QLatin1Char('/') + kFolderPrefix +
                                           QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        if (error)
            *error = QStringLiteral("Cannot create a scratch folder in %1: %2")
                         .arg(base, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    m_path = QFile::decodeName(pattern);
    return m_path;
}

QString RunScratch::SpoolFilePath(QString* error)
{
    const QString folder = Path(error);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + ScratchFolder::kSpoolFileName;
}

QString RunScratch::PdfmarksFilePath(QString* error)
{
    const QString folder = Path(error);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + ScratchFolder::kPdfmarksFileName;
}

void RunScratch::Remove()
{
    QMutexLocker lock(&m_mutex);
    if (!m_path.isEmpty())
        LinkSafeFiles::RemoveFolder(m_path);
    m_path.clear();
}
