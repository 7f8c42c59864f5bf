#include "app/CFoliantApp.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/WarmGhostscriptConnection.h"
#include "platform/WarmOfficeConnection.h"
#include "platform/widgets/QtMessageBoxService.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Foliant 3.0"));

    // Boxes from every thread are shown by this one.
    QtMessageBoxService boxes;
    MessageBoxDispatcher dispatcher(boxes);
    SetMessageBoxService(&dispatcher);

    CFoliantApp theApp;
    theApp.InitInstance();

    WarmOfficeConnection::Instance().End();
    WarmGhostscriptConnection::Instance().End();
    SetMessageBoxService(nullptr);
    return 0;
}
