#include "skin/controls/SkinButton_win.h"

#include "skin/controls/ButtonRules.h"
#include "skin/controls/ControlText.h"
#include "skin/controls/SkinProps.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

namespace {
bool HasButtonImage(const TSkinDataCore* skin) {
    return skin && !skin->Buttons.Bitmap.Empty();
}

// The size DrawText gives text in r's width with these flags.
SIZE MeasureText(HDC dc, const std::wstring& text, const RECT& r, UINT flags) {
    if (text.empty()) return SIZE{0, 0};
    RECT t = r;
    Tnt_DrawTextW(dc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
    return SIZE{t.right - t.left, t.bottom - t.top};
}
} // namespace

// ---- TSkinButton

bool TSkinButton::HasFace() const {
    return HasButtonImage(FSkinData);
}

bool TSkinButton::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        PaintWholeFace(m);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The button never sees the press: it neither captures the mouse nor clicks by itself.
        if (GetFocus() != FHandle) SetFocus(FHandle);
        FState |= scDown;
        PaintControl(nullptr);
        m.Result = 0;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinButton::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            FState = m.Msg == WM_KEYDOWN ? (FState | scDown) : (FState & ~scDown);
            Invalidate();
        }
        break;
    case WM_MOUSEMOVE:
        if (!(FState & scMouseIn)) {
            FState |= scMouseIn;
            // The leave message clears the hover (and a press) at once, before the hot timer would.
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
            TrackMouseEvent(&t);
            SetHot();
        }
        break;
    case WM_LBUTTONUP:
        if (FState & scDown) {
            FState &= ~scDown;
            Invalidate();
            Click(); // last: the click may free the button and this skinner with it
        }
        break;
    case CM_MOUSEENTER:
        if (FEnabled) {
            FState |= scMouseIn;
            Invalidate();
            if (FSkinForm) FSkinForm->Controls().SetHot(this);
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (FEnabled && (FState & (scMouseIn | scDown))) {
            FState &= ~(scMouseIn | scDown);
            Invalidate();
        }
        if (FSkinForm) FSkinForm->Controls().ForgetHot(this);
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        // The system's button paints itself straight on these (Wine does): paint the skin over it.
        PaintControl(nullptr);
        break;
    default:
        TSkinControl::AfterProc(m);
    }
}

void TSkinButton::SetHot() {
    if (FSkinForm) FSkinForm->Controls().SetHot(this);
    Invalidate();
}

void TSkinButton::Click() {
    if (auto* button = dynamic_cast<TButton*>(FControl)) {
        if (button->Enabled()) button->Click();
        return;
    }
    const HWND parent = GetParent(FHandle);
    if (parent)
        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), BN_CLICKED),
                     reinterpret_cast<LPARAM>(FHandle));
}

void TSkinButton::Refresh() {
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    FCaption = GetFormCaption(FHandle);
    if (FCaption.empty() && FControl) FCaption = Utf8ToWide(GetStringProp(FControl, "Caption"));
}

bool TSkinButton::FitBuffer(int w, int h) {
    if (w <= 0 || h <= 0) return false;
    if (!FBuffer.Empty() && FBuffer.Width() == w && FBuffer.Height() == h) return true;
    return FBuffer.Resize(w, h);
}

COLORREF TSkinButton::TextRGB(int s) const {
    const TColor c =
        ButtonTextColor(FSkinData->Buttons, s, FEnabled, FControl != nullptr, FSkinData->Colors[csButtonText]);
    return c == clNone ? GetSysColor(COLOR_BTNTEXT) : SkinColorRGB(c);
}

void TSkinButton::DrawControl(HDC dc, const RECT& r) {
    if (!HasButtonImage(FSkinData)) return;
    Refresh();
    TButtonLook look;
    look.Focused = FFocused;
    look.Default = (GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    look.Down = (FState & scDown) != 0;
    look.MouseIn = (FState & scMouseIn) != 0;
    look.Enabled = FEnabled;
    const int s = ButtonFrame(look);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!FitBuffer(w, h)) return;
    const RECT at{0, 0, w, h};
    HDC buffer = FBuffer.DC();
    FillBG(buffer, at);
    DrawSkinMap(buffer, at, &Skin().Buttons, s, 5);
    HFONT font =
        FControl ? FControl->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    TSelectObject select(buffer, font);
    SetTextColor(buffer, TextRGB(s));
    DrawBtnText(buffer, at, FCaption, kAlignCenter);
    BitBlt(dc, r.left, r.top, w, h, buffer, 0, 0, SRCCOPY);
}

void TSkinButton::DrawBtnText(HDC dc, const RECT& r, const std::wstring& text, int align) {
    const UINT flags = UINT(align) | DT_EXPANDTABS;
    SetBkMode(dc, TRANSPARENT);
    const SIZE s = MeasureText(dc, text, r, flags);
    const TRect t = CaptionRect(TRect{r.left, r.top, r.right, r.bottom}, s.cx, s.cy, align);
    RECT out{t.Left, t.Top, t.Right, t.Bottom};
    Tnt_DrawTextW(dc, text, out, flags);
}

// ---- TSkinBitButton

void TSkinBitButton::DrawGlyph(TBitmap32& target, int x, int y, const TBitmap& glyph, int index, int numGlyphs) {
    if (glyph.Empty() || numGlyphs < 1) return;
    const int fw = glyph.Width() / numGlyphs, fh = glyph.Height();
    if (fw <= 0) return;
    const int frame = std::min(GlyphFrame(index, numGlyphs), numGlyphs);
    TBitmap32 copy(fw, fh);
    for (int row = 0; row < fh; ++row)
        for (int col = 0; col < fw; ++col)
            copy.SetPixel(col, row, glyph.Pixel((frame - 1) * fw + col, row) | 0xFF000000u);
    if (GlyphGreyed(index)) ConvertBitmapToGrayscale(copy);
    const TPixel key = copy.Pixel(0, fh - 1) & 0xFFFFFF;
    for (int row = 0; row < fh; ++row)
        for (int col = 0; col < fw; ++col) {
            const TPixel p = copy.Pixel(col, row);
            if ((p & 0xFFFFFF) != key) target.SetPixel(x + col, y + row, p);
        }
}

void TSkinBitButton::DrawListImage(TBitmap32& target, int x, int y, const TImageList& images, int index, bool greyed) {
    const int w = images.Width(), h = images.Height();
    TDib picture;
    if (index < 0 || index >= images.Count() || !picture.Resize(w, h)) return;
    const TPixel key = PixelFromColor(clSkinKey);
    picture.Bits().Fill(key);
    images.Draw(picture.DC(), 0, 0, index);
    GdiFlush();
    TBitmap32 copy = picture.Bits();
    if (greyed) ConvertBitmapToGrayscale(copy);
    // The list's masked drawing rewrites every pixel (alpha included): the key is told by colour.
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            if ((picture.Bits().Pixel(col, row) & 0xFFFFFF) != (key & 0xFFFFFF))
                target.SetPixel(x + col, y + row, copy.Pixel(col, row) | 0xFF000000u);
}

void TSkinBitButton::DrawFace(HDC dc, TBitmap32& target, const RECT& r, int frame, bool speed) {
    const TObject* props = FControl;
    const auto* glyph = GetObjProp<TBitmap>(props, "Glyph");
    int numGlyphs = int(GetIntProperty(props, "NumGlyphs"));
    if (numGlyphs <= 0) numGlyphs = 1;
    // Without a glyph, a picture of the button's image list.
    const auto* images = GetObjProp<TImageList>(props, "Images");
    const int imageIndex = images ? int(GetIntProperty(props, "ImageIndex")) : -1;
    const int disabledIndex = images ? int(GetIntProperty(props, "DisabledIndex")) : -1;
    const bool hasGlyph = glyph && !glyph->Empty();
    TGlyphLayoutInput in;
    in.Client = TPoint{r.right - r.left, r.bottom - r.top};
    if (hasGlyph)
        in.Glyph = TPoint{glyph->Width() / numGlyphs, glyph->Height()};
    else if (images && imageIndex != -1)
        in.Glyph = TPoint{images->Width(), images->Height()};
    in.Layout = LayoutFromName(GetEnumProperty(props, "Layout"));
    in.Margin = int(GetIntProperty(props, "Margin"));
    in.Spacing = int(GetIntProperty(props, "Spacing"));
    in.AlignCenter = GetEnumProperty(props, "Alignment") == "taCenter";
    in.Speed = speed;
    const auto* font = GetObjProp<TFont>(props, "Font");
    TSelectObject select(dc, font ? font->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
    const SIZE text = MeasureText(dc, FCaption, r, DT_EXPANDTABS);
    in.Text = TPoint{text.cx, text.cy};

    // Without a glyph the caption is centred as on a plain button.
    if (in.Glyph.X == 0) {
        SetTextColor(dc, speed && FEnabled ? GetSysColor(COLOR_BTNTEXT) : TextRGB(frame));
        DrawBtnText(dc, r, FCaption, kAlignCenter);
        return;
    }
    const TGlyphLayout l = LayoutGlyph(in);
    GdiFlush();
    const int gx = r.left + l.GlyphPos.X, gy = r.top + l.GlyphPos.Y;
    if (hasGlyph)
        DrawGlyph(target, gx, gy, *glyph, GlyphIndex(frame), numGlyphs);
    else if (FEnabled)
        DrawListImage(target, gx, gy, *images, imageIndex, false);
    else
        DrawListImage(target, gx, gy, *images, disabledIndex != -1 ? disabledIndex : imageIndex, true);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextRGB(frame));
    RECT out{r.left + l.TextPos.X, r.top + l.TextPos.Y, r.left + l.TextPos.X + text.cx, r.top + l.TextPos.Y + text.cy};
    Tnt_DrawTextW(dc, FCaption, out, l.TextFlags | DT_EXPANDTABS);
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& r) {
    if (!HasButtonImage(FSkinData)) return;
    Refresh();
    TButtonLook look;
    look.Focused = FFocused;
    look.Default = LowerCase(GetEnumProperty(FControl, "Default")) == "true";
    look.Down = (FState & scDown) != 0;
    look.MouseIn = (FState & scMouseIn) != 0;
    look.Enabled = FEnabled;
    const int s = BitButtonFrame(look);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!FitBuffer(w, h)) return;
    const RECT at{0, 0, w, h};
    FillBG(FBuffer.DC(), at);
    DrawSkinMap(FBuffer.DC(), at, &Skin().Buttons, s, Skin().Buttons.FrameCount);
    DrawFace(FBuffer.DC(), FBuffer.Bits(), at, s, false);
    BitBlt(dc, r.left, r.top, w, h, FBuffer.DC(), 0, 0, SRCCOPY);
}

// ---- TSkinSpeedButton

void TSkinSpeedButton::Init(TWinSkinForm* form, TSkinDataCore* skin, bool) {
    // Our speed buttons are light windows of their own: hooked as any framework control, never
    // recoloured, and known to discovery as graphic controls.
    TSkinControl::Init(form, skin, false);
    FGraphicControl = FControl;
}

bool TSkinSpeedButton::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        WMPaint(m);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Default(m); // the speed button's own press (capture, its click on release)
        FState |= scDown;
        PaintControl(nullptr);
        return false;
    default:
        return TSkinButton::BeforeProc(m);
    }
}

void TSkinSpeedButton::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONUP:
        FState &= ~scDown;
        PaintControl(nullptr);
        break;
    case CM_MOUSEENTER:
        FState |= scMouseIn;
        PaintControl(nullptr);
        break;
    case CM_MOUSELEAVE:
        FState &= ~(scMouseIn | scDown);
        if (IsWindowVisible(FHandle)) PaintControl(nullptr);
        break;
    case WM_MOUSELEAVE:
        break; // the speed button turns it into CM_MOUSELEAVE itself
    default:
        TSkinButton::AfterProc(m);
    }
}

void TSkinSpeedButton::DrawControl(HDC dc, const RECT& r) {
    if (!HasButtonImage(FSkinData)) return;
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    FCaption = GetFormCaption(FHandle);
    TButtonLook look;
    look.Down = (FState & scDown) != 0;
    look.MouseIn = (FState & scMouseIn) != 0;
    look.Enabled = FEnabled;
    look.Latched = LowerCase(GetEnumProperty(FControl, "Down")) == "true";
    const int s = SpeedButtonFrame(look);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const RECT at{0, 0, w, h};
    DrawSkin(at, &Skin().Buttons, s, Skin().Buttons.FrameCount, Skin().Buttons.Trans);
    TDib& buffer = SharedBuffer();
    if (buffer.Empty() || buffer.Width() < w || buffer.Height() < h) return;
    DrawFace(buffer.DC(), buffer.Bits(), at, s, true);
    DrawBuf(dc, r);
}
