#include "UnfolioRun.h"

#include "ProcessReaper.h"
#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <dlfcn.h>

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

int CallAddinEntry(const QString& library, const char* entry, const QString& dataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    int result = -1;
    if (void* handle = dlopen(library.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL)) {
        if (void* symbol = dlsym(handle, entry))
            result = reinterpret_cast<int (*)()>(symbol)();
        dlclose(handle);
    }
    qputenv("XDG_DATA_HOME", saved);
    return result;
}

QString AddinRecordPath(const QString& dataHome, const QString& application)
{
    return QDir(dataHome).filePath("Foliant/addins/" + application + ".addin");
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

QString ToolFolder::TraceAddins()
{
    const QString trace = m_dir.filePath("trace");
    m_environment.insert("UNFOLIO_ADDIN_TRACE", trace);
    return trace;
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
