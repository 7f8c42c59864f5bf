#include "TestTools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace testtools {

ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs,
                   const QByteArray& input)
{
    ToolResult result;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool HaveTool(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString ProgramDir()
{
    return qEnvironmentVariable("FOLIANT_PROGRAM_DIR");
}

} // namespace testtools
