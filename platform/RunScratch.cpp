#include "platform/RunScratch.h"

#include "platform/LinkSafeFiles.h"
#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

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
    ScratchFolder::RemoveLeftovers(kFolderPrefix);
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
