// What the main window keeps between runs: the settings file's "Settings"
// and "Shortcuts" sections as one plain value, and where the state files are.
// A value starts with the window's defaults; Read replaces what the file holds
// (values out of range keep the default) and Write stores all of it. Applying
// the value to the window, and reading it back, is the window's job.
#pragma once
#include "EditAids.h"
#include "ExtIni.h"
#include "ShortCut.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

struct TShortCutSetting {
    QString Name; // the action's name, the key in the file
    TShortCut ShortCut;
};

struct TSettings {
    static constexpr int MinFontSize = 8;
    static constexpr int MaxFontSize = 30;

    QFont Font;
    QColor FontColor;
    QColor BackColor;
    int MemoHeight = 0;
    TRect Bounds; // outer bounds of the normal (not maximised) window
    bool Maximized = false;
    bool OnTop = false;
    bool Titlebar = true;
    bool Statusbar = true;
    bool Menu = true;
    bool SyntaxColors = true;
    bool LiveResults = false;
    TEditOptions EditOptions;
    std::vector<TShortCutSetting> ShortCuts; // in the order of the action list
    bool WriteShortCuts = false;             // the shortcuts are written only once the user has changed one

    // Bounds outside WorkArea are moved (and if need be shrunk) into it.
    void Read(const QString& IniFile, const TRect& WorkArea);
    // Throws on a file that cannot be written.
    void Write(const QString& IniFile) const;
};

// The files the calculator reads at start and writes when it closes.
struct TStateFiles {
    QString Ini;
    QString AutoSave;
    QString SymbolMap;
    QString InitDefs;
};

// Where the shipped files are: beside the executable, or in the shared data
// folder of an installation (bin/../share/sumtra). Each ends with '/'.
QStringList ShippedDirs();
// StateDir is where the settings and the input are written; when empty, the
// folder of the executable is used if it can be written, else the user's
// configuration folder, and the two files that are only read are then also
// looked for in ShippedDirs(). IniName is the settings file's name.
TStateFiles LocateStateFiles(const QString& StateDir, const QString& IniName);
