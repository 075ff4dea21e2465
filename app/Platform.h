// The few things the shell asks of the operating system, one small helper each,
// so that a port touches only this unit: the command-line text, the work area
// of the screen, the title-bar and stay-on-top switches of a window, and the
// folder where the calculator may keep its files.
#pragma once
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The text after the first space of the raw command line, or nothing when the
// program got no argument. Linux keeps no raw command line, so there the text
// is the arguments after the program joined by single spaces.
std::optional<QString> CommandLineText(const QStringList& Arguments);
// The primary screen less the task bar and other docked bars.
QRect WorkArea();

bool CaptionVisible(const QWidget& Window);
// Shows or hides the title bar; position and size of the client area stay.
void SetCaptionVisible(QWidget& Window, bool Visible);
bool TopMost(const QWidget& Window);
void SetTopMost(QWidget& Window, bool Value);

// True when a file can be created in Dir.
bool IsWritableDir(const QString& Dir);
// Where settings and the auto-saved input live: ExeDir when it can be written,
// else ConfigDir (created if need be). Both end with '/'.
QString StateDirFor(const QString& ExeDir, const QString& ConfigDir);
