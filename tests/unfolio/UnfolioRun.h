#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>
#include <vector>

namespace unfoliotest {

struct Run
{
    int exitCode = -1; // -1: could not start, crashed or timed out
    QByteArray out;
    QByteArray err;
};

// Runs a program with the given environment and no standard input.
Run RunProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
               int timeoutMs = 60000);

// A scratch folder holding a copy of the tool, with whichever add-in
// libraries a test puts beside it, and the environment to run it in: no
// display, a user data folder inside the scratch folder, and a CUPS server
// address where no server listens unless the test starts one.
class ToolFolder
{
public:
    ToolFolder();
    bool IsValid() const { return m_dir.isValid() && QFile::exists(Program()); }
    QString Path() const { return m_dir.path(); }
    QString Program() const { return m_dir.filePath("unfolio"); }
    QString DataHome() const { return m_dir.filePath("data"); }

    // Copies a library of the build (or any file) beside the tool, under a name.
    bool Place(const QString& source, const QString& name) const;
    bool PlaceBuiltAddins() const;

    // Has the stand-in add-ins note their loading, unloading and
    // unregistration in a file of the folder; returns its path.
    QString TraceAddins();

    QProcessEnvironment& Environment() { return m_environment; }
    Run RunTool() const;

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
};

// The processes named like Word or Excel that are not in `ours`. The tests
// that run the tool are skipped when there is one, so as never to end it.
std::vector<pid_t> StrangeOfficeProcesses(const std::vector<pid_t>& ours = {});

// The path of a built library or program in the program folder.
QString Built(const QString& name);

// Loads an add-in library and calls one of its entry points with the user's
// data folder set to `dataHome`; -1 when there is no such entry point.
int CallAddinEntry(const QString& library, const char* entry, const QString& dataHome);

// Where the add-in of an application keeps its record under `dataHome`.
QString AddinRecordPath(const QString& dataHome, const QString& application);

} // namespace unfoliotest
