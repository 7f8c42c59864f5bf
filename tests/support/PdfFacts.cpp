#include "PdfFacts.h"

#include "TestTools.h"

#include <QStringList>

namespace pdffacts {

Info ReadInfo(const QString& pdf, const QString& userPassword)
{
    QStringList arguments;
    if (!userPassword.isEmpty())
        arguments << QStringLiteral("-upw") << userPassword;
    const testtools::ToolResult r = testtools::RunTool(QStringLiteral("pdfinfo"), arguments << pdf);
    Info info;
    if (r.exitCode != 0)
        return info;
    info.opened = true;
    for (const QString& line : QString::fromUtf8(r.out).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = line.left(colon), value = line.mid(colon + 1).trimmed();
        if (key == u"Pages")
            info.pages = value.toInt();
        else if (key == u"PDF version")
            info.version = value;
        else if (key == u"Title")
            info.title = value;
        else if (key == u"Author")
            info.author = value;
        else if (key == u"Encrypted")
            info.encrypted = value;
    }
    return info;
}

QMap<QString, QString> ReadEncryption(const QString& pdf, const QString& password)
{
    const testtools::ToolResult r =
        testtools::RunTool(QStringLiteral("qpdf"), {QStringLiteral("--password=") + password,
                                                    QStringLiteral("--show-encryption"), pdf});
    QMap<QString, QString> facts;
    if (r.exitCode != 0)
        return facts;
    for (const QString& line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts)) {
        qsizetype at = line.indexOf(QStringLiteral(" = "));
        qsizetype skip = 3;
        if (at < 0) {
            at = line.indexOf(QStringLiteral(": "));
            skip = 2;
        }
        if (at < 0)
            facts.insert(line.trimmed(), QString());
        else
            facts.insert(line.left(at).trimmed(), line.mid(at + skip).trimmed());
    }
    return facts;
}

} // namespace pdffacts
