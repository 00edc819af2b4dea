#include "skin/controls/SkinControl_win.h"

#include "skin/controls/ControlText.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include <commctrl.h>

#include <stdexcept>

namespace {
bool Inverted(const RECT& r) {
    return r.right < r.left || r.bottom < r.top;
}

// The DC's pixels under r, for drawing over with key-colour transparency and copying back.
bool Grab(TDib& dib, HDC dc, const RECT& r) {
    if (!dib.Resize(r.right - r.left, r.bottom - r.top)) return false;
    BitBlt(dib.DC(), 0, 0, dib.Width(), dib.Height(), dc, r.left, r.top, SRCCOPY);
    return true;
}

// Text measured the way DrawTextA's DT_CALCRECT does, for the caption placements.
SIZE Measure(HDC dc, const std::wstring& text, const RECT& r, UINT flags) {
    RECT t = r;
    Tnt_DrawTextW(dc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
    return SIZE{t.right - t.left, t.bottom - t.top};
}

void PlainTransparentText(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
}
} // namespace

TDib& SharedBuffer() {
    static TDib buffer;
    return buffer;
}

bool SharedBufferFit(int w, int h) {
    TDib& b = SharedBuffer();
    if (!b.Empty() && b.Width() >= w && b.Height() >= h) return true;
    return b.Resize(std::max(w, b.Empty() ? 0 : b.Width()), std::max(h, b.Empty() ? 0 : b.Height()));
}

namespace {
int gLive = 0;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {
    ++gLive;
}

int TSkinControl::LiveCount() {
    return gLive;
}

TSkinControl::~TSkinControl() {
    --gLive;
    Unhook();
    oldWindowProc_ = nullptr;
    if (FSkinForm) FSkinForm->Controls().Remove(this);
}

void TSkinControl::Unhook() {
    // A control being destroyed has let go of its WindowProc already. The saved procedure is kept:
    // a call still on the stack goes on through it.
    if (oldWindowProc_ && FControl && !FControl->ComponentState.Contains(TComponentStateFlag::Destroying))
        FControl->WindowProc = oldWindowProc_;
    FControl = nullptr;
    // Someone who subclassed after us keeps calling through our procedure, which passes messages on.
    rawHook_.Remove();
}

void TSkinControl::Retire() {
    if (retired_) return;
    retired_ = true;
    if (FSkinForm) FSkinForm->Controls().Remove(this);
    FSkinForm = nullptr;
    if (FInitialized && FStatus != kControlDestroyed) Unsubclass();
    Unhook();
    if (depth_ == 0) delete this;
}

TSkinControl* TSkinControl::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (auto* s = TRawHook::OwnerOf(hwnd)) return s;
    TWinSkinForm* form = TWinSkinForm::FromHandle(GetAncestor(hwnd, GA_ROOT));
    return form ? form->Controls().Find(hwnd) : nullptr;
}

void TSkinControl::Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor) {
    if (FInitialized) return;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control || !control->HandleAllocated()) return;
    FChangeColor = changeColor;
    FSkinData = skin;
    FSkinForm = form;
    FControl = control;
    FHandle = control->Handle();
    oldWindowProc_ = control->WindowProc;
    control->WindowProc = [this](TMessage& m) { NewWndProc(m); };
    control->DoubleBuffered = true;
    if (FSkinForm) FSkinForm->Controls().Add(this);
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    FCaption = GetFormCaption(FHandle);
    if (FChangeColor) {
        FOldColor = control->Color;
        control->Color = skin->Colors[csButtonFace];
    }
    InvalidateRect(FHandle, nullptr, TRUE);
    FInitialized = true;
    FStatus = kControlSkinned;
}

void TSkinControl::Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form) {
    if (rawHook_.Hooked() || !IsWindow(hwnd) || TRawHook::OwnerOf(hwnd)) return;
    FSkinData = skin;
    FSkinForm = form;
    FHandle = hwnd;
    FEnabled = true;
    if (FSkinForm) FSkinForm->Controls().Add(this);
    FCaption = GetFormCaption(hwnd);
    rawHook_.Install(hwnd, this);
    FInitialized = true;
    FStatus = kControlSkinned;
}

LRESULT TSkinControl::RawProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    // NewWndProc may free the skinner on its way out: only the local message is read after it.
    TMessage m{msg, wParam, lParam, 0};
    return NoThrow(0, [&] {
        NewWndProc(m);
        return m.Result;
    });
}

void TSkinControl::NewWndProc(TMessage& m) {
    // The count keeps the skinner alive until this call returns, whatever the message runs.
    struct TCall {
        TSkinControl& self;
        explicit TCall(TSkinControl& s) : self(s) { ++self.depth_; }
        ~TCall() {
            if (--self.depth_ == 0 && self.retired_) delete &self;
        }
    } call(*this);
    if (retired_ || (m.Msg != WM_NCDESTROY && !HasFace())) {
        Default(m);
        return;
    }
    if (BeforeProc(m)) {
        Default(m);
        if (!retired_) AfterProc(m);
    }
}

void TSkinControl::Default(TMessage& m) {
    if (oldWindowProc_) {
        oldWindowProc_(m);
        return;
    }
    if (rawHook_.Previous()) m.Result = rawHook_.CallPrevious(m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeProc(TMessage& m) {
    if (m.Msg != WM_NCDESTROY) return true;
    // The window is going: give it its procedure back before it finishes.
    rawHook_.Remove();
    Default(m);
    FStatus = kControlDestroyed;
    Unsubclass();
    return false;
}

void TSkinControl::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FFocused = m.Msg == WM_SETFOCUS;
        Invalidate();
        break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
        Invalidate();
        break;
    case WM_SETTEXT:
        FCaption = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        Invalidate();
        break;
    case WM_PAINT:
        PaintControl(reinterpret_cast<HDC>(m.WParam));
        break;
    case WM_PRINTCLIENT:
        // The control has printed itself (WM_PRINTCLIENT, or WM_PRINT's client part): the skin's
        // face goes over it, as over its painting on the screen.
        if (m.LParam & PRF_CLIENT) PrintFace(reinterpret_cast<HDC>(m.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::WMPaint(TMessage& m) {
    TPaintDC paint(FHandle, m.WParam);
    m.Result = 0;
    if (!paint.Get() || DrawFace(paint.Get())) return;
    // No face (its buffer could not be made): the control paints itself into the same DC rather
    // than being left blank.
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(paint.Get()), 0, 0};
    Default(own);
}

bool TSkinControl::DrawFace(HDC dc) {
    RECT r{};
    if (!GetWindowRect(FHandle, &r)) return true;
    FWindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    const int refusals = TDib::Refusals();
    try {
        DrawControl(dc, r);
    } catch (...) {
        // A painting fault never reaches the control's message loop.
        return false;
    }
    return TDib::Refusals() == refusals;
}

void TSkinControl::PrintFace(HDC dc) {
    // The DC's origin is the client area's corner; the face is drawn with the window's corner
    // there instead, clipped to the client area.
    RECT window{}, client{};
    if (!dc || !GetWindowRect(FHandle, &window) || !GetClientRect(FHandle, &client)) return;
    MapWindowPoints(FHandle, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int dx = client.left - window.left, dy = client.top - window.top;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -dx, -dy, nullptr);
    IntersectClipRect(dc, dx, dy, dx + client.right - client.left, dy + client.bottom - client.top);
    DrawFace(dc);
    RestoreDC(dc, saved);
}

void TSkinControl::PaintWholeFace(TMessage& m) {
    if (m.Msg == WM_PAINT)
        WMPaint(m);
    else
        m.Result = 1;
}

void TSkinControl::PaintControl(HDC dc) {
    if (FStatus == kControlDestroyed || !IsWindow(FHandle)) return;
    if (dc) {
        DrawFace(dc);
        return;
    }
    TWindowDC window(FHandle);
    if (window.Get()) DrawFace(window.Get());
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::Invalidate() {
    if (!FHandle || !GetParent(FHandle) || FStatus == kControlDestroyed) return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    OffsetRect(&r, -r.left, -r.top);
    InvalidateRect(FHandle, &r, FALSE);
    UpdateWindow(FHandle);
}

bool TSkinControl::EnterHover() {
    if (FState & scMouseIn) return false;
    FState |= scMouseIn;
    NoteWindowRect();
    if (FSkinForm) FSkinForm->Controls().SetHot(this);
    return true;
}

void TSkinControl::MouseLeave() {
    if (FHandle) SendMessageW(FHandle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::SkinChange() {
    if (FChangeColor && FControl && FSkinData) FControl->Color = FSkinData->Colors[csButtonFace];
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
    else if (auto* g = dynamic_cast<TWinControl*>(FGraphicControl))
        InvalidateRect(g->Handle(), nullptr, TRUE);
}

void TSkinControl::Unsubclass() {
    if (FChangeColor && FControl) FControl->Color = FOldColor;
}

int TSkinControl::Dpi() const {
    return FSkinForm ? FSkinForm->Dpi() : WindowDpi(FHandle);
}

const TSkinModel& TSkinControl::Skin() const {
    return FSkinData->AtDpi(Dpi());
}

COLORREF TSkinControl::FaceRGB() const {
    return SkinColorRGB(FSkinData ? FSkinData->Colors[csButtonFace] : clBtnFace);
}

void TSkinControl::FillBG(HDC dc, const RECT& r) {
    if (Inverted(r)) return;
    TBrushHandle brush(CreateSolidBrush(FaceRGB()));
    FillRect(dc, &r, brush.Get());
}

void TSkinControl::DrawBuf(HDC dc, const RECT& r) {
    const TDib& b = SharedBuffer();
    if (b.Empty()) return;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, b.DC(), 0, 0, SRCCOPY);
}

void TSkinControl::DrawSkinMap(HDC dc, const RECT& r, const TDataSkinObject* obj, int index, int count) {
    if (Inverted(r) || !obj || obj->Bitmap.Empty()) return;
    const TBitmap32 map = GetHMap(ToTRect(r), obj->Bitmap, obj->Margins, index, count, obj->Tile != 0, false);
    if (map.Empty()) return;
    if (obj->Trans == 1) {
        TDib dib;
        if (!Grab(dib, dc, r)) return;
        DrawTranmap(dib.Bits(), TRect{0, 0, dib.Width(), dib.Height()}, map, 0xFF00FF);
        BitBlt(dc, r.left, r.top, dib.Width(), dib.Height(), dib.DC(), 0, 0, SRCCOPY);
    } else {
        BlitBitmap(dc, r.left, r.top, map);
    }
}

void TSkinControl::DrawSkin(const RECT& r, const TDataSkinObject* obj, int index, int count, int trans) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w < 0 || h < 0 || !obj || obj->Bitmap.Empty() || !SharedBufferFit(w, h)) return;
    TBitmap32& buffer = SharedBuffer().Bits();
    const COLORREF face = FaceRGB();
    buffer.FillRect(TRect{0, 0, w, h}, PixelRGB(GetRValue(face), GetGValue(face), GetBValue(face)));
    const TBitmap32 map = GetHMap(ToTRect(r), obj->Bitmap, obj->Margins, index, count, obj->Tile != 0, false);
    const TRect at{0, 0, map.Width(), map.Height()};
    if (trans == 1)
        DrawTranmap(buffer, at, map, 0xFF00FF);
    else
        Bitmapdraw(buffer, at, map);
}

void TSkinControl::DrawSkinMap1(HDC dc, const RECT& r, const TBitmap32& image, int index, int count) {
    if (Inverted(r) || image.Empty()) return;
    TDib dib;
    if (!Grab(dib, dc, r)) return;
    DrawRect1(dib.Bits(), TRect{0, 0, dib.Width(), dib.Height()}, image, index, count, true);
    BitBlt(dc, r.left, r.top, dib.Width(), dib.Height(), dib.DC(), 0, 0, SRCCOPY);
}

void TSkinControl::DrawCaption(HDC dc, const RECT& r, const std::wstring& text, bool enabled, int align) {
    const UINT flags = UINT(align) | DT_EXPANDTABS;
    PlainTransparentText(dc);
    const SIZE s = Measure(dc, text, r, flags);
    const TRect t = CaptionRect(ToTRect(r), s.cx, s.cy, align);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    RECT out{t.Left, t.Top, t.Right, t.Bottom};
    Tnt_DrawTextW(dc, text, out, flags);
}

void TSkinControl::DrawImgCaption(HDC dc, const RECT& r, HIMAGELIST images, int imageIndex,
                                  const std::wstring& text, int align) {
    int cx = 0, cy = 0;
    if (images) ImageList_GetIconSize(images, &cx, &cy);
    const UINT flags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
    SIZE s{};
    if (!text.empty()) s = Measure(dc, text, r, flags);
    const TImgCaptionLayout l =
        ImgCaptionLayout(ToTRect(r), imageIndex != -1 && images != nullptr, cx, cy, s.cx, s.cy, align);
    if (l.ShowImage) ImageList_Draw(images, imageIndex, dc, l.Image.Left, l.Image.Top, ILD_TRANSPARENT);
    if (text.empty()) return;
    PlainTransparentText(dc);
    if (!FEnabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    RECT out{l.Text.Left, l.Text.Top, l.Text.Right, l.Text.Bottom};
    Tnt_DrawTextW(dc, text, out, flags);
}

int TSkinControl::TextHeight(HDC dc, const std::wstring& text) {
    SIZE s{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &s);
    return s.cy;
}

void MyDrawCaption(HDC dc, const RECT& r, const std::wstring& text, bool enabled, TAlignment alignment) {
    const UINT align = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    const UINT flags = align | DT_SINGLELINE | DT_EXPANDTABS;
    PlainTransparentText(dc);
    const SIZE s = Measure(dc, text, r, flags);
    const TRect t = CenteredCaptionRect(ToTRect(r), s.cx, s.cy);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    RECT out{t.Left, t.Top, t.Right, t.Bottom};
    Tnt_DrawTextW(dc, text, out, flags);
}

void DrawArrow(HDC dc, int x, int y, int kind) {
    for (const TStroke& s : ArrowStrokes(x, y, kind)) {
        std::vector<POINT> pts;
        for (const TPoint& p : s)
            pts.push_back(POINT{p.X, p.Y});
        Polyline(dc, pts.data(), int(pts.size()));
    }
}

