#include "platform/widgets/DesktopShell.h"
#include "RecordingShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QDesktopServices>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include "TestTools.h"

namespace {

// Stands in for the file manager on a private session bus.
class FakeFileManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    bool refuse = false;
    QList<QStringList> shown;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId);
        if (refuse) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("cannot show"));
            return;
        }
        shown.append(uris);
    }
};

// Catches what the desktop would be asked to open, so nothing is started.
class OpenCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

class DesktopShellTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(testtools::HaveTool(QStringLiteral("dbus-daemon")))
            << "the package dbus-daemon is needed";
        configDir = new QTemporaryDir;
        // Our own bus: no service files, so no real file manager can be started.
        const QString config = configDir->filePath(QStringLiteral("bus.conf"));
        ASSERT_TRUE(testtools::WriteFile(
            config, QByteArrayLiteral(
                        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                        "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>\n"
                        "<auth>EXTERNAL</auth><policy context=\"default\">\n"
                        "<allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")));
        daemon = new QProcess;
        daemon->start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        ASSERT_TRUE(daemon->waitForStarted(10000));
        ASSERT_TRUE(daemon->waitForReadyRead(10000));
        address = QString::fromUtf8(daemon->readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty());
    }

    static void TearDownTestSuite()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("shell-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));
        if (daemon) {
            daemon->terminate();
            if (!daemon->waitForFinished(5000)) {
                daemon->kill();
                daemon->waitForFinished();
            }
        }
        delete daemon;
        daemon = nullptr;
        delete configDir;
        configDir = nullptr;
    }

    void SetUp() override
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
        ASSERT_TRUE(files.isValid());
        item = files.filePath(QStringLiteral("Report.pdf"));
        ASSERT_TRUE(testtools::WriteFile(item, "%PDF-1.4\n"));
    }

    void TearDown() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    static QDBusConnection Client()
    {
        return QDBusConnection::connectToBus(address, QStringLiteral("shell-client"));
    }

    // Puts a file manager on the bus for as long as the test runs.
    static QDBusConnection ServeFileManager(FakeFileManager& manager)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("file-manager"));
        EXPECT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                       QDBusConnection::ExportAllSlots));
        EXPECT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
        return bus;
    }

    static void StopFileManager(QDBusConnection& bus)
    {
        bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    }

    static inline QProcess* daemon = nullptr;
    static inline QTemporaryDir* configDir = nullptr;
    static inline QString address;
    QTemporaryDir files;
    QString item;
    OpenCatcher catcher;
};

TEST_F(DesktopShellTest, FileManagerShowsTheItemSelected)
{
    FakeFileManager manager;
    QDBusConnection managerBus = ServeFileManager(manager);
    DesktopShell shell(Client());
    QSignalSpy finished(&shell, &DesktopShell::ShowItemFinished);

    shell.ShowItemInFolder(files.path() + QLatin1Char('/'), item);

    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished.first().first().toBool());
    ASSERT_EQ(manager.shown.size(), 1);
    EXPECT_EQ(manager.shown.first(), QStringList{QUrl::fromLocalFile(item).toString()});
    EXPECT_TRUE(catcher.opened.isEmpty()) << "the folder is opened only when the file manager cannot show it";
    StopFileManager(managerBus);
}

TEST_F(DesktopShellTest, FolderIsOpenedWhenNoFileManagerCanShowTheItem)
{
    const QString folder = files.path() + QLatin1Char('/');
    {
        SCOPED_TRACE("no file manager on the bus");
        DesktopShell shell(Client());
        QSignalSpy finished(&shell, &DesktopShell::ShowItemFinished);
        shell.ShowItemInFolder(folder, item);
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_FALSE(finished.first().first().toBool());
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
    }
    catcher.opened.clear();
    {
        SCOPED_TRACE("the file manager answers with an error");
        FakeFileManager manager;
        manager.refuse = true;
        QDBusConnection managerBus = ServeFileManager(manager);
        DesktopShell shell(Client());
        QSignalSpy finished(&shell, &DesktopShell::ShowItemFinished);
        shell.ShowItemInFolder(folder, item);
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
        StopFileManager(managerBus);
    }
    catcher.opened.clear();
    {
        SCOPED_TRACE("no session bus at all");
        DesktopShell shell(QDBusConnection(QStringLiteral("no such bus")));
        shell.ShowItemInFolder(folder, item);
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
    }
    catcher.opened.clear();
    {
        SCOPED_TRACE("the file is gone");
        FakeFileManager manager;
        QDBusConnection managerBus = ServeFileManager(manager);
        DesktopShell shell(Client());
        shell.ShowItemInFolder(folder, folder + QStringLiteral("Gone.pdf"));
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
        EXPECT_TRUE(manager.shown.isEmpty());
        StopFileManager(managerBus);
    }
}

TEST_F(DesktopShellTest, OpenFileKeepsLongAndOddPathsWhole)
{
    // Far past the old 260-character limit, with characters a URL must escape.
    QString path = files.path();
    for (int i = 0; i < 12; ++i)
        path += QStringLiteral("/folder %1 #50% & [x]").arg(i);
    path += QStringLiteral("/Quarterly report #3 100%.pdf");
    ASSERT_GT(path.size(), 260);

    DesktopShell shell(QDBusConnection(QStringLiteral("no such bus")));
    shell.OpenFile(path);

    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first().toLocalFile(), path);
}

TEST(ShellServiceTest, FakeStandsInWhileItLives)
{
    ShellService* desktop = &ShellService::Instance();
    {
        RecordingShell fake;
        EXPECT_EQ(&ShellService::Instance(), &fake);
        ShellService::Instance().ShowItemInFolder(QStringLiteral("/out/"), QStringLiteral("/out/A.pdf"));
        ASSERT_EQ(fake.requests.size(), 1);
        EXPECT_EQ(fake.requests.first(),
                  (RecordingShell::Request{QStringLiteral("show item"), QStringLiteral("/out/"),
                                           QStringLiteral("/out/A.pdf")}));
    }
    EXPECT_EQ(&ShellService::Instance(), desktop);
    EXPECT_NE(dynamic_cast<DesktopShell*>(desktop), nullptr);
}

} // namespace

#include "DesktopShellTest.moc"
