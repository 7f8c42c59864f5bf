#include "platform/widgets/QtMessageBoxService.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <utility>
#include <vector>

namespace {

using Button = std::pair<QMessageBox::StandardButton, int>;

std::vector<Button> ButtonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtMessageBoxService::Show(const MessageBoxRequest& request)
{
    auto* ownerWidget = qobject_cast<QWidget*>(request.owner);
    QMessageBox box(ownerWidget ? ownerWidget->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setWindowTitle(request.caption);
    box.setIcon(IconOf(request.type));
    const std::vector<Button> buttons = ButtonsOf(request.type);
    for (const Button& button : buttons)
        box.addButton(button.first);
    box.setDefaultButton(buttons.front().first); // the first button is the default one
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const Button& button : buttons)
        if (button.first == clicked)
            return button.second;
    return DismissAnswer(request.type);
}
