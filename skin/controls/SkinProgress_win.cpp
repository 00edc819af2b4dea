// The progress bar skinner (a bar of two frames, or chunks over a one-frame bar) and the track bar
// thumb skinner (through the control's custom-draw notifications).
#include "skin/controls/SkinProgress_win.h"
#include "skin/controls/EditRules.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"

// ---- TSkinProgress

bool TSkinProgress::Skinned() const {
    const TDataSkinBorder* p = FSkinData ? Skin().Progress.get() : nullptr;
    if (!p || p->Bitmap.Empty()) return false;
    // The chunk style draws nothing without its chunk: the control then paints itself.
    return p->Style != 1 || !p->Bitmap2.Empty();
}

bool TSkinProgress::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (!Skinned()) return true;
        WMPaint(m);
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinProgress::DrawControl(HDC dc, const RECT& r) {
    if (!Skinned()) return;
    const TDataSkinBorder* p = Skin().Progress.get();
    if (p->Style == 1) {
        DrawControl1(dc, r);
        return;
    }
    TDib dib;
    if (!dib.Resize(r.right, r.bottom)) return;
    dib.Bits().Fill(PixelOf(FaceRGB()));
    const TRect rect = ToTRect(r);
    DrawRect2(dib.Bits(), rect, p->Bitmap, p->Margins, 1, 2, true, p->Tile != 0, false);
    const int pos = int(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
    const int hi = int(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
    const int fill = ProgressFill(rect.Width(), pos, hi);
    if (fill > 0)
        DrawRect2(dib.Bits(), TRect{rect.Left, rect.Top, rect.Left + fill, rect.Bottom}, p->Bitmap, p->Margins, 2, 2,
                  true, p->Tile != 0, false);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, dib.DC(), r.left, r.top, SRCCOPY);
}

void TSkinProgress::DrawControl1(HDC dc, const RECT& r) {
    const TDataSkinBorder* p = Skin().Progress.get();
    const TRect rect = ToTRect(r);
    if (!SharedBufferFit(rect.Right, rect.Bottom)) return;
    TBitmap32& buffer = SharedBuffer().Bits();
    buffer.FillRect(TRect{0, 0, rect.Right, rect.Bottom}, PixelOf(FaceRGB()));
    DrawRect2(buffer, rect, p->Bitmap, p->Margins, 1, 1, true, p->Tile != 0, false);
    const int pos = int(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
    const int hi = int(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
    const int fill = ProgressChunkFill(rect.Width(), pos, hi);
    const TBitmap32& chunk = p->Bitmap2;
    if (fill > 0) {
        const int x0 = rect.Left + p->Margins.Left, y0 = rect.Top + (rect.Bottom - chunk.Height()) / 2;
        // The chunks stay inside the bar's right edge, so a full bar keeps its frame.
        const int width = std::min(fill, rect.Right - p->Margins.Right - x0);
        if (width > 0) {
            TBitmap32 strip(width, chunk.Height());
            strip.Fill(PixelFromColor(clSkinKey));
            for (int i = 0, n = ProgressChunks(fill, chunk.Width()); i < n; ++i)
                DrawBitmap(strip, i * chunk.Width(), 0, chunk);
            DrawBitmapKeyed(buffer, x0, y0, strip, clSkinKey);
        }
    }
    DrawBuf(dc, r);
}

// ---- TSkinTrackBar

bool TSkinTrackBar::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
        const auto* cd = reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam);
        if (!cd || cd->hdr.code != UINT(NM_CUSTOMDRAW)) return true;
        m.Result = CustomDraw(*cd);
        return false;
    }
    default:
        return TSkinControl::BeforeProc(m);
    }
}

const TDataSkinObject* TSkinTrackBar::ThumbImage() const {
    const TDataSkinObject* v = Skin().TrackbarThumbVert.get();
    const TDataSkinObject* h = Skin().TrackbarThumbHorz.get();
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    switch (TrackThumbImage(vertical, v && !v->Bitmap.Empty(), h && !h->Bitmap.Empty())) {
    case tiVert:
        return v;
    case tiHorz:
        return h;
    default:
        return nullptr;
    }
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
    if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    // Without a thumb image the system draws its own thumb.
    if (cd.dwDrawStage == CDDS_ITEMPREPAINT && cd.dwItemSpec == TBCD_THUMB && ThumbImage()) {
        Drawthumb(cd);
        return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}

void TSkinTrackBar::Drawthumb(const NMCUSTOMDRAW& cd) {
    if (!IsWindow(FHandle)) return;
    RECT r{};
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    if (const TDataSkinObject* image = ThumbImage())
        DrawSkinMap1(cd.hdc, r, image->Bitmap, 2, StripFrames(5, image->Bitmap.Width()));
}
