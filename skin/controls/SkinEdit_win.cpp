// The edit and up-down skinners.
#include "skin/controls/SkinEdit_win.h"

#include "skin/controls/EditRules.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

namespace {

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
    TBrushHandle brush(CreateSolidBrush(colour));
    FrameRect(dc, &r, brush.Get());
}
} // namespace

// ---- TSkinEdit

void TSkinEdit::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        // A WM_PAINT that brings its own DC is somebody's printing: left alone.
        if (m.WParam == 0) PaintControl(nullptr);
        break;
    case WM_NCPAINT:
        // The system draws the sunken border here without a WM_PAINT after it (focus, resize).
        PaintControl(nullptr);
        break;
    case WM_PRINT:
        PaintControl1(reinterpret_cast<HDC>(m.WParam));
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinEdit::FindUpDown() {
    for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring cls = WindowClassName(child);
        if (_wcsicmp(cls.c_str(), L"msctls_updown32") != 0 && _wcsicmp(cls.c_str(), L"TSpinButton") != 0) continue;
        // One that discovery skinned already keeps its skinner.
        if (TSkinControl::FromHandle(child)) return;
        auto* s = new TSkinUpDown(Owner());
        s->FInset = true;
        s->Inithwnd(child, FSkinData, FSkinForm);
        if (s->Status() != kControlSkinned) {
            s->Retire();
            return;
        }
        upDown_ = s;
        InvalidateRect(child, nullptr, FALSE);
        return;
    }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& r) {
    if (!upDown_) FindUpDown();
    RECT c{};
    GetClientRect(FHandle, &c);
    if (!EditHasBorder(ToTRect(c), r.right, r.bottom)) return;
    RECT f = r;
    FrameWith(dc, f, SkinColorRGB(FSkinData->Colors[csButtonShadow]));
    InflateRect(&f, -1, -1);
    FrameWith(dc, f, RGB(255, 255, 255));
}

void TSkinEdit::PaintControl1(HDC dc) {
    RECT r{};
    if (!dc || FStatus == kControlDestroyed || !GetWindowRect(FHandle, &r)) return;
    OffsetRect(&r, -r.left, -r.top);
    try {
        DrawControl1(dc, r);
    } catch (...) {
    }
}

void TSkinEdit::DrawControl1(HDC dc, const RECT& r) {
    RECT c{};
    GetClientRect(FHandle, &c);
    if (!EditPrintFrame(ToTRect(c), r.right, r.bottom)) return;
    // The inner line takes the DC's brush (the edit's background), the outer one the shadow.
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    FrameWith(dc, r, SkinColorRGB(FSkinData->Colors[csButtonShadow]));
}

// ---- TSkinUpDown

bool TSkinUpDown::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        PaintWholeFace(m);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Default(m);
        FState |= scDown;
        PaintControl(nullptr);
        return false;
    case WM_LBUTTONUP:
        FState &= ~unsigned(scDown);
        Default(m);
        PaintControl(nullptr);
        return false;
    case WM_MOUSEMOVE:
        // The hot button follows the mouse from one half to the other.
        EnterHover();
        Default(m);
        PaintControl(nullptr);
        return false;
    case CM_MOUSELEAVE:
        FState &= ~unsigned(scMouseIn);
        PaintControl(nullptr);
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& r) {
    RECT client{};
    GetClientRect(FHandle, &client);
    TDib dib;
    if (!dib.Resize(client.right, client.bottom)) return;
    const COLORREF face = FaceRGB();
    dib.Bits().Fill(PixelRGB(GetRValue(face), GetGValue(face), GetBValue(face)));
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    const bool horizontal = FForceHorz || (GetWindowLongPtrW(FHandle, GWL_STYLE) & UDS_HORZ) != 0;
    const TDataSkinBorder* obj = horizontal ? Skin().UpDownHorz.get() : Skin().UpDownVert.get();
    const bool skinned = obj && !obj->Bitmap.Empty();
    const int frames = skinned ? StripFrames(8, obj->Bitmap.Width()) : 8;
    const TUpDownLayout l = UpDownLayout(ToTRect(client), FInset, horizontal, TPoint{p.x, p.y}, (FState & scDown) != 0,
                                         (FState & scMouseIn) != 0, FEnabled, frames);
    for (const TUpDownButton* b : {&l.First, &l.Second}) {
        if (skinned) {
            DrawSkinButton(dib.Bits(), b->Rect, b->Frame, horizontal);
        } else {
            const RECT br{b->Rect.Left, b->Rect.Top, b->Rect.Right, b->Rect.Bottom};
            DrawButton(dib.DC(), br, b->State, b->Kind);
            GdiFlush();
        }
    }
    BitBlt(dc, r.left, r.top, client.right, client.bottom, dib.DC(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawSkinButton(TBitmap32& target, const TRect& r, int frame, bool horizontal) {
    const TDataSkinBorder* obj = horizontal ? Skin().UpDownHorz.get() : Skin().UpDownVert.get();
    DrawRect1(target, r, obj->Bitmap, frame, 8, true);
    if (obj->Bitmap2.Empty()) return;
    const int gw = obj->Bitmap2.Width() / 8, gh = obj->Bitmap2.Height();
    DrawRect1(target, CenterIn(r, gw, gh), obj->Bitmap2, frame, 8, true);
}

void TSkinUpDown::DrawButton(HDC dc, const RECT& r, int state, int kind) {
    const bool dark = state == kBtnPressed || state == kBtnHot;
    TBrushHandle brush(CreateSolidBrush(dark ? SkinColorRGB(FSkinData->Colors[csButtonShadow]) : FaceRGB()));
    TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, SkinColorRGB(FSkinData->Colors[csButtonDkshadow])));
    TSelectObject selBrush(dc, brush.Get());
    TSelectObject selPen(dc, pen.Get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    const int x = r.left + (r.right - r.left) / 2;
    int y = r.top + (r.bottom - r.top) / 2;
    if (kind <= 1) y -= 2;
    DrawArrow(dc, x, y, kind);
}
