// The font of the two text boxes as the user chose it and as it is drawn. The
// settings keep the chosen family even where it is not installed (a settings
// file from another desktop names "Courier New"); the boxes then draw with the
// system's fixed-pitch font. The font dialog opens on the drawn font, so that
// it finds the family in its list.
#pragma once
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Family when it is installed, else the installed family of the system's
// fixed-pitch font.
QString DrawnFamily(const QString& Family);

// Runs the font dialog on Current (a drawn font). Apply is called with the
// dialog's font when its Apply button is pressed. Returns the font chosen
// with OK, or nothing when the dialog is cancelled.
std::optional<QFont> ChooseFont(const QFont& Current, QWidget* Owner,
                                const std::function<void(const QFont&)>& Apply);
