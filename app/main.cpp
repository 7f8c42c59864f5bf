#include "options/CTabCtrlEx.h"
#include "options/OptionTabs.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/widgets/DialogUnits.h"
#include "platform/widgets/QtMessageBoxService.h"

#include <QApplication>
#include <QGroupBox>

// Until the main window is built, Foliant shows the windows that exist so
// far: the option tab control with its three pages, in a plain window sized
// like the "Advanced Options:" group of the conversion page.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Foliant 3.0"));

    QtMessageBoxService boxes;
    MessageBoxDispatcher dispatcher(boxes);
    SetMessageBoxService(&dispatcher);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Foliant 3.0"));
    window.setFont(DialogUnits::DialogFont(u"MS Shell Dlg", 8));
    QPalette white = window.palette();
    white.setColor(QPalette::Window, Qt::white);
    window.setPalette(white);
    window.setAutoFillBackground(true);
    const DialogUnits units(window.font(), &window);
    window.setFixedSize(units.X(414), units.Y(159));

    auto* group = new QGroupBox(QStringLiteral("Advanced Options:"), &window);
    group->setGeometry(units.Map(7, 7, 400, 145));
    OptionTabs options;
    options.SetUp(new CTabCtrlEx(&window), group);
    options.InstallClickFilter(&window);

    window.show();
    const int result = app.exec();
    SetMessageBoxService(nullptr);
    return result;
}
