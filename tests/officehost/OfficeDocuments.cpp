#include "OfficeDocuments.h"

#include "TestTools.h"

#include <QDir>
#include <QTemporaryDir>

namespace officedocuments {

QString Password()
{
    return QStringLiteral("Passw0rd");
}

QString Folder(QString* why)
{
    static QTemporaryDir folder;
    static bool made = false;
    static QString failure;
    if (!made) {
        made = true;
        const QString script = QStringLiteral(FOLIANT_TEST_SOURCE_DIR "/make_documents.py");
        const testtools::ToolResult r = testtools::RunTool(QStringLiteral("/usr/bin/python3"),
                                                           {script, folder.path(), Password()}, 300000);
        if (r.exitCode != 0)
            failure = QStringLiteral("make_documents.py failed: ") + QString::fromLocal8Bit(r.err);
    }
    if (why)
        *why = failure;
    return failure.isEmpty() ? folder.path() : QString();
}

QString PostScriptText(const QString& path)
{
    const testtools::ToolResult r = testtools::RunTool(
        QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                               QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=txtwrite"),
                               QStringLiteral("-sOutputFile=-"), path});
    return r.exitCode == 0 ? QString::fromUtf8(r.out) : QString();
}

} // namespace officedocuments
