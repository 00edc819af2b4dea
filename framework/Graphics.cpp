#include "framework/Graphics.h"

#include <algorithm>

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

void TFont::SetPixelsPerInch(int dpi) {
    if (dpi < 1) dpi = 96;
    if (dpi == ppi_) return;
    ppi_ = dpi;
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

bool TBitmap::SetSize(int width, int height) {
    Clear();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) {
        bitmap_.Reset();
        return false;
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void TBitmap::Clear() {
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

void TBitmap::AssignIcon(HICON icon, COLORREF key) {
    Clear();
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return;
    // GetIconInfo hands over copies of the icon's bitmaps: ours to delete.
    const TBitmapHandle colorBits(info.hbmColor), maskBits(info.hbmMask);
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    const int w = bm.bmWidth, h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    // The icon over black and over white: where they differ the icon lets the background through.
    // Mostly see-through pixels become the key, the others the icon's own colour at full strength,
    // so no edge is blended with the key colour.
    TBitmap black, white;
    if (!black.SetSize(w, h) || !white.SetSize(w, h) || !SetSize(w, h)) return;
    for (int i = 0; i < w * h; ++i)
        white.bits_[i] = 0xFFFFFF;
    for (TBitmap* b : {&black, &white}) {
        TMemoryDC dc(nullptr);
        TSelectObject select(dc.Get(), b->Handle());
        DrawIconEx(dc.Get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    const std::uint32_t keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t b = black.bits_[i], wh = white.bits_[i];
        const int alpha = 255 - int(((wh >> 8) & 0xFF) - ((b >> 8) & 0xFF)); // from green
        if (alpha < 128) {
            bits_[i] = keyPixel;
            continue;
        }
        std::uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= std::uint32_t(std::min(255, int((b >> shift) & 0xFF) * 255 / alpha)) << shift;
        bits_[i] = out == keyPixel ? (out ^ 1) : out;
    }
    bits_[(h - 1) * w] = keyPixel;
}
