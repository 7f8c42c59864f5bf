#include "TestTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Two real copies of the program on one runtime folder, as a user starting
// it twice.
class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid() && home.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program = QDir(testtools::ProgramDir()).filePath(QStringLiteral("foliant"));
        ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
    }
    void TearDown() override
    {
        for (QProcess* copy : {&first, &second, &third})
            if (copy->state() != QProcess::NotRunning) {
                copy->kill();
                copy->waitForFinished();
            }
    }

    void Start(QProcess& copy)
    {
        copy.setProcessEnvironment(environment);
        copy.start(program, {});
        ASSERT_TRUE(copy.waitForStarted());
    }

    // True when process pid holds an exclusive flock on path. Read from
    // /proc/locks, so looking takes no lock that a starting copy could meet.
    static bool HoldsLock(qint64 pid, const QString& path)
    {
        struct stat info
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return false;
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return false;
        const QString inode = QStringLiteral(":%1 ").arg(info.st_ino);
        for (const QByteArray& line : locks.readAll().split('\n')) {
            const QString entry = QString::fromLatin1(line) + QLatin1Char(' ');
            const QStringList fields = entry.simplified().split(QLatin1Char(' '));
            if (fields.size() >= 6 && fields[1] == QLatin1String("FLOCK") &&
                fields[3] == QLatin1String("WRITE") && fields[4] == QString::number(pid) &&
                entry.contains(inode))
                return true;
        }
        return false;
    }

    // Waits (within a generous limit) until a running copy holds the lock.
    bool WaitUntilLockHeld(QProcess& copy)
    {
        const QString lockPath = runtime.filePath(QStringLiteral("Foliant"));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            if (copy.state() != QProcess::Running)
                return false;
            if (HoldsLock(copy.processId(), lockPath))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    QTemporaryDir runtime;
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString program;
    QProcess first, second, third;
};

TEST_F(StartupTest, ASecondCopyEndsAtOnceWithZeroAndLeavesTheFirstRunning)
{
    Start(first);
    ASSERT_TRUE(WaitUntilLockHeld(first)) << first.readAllStandardError().toStdString();

    Start(second);
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    // The first one is untouched and still holds the lock.
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(HoldsLock(first.processId(), runtime.filePath(QStringLiteral("Foliant"))));

    // Once the first has gone, the lock file it leaves lets the next copy run.
    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    Start(third);
    EXPECT_TRUE(WaitUntilLockHeld(third));
}

} // namespace
