// Saves what the X display shows, or one window of it, to a PNG file:
//   grab-screen FILE [WINDOW-ID]
// Used by the end-to-end tests and for the README's picture.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab-screen FILE [WINDOW-ID]\n");
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    const WId window = argc > 2 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "grab-screen: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
