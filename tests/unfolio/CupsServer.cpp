#include "CupsServer.h"

#include "TestTools.h"
#include "UnfolioRun.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace unfoliotest {

CupsServer::~CupsServer()
{
    if (m_scheduler.state() == QProcess::NotRunning)
        return;
    m_scheduler.terminate();
    if (!m_scheduler.waitForFinished(10000)) {
        m_scheduler.kill();
        m_scheduler.waitForFinished();
    }
}

bool CupsServer::WriteConfiguration()
{
    const QDir root(m_dir.path());
    for (const char* folder : {"cache", "state", "spool", "tmp", "log"}) {
        if (!root.mkpath(folder))
            return false;
    }
    const QString files = QStringLiteral("ServerRoot %1\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/tmp\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "AccessLog %1/log/access_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "FileDevice Yes\n")
                              .arg(m_dir.path());
    // Deleting a queue needs a member of the system group, as on a real system.
    const QString scheduler = QStringLiteral("Listen %1\n"
                                             "Browsing No\n"
                                             "WebInterface No\n"
                                             "LogLevel warn\n"
                                             "DefaultAuthType Basic\n"
                                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                             "<Policy default>\n"
                                             "  JobPrivateAccess default\n  JobPrivateValues default\n"
                                             "  SubscriptionPrivateAccess default\n"
                                             "  SubscriptionPrivateValues default\n"
                                             "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer>\n"
                                             "    AuthType Default\n    Require user @SYSTEM\n"
                                             "    Order deny,allow\n  </Limit>\n"
                                             "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                             "</Policy>\n")
                                  .arg(Socket());
    return testtools::WriteFile(root.filePath("cups-files.conf"), files.toUtf8()) &&
           testtools::WriteFile(root.filePath("cupsd.conf"), scheduler.toUtf8());
}

QString CupsServer::Start()
{
    const QString cupsd = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/sbin"});
    if (cupsd.isEmpty())
        return "cupsd is not installed";
    if (geteuid() != 0)
        return "a private cupsd needs root here";
    if (!m_dir.isValid() || !WriteConfiguration())
        return "cannot write the scheduler's configuration";

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("CUPS_SERVER", Socket());
    m_scheduler.setProcessEnvironment(m_environment);
    m_scheduler.setProcessChannelMode(QProcess::ForwardedChannels);
    m_scheduler.start(cupsd,
                      {"-f", "-c", m_dir.filePath("cupsd.conf"), "-s", m_dir.filePath("cups-files.conf")});
    if (!m_scheduler.waitForStarted(10000))
        return "cupsd did not start";
    for (int attempt = 0; attempt < 150; ++attempt) {
        QByteArray out;
        if (Client("lpstat", {"-r"}, &out) == 0 && out.contains("scheduler is running"))
            return {};
        if (m_scheduler.state() == QProcess::NotRunning)
            break;
        QThread::msleep(100);
    }
    return "cupsd did not answer: " + QString::fromUtf8(testtools::ReadFile(m_dir.filePath("log/error_log")));
}

bool CupsServer::AddQueue(const QString& name)
{
    return Client("lpadmin", {"-p", name, "-E", "-v", "file:/dev/null"}) == 0 && HasQueue(name);
}

bool CupsServer::HasQueue(const QString& name)
{
    QByteArray out;
    return Client("lpstat", {"-p", name}, &out) == 0 && out.startsWith("printer " + name.toUtf8() + " ");
}

int CupsServer::Client(const QString& program, const QStringList& arguments, QByteArray* out)
{
    const Run run = RunProgram(program, arguments, m_environment, 30000);
    if (out != nullptr)
        *out = run.out;
    return run.exitCode;
}

} // namespace unfoliotest
