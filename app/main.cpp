// The desktop calculator: sets the application's title and help file, creates
// the main window (whose creation runs the whole start-up) and runs the event
// loop until the window closes.
#include "Main.h"
#include "Platform.h"
#include "Utils.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int Argc, char** Argv) {
    // Answered before Qt starts, so that it needs no display.
    if (Argc == 2 && std::strcmp(Argv[1], "--version") == 0) {
        std::printf("sumtra %s\n", SUMTRA_VERSION);
        return 0;
    }
    QApplication App(Argc, Argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sumtra"));
    // The name of the installed desktop entry, which Wayland compositors match the window to.
    QGuiApplication::setDesktopFileName(QStringLiteral(SUMTRA_APP_ID));
    SetHelpFile(QStringLiteral("Help/Sumtra.htm"));
    TMainForm Form({}, CommandLineText(QCoreApplication::arguments()));
    Form.show();
    return App.exec();
}
