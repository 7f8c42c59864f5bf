#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace unfoliotest {

// A CUPS scheduler of the test's own: its configuration, spool and state in a
// scratch folder, listening only on a socket there. Stopped when destroyed.
class CupsServer
{
public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // Empty on success, else why the server could not be started.
    QString Start();
    QString Socket() const { return m_dir.filePath("cups.sock"); }

    bool AddQueue(const QString& name);
    bool HasQueue(const QString& name);

private:
    int Client(const QString& program, const QStringList& arguments, QByteArray* out = nullptr);
    bool WriteConfiguration();

    QTemporaryDir m_dir;
    QProcess m_scheduler;
    QProcessEnvironment m_environment;
};

} // namespace unfoliotest
