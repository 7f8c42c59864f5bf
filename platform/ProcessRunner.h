#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// Starts an outside program from an argument vector (never through a shell),
// waits for it within a time limit and keeps what it printed. Past the limit,
// or when the caller asks to stop, the program is ended: first asked to
// terminate, then killed.
struct ProcessRequest
{
    QString program; // a path; not looked up on PATH here
    QStringList arguments;
    QProcessEnvironment environment; // exactly this environment
    int timeoutMs = 10 * 60 * 1000;
    std::function<bool()> stopRequested; // polled while waiting; may be empty
};

struct ProcessResult
{
    enum class Status { Finished, FailedToStart, Crashed, TimedOut, Stopped };
    Status status = Status::FailedToStart;
    int exitCode = -1;
    qint64 processId = 0;
    QByteArray standardOutput;
    QByteArray standardError;
    QString startError; // why it could not start, in the system's words

    bool succeeded() const { return status == Status::Finished && exitCode == 0; }
};

class ProcessRunner
{
public:
    virtual ~ProcessRunner() = default;
    virtual ProcessResult Run(const ProcessRequest& request) = 0;

    // The runner the program uses: real processes.
    static ProcessRunner& System();
};

// The environment outside programs such as Ghostscript get: a fixed search
// path and the user's home, language and time settings, nothing else, so
// nothing around the program (GS_OPTIONS, GS_LIB, ...) can change how they run.
// temporaryFolder, when given, becomes TMPDIR: a program that is ended leaves
// its temporary files there, in a folder its caller removes, not in /tmp.
QProcessEnvironment RestrictedEnvironment(const QString& temporaryFolder = {});
