#include "ProcessTree.h"

#include "platform/WarmOfficeConnection.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace processtree {

QStringList Running(const QString& marker)
{
    const QByteArray needle = QFile::encodeName(marker);
    const QString self = QString::number(::getpid());
    const QString warmOffice = QString::number(WarmOfficeConnection::Instance().ProcessId());
    QStringList running;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid == self || pid == warmOffice || pid.toLongLong() <= 0)
            continue;
        QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environment.open(QIODevice::ReadOnly) || !environment.readAll().contains(needle))
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ...; the name may hold blanks and parentheses.
        const QString line = QString::fromLocal8Bit(stat.readAll());
        const qsizetype open = line.indexOf(u'('), close = line.lastIndexOf(u')');
        if (open < 0 || close < 0 || line.mid(close + 2, 1) == u"Z")
            continue;
        running << QStringLiteral("%1 %2").arg(pid, line.mid(open + 1, close - open - 1));
    }
    return running;
}

} // namespace processtree
