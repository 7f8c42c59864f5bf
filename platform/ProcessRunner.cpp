#include "platform/ProcessRunner.h"

QProcessEnvironment RestrictedEnvironment(const QString& temporaryFolder)
{
    const QProcessEnvironment outer = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"));
    for (const char* name : {"HOME", "LANG", "LC_ALL", "LC_CTYPE", "TMPDIR", "TZ"}) {
        const QString key = QString::fromLatin1(name);
        if (outer.contains(key))
            environment.insert(key, outer.value(key));
    }
    if (!temporaryFolder.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), temporaryFolder);
    return environment;
}
