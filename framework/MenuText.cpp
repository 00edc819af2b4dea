#include "framework/MenuText.h"

#include "framework/SysUtils.h"

wchar_t MenuMnemonic(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;
    }
    for (wchar_t c : caption) {
        if (c == L'\t') break;
        if (c != L' ' && c != L'&') return c;
    }
    return 0;
}

TMenuCharMatch MatchMenuChar(const std::vector<TMenuCharItem>& items, wchar_t c, int current) {
    TMenuCharMatch m;
    const int n = int(items.size());
    if (n == 0 || c == 0) return m;
    const wchar_t key = UpperChar(c);
    int count = 0, first = -1;
    for (int k = 1; k <= n; ++k) {
        const int i = ((current < 0 ? -1 : current) + k) % n;
        const TMenuCharItem& item = items[size_t(i)];
        if (item.Caption.empty() || UpperChar(MenuMnemonic(item.Caption)) != key) continue;
        if (first < 0) first = i;
        ++count;
    }
    m.Index = first;
    m.Execute = count == 1 && items[size_t(first)].Enabled;
    return m;
}

std::wstring ShortCutToText(TShortCut shortCut) {
    const unsigned key = shortCut & 0xFF;
    std::wstring name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        name = std::wstring(1, wchar_t(key));
    else if (key >= 0x70 && key <= 0x87) // F1..F24
        name = L"F" + std::to_wstring(key - 0x70 + 1);
    else if (key >= 0x60 && key <= 0x69) // the number pad's digits
        name = L"Num " + std::to_wstring(key - 0x60);
    else {
        static const struct {
            unsigned key;
            const wchar_t* name;
        } names[] = {{0x08, L"BkSp"}, {0x09, L"Tab"},   {0x0D, L"Enter"}, {0x1B, L"Esc"},  {0x20, L"Space"},
                     {0x21, L"PgUp"}, {0x22, L"PgDn"},  {0x23, L"End"},   {0x24, L"Home"}, {0x25, L"Left"},
                     {0x26, L"Up"},   {0x27, L"Right"}, {0x28, L"Down"},  {0x2D, L"Ins"},  {0x2E, L"Del"}};
        for (const auto& n : names)
            if (n.key == key) name = n.name;
    }
    if (name.empty()) return name;
    std::wstring text;
    if (shortCut & scCtrl) text += L"Ctrl+";
    if (shortCut & scShift) text += L"Shift+";
    if (shortCut & scAlt) text += L"Alt+";
    return text + name;
}
