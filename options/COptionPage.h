#pragma once

#include "platform/widgets/DialogBuilder.h"

#include <QWidget>

// What the three option pages share: built from their dialog template as a
// hidden child window, painted white with their labels over the white, and
// Enter and Escape inside them do nothing, so a page never closes or hides
// itself, nor passes the key on to the window around it.
class COptionPage : public QWidget
{
    Q_OBJECT
public:
    COptionPage(const DialogTemplate& dialogTemplate, QWidget* parent);

    QWidget* GetDlgItem(int id) const { return ::GetDlgItem(this, id); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
