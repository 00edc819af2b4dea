// Windows side of the skin engine's drawing: a DIB section our raster code and GDI both draw into,
// blits of our bitmaps to a device context, the skin's colours as the system's, and the one
// function that draws captions as Unicode text.
#pragma once

#include "framework/Colors.h"
#include "skin/data/Bitmap.h"
#include "skin/data/RasterTypes.h"

#include "framework/Graphics.h"

#include <windows.h>

#include <string>
#include <vector>

// True on the NT family of systems, where text is drawn as Unicode; set once before any drawing.
extern bool Win32PlatformIsUnicode;

// Draws text with DrawTextW where the system is Unicode, else converted to the ANSI code page with
// DrawTextA. Returns what the system call returns (the text height; 0 on failure).
int Tnt_DrawTextW(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// A top-down 32-bit DIB section selected into a memory DC of its own: Bits() and GDI see the same
// pixels. Copying is not allowed; an unmade or failed DIB is Empty().
class TDib {
public:
    TDib() = default;
    ~TDib() { Reset(); }
    TDib(const TDib&) = delete;
    TDib& operator=(const TDib&) = delete;

    // A new DIB of w x h, all pixels 0. False (and Empty) when the system cannot make it.
    bool Resize(int w, int h);
    // How many DIBs of a positive size this thread could not make: a painter that sees the count
    // grow while it draws knows its picture is missing.
    static int Refusals();
    void Reset();
    bool Empty() const { return bits_.Empty(); }
    int Width() const { return bits_.Width(); }
    int Height() const { return bits_.Height(); }
    HDC DC() const { return dc_; }
    TBitmap32& Bits() { return bits_; }
    const TBitmap32& Bits() const { return bits_; }

private:
    HDC dc_ = nullptr;
    TBitmapHandle bitmap_;
    HGDIOBJ old_ = nullptr;
    TBitmap32 bits_;
};

// What the screen shows in r (screen coordinates); empty when it cannot be read.
TBitmap32 ScreenPixels(const RECT& r);

// Copies all of b to dc with its top-left corner at (x, y).
void BlitBitmap(HDC dc, int x, int y, const TBitmap32& b);

// An icon drawn at size x size over `under`, as DrawIconEx draws it.
TBitmap32 IconOver(HICON icon, int size, TPixel under);
// The icon at size x size with premultiplied alpha (see IconFromBlackWhite), so raster code can
// blend it as DrawIconEx would; empty when it cannot be drawn.
TBitmap32 IconWithAlpha(HICON icon, int size);

// The RGB value of a skin colour; system-colour codes give the system's current colour.
COLORREF SkinColorRGB(TColor c);

// The class name of a window.
// Runs the body of a window procedure or hook so that no C++ exception crosses the system's
// frames (user32 cannot unwind them): a fault answers fallback.
template <class F> LRESULT NoThrow(LRESULT fallback, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

// The text of a menu item, whatever its length (flags: MF_BYPOSITION or MF_BYCOMMAND).
std::wstring MenuItemText(HMENU menu, UINT item, UINT flags = MF_BYPOSITION);
// A window's text, whatever its length, and its class name.
std::wstring GetFormCaption(HWND hwnd);
std::wstring WindowClassName(HWND hwnd);

// The system's caption or menu font for dpi (the system's own below 1), made into `font` on first
// use (kept there: reset it when the DPI changes); the stock GUI font when the system gives none.
HFONT NonClientFont(TFontHandle& font, bool menu, int dpi = 0);

// A region made of the rectangles (as BitmapToRegion gives them), built in chunks of 2,000
// rectangles combined with RGN_OR, so large shapes stay within what ExtCreateRegion takes at once.
// Returns nullptr when there is no rectangle or the system cannot make the region; the caller
// owns the region (DeleteObject, or SetWindowRgn, which takes it over).
HRGN RectsToRegion(const std::vector<TRect>& rects);
