#pragma once

#include <QDeadlineTimer>
#include <QFileDialog>
#include <QListView>
#include <QListWidget>
#include <QStringList>
#include <QTest>

namespace testtools {

// The texts of a list's entries, top to bottom.
inline QStringList ListEntries(const QListWidget& list)
{
    QStringList entries;
    for (int i = 0; i < list.count(); ++i)
        entries << list.item(i)->text();
    return entries;
}

// Waits until the file dialog's view lists every one of names: the dialog
// reads its folder in the background after setDirectory, and a name picked
// before that is not found. False when they never showed within the limit.
inline bool WaitUntilListed(QFileDialog& dialog, const QStringList& names, int limitMs = 30000)
{
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (view == nullptr)
        return false;
    const QDeadlineTimer deadline(limitMs);
    for (;;) {
        QStringList shown;
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            shown << view->model()->index(row, 0, root).data().toString();
        bool all = true;
        for (const QString& name : names)
            all = all && shown.contains(name);
        if (all)
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
}

} // namespace testtools
