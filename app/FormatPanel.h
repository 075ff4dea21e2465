// The status bar's format panel: which result format and how many significant
// digits the results are written with, e.g. "Dec · 5 digits". The main window
// puts the text into its panel and opens the format menu on a click.
#pragma once
#include "Parse.Infix.h"

#include <QString>

inline constexpr int FormatPanelWidth = 110;

QString FormatName(TNumberFormat Format); // "Dec", "Bin", ...
QString FormatPanelText(TNumberFormat Format, int Precision);
