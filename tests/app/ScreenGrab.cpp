// Test helper: saves what an X server shows as a PNG, the whole screen or the
// rectangle given, or an HTML file as a page of the width given would show it.
// Used by the desktop session test under Xvfb for the README's pictures.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTextDocument>

#include <cstdio>

namespace {
int RenderHtml(const QString& Html, const QString& Png, int Width) {
    QFile File(Html);
    if (!File.open(QIODevice::ReadOnly)) return std::fprintf(stderr, "ScreenGrab: cannot read the page\n"), 1;
    QTextDocument Page;
    Page.setHtml(QString::fromUtf8(File.readAll()));
    Page.setTextWidth(Width);
    QImage Image(QSize(Width, static_cast<int>(Page.size().height())), QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    Page.drawContents(&Painter);
    Painter.end();
    return Image.save(Png, "PNG") ? 0 : (std::fprintf(stderr, "ScreenGrab: cannot save the picture\n"), 1);
}
} // namespace

int main(int Argc, char** Argv) {
    QGuiApplication App(Argc, Argv);
    const QStringList Args = QCoreApplication::arguments();
    if (Args.size() == 5 && Args[1] == QStringLiteral("--html")) return RenderHtml(Args[2], Args[3], Args[4].toInt());
    if (Args.size() != 2 && Args.size() != 6) {
        std::fprintf(stderr, "usage: ScreenGrab FILE.png [X Y WIDTH HEIGHT] | ScreenGrab --html PAGE.html FILE.png WIDTH\n");
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
