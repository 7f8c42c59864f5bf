#include "convert/CEnableEdit.h"

#include <QEvent>

CEnableEdit::CEnableEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
}

void CEnableEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // A builder applying a template's edit styles makes it writable again:
    // it stays closed to the user all the same.
    if (event->type() == QEvent::ReadOnlyChange && !isReadOnly())
        setReadOnly(true);
}
