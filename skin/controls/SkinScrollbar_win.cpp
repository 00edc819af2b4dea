#include "skin/controls/SkinScrollbar_win.h"
#include "skin/controls/SkinStatusBar_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinScale.h"
#include "skin/forms/WinSkinForm.h"

#include "framework/StdCtrls.h"

#include <windowsx.h>

namespace {
// The thickness the skin's bar images are designed for; the composed bar is stretched across.
constexpr int kDesignThickness = 16;
// Frames of the arrow strip.
constexpr int kArrowFrames = 23;
// Frames of the track strips; the first is drawn.
constexpr int kTrackFrames = 4;

bool NonEmpty(const RECT& r) {
    return r.top < r.bottom && r.left < r.right;
}

int BarLength(const RECT& r, int kind) {
    return kind == 1 ? r.right - r.left : r.bottom - r.top;
}

// The part a scroll notification presses: an arrow for line scrolls, the thumb while tracking.
int PartOfScroll(int code, bool vertical) {
    switch (code) {
    case SB_LINEUP:
        return vertical ? kPartUp : kPartLeft;
    case SB_LINEDOWN:
        return vertical ? kPartDown : kPartRight;
    case SB_THUMBTRACK:
        return vertical ? kPartVertThumb : kPartHorzThumb;
    default:
        return kPartNone;
    }
}
} // namespace

UINT ScrollRepaintMessage() {
    static const UINT message = RegisterWindowMessageW(L"TellitScrollRepaint");
    return message;
}

void TScrollRepaint::Request(HWND hwnd) {
    if (pending_) return;
    pending_ = PostMessageW(hwnd, ScrollRepaintMessage(), 0, 0) != FALSE;
}

bool TScrollRepaint::Take(const TMessage& m) {
    if (m.Msg != ScrollRepaintMessage()) return false;
    pending_ = false;
    return true;
}

TThumbMetrics SystemThumbMetrics() {
    TThumbMetrics m;
    m.Arrow = GetSystemMetrics(SM_CXHSCROLL);
    // The Windows 95 family (high bit of the version) lets a thumb shrink to half a bar's width.
    m.MinThumb = (GetVersion() & 0x80000000u) ? m.Arrow / 2 : 8;
    m.DefaultThumb = GetSystemMetrics(SM_CXHTHUMB);
    return m;
}

void PaintSkinBar(HDC dc, const RECT& barRect, bool vertical, const TBarGeometry& g, bool drawThumb, int activePart,
                  int hotPart, bool enabled, const TSkinModel& skin, TDib& scratch, int dpi) {
    const int length = vertical ? barRect.bottom - barRect.top : barRect.right - barRect.left;
    const int thickness = vertical ? barRect.right - barRect.left : barRect.bottom - barRect.top;
    if (length <= 0 || length > 10000 || thickness <= 0 || thickness > 10000) return;
    const TDataSkinObject* arrows = skin.Scrollbar.get();
    if (!arrows || arrows->Bitmap.Empty()) return;
    const int design = ScaleValue(kDesignThickness, dpi);
    const int w = vertical ? design : length, h = vertical ? length : design;
    if (scratch.Width() != w || scratch.Height() != h || scratch.Empty())
        if (!scratch.Resize(w, h)) return;
    TBitmap32& b = scratch.Bits();
    const COLORREF back = SkinColorRGB(skin.Colors[csScrollbar]);
    b.FillRect(TRect{0, 0, w, h}, PixelRGB(GetRValue(back), GetGValue(back), GetBValue(back)));

    const TBarLayout l = BarLayout(length, design, vertical, g, drawThumb && enabled);
    const TDataSkinObject* track = vertical ? skin.VertScroll.get() : skin.HorzScroll.get();
    if (track && !track->Bitmap.Empty() && !l.Track.IsEmpty())
        DrawRect2(b, l.Track, track->Bitmap, track->Margins, 1, kTrackFrames, track->Trans == 1, track->Tile != 0,
                  false);

    auto state = [&](int part) {
        if (!enabled) return psDisabled;
        if (activePart == part) return psPressed;
        return hotPart == part ? psHot : psNormal;
    };
    // Part codes less one are the arrow indexes of the strip (left, right, up, down).
    const int first = vertical ? kPartUp : kPartLeft;
    DrawRect1(b, l.FirstArrow, arrows->Bitmap, ArrowFrame(first - 1, state(first), kArrowFrames), kArrowFrames, true);
    DrawRect1(b, l.SecondArrow, arrows->Bitmap, ArrowFrame(first, state(first + 1), kArrowFrames), kArrowFrames, true);

    const TDataSkinObject* thumb = vertical ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get();
    if (thumb && !thumb->Bitmap.Empty() && !l.Thumb.IsEmpty()) {
        const int count = std::max(thumb->FrameCount, 1);
        const int frame = ThumbFrame(state(vertical ? kPartVertThumb : kPartHorzThumb), count);
        DrawRect2(b, l.Thumb, thumb->Bitmap, thumb->Margins, frame, count, thumb->Trans == 1, false, false);
    }

    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, barRect.left, barRect.top, barRect.right - barRect.left, barRect.bottom - barRect.top, scratch.DC(),
               0, 0, w, h, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

// ---- TSkinScrollbar

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::InitScrollbar(TWinControl* control, TSkinDataCore* skin, TWinSkinForm* form, bool canDrag) {
    if (FInitialized || !control || control != Owner()) return;
    Init(form, skin, false);
    if (FStatus == kControlSkinned) StartScrolling(canDrag);
}

void TSkinScrollbar::Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form) {
    TSkinControl::Inithwnd(hwnd, skin, form);
    if (FStatus == kControlSkinned) StartScrolling(false);
}

void TSkinScrollbar::StartScrolling(bool canDrag) {
    FDragging = FInVScroll = FInHScroll = false;
    FCanDrag = canDrag;
    // The frame is computed afresh, so that the bars are where the skinner will look for them.
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TSkinScrollbar::BeforeProc(TMessage& m) {
    if (repaint_.Take(m)) {
        PaintControl(nullptr);
        return false;
    }
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        Default(m);
        return false;
    case WM_NCMOUSEMOVE:
        if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
            // The system does not hot-track its bars; the skin shows the part under the mouse.
            const int part = PartAtScreen(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, m.WParam);
            if (part != FHotPart) {
                FHotPart = part;
                PaintControl(nullptr);
            }
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_NONCLIENT, FHandle, 0};
            TrackMouseEvent(&t);
            return false;
        }
        [[fallthrough]];
    case WM_NCMOUSELEAVE:
        if (m.Msg == WM_NCMOUSELEAVE) {
            // The system's own bars track the mouse too (a themed Wine redraws them when the mouse
            // leaves the non-client area): the skin's bars go back on top of that drawing.
            FHotPart = kPartNone;
            Default(m);
            PaintControl(nullptr);
            return false;
        }
        [[fallthrough]];
    case WM_MOUSEMOVE:
        if (FHotPart != kPartNone) {
            FHotPart = kPartNone;
            PaintControl(nullptr);
        }
        return true;
    case WM_NCLBUTTONDOWN:
        return !(FCanDrag && NCLButtonDown(m));
    case WM_CAPTURECHANGED:
        if (FDragging && reinterpret_cast<HWND>(m.LParam) != FHandle) captureLost_ = true;
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // lParam names a scroll bar control for notifications of child bars, not the window's own.
        if (m.LParam != 0) break;
        ScrollNotified(m, m.Msg == WM_VSCROLL);
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinScrollbar::ScrollNotified(TMessage& m, bool vertical) {
    FActivePart = PartOfScroll(LOWORD(m.WParam), vertical);
    bool& inScroll = vertical ? FInVScroll : FInHScroll;
    inScroll = true;
    Default(m);
    inScroll = false;
    if (Retired()) return;
    PaintControl(nullptr);
    repaint_.Request(FHandle);
}

void TSkinScrollbar::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
        Invalidate();
        break;
    case WM_NCPAINT:
        // The system has just drawn its bars; only they need painting over.
        PaintControl(nullptr);
        break;
    case WM_PRINT:
        if (m.LParam & PRF_NONCLIENT) PaintControl(reinterpret_cast<HDC>(m.WParam));
        break;
    default:
        TSkinControl::AfterProc(m);
    }
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Skin().Scrollbar || Skin().Scrollbar->Bitmap.Empty()) return;
    FStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_STYLE));
    FExStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    // While the control handles a scroll it may hide and show its bar; the bar is still there.
    if (FInVScroll) FStyle |= WS_VSCROLL;
    if (FInHScroll) FStyle |= WS_HSCROLL;
    if (!(FStyle & (WS_HSCROLL | WS_VSCROLL)) || r.top > 10000 || r.left > 10000) return;
    GetScrollBarRect(r);
    if (NonEmpty(FHBarRect)) DrawScrollBar(dc, FHBarRect, true, 1);
    if (NonEmpty(FVBarRect)) DrawScrollBar(dc, FVBarRect, true, 2);
    if (NonEmpty(FSizeBoxRect)) FillBG(dc, FSizeBoxRect);
}

void TSkinScrollbar::GetScrollBarRect(const RECT& r) {
    RECT c{};
    GetClientRect(FHandle, &c);
    const TScrollBarRects b =
        ScrollBarRects(TRect{r.left, r.top, r.right, r.bottom}, c.right, c.bottom, GetSystemMetrics(SM_CXHSCROLL),
                       GetSystemMetrics(SM_CXEDGE), (FStyle & WS_HSCROLL) != 0, (FStyle & WS_VSCROLL) != 0,
                       (FExStyle & WS_EX_LEFTSCROLLBAR) != 0);
    FHBarRect = ToRECT(b.Horz);
    FVBarRect = ToRECT(b.Vert);
    FSizeBoxRect = ToRECT(b.SizeBox);
}

void TSkinScrollbar::DrawScrollBar(HDC dc, const RECT& barRect, bool drawThumb, int kind) {
    // The control's own handling is still moving things; the bar is painted when it is done.
    if ((kind == 2 && FInVScroll) || (kind == 1 && FInHScroll)) return;
    if (drawThumb) GetThumb(barRect, kind);
    const TBarGeometry& g = kind == 1 ? FHBar : FVBar;
    const bool enabled = !(FStyle & WS_DISABLED) && g.ThumbShown;
    PaintSkinBar(dc, barRect, kind == 2, g, drawThumb, FActivePart, FHotPart, enabled, Skin(), bar_, Dpi());
}

void TSkinScrollbar::GetThumb(const RECT& barRect, int kind) {
    if (FDragging) return;
    TBarGeometry& g = kind == 1 ? FHBar : FVBar;
    const TThumbMetrics m = SystemThumbMetrics();
    const int length = BarLength(barRect, kind);
    g.Arrow = m.Arrow;
    g.Track = std::max(length - 2 * m.Arrow, 0);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    // Nothing to scroll (no range): no thumb, as the system shows it.
    if (!GetScrollInfo(FHandle, kind == 1 ? SB_HORZ : SB_VERT, &si) ||
        !ComputeThumb(length, TScrollData{si.nMin, si.nMax, int(si.nPage), si.nPos}, m, g)) {
        g.ThumbShown = false;
        return;
    }
    (kind == 1 ? FHScrollInfo : FVScrollInfo) = si;
}

int TSkinScrollbar::PartAtScreen(POINT p, WPARAM hit) {
    RECT w{};
    if (!GetWindowRect(FHandle, &w)) return kPartNone;
    const bool vertical = hit == HTVSCROLL;
    const RECT r{0, 0, w.right - w.left, w.bottom - w.top};
    FStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_STYLE));
    FExStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    GetScrollBarRect(r);
    const RECT bar = vertical ? FVBarRect : FHBarRect;
    GetThumb(bar, vertical ? 2 : 1);
    const TBarGeometry& g = vertical ? FVBar : FHBar;
    const int along = vertical ? p.y - w.top - bar.top : p.x - w.left - bar.left;
    switch (PartAt(g, along)) {
    case spFirstArrow:
        return vertical ? kPartUp : kPartLeft;
    case spSecondArrow:
        return vertical ? kPartDown : kPartRight;
    case spThumb:
        return g.ThumbShown ? (vertical ? kPartVertThumb : kPartHorzThumb) : kPartNone;
    default:
        return kPartNone;
    }
}

bool TSkinScrollbar::NCLButtonDown(TMessage& m) {
    if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return false;
    const bool vertical = m.WParam == HTVSCROLL;
    const int thumb = vertical ? kPartVertThumb : kPartHorzThumb;
    if (PartAtScreen(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, m.WParam) != thumb) return false;
    FActivePart = thumb;
    PaintControl(nullptr);
    DragThumb(vertical ? 2 : 1, vertical ? WM_VSCROLL : WM_HSCROLL);
    return true;
}

void TSkinScrollbar::DragThumb(int kind, UINT scrollMsg) {
    const bool vertical = kind == 2;
    const int bar = vertical ? SB_VERT : SB_HORZ;
    const HWND hwnd = FHandle;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &si)) return;
    const TScrollData data{si.nMin, si.nMax, int(si.nPage), si.nPos};
    TBarGeometry& g = vertical ? FVBar : FHBar;
    const TBarGeometry start = g;
    POINT p0{};
    GetCursorPos(&p0);

    captureLost_ = false;
    SetCapture(hwnd);
    FDragging = true;
    int last = si.nPos;
    int quitCode = 0;
    TDragEnd end = TDragEnd::None;
    while (end == TDragEnd::None) {
        MSG msg{};
        // Sleep until something happens: a thumb held still costs nothing.
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            end = TDragEnd::Quit;
            quitCode = int(msg.wParam);
            break;
        }
        if (got < 0) {
            end = TDragEnd::CaptureLost;
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (Retired()) {
                end = TDragEnd::Retired;
                break;
            }
            if (!FDragging || !IsWindow(hwnd)) break;
            POINT p{};
            GetCursorPos(&p);
            const TDragStep s = DragThumbStep(start, start.Offset, vertical ? p.y - p0.y : p.x - p0.x, data);
            if (s.Pos != last) {
                g.Offset = s.Offset;
                SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, s.Pos, 0};
                SetScrollInfo(hwnd, bar, &pos, FALSE);
                SendMessageW(hwnd, scrollMsg, MAKEWPARAM(SB_THUMBTRACK, s.Pos), 0);
                if (Retired()) {
                    end = TDragEnd::Retired;
                    break;
                }
            }
            last = s.Pos;
            break;
        }
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            end = TDragEnd::Release;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                end = TDragEnd::Escape;
                break;
            }
            [[fallthrough]];
        default:
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (Retired()) end = TDragEnd::Retired;
            break;
        }
        if (end != TDragEnd::None) break;
        if (!IsWindow(hwnd) || FStatus == kControlDestroyed)
            end = TDragEnd::Destroyed;
        else if (captureLost_ || GetCapture() != hwnd)
            end = TDragEnd::CaptureLost;
    }
    FDragging = false;
    LastDragEnd = end;
    // A skinner given back mid-drag lets go of the mouse and leaves the control where it is.
    if (end == TDragEnd::Retired && IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
    if (end != TDragEnd::Destroyed && end != TDragEnd::Retired) {
        if (GetCapture() == hwnd) ReleaseCapture();
        // Esc puts the thumb back where the drag found it; every other end keeps the last place.
        const int final = end == TDragEnd::Escape ? si.nPos : last;
        if (end == TDragEnd::Escape) {
            SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, final, 0};
            SetScrollInfo(hwnd, bar, &pos, FALSE);
        }
        SendMessageW(hwnd, scrollMsg, MAKEWPARAM(SB_THUMBPOSITION, final), 0);
        PostMessageW(hwnd, scrollMsg, SB_ENDSCROLL, 0);
    }
    if (end == TDragEnd::Quit) PostQuitMessage(quitCode);
}

// ---- TSkinScControl

bool TSkinScControl::BeforeProc(TMessage& m) {
    if (repaint_.Take(m)) {
        PaintControl(nullptr);
        return false;
    }
    switch (m.Msg) {
    case WM_NCMOUSEMOVE:
        if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) return false;
        break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
        // The system redraws its bar for these straight away; the skin goes back over it.
        Default(m);
        PaintControl(nullptr);
        return false;
    case CN_HSCROLL:
    case CN_VSCROLL:
        FActivePart = PartOfScroll(LOWORD(m.WParam), m.Msg == CN_VSCROLL);
        Default(m);
        PaintControl(nullptr);
        repaint_.Request(FHandle);
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeProc(m);
}

namespace {
bool VerticalBar(HWND hwnd, const TWinControl* control) {
    if (auto* bar = dynamic_cast<const TScrollBar*>(control)) return bar->Kind() == sbVertical;
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & SBS_VERT) != 0;
}
} // namespace

void TSkinScControl::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || !Skin().Scrollbar || Skin().Scrollbar->Bitmap.Empty()) return;
    DrawScrollBar(dc, r, true, VerticalBar(FHandle, FControl) ? 2 : 1);
}

void TSkinScControl::GetThumb(const RECT& barRect, int kind) {
    TScrollData d;
    if (auto* bar = dynamic_cast<const TScrollBar*>(FControl)) {
        d = TScrollData{bar->Min(), bar->Max() + 1, bar->PageSize(), bar->Position()};
    } else {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        if (!GetScrollInfo(FHandle, SB_CTL, &si)) return;
        d = TScrollData{si.nMin, si.nMax + 1, int(si.nPage), si.nPos};
    }
    const TThumbMetrics m = SystemThumbMetrics();
    const int length = BarLength(barRect, kind);
    FBar.Arrow = m.Arrow;
    FBar.Track = std::max(length - 2 * m.Arrow, 0);
    if (!ComputeThumb(length, d, m, FBar)) FBar.ThumbShown = false;
}

void TSkinScControl::DrawScrollBar(HDC dc, const RECT& barRect, bool drawThumb, int kind) {
    if (drawThumb) GetThumb(barRect, kind);
    const bool enabled = IsWindowEnabled(FHandle) && FBar.ThumbShown;
    PaintSkinBar(dc, barRect, kind == 2, FBar, drawThumb, FActivePart, kPartNone, enabled, Skin(), bar_, Dpi());
}

void TSkinListView::InitScrollbar(TWinControl* control, TSkinDataCore* skin, TWinSkinForm* form, bool canDrag) {
    TSkinScrollbar::InitScrollbar(control, skin, form, canDrag);
    HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
    if (!header || FHeader) return;
    // Owned as this skinner is, so it goes with the list view.
    FHeader = new TSkinHeader(Owner());
    FHeader->Inithwnd(header, skin, form);
}
