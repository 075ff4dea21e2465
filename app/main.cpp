// The desktop calculator: sets the application's title and help file, creates
// the main window (whose creation runs the whole start-up) and runs the event
// loop until the window closes.
#include "Main.h"
#include "Platform.h"
#include "Utils.h"

#include <QApplication>

int main(int Argc, char** Argv) {
    QApplication App(Argc, Argv);
    QCoreApplication::setApplicationName(QStringLiteral("Sumtra"));
    QGuiApplication::setDesktopFileName(QStringLiteral("sumtra"));
    SetHelpFile(QStringLiteral("Help/Sumtra.htm"));
    TMainForm Form({}, CommandLineText(QCoreApplication::arguments()));
    Form.show();
    return App.exec();
}
