#include "ShortCut.h"

namespace {
struct TKeyCode {
    int VirtualKey;
    Qt::Key Key;
    bool Keypad;
};

// Keys other than letters, digits and function keys. A virtual key may occur in
// several rows; the first one is the key it is shown and bound as.
constexpr TKeyCode KeyCodes[] = {
    {8, Qt::Key_Backspace, false},      {9, Qt::Key_Tab, false},          {9, Qt::Key_Backtab, false},
    {13, Qt::Key_Return, false},        {13, Qt::Key_Enter, true},        {13, Qt::Key_Enter, false},
    {19, Qt::Key_Pause, false},         {27, Qt::Key_Escape, false},      {32, Qt::Key_Space, false},
    {33, Qt::Key_PageUp, false},        {34, Qt::Key_PageDown, false},    {35, Qt::Key_End, false},
    {36, Qt::Key_Home, false},          {37, Qt::Key_Left, false},        {38, Qt::Key_Up, false},
    {39, Qt::Key_Right, false},         {40, Qt::Key_Down, false},        {44, Qt::Key_Print, false},
    {45, Qt::Key_Insert, false},        {46, Qt::Key_Delete, false},      {106, Qt::Key_Asterisk, true},
    {107, Qt::Key_Plus, true},          {109, Qt::Key_Minus, true},       {110, Qt::Key_Period, true},
    {111, Qt::Key_Slash, true},         {144, Qt::Key_NumLock, false},    {145, Qt::Key_ScrollLock, false},
    {186, Qt::Key_Semicolon, false},    {186, Qt::Key_Colon, false},      {187, Qt::Key_Equal, false},
    {187, Qt::Key_Plus, false},         {188, Qt::Key_Comma, false},      {188, Qt::Key_Less, false},
    {189, Qt::Key_Minus, false},        {189, Qt::Key_Underscore, false}, {190, Qt::Key_Period, false},
    {190, Qt::Key_Greater, false},      {191, Qt::Key_Slash, false},      {191, Qt::Key_Question, false},
    {192, Qt::Key_QuoteLeft, false},    {192, Qt::Key_AsciiTilde, false}, {219, Qt::Key_BracketLeft, false},
    {219, Qt::Key_BraceLeft, false},    {220, Qt::Key_Backslash, false},  {220, Qt::Key_Bar, false},
    {221, Qt::Key_BracketRight, false}, {221, Qt::Key_BraceRight, false}, {222, Qt::Key_Apostrophe, false},
    {222, Qt::Key_QuoteDbl, false},
};

// Shifted digits on a US keyboard arrive as their symbols.
constexpr Qt::Key ShiftedDigits[] = {
    Qt::Key_ParenRight, Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
    Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,   Qt::Key_ParenLeft};

Qt::KeyboardModifiers Modifiers(TShortCut Code) {
    Qt::KeyboardModifiers M;
    if (Code & scShift) M |= Qt::ShiftModifier;
    if (Code & scCtrl) M |= Qt::ControlModifier;
    if (Code & scAlt) M |= Qt::AltModifier;
    return M;
}

int VirtualKeyOf(Qt::Key Key, bool Keypad) {
    if (Keypad && Key >= Qt::Key_0 && Key <= Qt::Key_9) return 96 + (Key - Qt::Key_0);
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return Key;
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Key;
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return 112 + (Key - Qt::Key_F1);
    for (int D = 0; D < 10; ++D)
        if (ShiftedDigits[D] == Key) return '0' + D;
    for (const TKeyCode& K : KeyCodes)
        if (K.Key == Key && K.Keypad == Keypad) return K.VirtualKey;
    for (const TKeyCode& K : KeyCodes)
        if (K.Key == Key) return K.VirtualKey;
    return 0;
}
} // namespace

QList<QKeySequence> ShortCutToKeys(TShortCut Code) {
    const int Vk = Code & 0xFF;
    const Qt::KeyboardModifiers M = Modifiers(Code);
    QList<QKeySequence> Keys;
    auto Add = [&](Qt::Key Key, bool Keypad) {
        Keys.append(QKeySequence(QKeyCombination(M | (Keypad ? Qt::KeypadModifier : Qt::NoModifier), Key)));
    };
    if ((Vk >= 'A' && Vk <= 'Z') || (Vk >= '0' && Vk <= '9'))
        Add(static_cast<Qt::Key>(Vk), false);
    else if (Vk >= 96 && Vk <= 105)
        Add(static_cast<Qt::Key>(Qt::Key_0 + Vk - 96), true);
    else if (Vk >= 112 && Vk <= 135)
        Add(static_cast<Qt::Key>(Qt::Key_F1 + Vk - 112), false);
    else if (Vk == vkReturn) {
        Add(Qt::Key_Enter, false);
        Add(Qt::Key_Return, false);
        Add(Qt::Key_Enter, true);
    } else {
        for (const TKeyCode& K : KeyCodes)
            if (K.VirtualKey == Vk) {
                Add(K.Key, K.Keypad);
                break;
            }
    }
    return Keys;
}

TShortCut KeyToShortCut(QKeyCombination Key) {
    const int Vk = VirtualKeyOf(Key.key(), Key.keyboardModifiers().testFlag(Qt::KeypadModifier));
    if (Vk == 0) return 0;
    const Qt::KeyboardModifiers M = Key.keyboardModifiers();
    TShortCut Code = Vk;
    if (M & Qt::ShiftModifier) Code |= scShift;
    if (M & Qt::ControlModifier) Code |= scCtrl;
    if (M & Qt::AltModifier) Code |= scAlt;
    return Code;
}

QString ShortCutToText(TShortCut Code) {
    const QList<QKeySequence> Keys = ShortCutToKeys(Code);
    return Keys.isEmpty() ? QString() : Keys.first().toString(QKeySequence::NativeText);
}
