// Menu text: the characters that pick an item of an open menu and shortcut keys as text.
#include "framework/MenuText.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuText, TypedCharactersPickItems) {
    EXPECT_EQ(MenuMnemonic(L"&File"), L'F');
    EXPECT_EQ(MenuMnemonic(L"Save &as"), L'a');
    EXPECT_EQ(MenuMnemonic(L"Fish && &Chips"), L'C');
    EXPECT_EQ(MenuMnemonic(L" Restore "), L'R');
    EXPECT_EQ(MenuMnemonic(L"Выход"), L'В');
    EXPECT_EQ(MenuMnemonic(L""), 0);
    EXPECT_EQ(MenuMnemonic(L"-"), L'-');
    EXPECT_EQ(UpperChar(L'q'), L'Q');
    EXPECT_EQ(UpperChar(L'ф'), L'Ф');
    EXPECT_EQ(UpperChar(L'ё'), L'Ё');
    EXPECT_EQ(UpperChar(L'é'), L'É');
    EXPECT_EQ(UpperChar(L'7'), L'7');

    const std::vector<TMenuCharItem> items = {
        {L"&Open", true},       {L"", true},          {L"Оформление...", true}, {L"O&ptions", true}, {L"Orbit", false},
        {L"Exit\tAlt+X", true}, {L"Настройки", true}, {L"Off", true},
    };
    const struct {
        wchar_t c;
        int current, index;
        bool execute;
    } cases[] = {
        {L'e', -1, 5, true},                         // the first letter of a caption without "&"
        {L'X', -1, -1, false},                       // the shortcut is not a mnemonic
        {L'p', -1, 3, true},                         // "&" wins over the first letter
        {L'о', -1, 2, true},                         // Cyrillic, either case
        {L'н', -1, 6, true},   {L'o', -1, 0, false}, // three answer: select the first...
        {L'o', 0, 4, false},                         // ... then the next (disabled items are selected too)...
        {L'o', 4, 7, false},   {L'o', 7, 0, false},  // ... wrapping round
        {L'z', 2, -1, false},  {0, -1, -1, false},
    };
    for (const auto& c : cases) {
        const TMenuCharMatch m = MatchMenuChar(items, c.c, c.current);
        EXPECT_EQ(m.Index, c.index) << int(c.c) << " from " << c.current;
        EXPECT_EQ(m.Execute, c.execute) << int(c.c) << " from " << c.current;
    }
    EXPECT_FALSE(MatchMenuChar({{L"Gone", false}}, L'g', -1).Execute); // alone but disabled: selected
    EXPECT_EQ(MatchMenuChar({{L"Gone", false}}, L'g', -1).Index, 0);
    EXPECT_EQ(MatchMenuChar({}, L'g', -1).Index, -1);
}

TEST(MenuText, ShortCutsAsText) {
    const struct {
        TShortCut s;
        const wchar_t* text;
    } cases[] = {
        {scAlt | 0x73, L"Alt+F4"},
        {scShift | 0x73, L"Shift+F4"},
        {scCtrl | 'S', L"Ctrl+S"},
        {scCtrl | scShift | scAlt | 0x2E, L"Ctrl+Shift+Alt+Del"},
        {0x87, L"F24"},
        {0x65, L"Num 5"},
        {'7', L"7"},
        {0, L""},
        {scAlt | 0x5B, L""}, // a key without a name gives no text
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortCutToText(c.s), c.text) << c.s;
}

} // namespace
