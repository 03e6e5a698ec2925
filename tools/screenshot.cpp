// Saves a picture of the screen of $DISPLAY, or of a part of it:
// screenshot FILE.png [X Y WIDTH HEIGHT]
// Used to look at the program under Xvfb and to make docs/screenshot.png.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fputs("usage: screenshot FILE.png [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    int area[4] = {0, 0, -1, -1};
    for (int i = 2; i < argc; ++i) {
        area[i - 2] = std::atoi(argv[i]);
    }
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, area[0], area[1], area[2], area[3]);
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
