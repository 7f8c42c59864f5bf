#include "cli/ConversionReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>

bool WriteConversionReport(const QString& path, const QList<FileResult>& files, QString* error)
{
    QJsonArray list;
    for (const FileResult& file : files) {
        list.append(QJsonObject{{QStringLiteral("source"), file.source},
                                {QStringLiteral("pdf"), file.pdf},
                                {QStringLiteral("status"), FileResult::StatusName(file.status)},
                                {QStringLiteral("reason"), file.reason},
                                {QStringLiteral("version"), file.pdfVersion},
                                {QStringLiteral("seconds"), std::round(file.seconds * 100) / 100}});
    }
    QSaveFile out(path);
    const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("files"), list}}).toJson();
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    *error = out.errorString();
    return false;
}
