// The tab control and tab set skinners. A tab control's strip is composed lying along its side
// (top and bottom as they are, left and right lying down) and turned into place, so one tab image
// serves every side.
#include "skin/controls/SkinTab_win.h"

#include "skin/controls/EditRules.h"
#include "skin/controls/SkinEdit_win.h"
#include "skin/controls/SkinProps.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"

#include "framework/SysUtils.h"

namespace {

struct TTabItem {
    std::wstring Text;
    int Image = -1;
};
TTabItem TabItem(HWND hwnd, int i) {
    // The control tells no length: the buffer grows until the text leaves room to spare.
    TTabItem t;
    for (int cap = 128; cap <= 65536; cap *= 4) {
        std::wstring buf(size_t(cap), L'\0');
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = buf.data();
        item.cchTextMax = cap;
        if (!SendMessageW(hwnd, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item))) break;
        // The control may hand back its own buffer instead of filling ours.
        const wchar_t* text = item.pszText ? item.pszText : buf.data();
        t.Text.assign(text, wcsnlen(text, size_t(cap)));
        t.Image = item.iImage;
        if (t.Text.size() + 1 < size_t(cap)) break;
    }
    return t;
}
} // namespace

// ---- TSkinTab

void TSkinTab::Inithwnd(HWND hwnd, TSkinDataCore* skin, TWinSkinForm* form) {
    TSkinControl::Inithwnd(hwnd, skin, form);
    if (FStatus != kControlSkinned) return;
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    FCaption = GetFormCaption(FHandle);
    inittab();
    FindScroll();
}

void TSkinTab::SkinChange() {
    TSkinControl::SkinChange();
    inittab();
}

void TSkinTab::inittab() {
    FPosition = TabPosition(unsigned(GetWindowLongPtrW(FHandle, GWL_STYLE)));
    FTabImage = TBitmap32();
    FBorderImage = TBitmap32();
    const TDataSkinBorder* tabs = Skin().Tabs.get();
    if (!tabs || tabs->Bitmap.Empty() || tabs->Bitmap2.Empty()) return;
    FTabImage = tabs->Bitmap;
    FBorderImage = tabs->Bitmap2;
    switch (FPosition) {
    case Stbottom:
        SpiegelnVertikal(FTabImage);
        SpiegelnVertikal(FBorderImage);
        break;
    case Stleft:
        Drehen270Grad(FBorderImage);
        break;
    case Stright:
        Drehen90Grad(FBorderImage);
        break;
    case StTop:
        break;
    }
}

bool TSkinTab::FindScroll() {
    const HWND arrows = FindWindowExW(FHandle, nullptr, L"msctls_updown32", nullptr);
    if (!arrows) return false;
    if (!FUpDown && !TSkinControl::FromHandle(arrows)) {
        auto* s = new TSkinUpDown(Owner());
        s->Inithwnd(arrows, FSkinData, FSkinForm);
        if (s->Status() == kControlSkinned)
            FUpDown = s;
        else
            s->Retire();
    }
    return IsWindowVisible(arrows) != FALSE;
}

void TSkinTab::DrawStrip(TDib& strip, const TRect& window, const TRect& page, int focused) {
    const TDataSkinBorder* tabs = Skin().Tabs.get();
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    const int n = int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    TSelectObject selFont(strip.DC(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < n; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
        const TTabItem t = TabItem(FHandle, i);
        const TRect at = TabToStrip(ToTRect(item), FPosition, window, page, strip.Width());
        const int state = i == focused ? 2 : 1;
        GdiFlush();
        DrawRect2(strip.Bits(), at, FTabImage, tabs->Margins, state, tabs->FrameCount, tabs->Trans == 1,
                  tabs->Tile != 0, false);
        if (FPosition != StTop && FPosition != Stbottom) continue;
        SetTextColor(strip.DC(), SkinColorRGB(state == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2));
        DrawImgCaption(strip.DC(), ToRECT(at), images, t.Image, t.Text, 1);
    }
}

void TSkinTab::DrawSideCaptions(TDib& strip, const TRect& stripRect, int focused) {
    const TDataSkinBorder* tabs = Skin().Tabs.get();
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    // Left tabs read upward, right tabs downward, as the system writes them.
    lf.lfEscapement = lf.lfOrientation = FPosition == Stleft ? 900 : 2700;
    TFontHandle turned(CreateFontIndirectW(&lf));
    TSelectObject selFont(strip.DC(), turned.Get());
    SetBkMode(strip.DC(), TRANSPARENT);
    const int n = int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
        const TTabItem t = TabItem(FHandle, i);
        if (t.Text.empty()) continue;
        SIZE s{};
        GetTextExtentPoint32W(strip.DC(), t.Text.c_str(), int(t.Text.size()), &s);
        const TRect at = ToTRect(item).Offset(-stripRect.Left, -stripRect.Top);
        // A turned line starts at its reference point: bottom-left for upward text, top-right
        // for downward text.
        const int x = at.Left + (at.Width() - s.cy) / 2 + (FPosition == Stleft ? 0 : s.cy);
        const int y = at.Top + (at.Height() - s.cx) / 2 + (FPosition == Stleft ? s.cx : 0);
        SetTextColor(strip.DC(), SkinColorRGB(i == focused ? tabs->MouseOverColour2 : tabs->NormalColour2));
        ExtTextOutW(strip.DC(), x, y, 0, nullptr, t.Text.c_str(), UINT(t.Text.size()), nullptr);
    }
}

void TSkinTab::DrawControl(HDC dc, const RECT& r) {
    // Without the tab image or its page border the control keeps its own look.
    const TDataSkinBorder* tabs = Skin().Tabs.get();
    if (!HasImage(tabs) || FTabImage.Empty()) return;
    const TRect window = ToTRect(r);
    RECT display = r;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const TRect page = TabPageArea(ToTRect(display), FPosition);
    const int focused = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    const TRect sx = TabStripRect(window, page, FPosition);
    const TPoint size = TabStripSize(sx, FPosition);

    TDib strip;
    if (size.X > 0 && size.Y > 0 && strip.Resize(size.X, size.Y)) {
        strip.Bits().Fill(PixelOf(FaceRGB()));
        DrawStrip(strip, window, page, focused);
        GdiFlush();
        TDib turned;
        TDib* out = &strip;
        if (FPosition == Stleft || FPosition == Stright) {
            TBitmap32 bits = strip.Bits();
            if (FPosition == Stright)
                Drehen90Grad(bits);
            else
                Drehen270Grad(bits);
            if (turned.Resize(bits.Width(), bits.Height())) {
                DrawBitmap(turned.Bits(), 0, 0, bits);
                DrawSideCaptions(turned, sx, focused);
                out = &turned;
            } else {
                out = nullptr;
            }
        }
        if (out) {
            // The scroll arrows lie over the strip: they are left out of the copy.
            const int saved = SaveDC(dc);
            const HWND arrows = FindWindowExW(FHandle, nullptr, L"msctls_updown32", nullptr);
            if (FindScroll() && arrows) {
                RECT a{};
                GetWindowRect(arrows, &a);
                MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&a), 2);
                ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
            }
            BitBlt(dc, sx.Left, sx.Top, sx.Width(), sx.Height(), out->DC(), 0, 0, SRCCOPY);
            RestoreDC(dc, saved);
        }
    }

    if (FBorderImage.Empty() || page.IsEmpty()) return;
    TDib border;
    if (!border.Resize(page.Width(), page.Height())) return;
    BitBlt(border.DC(), 0, 0, page.Width(), page.Height(), dc, page.Left, page.Top, SRCCOPY);
    GdiFlush();
    DrawBorder(border.Bits(), TRect{0, 0, page.Width(), page.Height()}, FBorderImage, TRect{4, 5, 4, 4}, 1, 1, false);
    // Only the frame goes back: the page's inside belongs to the pages.
    const int w = page.Width(), h = page.Height();
    const RECT bands[] = {{0, 0, w, 5}, {0, h - 4, w, h}, {0, 5, 4, h - 4}, {w - 4, 5, w, h - 4}};
    for (const RECT& b : bands)
        BitBlt(dc, page.Left + b.left, page.Top + b.top, b.right - b.left, b.bottom - b.top, border.DC(), b.left, b.top,
               SRCCOPY);
}

// ---- TSkinTab31

void TSkinTab31::Init(TWinSkinForm* form, TSkinDataCore* skin, bool) {
    if (FInitialized) return;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control || !control->HandleAllocated()) return;
    TSkinControl::Inithwnd(control->Handle(), skin, form);
    if (FStatus != kControlSkinned) return;
    FControl = control;
    inittab();
    if (control->ComponentCount() > 0)
        if (auto* scroller = dynamic_cast<TWinControl*>(control->Components(0));
            scroller && scroller->HandleAllocated()) {
            FScroller = scroller;
            auto* s = new TSkinUpDown(Owner());
            s->FForceHorz = true;
            s->Inithwnd(scroller->Handle(), skin, form);
            if (s->Status() == kControlSkinned)
                FUpDown = s;
            else
                s->Retire();
        }
}

void TSkinTab31::SkinChange() {
    TSkinControl::SkinChange();
    inittab();
}

void TSkinTab31::inittab() {
    FTabImage = TBitmap32();
    if (const TDataSkinBorder* tabs = Skin().Tabs.get()) {
        FTabImage = tabs->Bitmap;
        SpiegelnVertikal(FTabImage);
    }
}

bool TSkinTab31::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        // The whole face is the skin's; without a tab image the tab set paints itself.
        if (FTabImage.Empty()) return true;
        WMPaint(m);
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinTab31::DrawControl(HDC dc, const RECT& r) {
    const TDataSkinBorder* tabs = Skin().Tabs.get();
    if (!tabs || FTabImage.Empty() || !FControl) return;
    TDib dib;
    if (!dib.Resize(r.right - r.left, r.bottom - r.top)) return;
    dib.Bits().Fill(PixelOf(FaceRGB()));
    const TFont* font = GetObjProp<TFont>(FControl, "Font");
    TSelectObject selFont(dib.DC(), font ? font->Handle() : GetStockObject(DEFAULT_GUI_FONT));
    const TStringList* list = GetObjProp<TStringList>(FControl, "Tabs");
    std::vector<std::wstring> texts;
    std::vector<int> widths;
    for (int i = 0; list && i < list->Count(); ++i) {
        texts.push_back(Utf8ToWide((*list)[i]));
        SIZE s{};
        GetTextExtentPoint32W(dib.DC(), texts.back().c_str(), int(texts.back().size()), &s);
        widths.push_back(s.cx);
    }
    const bool scroller = FScroller && FScroller->HandleAllocated() && IsWindowVisible(FScroller->Handle());
    const int selected = int(GetIntProperty(FControl, "TabIndex"));
    const auto cells = TabSetLayout(r.right - r.left, int(GetIntProperty(FControl, "StartMargin")),
                                    int(GetIntProperty(FControl, "EndMargin")),
                                    int(GetIntProperty(FControl, "FirstIndex")), widths, scroller);
    for (const TTabSetCell& c : cells) {
        const TRect at{c.Left, 0, c.Right, r.bottom - r.top};
        const bool sel = c.Index == selected;
        GdiFlush();
        DrawRect2(dib.Bits(), at, FTabImage, tabs->Margins, sel ? 2 : 1, tabs->FrameCount, tabs->Trans == 1,
                  tabs->Tile != 0, false);
        SetTextColor(dib.DC(), SkinColorRGB(sel ? tabs->MouseOverColour2 : tabs->NormalColour2));
        DrawCaption(dib.DC(), ToRECT(at), texts[size_t(c.Index)], true, 1);
    }
    GdiFlush();
    BitBlt(dc, r.left, r.top, dib.Width(), dib.Height(), dib.DC(), 0, 0, SRCCOPY);
}
