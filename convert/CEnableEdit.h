#pragma once

#include <QLineEdit>

// The status line: an edit whose text only the program sets. No key press,
// paste, cut, drop or input method changes it, whatever the template that
// built it says; its text can still be selected and copied.
class CEnableEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CEnableEdit(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};
