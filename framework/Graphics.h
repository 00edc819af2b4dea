// Colours, fonts and the owning GDI handle types the controls use.
#pragma once

#include "framework/Classes.h"
#include "framework/Colors.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

COLORREF ColorToRGB(TColor color);

// Owns one GDI object (font, brush, bitmap, pen) and deletes it. The object must not be selected
// into a DC when the owner goes.
template <class H> class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(H handle) : h_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = handle;
    }

private:
    H h_ = nullptr;
};

using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TBitmapHandle = TGdiObject<HBITMAP>;

// A DC of a window (or of the screen, for nullptr) from GetDC, released on destruction.
class TWindowDC {
public:
    explicit TWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
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
