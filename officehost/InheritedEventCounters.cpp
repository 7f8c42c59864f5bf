#include "officehost/InheritedEventCounters.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// The eventfd flags of descriptor fd (EFD_NONBLOCK, EFD_CLOEXEC,
// EFD_SEMAPHORE) from /proc/self/fdinfo; -1 when it cannot be read.
int CounterFlags(const QString& fd)
{
    QFile info(QStringLiteral("/proc/self/fdinfo/") + fd);
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    int flags = -1;
    bool semaphore = false;
    for (const QByteArray& line : info.readAll().split('\n')) {
        if (line.startsWith("flags:")) {
            const int open = line.mid(6).trimmed().toInt(nullptr, 8);
            flags = (open & O_NONBLOCK ? EFD_NONBLOCK : 0) | (open & O_CLOEXEC ? EFD_CLOEXEC : 0);
        } else if (line.startsWith("eventfd-semaphore:")) {
            semaphore = line.mid(18).trimmed().toInt() != 0;
        }
    }
    return flags < 0 ? -1 : flags | (semaphore ? EFD_SEMAPHORE : 0);
}

} // namespace

bool InheritedEventCounters::MakeOwn(const char** why)
{
    // Listed before any is replaced: the new counters are not found again.
    const QString folder = QStringLiteral("/proc/self/fd/");
    const QStringList fds = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (fds.isEmpty()) {
        *why = "/proc/self/fd cannot be read";
        return false;
    }
    for (const QString& fd : fds) {
        // The target comes back resolved against the folder.
        if (!QFile::symLinkTarget(folder + fd).endsWith(QLatin1String("/anon_inode:[eventfd]")))
            continue;
        const int flags = CounterFlags(fd);
        if (flags < 0) {
            *why = "an event counter's flags cannot be read";
            return false;
        }
        const int own = ::eventfd(0, flags);
        if (own < 0) {
            *why = "no event counter can be made";
            return false;
        }
        const int placed = ::dup3(own, fd.toInt(), flags & EFD_CLOEXEC ? O_CLOEXEC : 0);
        ::close(own);
        if (placed < 0) {
            *why = "an event counter cannot be replaced";
            return false;
        }
    }
    return true;
}
