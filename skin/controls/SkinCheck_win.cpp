#include "skin/controls/SkinCheck_win.h"

#include "skin/controls/ButtonRules.h"
#include "skin/controls/SkinProps.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/SysUtils.h"

namespace {
// The "Checked" property of a framework control that publishes one: 1 true, 0 false, -1 none.
int PublishedChecked(const TWinControl* control) {
    TPropValue v;
    if (!control || !control->GetPropValue("Checked", v) || v.Kind != TPropValue::pkEnum) return -1;
    return SameText(v.Text, "true") ? 1 : 0;
}

bool Disabled(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) != 0;
}
} // namespace

// ---- TSkinCheckBox

void TSkinCheckBox::AfterProc(TMessage& m) {
    switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    // The system's box paints itself straight on these (Wine does): the glyph goes back on top.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        Invalidate();
        break;
    default:
        TSkinControl::AfterProc(m);
    }
}

void TSkinCheckBox::DrawBox(HDC dc, const RECT& r, const TBitmap32& strip, int frameCount, int index, bool radio) {
    const int n = frameCount > 0 ? frameCount : 1;
    const int fw = strip.Width() / n, fh = strip.Height();
    const bool boxRight = (GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_LEFTTEXT) != 0;
    const TCheckPlace p =
        CheckPlace(TRect{r.left, r.top, r.right, r.bottom}, fw, fh, GetSystemMetrics(SM_CXMENUCHECK), boxRight, radio);
    FillBG(dc, RECT{p.Background.Left, p.Background.Top, p.Background.Right, p.Background.Bottom});
    DrawSkinMap2(dc, RECT{p.Glyph.Left, p.Glyph.Top, p.Glyph.Right, p.Glyph.Bottom}, strip, index, n);
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || Skin().Buttons.CheckBitmap.Empty()) return;
    const LRESULT state = SendMessageW(FHandle, BM_GETSTATE, 0, 0);
    bool checked = (state & BST_CHECKED) != 0;
    if (const int published = PublishedChecked(FControl); published >= 0) checked = published == 1;
    const int n = Skin().Buttons.CheckButtonFrame;
    const int index = CheckBoxFrame(checked, Disabled(FHandle), (state & BST_INDETERMINATE) != 0, n);
    DrawBox(dc, r, Skin().Buttons.CheckBitmap, n, index, false);
}

// ---- TSkinRadioButton

void TSkinRadioButton::DrawControl(HDC dc, const RECT& r) {
    if (!FSkinData || Skin().Buttons.RadioBitmap.Empty()) return;
    bool checked = (SendMessageW(FHandle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
    if (const int published = PublishedChecked(FControl); published >= 0) checked = published == 1;
    const int n = Skin().Buttons.RadioButtonFrame;
    DrawBox(dc, r, Skin().Buttons.RadioBitmap, n, RadioButtonFrame(checked, Disabled(FHandle), n), true);
}

// ---- TSkinGroupBox

void TSkinGroupBox::DrawControl(HDC dc, const RECT& r) {
    DefaultDraw(dc, r);
}

void TSkinGroupBox::DefaultDraw(HDC dc, const RECT& r) {
    if (!FSkinData) return;
    FCaption = GetFormCaption(FHandle);
    if (FCaption.empty()) FCaption = Utf8ToWide(GetStringProp(FControl, "Caption"));
    HFONT font =
        FControl ? FControl->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    TSelectObject selectFont(dc, font);
    const int h = TextHeight(dc, L"0");
    const TGroupBoxFrame g = GroupBoxFrame(TRect{r.left, r.top, r.right, r.bottom}, h);
    const COLORREF face = FaceRGB();
    TBrushHandle brush(CreateSolidBrush(face));
    // The control's own frame goes (two pixels wide), and with it its own caption, which the
    // system puts a little left of ours.
    RECT e{g.Erase.Left, g.Erase.Top, g.Erase.Right, g.Erase.Bottom};
    FrameRect(dc, &e, brush.Get());
    InflateRect(&e, -1, -1);
    FrameRect(dc, &e, brush.Get());
    RECT band{r.left, r.top, r.right, r.top + h};
    FillRect(dc, &band, brush.Get());

    TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, SkinColorRGB(FSkinData->Colors[csButtonShadow])));
    {
        TSelectObject selectPen(dc, pen.Get());
        TSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, g.Round.Left, g.Round.Top, g.Round.Right, g.Round.Bottom, 5, 5);
    }
    const COLORREF oldBk = SetBkColor(dc, face);
    const int oldMode = SetBkMode(dc, OPAQUE);
    SetTextColor(dc, SkinColorRGB(FSkinData->Colors[csButtonText]));
    RECT caption{g.Caption.Left, g.Caption.Top, g.Caption.Right, g.Caption.Bottom};
    Tnt_DrawTextW(dc, FCaption, caption, DT_EXPANDTABS);
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBk);
}

// ---- TSkinBox

void TSkinBox::Init(TWinSkinForm* form, TSkinDataCore* skin, bool changeColor) {
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control || !control->HandleAllocated()) return;
    FChangeColor = changeColor;
    FSkinData = skin;
    FControl = control;
    FHandle = control->Handle();
    FSkinForm = form;
    if (FSkinForm) FSkinForm->Controls().Add(this);
    if (FChangeColor) {
        FOldColor = control->Color;
        control->Color = skin->Colors[csButtonFace];
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    // Counted as skinned, so that the form skinner keeps it and gives the colour back when it goes.
    FStatus = kControlSkinned;
}

void TSkinBox::Unsubclass() {
    if (FStatus == kControlSkinned && FChangeColor && FControl) {
        FControl->Color = FOldColor;
        if (IsWindow(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
    }
    FStatus = kControlUnsubclassed;
}
