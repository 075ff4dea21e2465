// The calculator's pictures, drawn at run time so that they stay sharp at any
// size and need no image plug-in: the application icon and the images of the
// actions on the tool bar and in the menus.
#pragma once
#include <QIcon>
#include <QString>

QIcon AppIcon();
// The image of the named action (for instance "EditCopy"); a null icon for an action without one.
QIcon ActionIcon(const QString& ActionName);
