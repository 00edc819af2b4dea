// The text side of menus, portable: which character a caption answers to, which item of an open
// menu a typed character picks, and shortcut keys as text ("Alt+F4").
#pragma once

#include <string>
#include <vector>

// The character a menu caption answers to: the one after its first single "&", or, without one,
// its first character that is not blank (as the system's own menus do). 0 for none.
wchar_t MenuMnemonic(const std::wstring& caption);

struct TMenuCharItem {
    std::wstring Caption; // empty for a separator, which never matches
    bool Enabled = true;
};

// The answer to a typed character in an open menu: the item it picks and whether picking runs it
// (exactly one item answers to c and that one is enabled) or only selects it (the next answering
// item after `current`, wrapping). Index -1 when none answers.
struct TMenuCharMatch {
    int Index = -1;
    bool Execute = false;
};
TMenuCharMatch MatchMenuChar(const std::vector<TMenuCharItem>& items, wchar_t c, int current);

// A shortcut: a virtual-key code in the low byte plus the modifier bits.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+Shift+Alt+" as set, then the key's name ("F4", "A", "Del"...); empty for 0 or a key
// without a name.
std::wstring ShortCutToText(TShortCut shortCut);
