#pragma once

#include <QListWidget>
#include <QStringList>

namespace testtools {

// The texts of a list's entries, top to bottom.
inline QStringList ListEntries(const QListWidget& list)
{
    QStringList entries;
    for (int i = 0; i < list.count(); ++i)
        entries << list.item(i)->text();
    return entries;
}

} // namespace testtools
