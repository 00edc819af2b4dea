// The combo box skinner: the skin's sunken edge around the box and its drop-down button, on the
// right or, for left-scroll-bar boxes, on the left from the mirrored image.
#include "skin/controls/SkinCombo_win.h"
#include "skin/controls/EditRules.h"
#include "skin/controls/SkinEdit_win.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"

void TSkinComBox::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_DRAWITEM:
        Invalidate();
        break;
    case WM_NCPAINT:
        PaintControl(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FState |= scDown;
        PaintControl(nullptr);
        break;
    case WM_LBUTTONUP:
        FState &= ~unsigned(scDown);
        PaintControl(nullptr);
        break;
    case WM_MOUSEMOVE:
        if (FEnabled && EnterHover()) PaintControl(nullptr);
        break;
    case CM_MOUSEENTER:
        if (FEnabled) {
            FState |= scMouseIn;
            PaintControl(nullptr);
        }
        break;
    case CM_MOUSELEAVE:
        if (FEnabled) {
            FState &= ~unsigned(scMouseIn);
            PaintControl(nullptr);
        }
        break;
    case WM_COMMAND:
    case CN_COMMAND:
        // The list closing ends a press that the list's own mouse capture kept from us.
        if (HIWORD(m.WParam) == CBN_CLOSEUP) {
            FState &= ~unsigned(scDown);
            PaintControl(nullptr);
        }
        TSkinControl::AfterProc(m);
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

int TSkinComBox::State() {
    FFocused = GetFocus() == FHandle || IsChild(FHandle, GetFocus());
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    return ButtonState(FEnabled, FFocused, (FState & scDown) != 0, (FState & scMouseIn) != 0);
}

void TSkinComBox::DrawControl(HDC dc, const RECT& r) {
    const TDataSkinBorder* button = Skin().ComboButton.get();
    if (!HasImage(button)) return;
    FStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_STYLE));
    FExStyle = DWORD(GetWindowLongPtrW(FHandle, GWL_EXSTYLE));
    // A simple combo box has no button: its list stays open below the edit.
    if ((FStyle & 3) == CBS_SIMPLE) return;
    if (button->Style == 1) {
        DrawControl1(dc, r);
        return;
    }
    const TDataSkinObject* edge = Skin().SunkEdge.get();
    if (!HasImage(edge)) return;
    const int s = State();
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const TComboLayout l = ComboLayout(r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXHSCROLL), left);
    const TBitmap32& image = left && !button->Bitmap2.Empty() ? button->Bitmap2 : button->Bitmap;
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, l.TextArea.Left, l.TextArea.Top, l.TextArea.Right, l.TextArea.Bottom);
    DrawSkinMap(dc, r, edge, s, edge->FrameCount);
    const RECT cell{l.ButtonCell.Left, l.ButtonCell.Top, l.ButtonCell.Right, l.ButtonCell.Bottom};
    DrawSkinMap2(dc, cell, image, s, button->FrameCount);
    const TDataSkinObject* glyphs = Skin().ExtraImages.get();
    if (HasImage(glyphs)) {
        const int frames = StripFrames(glyphs->FrameCount, glyphs->Bitmap.Width());
        const TRect g = CenterIn(l.GlyphArea, glyphs->Bitmap.Width() / frames, glyphs->Bitmap.Height());
        DrawSkinMap1(dc, RECT{g.Left, g.Top, g.Right, g.Bottom}, glyphs->Bitmap, s, frames);
    }
    RestoreDC(dc, saved);
}

void TSkinComBox::DrawControl1(HDC dc, const RECT& r) {
    const TDataSkinBorder* button = Skin().ComboButton.get();
    const int s = State();
    const HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT f = r;
    InflateRect(&f, -1, -1);
    FrameRect(dc, &f, brush);
    const TRect cell = FlatComboButton(r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CYVTHUMB));
    const RECT c{cell.Left, cell.Top, cell.Right, cell.Bottom};
    FillRect(dc, &c, brush);
    TDib dib;
    if (dib.Resize(cell.Width(), cell.Height())) {
        DrawRect1(dib.Bits(), TRect{0, 0, cell.Width(), cell.Height()}, button->Bitmap, s, button->FrameCount, false);
        BitBlt(dc, c.left, c.top, cell.Width(), cell.Height(), dib.DC(), 0, 0, SRCCOPY);
    }
    TBrushHandle shadow(CreateSolidBrush(SkinColorRGB(FSkinData->Colors[csButtonShadow])));
    FrameRect(dc, &r, shadow.Get());
}
