// The form skinner's painting: borders, the caption strip with its title and buttons, the menu
// bar row, the icon, and the window region cut from the frame's transparent parts.
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm.h"

#include <exception>

LRESULT TWinSkinForm::WMNCPaint(WPARAM wParam) {
    if (!skin_->MainMenuUpdate) return 0;
    if ((formStyle_ == sfsMDIChild && state_ != swsNormal) || border_ == sbsNone) return Default(WM_NCPAINT, wParam, 0);
    UpdateNc();
    return 0;
}

void TWinSkinForm::UpdateNc() {
    if (lifecycle_ != kSkinned && lifecycle_ != kSkinChanging) return;
    // The whole frame is painted: a DC clipped to the update region is refused by some systems,
    // and the frame is cheap to paint whole.
    TWindowDC dc(hwnd_);
    if (!dc.Get()) return;
    try {
        PaintFrame(dc.Get());
    } catch (...) {
        // A frame that cannot be painted (no memory for a bitmap) stays as it was.
    }
    HotObject = nullptr;
}

void TWinSkinForm::PaintFrame(HDC dc) {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const TFrameMetrics& m = metrics_;
    if (W <= 0 || H <= 0) return;
    const TBitmap32 left = RenderBorder(Model(), 1, Bounds(0, 0, m.Left, H), active_);
    const TBitmap32 right = RenderBorder(Model(), 2, Bounds(0, 0, m.Right, H), active_);
    // Side borders below the caption only: the caption strip brings their top rows itself.
    auto blitBelow = [&](const TBitmap32& b, int x) {
        if (b.Empty() || H <= m.Caption) return;
        TBitmap32 part(b.Width(), H - m.Caption);
        DrawBitmap(part, 0, -m.Caption, b);
        BlitBitmap(dc, x, m.Caption, part);
    };
    blitBelow(left, 0);
    blitBelow(right, W - m.Right);
    BlitBitmap(dc, m.Left, H - m.Bottom,
               RenderBorder(Model(), 4, Bounds(0, 0, W - m.Left - m.Right, m.Bottom), active_));
    DrawFLine(dc, W, left, right);
    if (menuBar_ && m.MenuBar > 0) menuBar_->DrawMenu(dc, TRect{m.Left, m.Caption, W - m.Right, m.Caption + m.MenuBar});
    for (auto& b : buttons_)
        b->State = kStateNormal;
}

void TWinSkinForm::DrawFLine(HDC dc, int W, const TBitmap32& left, const TBitmap32& right) {
    const TFrameMetrics& m = metrics_;
    if (m.Caption <= 0) return;
    if ((captionCache_.Width() != W || captionCache_.Height() != m.Caption) && !captionCache_.Resize(W, m.Caption))
        return;
    TBitmap32& cache = captionCache_.Bits();
    GdiFlush();
    DrawBitmap(cache, 0, 0, left);
    DrawBitmap(cache, W - m.Right, 0, right);
    DrawBitmap(cache, m.Left, 0, RenderBorder(Model(), 3, Bounds(0, 0, W - m.Left - m.Right, m.Caption), active_));
    // Right-anchored buttons do not depend on the title, which stops short of them.
    std::vector<const TDataSkinSysButton*> entries;
    for (const auto& b : buttons_)
        entries.push_back(&b->Entry);
    rightButtonsLeft_ = RightButtonsLeft(entries, CaptionState());
    DrawLine(TRect{m.Left, 0, W - m.Right, m.Caption});
    GdiFlush();
    captionBack_ = cache;
    SetSysbtnRect();
    DrawAllSysbtn();
    GdiFlush();
    BitBlt(dc, 0, 0, W, m.Caption, captionCache_.DC(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawLine(const TRect& caption) {
    HDC dc = captionCache_.DC();
    TSelectObject selected(dc, NonClientFont(captionFont_, false, dpi_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColorRGB(skin_->Colors[active_ ? csTitleTextActive : csTitleTextNoActive]));
    const bool rtl = (exStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
    UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (rtl) flags |= DT_RIGHT;
    RECT measured{0, 0, 0, 0};
    Tnt_DrawTextW(dc, caption_, measured, (flags & ~UINT(DT_END_ELLIPSIS)) | DT_CALCRECT);
    TTitleInput in;
    in.Caption = caption;
    in.TextWidth = measured.right - measured.left;
    in.TextHeight = measured.bottom - measured.top;
    in.RightToLeft = rtl;
    in.Popup = (style_ & WS_POPUP) != 0;
    in.RightButtonsLeft = rightButtonsLeft_;
    in.Border = border_;
    const TDataSkinTitle& title = Model().Title;
    const TTitleLayout layout = TitleLayout(title, in);
    textRect_ = layout.Stored;
    if (!title.Bitmap.Empty()) {
        GdiFlush();
        DrawRectTile(captionCache_.Bits(), layout.Back, title.Bitmap,
                     TRect{title.TXTBackleft, 0, title.TXTBackRight, 0}, active_ ? 1 : 2, 2, true, true);
    }
    RECT text{layout.Text.Left, layout.Text.Top, layout.Text.Right, layout.Text.Bottom};
    if (text.right > text.left) Tnt_DrawTextW(dc, caption_, text, flags);
}

void TWinSkinForm::GetIcon() {
    iconSize_ = MetricForDpi(SM_CXSMICON, dpi_);
    if (iconSize_ <= 0) iconSize_ = 16;
    HICON h = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0));
    if (!h) h = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_BIG, 0));
    // A window whose class brings the icon (framework forms) shows that one.
    if (!h) h = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICONSM));
    if (!h) h = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICON));
    // Our own copy at the small size: the window's icon is not ours to destroy.
    TIconHandle icon(h ? reinterpret_cast<HICON>(CopyImage(h, IMAGE_ICON, iconSize_, iconSize_, 0)) : nullptr);
    if (icon) {
        // Over magenta for what takes it as a keyed image; with its alpha for the caption buttons.
        iconBitmap_ = IconOver(icon, iconSize_, PixelFromColor(clSkinKey));
        iconFace_ = IconWithAlpha(icon, iconSize_);
    } else {
        iconBitmap_ = skin_->WorkBitmap;
        // Without one of its own, the icon of the application's main skin (the last registered).
        if (iconBitmap_.Empty() && SkinManager)
            for (const TSkinData* s : SkinManager->SkinDatas())
                if (s->SkinFormtype == sfMainform && !s->WorkBitmap.Empty()) iconBitmap_ = s->WorkBitmap;
        iconFace_ = IconFromKeyed(iconBitmap_, clSkinKey);
    }
}

void TWinSkinForm::Cropwindow() {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    CropTo(wr.right - wr.left, wr.bottom - wr.top, true);
}

void TWinSkinForm::CropTo(int W, int H, bool redraw) {
    if (lifecycle_ == kSkinDestroyed || !IsWindow(hwnd_)) return;
    if (formStyle_ == sfsMDIChild && state_ != swsNormal) return;
    if (W <= 0 || H <= 0) return;
    RECT now{};
    GetWindowRect(hwnd_, &now);
    const SIZE current{now.right - now.left, now.bottom - now.top};
    // A region set ahead of a resize (for the resize's one repaint) is set again once the window
    // has its size: the system cuts a region to the window it is given to.
    if (regionSet_ && regionSize_.cx == W && regionSize_.cy == H && regionWindow_.cx == W && regionWindow_.cy == H &&
        lifecycle_ != kSkinChanging)
        return;
    bool whole = false;
    const TBitmap32* strip = captionCache_.Empty() ? nullptr : &captionCache_.Bits();
    GdiFlush();
    std::vector<TRect> rects;
    try {
        rects = FrameRegionRects(Model(), metrics_, W, H, border_ == sbsNone, active_, strip, whole);
    } catch (const std::exception&) {
        // Out of memory for the shape: the window stays whole rather than half cut.
        whole = true;
    }
    if (whole) {
        SetWindowRgn(hwnd_, nullptr, redraw);
    } else {
        TRgn rgn(RectsToRegion(rects));
        if (!rgn) return;
        // Once set, the region is the system's; it stays ours (and is deleted) when the call fails.
        if (!SetWindowRgn(hwnd_, rgn.Get(), redraw)) return;
        (void)rgn.Release();
    }
    regionSet_ = true;
    regionSize_ = SIZE{W, H};
    regionWindow_ = current;
}

void TWinSkinForm::Uncropwindow() {
    if (IsWindow(hwnd_)) SetWindowRgn(hwnd_, nullptr, TRUE);
    regionSet_ = false;
    captionCache_.Reset();
}

TBitmap32 TWinSkinForm::getClipMap() {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    TDib map;
    if (!map.Resize(W, H)) return TBitmap32();
    map.Bits().Fill(PixelFromColor(TColor(GetSysColor(COLOR_BTNFACE))));
    PaintFrame(map.DC());
    GdiFlush();
    return map.Bits();
}
