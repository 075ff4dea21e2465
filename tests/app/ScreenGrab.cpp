// Test helper: saves what an X server shows as a PNG, the whole screen or the
// rectangle given. Used by the desktop session test under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int Argc, char** Argv) {
    QGuiApplication App(Argc, Argv);
    const QStringList Args = QCoreApplication::arguments();
    if (Args.size() != 2 && Args.size() != 6) {
        std::fprintf(stderr, "usage: ScreenGrab FILE.png [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    QScreen* Screen = QGuiApplication::primaryScreen();
    const QPixmap Shot = Args.size() == 6 ? Screen->grabWindow(0, Args[2].toInt(), Args[3].toInt(),
                                                               Args[4].toInt(), Args[5].toInt())
                                          : Screen->grabWindow(0);
    if (Shot.isNull() || !Shot.save(Args[1], "PNG")) {
        std::fprintf(stderr, "ScreenGrab: could not grab or save the screen\n");
        return 1;
    }
    return 0;
}
