#pragma once

#include <QListWidget>
#include <QString>

// LB_ADDSTRING of a sorted list box: the text goes where a binary search of
// the entries finds its place, comparing alphabetically and ignoring case in
// the user's collation. Like the Windows list box it trusts the entries to be
// sorted: entries inserted at a position (LB_INSERTSTRING) stay where they
// are. Returns the new entry's index.
int ListBoxAddString(QListWidget& list, const QString& text);
