#include "controls/CEnableTextEdit.h"

#include <QKeyEvent>

CEnableTextEdit::CEnableTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    // No caret and no editing, whatever a template's edit styles say.
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    // Nothing reaches the text from outside: no drops, no edit menu.
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setUndoRedoEnabled(false);
}

void CEnableTextEdit::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange && !isReadOnly()) {
        setReadOnly(true);
        setTextInteractionFlags(Qt::NoTextInteraction);
    }
}

void CEnableTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool changesText =
        !event->text().isEmpty() || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
        event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::DeleteStartOfWord) || event->matches(QKeySequence::DeleteEndOfWord) ||
        event->matches(QKeySequence::DeleteEndOfLine) || event->matches(QKeySequence::DeleteCompleteLine) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
    if (changesText) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CEnableTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
}
