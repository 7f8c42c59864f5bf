#include "platform/QtProcessRunner.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

constexpr int kPollMs = 100;
constexpr int kTerminateGraceMs = 3000;

void EndProcess(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(kTerminateGraceMs)) {
        process.kill();
        process.waitForFinished(-1);
    }
}

} // namespace

ProcessRunner& ProcessRunner::System()
{
    static QtProcessRunner runner;
    return runner;
}

ProcessResult QtProcessRunner::Run(const ProcessRequest& request)
{
    ProcessResult result;
    QProcess process;
    process.setProgram(request.program);
    process.setArguments(request.arguments);
    process.setProcessEnvironment(request.environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1)) {
        result.status = ProcessResult::Status::FailedToStart;
        result.startError = process.errorString();
        return result;
    }
    result.processId = process.processId();

    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    while (!finished) {
        finished = process.waitForFinished(kPollMs) || process.state() == QProcess::NotRunning;
        // Keep the pipes drained so a talkative program never blocks on them.
        result.standardOutput += process.readAllStandardOutput();
        result.standardError += process.readAllStandardError();
        if (finished)
            break;
        if (request.stopRequested && request.stopRequested()) {
            EndProcess(process);
            result.status = ProcessResult::Status::Stopped;
            return result;
        }
        if (clock.elapsed() > request.timeoutMs) {
            EndProcess(process);
            result.status = ProcessResult::Status::TimedOut;
            return result;
        }
    }
    result.standardOutput += process.readAllStandardOutput();
    result.standardError += process.readAllStandardError();
    result.status = process.exitStatus() == QProcess::NormalExit ? ProcessResult::Status::Finished
                                                                 : ProcessResult::Status::Crashed;
    result.exitCode = process.exitCode();
    return result;
}
