#include "Settings.h"

#include "Platform.h"
#include "Utils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

void TSettings::Read(const QString& IniFile, const TRect& WorkArea) {
    TIniFileEx Ini(IniFile);
    Ini.SetSection(QStringLiteral("Settings"));
    BackColor = ColorToQColor(Ini.GetColor(QStringLiteral("BackColor"), QColorToColor(BackColor)));
    Ini.RestoreFont(QStringLiteral("Font"), MinFontSize, MaxFontSize, Font, FontColor);
    Bounds = Ini.GetRect(QStringLiteral("Form"), Bounds, WorkArea);
    Maximized = Ini.GetBool(QStringLiteral("Maximized"), Maximized);
    OnTop = Ini.GetBool(QStringLiteral("OnTop"), OnTop);
    Titlebar = Ini.GetBool(QStringLiteral("Titlebar"), Titlebar);
    Statusbar = Ini.GetBool(QStringLiteral("Statusbar"), Statusbar);
    Menu = Ini.GetBool(QStringLiteral("Menu"), Menu);
    SyntaxColors = Ini.GetBool(QStringLiteral("SyntaxColors"), SyntaxColors);
    LiveResults = Ini.GetBool(QStringLiteral("LiveResults"), LiveResults);
    EditOptions.AssignOnColon = Ini.GetBool(QStringLiteral("AssignOnColon"), EditOptions.AssignOnColon);
    EditOptions.EncloseOnBracket =
        Ini.GetBool(QStringLiteral("EncloseOnBracket"), EditOptions.EncloseOnBracket);
    EditOptions.EncloseOnOperator =
        Ini.GetBool(QStringLiteral("EncloseOnOperator"), EditOptions.EncloseOnOperator);
    EditOptions.CompleteNames = Ini.GetBool(QStringLiteral("CompleteNames"), EditOptions.CompleteNames);
    Ini.SetSection(QStringLiteral("Shortcuts"));
    for (TShortCutSetting& S : ShortCuts)
        S.ShortCut = static_cast<TShortCut>(Ini.GetHotkey(S.Name, S.ShortCut));
}

void TSettings::Write(const QString& IniFile) const {
    TIniFileEx Ini(IniFile);
    Ini.SetSection(QStringLiteral("Settings"));
    Ini.SaveFont(QStringLiteral("Font"), Font, FontColor);
    Ini.SetColor(QStringLiteral("BackColor"), QColorToColor(BackColor));
    Ini.SetInt(QStringLiteral("MemoHeight"), MemoHeight);
    Ini.SetBool(QStringLiteral("Maximized"), Maximized);
    Ini.SetRect(QStringLiteral("Form"), Bounds);
    Ini.SetBool(QStringLiteral("OnTop"), OnTop);
    Ini.SetBool(QStringLiteral("Titlebar"), Titlebar);
    Ini.SetBool(QStringLiteral("Statusbar"), Statusbar);
    Ini.SetBool(QStringLiteral("Menu"), Menu);
    Ini.SetBool(QStringLiteral("SyntaxColors"), SyntaxColors);
    Ini.SetBool(QStringLiteral("LiveResults"), LiveResults);
    Ini.SetBool(QStringLiteral("AssignOnColon"), EditOptions.AssignOnColon);
    Ini.SetBool(QStringLiteral("EncloseOnBracket"), EditOptions.EncloseOnBracket);
    Ini.SetBool(QStringLiteral("EncloseOnOperator"), EditOptions.EncloseOnOperator);
    Ini.SetBool(QStringLiteral("CompleteNames"), EditOptions.CompleteNames);
    if (!WriteShortCuts) return;
    Ini.SetSection(QStringLiteral("Shortcuts"));
    for (const TShortCutSetting& S : ShortCuts)
        Ini.SetHotkey(S.Name, S.ShortCut);
}

QStringList ShippedDirs() {
    return {ExeDir(), QDir::cleanPath(ExeDir() + QStringLiteral("../share/sumtra")) + u'/'};
}

namespace {
QString FirstExisting(const QStringList& Dirs, const QString& FileName) {
    for (const QString& Dir : Dirs)
        if (QFileInfo::exists(Dir + FileName)) return Dir + FileName;
    return Dirs.first() + FileName;
}
} // namespace

TStateFiles LocateStateFiles(const QString& StateDir, const QString& IniName) {
    QString Dir = StateDir;
    if (Dir.isEmpty())
        Dir = StateDirFor(ExeDir(), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    else if (!Dir.endsWith(u'/'))
        Dir += u'/';
    QStringList ReadDirs{Dir};
    if (StateDir.isEmpty()) {
        for (const QString& Other : ShippedDirs())
            if (!ReadDirs.contains(Other)) ReadDirs.append(Other);
    }
    return {Dir + IniName, Dir + QStringLiteral("AutoSave.txt"),
            FirstExisting(ReadDirs, QStringLiteral("SymbolMap.txt")),
            FirstExisting(ReadDirs, QStringLiteral("InitDefs.txt"))};
}
