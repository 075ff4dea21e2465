// Shortcut codes as the settings file stores them: the virtual-key code of the
// key in bits 0-7, plus scShift, scCtrl and scAlt; 0 is no shortcut. The codes
// are the same on every platform, so a settings file moves between builds.
#pragma once
#include <QKeyCombination>
#include <QKeySequence>
#include <QList>

using TShortCut = int;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// Virtual-key codes of the keys the calculator binds by default; letters and
// digits are their upper-case ASCII codes.
inline constexpr TShortCut vkReturn = 13;
inline constexpr TShortCut vkEscape = 27;
inline constexpr TShortCut vkUp = 38;
inline constexpr TShortCut vkDown = 40;
inline constexpr TShortCut vkF1 = 112;

// The key sequences that press the shortcut. The first is the one shown, as
// menus show an action's first key. Enter gives three: first Qt's Enter key,
// whose name is "Enter" where the main key's is "Return", then the main and the
// keypad key, which are the ones keyboards send. Empty for 0 and for a key Qt
// has no name for.
QList<QKeySequence> ShortCutToKeys(TShortCut Code);
// The code of a key with its modifiers, or 0 when the key has no code.
TShortCut KeyToShortCut(QKeyCombination Key);
// A readable form such as "Ctrl+Up" or "Alt+Enter", empty for 0.
QString ShortCutToText(TShortCut Code);
