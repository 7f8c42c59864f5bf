// Saves the X screen, or a rectangle of it, as a PNG: the README's
// screenshots are taken with it (see take-screenshots at its side).
//   g++ -std=c++20 -fPIC tools/screenshots/GrabScreen.cpp -o /tmp/grab-screen \
//       $(pkg-config --cflags --libs Qt6Gui)
//   /tmp/grab-screen out.png [x y w h]

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: %s out.png [x y w h]\n", argv[0]);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                  std::atoi(argv[4]), std::atoi(argv[5]))
                             : screen->grabWindow(0);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
