#include "skin/forms/SkinCanvas_win.h"

#include "framework/Dpi.h"
#include "skin/forms/CaptionButtons.h"

#include <algorithm>
#include <climits>
#include <vector>

bool Win32PlatformIsUnicode = (GetVersion() & 0x80000000u) == 0;

int Tnt_DrawTextW(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
    if (Win32PlatformIsUnicode) return DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), ansi.data(), n, nullptr, nullptr);
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

namespace {
BITMAPINFO TopDownInfo(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

thread_local int gRefusals = 0;
} // namespace

int TDib::Refusals() {
    return gRefusals;
}

bool TDib::Resize(int w, int h) {
    Reset();
    if (w <= 0 || h <= 0) return false;
    if (std::int64_t(w) * h > TBitmap32::kMaxPixels) {
        ++gRefusals;
        return false;
    }
    BITMAPINFO bi = TopDownInfo(w, h);
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) {
        Reset();
        ++gRefusals;
        return false;
    }
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) {
        Reset();
        ++gRefusals;
        return false;
    }
    old_ = SelectObject(dc_, bitmap_.Get());
    bits_ = TBitmap32::Attach(w, h, w * 4, static_cast<TPixel*>(bits), nullptr);
    return true;
}

void TDib::Reset() {
    bits_ = TBitmap32();
    // Tear down in order: the old bitmap back into the DC, the DC, then the bitmap.
    if (dc_) {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    bitmap_.Reset();
    dc_ = nullptr;
    old_ = nullptr;
}

void BlitBitmap(HDC dc, int x, int y, const TBitmap32& b) {
    if (b.Empty()) return;
    BITMAPINFO bi = TopDownInfo(b.Stride() / 4, b.Height());
    SetDIBitsToDevice(dc, x, y, DWORD(b.Width()), DWORD(b.Height()), 0, 0, 0, UINT(b.Height()), b.ScanLine(0), &bi,
                      DIB_RGB_COLORS);
}

TBitmap32 IconOver(HICON icon, int size, TPixel under) {
    TDib d;
    if (!icon || !d.Resize(size, size)) return TBitmap32();
    d.Bits().Fill(under);
    DrawIconEx(d.DC(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    return d.Bits();
}

TBitmap32 IconWithAlpha(HICON icon, int size) {
    // Over black the icon leaves its colour times its coverage; over white, also what it lets through.
    return IconFromBlackWhite(IconOver(icon, size, PixelRGB(0, 0, 0)), IconOver(icon, size, PixelRGB(255, 255, 255)));
}

COLORREF SkinColorRGB(TColor c) {
    if (c & clSystemColor) return GetSysColor(int(c & 0xFF));
    return COLORREF(c & 0xFFFFFF);
}

std::wstring MenuItemText(HMENU menu, UINT item, UINT flags) {
    const int length = GetMenuStringW(menu, item, nullptr, 0, flags);
    if (length <= 0) return std::wstring();
    std::wstring text(size_t(length) + 1, L'\0');
    const int got = GetMenuStringW(menu, item, text.data(), length + 1, flags);
    text.resize(size_t(got > 0 ? got : 0));
    return text;
}

std::wstring GetFormCaption(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring s(size_t(n > 0 ? n : 0) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(size_t(got > 0 ? got : 0));
    return s;
}

std::wstring WindowClassName(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

HFONT NonClientFont(TFontHandle& font, bool menu, int dpi) {
    if (!font) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        if (dpi > 0 ? NonClientMetricsForDpi(ncm, dpi) : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0) != FALSE)
            font.Reset(CreateFontIndirectW(menu ? &ncm.lfMenuFont : &ncm.lfCaptionFont));
    }
    return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TBitmap32 ScreenPixels(const RECT& r) {
    TDib shot;
    if (!shot.Resize(r.right - r.left, r.bottom - r.top)) return TBitmap32();
    TClientDC screen(nullptr);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), screen.Get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    return shot.Bits();
}

HRGN RectsToRegion(const std::vector<TRect>& rects) {
    const size_t kChunk = 2000;
    TRgn result;
    std::vector<char> buffer;
    for (size_t start = 0; start < rects.size(); start += kChunk) {
        size_t count = std::min(kChunk, rects.size() - start);
        buffer.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = DWORD(count);
        data->rdh.nRgnSize = DWORD(count * sizeof(RECT));
        RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        auto* out = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < count; ++i) {
            const TRect& r = rects[start + i];
            out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
            bounds.left = std::min(bounds.left, LONG(r.Left));
            bounds.top = std::min(bounds.top, LONG(r.Top));
            bounds.right = std::max(bounds.right, LONG(r.Right));
            bounds.bottom = std::max(bounds.bottom, LONG(r.Bottom));
        }
        data->rdh.rcBound = bounds;
        TRgn part(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
        if (!part) return nullptr;
        if (!result)
            result = std::move(part);
        else
            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result.Release();
}
