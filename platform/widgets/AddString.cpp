#include "platform/widgets/AddString.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// The first index whose text sorts after text, or count.
template <class TextAt> int SortedPosition(int count, const QString& text, TextAt textAt)
{
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(textAt(middle), text, Qt::CaseInsensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

} // namespace

int AddString(QComboBox* combo, const QString& text)
{
    int index = combo->count();
    if (combo->property("sorted").toBool())
        index = SortedPosition(combo->count(), text, [combo](int i) { return combo->itemText(i); });
    combo->insertItem(index, text);
    return index;
}

int AddString(QListWidget* list, const QString& text)
{
    int index = list->count();
    if (list->property("sorted").toBool())
        index = SortedPosition(list->count(), text, [list](int i) { return list->item(i)->text(); });
    list->insertItem(index, text);
    return index;
}
