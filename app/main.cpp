#include <QApplication>
#include <QLabel>

// Until the main window is built, Foliant shows the windows that exist so far.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Foliant 3.0"));
    QLabel placeholder(QStringLiteral("Foliant 3.0\n\nThe main window is not built yet."));
    placeholder.setMargin(24);
    placeholder.show();
    return app.exec();
}
