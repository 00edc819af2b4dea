#include "framework/Graphics.h"

COLORREF ColorToRGB(TColor color) {
    if (color & clSystemColor) return GetSysColor(int(color & 0xFF));
    return COLORREF(color & 0xFFFFFF);
}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        name_ = other.name_;
        size_ = other.size_;
        styles_ = other.styles_;
        handle_.Reset();
    }
    return *this;
}

void TFont::SetName(std::wstring name) {
    name_ = std::move(name);
    handle_.Reset();
}

void TFont::SetSize(int size) {
    size_ = size;
    handle_.Reset();
}

void TFont::SetStyle(TFontStyle s, bool on) {
    styles_ = on ? (styles_ | unsigned(s)) : (styles_ & ~unsigned(s));
    handle_.Reset();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = Height();
        lf.lfWeight = Has(TFontStyle::Bold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = Has(TFontStyle::Italic);
        lf.lfUnderline = Has(TFontStyle::Underline);
        // The Cyrillic character set makes the font mapper pick a face that has the letters itself,
        // rather than one that borrows them from another font (whose widths it then mismeasures).
        lf.lfCharSet = RUSSIAN_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return handle_.Get() ? handle_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
