#pragma once

#include <QString>
#include <QUrl>

#include <rtl/ustring.hxx>

// Text between Qt and UNO, and file paths as the URLs LibreOffice loads.
inline rtl::OUString ToOUString(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

inline QString ToQString(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

inline rtl::OUString FileUrl(const QString& path)
{
    return ToOUString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()));
}
