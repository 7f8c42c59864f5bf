#include "options/COptionPage.h"

#include <QKeyEvent>

COptionPage::COptionPage(const DialogTemplate& dialogTemplate, QWidget* parent) : QWidget(parent)
{
    setVisible(false); // the page templates lack the visible style
    DialogBuilder::Build(dialogTemplate, this);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

void COptionPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // the empty IDOK and IDCANCEL handlers
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
