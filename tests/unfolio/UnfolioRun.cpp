#include "UnfolioRun.h"

#include "ProcessReaper.h"
#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>

namespace unfoliotest {

Run RunProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
               int timeoutMs)
{
    Run run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

QString Built(const QString& name)
{
    return QDir(testtools::ProgramDir()).filePath(name);
}

ToolFolder::ToolFolder() : m_environment(QProcessEnvironment::systemEnvironment())
{
    if (m_dir.isValid())
        QFile::copy(Built("unfolio"), Program());
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "LD_LIBRARY_PATH"})
        m_environment.remove(variable);
    m_environment.insert("QT_QPA_PLATFORM", "offscreen");
    m_environment.insert("XDG_DATA_HOME", DataHome());
    m_environment.insert("CUPS_SERVER", m_dir.filePath("no-cups.sock"));
}

bool ToolFolder::Place(const QString& source, const QString& name) const
{
    const QString target = m_dir.filePath(name);
    QFile::remove(target);
    return QFile::copy(source, target);
}

bool ToolFolder::PlaceBuiltAddins() const
{
    return Place(Built("BrevetWord.dll"), "BrevetWord.dll") &&
           Place(Built("BrevetExcel.dll"), "BrevetExcel.dll");
}

Run ToolFolder::RunTool() const
{
    return RunProgram(Program(), {}, m_environment);
}

std::vector<pid_t> StrangeOfficeProcesses(const std::vector<pid_t>& ours)
{
    unfolio::ProcessReaper reaper;
    reaper.Snapshot();
    std::vector<pid_t> strangers;
    for (pid_t pid : reaper.Matches()) {
        if (std::find(ours.begin(), ours.end(), pid) == ours.end())
            strangers.push_back(pid);
    }
    return strangers;
}

} // namespace unfoliotest
