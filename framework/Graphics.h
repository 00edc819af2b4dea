// Colours, fonts and the owning GDI handle types the controls use.
#pragma once

#include "framework/Classes.h"
#include "framework/Colors.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <utility>

COLORREF ColorToRGB(TColor color);

// Owns one handle and frees it with Free (a function object taking the handle). Move-only;
// Release hands the handle over to whoever takes it from here (SetWindowRgn takes a region over).
// It converts to the raw handle, as WTL's types do, so calls take it where they took the handle.
template <class H, class Free> class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(H handle) : h_(handle) {}
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;
    TOwnedHandle(TOwnedHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }
    H Get() const { return h_; }
    operator H() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (h_) Free()(h_);
        h_ = handle;
    }
    [[nodiscard]] H Release() { return std::exchange(h_, nullptr); }

private:
    H h_ = nullptr;
};

struct TDeleteObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct TDestroyIcon {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct TDestroyImageList {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};

// Owns one GDI object (font, brush, bitmap, pen, region) and deletes it. The object must not be
// selected into a DC when the owner goes.
template <class H> using TGdiObject = TOwnedHandle<H, TDeleteObject>;

using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRgn = TGdiObject<HRGN>;
using TIconHandle = TOwnedHandle<HICON, TDestroyIcon>;
using TImageListHandle = TOwnedHandle<HIMAGELIST, TDestroyImageList>;

// A DC of a window's client area (or of the screen, for nullptr) from GetDC, released on
// destruction.
class TClientDC {
public:
    explicit TClientDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~TClientDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    TClientDC(const TClientDC&) = delete;
    TClientDC& operator=(const TClientDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A DC of a whole window, frame included, from GetWindowDC, released on destruction.
class TWindowDC {
public:
    explicit TWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    ~TWindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC a WM_PAINT draws into: the one the message brings in wParam (somebody's printing or
// double buffering: used as it is, the whole client rectangle to paint), or else BeginPaint's,
// ended on destruction.
class TPaintDC {
public:
    explicit TPaintDC(HWND hwnd, WPARAM given = 0) : hwnd_(hwnd), own_(given == 0) {
        if (own_) {
            dc_ = BeginPaint(hwnd, &ps_);
        } else {
            dc_ = reinterpret_cast<HDC>(given);
            ps_.hdc = dc_;
            GetClientRect(hwnd, &ps_.rcPaint);
        }
    }
    ~TPaintDC() {
        if (own_) EndPaint(hwnd_, &ps_);
    }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Paint() const { return ps_; }

private:
    HWND hwnd_;
    bool own_;
    HDC dc_ = nullptr;
    PAINTSTRUCT ps_{};
};

// Clips a DC to a region (a copy is selected; nullptr removes the clipping) and puts the DC's
// previous clipping back on destruction.
class TSelectClipRgn {
public:
    TSelectClipRgn(HDC dc, HRGN region) : dc_(dc), old_(CreateRectRgn(0, 0, 0, 0)) {
        // GetClipRgn answers 0 when the DC has no clipping region of its own.
        if (old_ && GetClipRgn(dc, old_.Get()) != 1) old_.Reset();
        SelectClipRgn(dc, region);
    }
    ~TSelectClipRgn() { SelectClipRgn(dc_, old_.Get()); }
    TSelectClipRgn(const TSelectClipRgn&) = delete;
    TSelectClipRgn& operator=(const TSelectClipRgn&) = delete;

private:
    HDC dc_;
    TRgn old_;
};

// A memory DC compatible with another, deleted on destruction.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on destruction.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectObject() {
        if (old_) SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

enum class TFontStyle : unsigned { Bold = 1, Italic = 2, Underline = 4 };

// A font description and the GDI font made from it on demand. Size is in points; the height in
// pixels follows PixelsPerInch, the DPI of the form that uses the font (96 until the form is
// scaled to its monitor). Copies take the description and the DPI; an assignment keeps the DPI of
// the font assigned to, which is the DPI of the place it is used.
class TFont : public TObject {
public:
    TFont() = default;
    TFont(std::wstring name, int size, unsigned styles = 0) : name_(std::move(name)), size_(size), styles_(styles) {}
    TFont(const TFont& other)
        : TObject(), name_(other.name_), size_(other.size_), styles_(other.styles_), ppi_(other.ppi_) {}
    TFont& operator=(const TFont& other);

    const std::wstring& Name() const { return name_; }
    int Size() const { return size_; }
    int Height() const { return -MulDiv(size_, ppi_, 72); }
    int PixelsPerInch() const { return ppi_; }
    // A value below 1 reads as 96.
    void SetPixelsPerInch(int dpi);
    bool Has(TFontStyle s) const { return (styles_ & unsigned(s)) != 0; }
    void SetName(std::wstring name);
    void SetSize(int size);
    void SetStyle(TFontStyle s, bool on);
    // The GDI font; created on first use and kept until the description changes.
    HFONT Handle() const;

private:
    std::wstring name_ = L"MS Sans Serif";
    int size_ = 8;
    unsigned styles_ = 0;
    int ppi_ = 96;
    mutable TFontHandle handle_;
};

// A picture the controls draw from (button glyphs): a 32-bit top-down DIB section whose pixels
// are 0x00RRGGBB values, row after row. Empty until sized.
class TBitmap : public TObject {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // A new picture of width x height, every pixel 0; false (and empty) when it cannot be made.
    bool SetSize(int width, int height);
    void Clear();
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0; }
    HBITMAP Handle() const { return bitmap_.Get(); }
    std::uint32_t* Pixels() { return bits_; }
    const std::uint32_t* Pixels() const { return bits_; }
    std::uint32_t Pixel(int x, int y) const { return bits_[y * width_ + x]; }
    // The icon drawn over a background of `key`. Pictures are drawn with the colour of their
    // bottom-left pixel transparent, so that pixel is set to key whatever the icon has there.
    void AssignIcon(HICON icon, COLORREF key);

private:
    TBitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
