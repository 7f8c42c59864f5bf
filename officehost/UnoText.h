#pragma once

#include <QString>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <rtl/ustring.hxx>

// Text between Qt and UNO, file paths as the URLs LibreOffice loads, and the
// named values of its load and store calls.
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

inline css::beans::PropertyValue Property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}
