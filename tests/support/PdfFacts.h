#pragma once

#include <QMap>
#include <QString>

// What poppler's pdfinfo and qpdf read from a finished PDF.
namespace pdffacts {

struct Info
{
    bool opened = false; // pdfinfo could open it (with the password given)
    int pages = -1;
    QString version; // "1.4"
    QString title;
    QString author;
    QString encrypted; // "no", or "yes (print:yes copy:no ...)"
};
Info ReadInfo(const QString& pdf, const QString& userPassword = {});

// qpdf --show-encryption opened with password: its "name = value" and
// "name: value" lines ("R" -> "3", "print high resolution" -> "allowed",
// "Supplied password is owner password" -> ""). Empty when qpdf failed.
QMap<QString, QString> ReadEncryption(const QString& pdf, const QString& password);

} // namespace pdffacts
