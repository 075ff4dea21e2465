#include "Platform.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryFile>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

std::optional<QString> CommandLineText(const QStringList& Arguments) {
    if (Arguments.size() < 2) return std::nullopt;
#ifdef Q_OS_WIN
    const QString Raw = QString::fromWCharArray(GetCommandLineW());
    const qsizetype Space = Raw.indexOf(u' ');
    return Space < 0 ? QString() : Raw.mid(Space + 1);
#else
    return Arguments.mid(1).join(u' ');
#endif
}

QRect WorkArea() {
    const QScreen* Screen = QGuiApplication::primaryScreen();
    return Screen ? Screen->availableGeometry() : QRect();
}

bool CaptionVisible(const QWidget& Window) {
    const Qt::WindowFlags F = Window.windowFlags();
    if (F.testFlag(Qt::FramelessWindowHint)) return false;
    return !F.testFlag(Qt::CustomizeWindowHint) || F.testFlag(Qt::WindowTitleHint);
}

namespace {
// Changing window flags recreates the native window and hides it; put it back
// where it was.
void ChangeFlags(QWidget& Window, Qt::WindowFlags Flags) {
    const bool Shown = Window.isVisible();
    const bool Active = Window.isActiveWindow();
    const QRect Client = Window.geometry();
    const Qt::WindowStates States = Window.windowState();
    Window.setWindowFlags(Flags);
    Window.setGeometry(Client);
    Window.setWindowState(States);
    if (Shown) Window.show();
    if (Active) Window.activateWindow(); // hiding it gave the focus away
}
} // namespace

void SetCaptionVisible(QWidget& Window, bool Visible) {
    if (CaptionVisible(Window) == Visible || Window.windowFlags().testFlag(Qt::FramelessWindowHint)) return;
    Qt::WindowFlags F = Window.windowFlags();
    if (Visible) {
        F &= ~Qt::CustomizeWindowHint;
        F |= Qt::WindowTitleHint;
    } else {
        // A customised window without a title keeps its border and sizing frame.
        F |= Qt::CustomizeWindowHint;
        F &= ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
               Qt::WindowCloseButtonHint);
    }
    ChangeFlags(Window, F);
}

bool TopMost(const QWidget& Window) {
    return Window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void SetTopMost(QWidget& Window, bool Value) {
    if (TopMost(Window) == Value) return;
    ChangeFlags(Window, Window.windowFlags() ^ Qt::WindowStaysOnTopHint);
}

bool IsWritableDir(const QString& Dir) {
    if (!QFileInfo(Dir).isDir()) return false;
    QTemporaryFile Probe(QDir(Dir).filePath(QStringLiteral(".sumtra-probe-XXXXXX")));
    return Probe.open();
}

QString StateDirFor(const QString& ExeDir, const QString& ConfigDir) {
    if (IsWritableDir(ExeDir)) return ExeDir;
    QDir().mkpath(ConfigDir);
    return ConfigDir.endsWith(u'/') ? ConfigDir : ConfigDir + u'/';
}
