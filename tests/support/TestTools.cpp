#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

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

std::pair<QString, qint64> FirstPdfImage(const QString& pdf)
{
    const ToolResult result = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    const QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (result.exitCode != 0 || lines.size() < 3)
        return {};
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList columns = lines[2].simplified().split(QLatin1Char(' '));
    const QString size = columns.value(14);
    const qint64 unit = size.endsWith(QLatin1Char('K'))   ? 1024
                        : size.endsWith(QLatin1Char('M')) ? 1048576
                                                          : 1;
    return {columns.value(8), static_cast<qint64>(size.chopped(1).toDouble() * unit)};
}

QStringList PdfWords(const QString& pdf)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out)
        .split(blanks, Qt::SkipEmptyParts);
}

QString ProgramDir()
{
    return qEnvironmentVariable("FOLIANT_PROGRAM_DIR");
}

QString UsePrivateFolders()
{
    static QTemporaryDir cache, runtime;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    return runtime.path();
}

void UsePrivateHome()
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/foliant-test-home-XXXXXX"));
    if (!home.isValid())
        qFatal("no private home folder for the tests");
    const QList<std::pair<const char*, QString>> folders = {{"HOME", QStringLiteral("home")},
                                                            {"XDG_CONFIG_HOME", QStringLiteral("config")},
                                                            {"XDG_DATA_HOME", QStringLiteral("data")},
                                                            {"XDG_STATE_HOME", QStringLiteral("state")},
                                                            {"XDG_CACHE_HOME", QStringLiteral("cache")},
                                                            {"XDG_RUNTIME_DIR", QStringLiteral("runtime")}};
    for (const auto& [variable, name] : folders) {
        const QString path = home.filePath(name);
        // The runtime folder must be private to its user (Qt checks).
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qFatal("cannot make %s", qPrintable(path));
        qputenv(variable, QFile::encodeName(path));
    }
}

} // namespace testtools
