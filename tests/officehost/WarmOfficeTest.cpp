// Hosts forked from the warm office: each is a host of its own that prints,
// is ended by Stop and by its time limit like a cold one, holds an office
// profile no other live office uses, and leaves nothing;
// without the warm office, hosts start cold.

#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include "converters/OpenPassword.h"
#include "platform/COleDispatchDriver.h"
#include "platform/OfficeDispids.h"
#include "platform/OfficeHostConnection.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmOfficeConnection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace officesequences;

namespace {

QString Stat(qint64 pid)
{
    return QString::fromLocal8Bit(testtools::ReadFile(QStringLiteral("/proc/%1/stat").arg(pid)));
}

qint64 ParentOf(qint64 pid)
{
    const QString stat = Stat(pid);
    return stat.mid(stat.lastIndexOf(u')') + 4).section(u' ', 0, 0).toLongLong();
}

QString NameOf(qint64 pid)
{
    const QString stat = Stat(pid);
    return stat.section(u'(', 1).section(u')', 0, 0);
}

QStringList Descriptors(qint64 pid)
{
    QStringList targets;
    const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(folder).entryList(QDir::System | QDir::NoDotAndDotDot))
        targets << QFile::symLinkTarget(folder + QLatin1Char('/') + fd);
    return targets;
}

// The office profiles a process holds: the locks of profile copies among its
// descriptors.
QStringList ProfileLeases(qint64 pid)
{
    QStringList leases;
    const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(folder + QLatin1Char('/') + fd);
        if (target.endsWith(QLatin1String(".lock")) && target.contains(QLatin1String("/office-profiles/")))
            leases << target;
    }
    return leases;
}

// The event counters (eventfd) a process holds, by the kernel's id of each.
QStringList EventCounters(qint64 pid)
{
    QStringList ids;
    const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (QFile::symLinkTarget(folder + QLatin1Char('/') + fd).endsWith(QLatin1String("[eventfd]")))
            for (const QByteArray& line :
                 testtools::ReadFile(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd)).split('\n'))
                if (line.startsWith("eventfd-id:"))
                    ids << QString::fromLatin1(line.mid(11).trimmed());
    return ids;
}

// Every file of a profile with what tells a rewrite: inode, size and time of
// the last change.
QMap<QString, QString> FilesOf(const QString& profile)
{
    QMap<QString, QString> files;
    QDirIterator it(profile, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat s = {};
        if (::lstat(QFile::encodeName(path).constData(), &s) == 0)
            files.insert(path.mid(profile.size()), QStringLiteral("%1 %2 %3.%4")
                                                       .arg(s.st_ino)
                                                       .arg(s.st_size)
                                                       .arg(s.st_mtim.tv_sec)
                                                       .arg(s.st_mtim.tv_nsec));
    }
    return files;
}

// The hosts' scratch folders other than the warm office's own.
QStringList HostFolders()
{
    QStringList folders =
        QDir(ScratchFolder::Path())
            .entryList({ScratchFolder::kOfficeHostPrefix + QLatin1Char('*')}, QDir::AllEntries);
    folders.removeAll(ScratchFolder::kOfficeHostPrefix +
                      QString::number(WarmOfficeConnection::Instance().ProcessId()));
    return folders;
}

TEST(WarmOffice, ForkedHostsPrintAreEndedLikeColdOnesAndLeaveNothing)
{
    testtools::UsePrivateFolders();
    QString why;
    const QString documents = officedocuments::Folder(&why);
    ASSERT_FALSE(documents.isEmpty()) << why.toStdString();
    const QString spool = ScratchFolder::SpoolFilePath();
    const QString program = OfficeHostConnection::DefaultProgram();
    WarmOfficeConnection& warm = WarmOfficeConnection::Instance();

    // In a new profile the first host starts cold and sets the profile up;
    // the warm office waits for that.
    PrintWithWord(documents + QStringLiteral("/sample.docx"), 0, kNoPassword, spool);
    ASSERT_TRUE(warm.WaitUntilReady(program, 60000));
    const qint64 parent = warm.ProcessId();
    const QStringList parentDescriptors = Descriptors(parent);
    ASSERT_FALSE(NetworkOf(parent).isEmpty());
    EXPECT_EQ(NetworkOf(parent) != NetworkOf(::getpid()), KernelGivesOwnNetworks());

    // Every application: its own process, named as the application, forked
    // from the warm office, holding no channel but its own.
    const struct
    {
        const char* progId;
        const char* name;
    } applications[] = {{"Word.Application", "WINWORD.EXE"},
                        {"Excel.Application", "EXCEL.EXE"},
                        {"PowerPoint.Application", "POWERPNT.EXE"}};
    for (const auto& a : applications) {
        COleDispatchDriver host;
        ASSERT_TRUE(host.CreateDispatch(QString::fromLatin1(a.progId)));
        const qint64 pid = ServerProcessId(host.m_lpDispatch);
        EXPECT_EQ(ParentOf(pid), parent) << a.progId;
        EXPECT_EQ(NameOf(pid), QString::fromLatin1(a.name));
        EXPECT_EQ(NetworkOf(pid), NetworkOf(parent))
            << "the warm office's network, of its own where the kernel allows";
        const QStringList sockets = Descriptors(pid).filter(QStringLiteral("socket:"));
        EXPECT_EQ(QSet<QString>(sockets.begin(), sockets.end()).size(), 1) << sockets.join(' ').toStdString();
    }

    // They print.
    for (const QString& name :
         {QStringLiteral("sample.docx"), QStringLiteral("sample.xls"), QStringLiteral("sample.ppt")}) {
        QFile::remove(spool);
        const QString file = documents + QLatin1Char('/') + name;
        const qint64 pid = name.endsWith(QLatin1String(".xls")) ? PrintWithExcel(file, kNoPassword, spool)
                           : name.endsWith(QLatin1String(".ppt"))
                               ? PrintWithPowerPoint(file, spool)
                               : PrintWithWord(file, 0, kNoPassword, spool);
        EXPECT_TRUE(testtools::ReadFile(spool).startsWith("%PDF-")) << name.toStdString();
        EXPECT_TRUE(Reaped(pid));
    }

    // Two hosts live at once: every live office holds a profile no other
    // one uses and event counters of its own (a main loop's wakeup read by
    // another host would leave a host asleep for good), and the hosts, from
    // their start to their end, write nothing into the warm office's.
    {
        const QStringList warmLeases = ProfileLeases(parent);
        ASSERT_EQ(warmLeases.size(), 1) << warmLeases.join(' ').toStdString();
        const QString warmProfile = warmLeases[0].chopped(5);
        const QMap<QString, QString> warmFiles = FilesOf(warmProfile);
        ASSERT_TRUE(warmFiles.contains(QStringLiteral("/user/registrymodifications.xcu")));
        QList<qint64> hosts;
        {
            COleDispatchDriver word, excel;
            ASSERT_TRUE(word.CreateDispatch(QStringLiteral("Word.Application")));
            ASSERT_TRUE(excel.CreateDispatch(QStringLiteral("Excel.Application")));
            QSet<QString> held{warmLeases[0]};
            const QStringList warmCounters = EventCounters(parent);
            QSet<QString> counters(warmCounters.begin(), warmCounters.end());
            for (COleDispatchDriver* host : {&word, &excel}) {
                hosts << ServerProcessId(host->m_lpDispatch);
                ASSERT_EQ(ParentOf(hosts.last()), parent);
                const QStringList leases = ProfileLeases(hosts.last());
                ASSERT_EQ(leases.size(), 1) << leases.join(' ').toStdString();
                EXPECT_FALSE(held.contains(leases[0])) << leases[0].toStdString();
                held.insert(leases[0]);
                const QStringList own = EventCounters(hosts.last());
                EXPECT_FALSE(own.isEmpty()) << "a host's main loop wakes by one";
                for (const QString& id : own)
                    EXPECT_FALSE(counters.contains(id)) << "event counter " << id.toStdString() << " shared";
                counters.unite(QSet<QString>(own.begin(), own.end()));
            }
        }
        for (qint64 pid : hosts)
            ASSERT_TRUE(Reaped(pid));
        const QMap<QString, QString> warmFilesAfter = FilesOf(warmProfile);
        QStringList written;
        for (const QString& file : QSet<QString>(warmFiles.keyBegin(), warmFiles.keyEnd()) +
                                       QSet<QString>(warmFilesAfter.keyBegin(), warmFilesAfter.keyEnd()))
            if (warmFiles.value(file) != warmFilesAfter.value(file))
                written << file;
        EXPECT_TRUE(written.isEmpty()) << written.join(' ').toStdString();
    }

    // Stop ends one at once; so does its time limit.
    {
        COleDispatchDriver word;
        ASSERT_TRUE(word.CreateDispatch(QStringLiteral("Word.Application")));
        const qint64 pid = ServerProcessId(word.m_lpDispatch);
        word.m_lpDispatch->ServerEnder()();
        EXPECT_TRUE(Reaped(pid));
        EXPECT_THROW(word.InvokeHelper(worddispid::kDocuments, DISPATCH_PROPERTYGET, VT_DISPATCH),
                     COleException);
    }
    qint64 stopped = 0;
    EXPECT_EQ(CallStoppedExcel(&stopped), RPC_E_TIMEOUT);
    EXPECT_TRUE(Reaped(stopped));

    // Many in a row: every one greets and ends; the warm office holds no
    // more descriptors than before, and no host leaves its folder.
    for (int i = 0; i < 20; ++i) {
        qint64 pid = 0;
        {
            COleDispatchDriver host;
            ASSERT_TRUE(host.CreateDispatch(QStringLiteral("PowerPoint.Application"))) << i;
            pid = ServerProcessId(host.m_lpDispatch);
            EXPECT_EQ(ParentOf(pid), parent);
        }
        ASSERT_TRUE(Reaped(pid)) << i;
    }
    EXPECT_EQ(Descriptors(parent).size(), parentDescriptors.size());
    EXPECT_EQ(HostFolders(), QStringList{});

    // The warm office killed: the next host starts cold and prints.
    ::kill(static_cast<pid_t>(parent), SIGKILL);
    {
        COleDispatchDriver word;
        ASSERT_TRUE(word.CreateDispatch(QStringLiteral("Word.Application")));
        EXPECT_EQ(ParentOf(ServerProcessId(word.m_lpDispatch)), ::getpid());
    }
    QFile::remove(spool);
    PrintWithWord(documents + QStringLiteral("/sample.docx"), 0, kNoPassword, spool);
    EXPECT_TRUE(testtools::ReadFile(spool).startsWith("%PDF-"));
    EXPECT_NE(warm.ProcessId(), parent);

    // Ended, it is gone, and so is every host.
    ASSERT_TRUE(warm.WaitUntilReady(program, 60000));
    const qint64 second = warm.ProcessId();
    warm.End();
    EXPECT_TRUE(Reaped(second));
    EXPECT_EQ(warm.ProcessId(), 0);
    EXPECT_EQ(HostFolders(), QStringList{});
}

} // namespace
