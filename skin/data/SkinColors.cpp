#include "skin/data/SkinColors.h"

#include <cstdint>

TShemeColors DefaultShemeColors() {
    TShemeColors c{};
    c[csText] = clWindowText;
    c[csTitleTextActive] = clCaptionText;
    c[csTitleTextNoActive] = clInactiveCaptionText;
    c[csButtonFace] = clBtnFace;
    c[csButtonText] = clBtnText;
    c[csButtonHilight] = clBtnHighlight;
    c[csButtonlight] = clBtnHighlight;
    c[csButtonShadow] = clBtnShadow;
    c[csButtonDkshadow] = cl3DDkShadow;
    c[csSelectText] = clHighlightText;
    c[csSelectBg] = clHighlight;
    c[csHilightText] = clHighlightText;
    c[csHilight] = clHighlight;
    c[csMenuBar] = clBtnFace;
    c[csMenuBarText] = clMenuText;
    c[csMenuText] = clMenuText;
    c[csMenubg] = clMenu;
    c[csScrollbar] = clScrollBar;
    c[csTextDisable] = clGrayText;
    return c;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a run of decimal digits, or 0 when it does not fit a 32-bit integer.
std::uint32_t RunValue(const std::string& text, size_t begin, size_t end) {
    std::uint64_t v = 0;
    for (size_t i = begin; i < end; ++i) {
        v = v * 10 + std::uint64_t(text[i] - '0');
        if (v > 0x7FFFFFFF) return 0;
    }
    return std::uint32_t(v);
}

} // namespace

TColor strcolor(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && std::uint8_t(text[first]) <= ' ')
        ++first;
    while (last > first && std::uint8_t(text[last - 1]) <= ' ')
        --last;

    std::uint32_t numbers[3] = {0, 0, 0};
    int stored = 0;
    size_t run = first; // start of the current run of digits
    for (size_t i = first; i < last; ++i) {
        if (IsDigit(text[i])) continue;
        if (i > run && stored < 3) numbers[stored++] = RunValue(text, run, i);
        run = i + 1;
    }
    if (stored == 2) numbers[2] = RunValue(text, run, last);
    return RGBToColor(std::uint8_t(numbers[0]), std::uint8_t(numbers[1]), std::uint8_t(numbers[2]));
}

TColor GetColor(const std::string& text, TColor def) {
    return text.empty() ? def : strcolor(text);
}
