#include "controls/ListBoxAddString.h"

#include <QCollator>

int ListBoxAddString(QListWidget& list, const QString& text)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    int low = 0;
    int high = list.count();
    while (low != high) {
        const int middle = (low + high) / 2;
        const int order = collator.compare(list.item(middle)->text(), text);
        if (order == 0) {
            high = middle;
            break;
        }
        if (order > 0)
            high = middle;
        else
            low = middle + 1;
    }
    list.insertItem(high, text);
    return high;
}
