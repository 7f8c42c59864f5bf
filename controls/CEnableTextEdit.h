#pragma once

#include <QPlainTextEdit>

// A multi-line edit that shows its text and ignores every typed character
// (and pasting, cutting and deleting with the keyboard): what it shows can
// only be set by the program. The multi-line kin of the status line's
// single-line edit.
class CEnableTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CEnableTextEdit(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};
