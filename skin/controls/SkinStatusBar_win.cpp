// The header, status bar and size box skinners.
#include "skin/controls/SkinStatusBar_win.h"
#include "skin/controls/EditRules.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/TabRules.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"

#include "framework/ComCtrls.h"
#include "framework/SysUtils.h"

namespace {

// One item of a status bar as the skinner draws it.
struct TPanelItem {
    RECT Rect;
    int Bevel = 1; // frame of the panel strip: 1 lowered, 2 raised, 3 none
    std::wstring Text;
    int Align = 0;
};

int EnumIndex(const std::string& value, std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* n : names) {
        if (SameText(value, n)) return i;
        ++i;
    }
    return 0;
}

// The items of a framework status bar, read through its published properties.
bool FrameworkItems(const TObject* bar, const RECT& r, HWND hwnd, std::vector<TPanelItem>& items) {
    const auto* panels = GetObjProp<TStatusPanels>(bar, "Panels");
    if (!panels) return false;
    const bool simple = GetEnumProperty(bar, "SimplePanel") == "True";
    if (StatusSimple(simple, panels->Count())) {
        items.push_back(TPanelItem{r, 1, Utf8ToWide(GetStringProp(bar, "SimpleText")), 0});
        return true;
    }
    for (int i = 0; i < panels->Count(); ++i) {
        const TStatusPanel* p = panels->Items(i);
        TPanelItem item;
        if (!SendMessageW(hwnd, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item.Rect))) continue;
        if (i == panels->Count() - 1) item.Rect.right = r.right;
        const int alignment =
            EnumIndex(GetEnumProperty(p, "Alignment"), {"taLeftJustify", "taRightJustify", "taCenter"});
        item.Align = PanelTextAlign(alignment, GetEnumProperty(p, "BiDiMode") == "bdRightToLeft");
        item.Bevel = PanelBevelFrame(EnumIndex(GetEnumProperty(p, "Bevel"), {"pbLowered", "pbRaised", "pbNone"}));
        item.Text = Utf8ToWide(GetStringProp(p, "Text"));
        items.push_back(item);
    }
    return true;
}

// The items of a status bar window that no framework control owns: its parts and their texts.
void WindowItems(HWND hwnd, const RECT& r, std::vector<TPanelItem>& items) {
    const int parts = int(SendMessageW(hwnd, SB_GETPARTS, 0, 0));
    const bool simple = SendMessageW(hwnd, SB_ISSIMPLE, 0, 0) != 0;
    const int n = StatusSimple(simple, parts) ? 1 : parts;
    for (int i = 0; i < n; ++i) {
        TPanelItem item;
        const WPARAM index = simple ? SB_SIMPLEID : WPARAM(i);
        const LRESULT info = SendMessageW(hwnd, SB_GETTEXTLENGTHW, index, 0);
        std::wstring text(size_t(LOWORD(info)) + 1, L'\0');
        SendMessageW(hwnd, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(info));
        item.Text = text;
        item.Bevel = (HIWORD(info) & SBT_NOBORDERS) ? 3 : (HIWORD(info) & SBT_POPOUT) ? 2 : 1;
        if (simple || n == 1) {
            item.Rect = r;
        } else if (!SendMessageW(hwnd, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item.Rect))) {
            continue;
        }
        if (i == n - 1) item.Rect.right = r.right;
        items.push_back(item);
    }
}
} // namespace

// ---- TSkinHeader

bool TSkinHeader::BeforeProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND && HasImage(Skin().Headerbar.get())) {
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinHeader::DrawControl(HDC dc, const RECT& r) {
    const TDataSkinObject* bar = Skin().Headerbar.get();
    if (!HasImage(bar)) return;
    TDib dib;
    if (!dib.Resize(r.right - r.left, r.bottom - r.top)) return;
    dib.Bits().Fill(PixelOf(FaceRGB()));
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    TSelectObject selFont(dib.DC(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dib.DC(), TRANSPARENT);
    SetTextColor(dib.DC(), SkinColorRGB(FSkinData->Colors[csButtonText]));
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
    const int n = int(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
    int xmax = 0;
    for (int i = 0; i < n; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
        DrawItem(dib, images, item, i);
        xmax = std::max(xmax, int(item.right));
    }
    if (xmax < r.right) {
        GdiFlush();
        DrawRect2(dib.Bits(), TRect{xmax, r.top, r.right, r.bottom}, bar->Bitmap, bar->Margins, 1, bar->FrameCount,
                  false, bar->Tile != 0, false);
    }
    GdiFlush();
    BitBlt(dc, r.left, r.top, dib.Width(), dib.Height(), dib.DC(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(TDib& target, HIMAGELIST images, const RECT& r, int index) {
    const TDataSkinObject* bar = Skin().Headerbar.get();
    wchar_t text[202] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 201;
    SendMessageW(FHandle, HDM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    DrawRect2(target.Bits(), ToTRect(r), bar->Bitmap, bar->Margins, 1, bar->FrameCount, bar->Trans == 1, bar->Tile != 0,
              false);
    const std::wstring caption = text;
    if (caption.empty()) return;
    DrawImgCaption(target.DC(), r, images, HeaderImage(unsigned(item.fmt), item.iImage), caption,
                   HeaderAlign(unsigned(item.fmt)));
}

// ---- TSkinStatusBar

void TSkinStatusBar::DrawControl(HDC dc, const RECT& r) {
    const TRect rect = ToTRect(r);
    if (!SharedBufferFit(rect.Right, rect.Bottom)) return;
    TDib& buffer = SharedBuffer();
    buffer.Bits().FillRect(TRect{0, 0, rect.Right, rect.Bottom}, PixelOf(FaceRGB()));
    const HDC bdc = buffer.DC();
    const TFont* font = GetObjProp<TFont>(Owner(), "Font");
    const HFONT hfont = font ? font->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    TSelectObject selFont(bdc, hfont ? hfont : GetStockObject(DEFAULT_GUI_FONT));
    const TDataSkinObject* edges = Skin().StatusBarEdges.get();
    SetTextColor(bdc, SkinColorRGB(edges ? edges->NormalColour2 : FSkinData->Colors[csButtonText]));

    std::vector<TPanelItem> items;
    if (!FrameworkItems(Owner(), r, FHandle, items)) WindowItems(FHandle, r, items);
    for (const TPanelItem& item : items) {
        if (HasImage(edges))
            drawitem(bdc, item.Rect, item.Bevel, item.Text, item.Align);
        else
            Defaultpaint(bdc, item.Rect, item.Bevel, item.Text, item.Align);
    }

    const TDataSkinObject* extra = Skin().ExtraImages.get();
    if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(extra)) {
        // The grip is frame 5, or the strip's last frame when it holds fewer.
        const int frames = StripFrames(extra->FrameCount, extra->Bitmap.Width());
        const TRect grip =
            SizeGripRect(rect.Right, rect.Bottom, extra->Bitmap.Width() / frames, extra->Bitmap.Height());
        GdiFlush();
        DrawSkinMap1(bdc, RECT{grip.Left, grip.Top, grip.Right, grip.Bottom}, extra->Bitmap, ClampFrame(5, frames),
                     frames);
    }
    GdiFlush();
    DrawBuf(dc, r);
}

void TSkinStatusBar::drawitem(HDC dc, const RECT& r, int bevel, const std::wstring& text, int align) {
    if (r.right < r.left || r.bottom < r.top) return;
    const TDataSkinObject* edges = Skin().StatusBarEdges.get();
    GdiFlush();
    const TBitmap32 map =
        GetHMap(ToTRect(r), edges->Bitmap, edges->Margins, bevel, edges->FrameCount, edges->Tile != 0, false);
    BlitBitmap(dc, r.left, r.top, map);
    RECT t{r.left + 2, r.top, r.right - 2, r.bottom};
    DrawCaption(dc, t, text.empty() ? L" " : text, true, align);
}

void TSkinStatusBar::Defaultpaint(HDC dc, const RECT& r, int bevel, const std::wstring& text, int align) {
    const TBevelColors colors = AdjustColors(bevel);
    if (colors != bcNone) {
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF top = colors == bcShadowOverLight ? shadow : light;
        const COLORREF bottom = colors == bcShadowOverLight ? light : shadow;
        // A one-pixel 3D frame: top and left in one colour, bottom and right in the other.
        TBrushHandle tb(CreateSolidBrush(top)), bb(CreateSolidBrush(bottom));
        const RECT lines[] = {{r.left, r.top, r.right - 1, r.top + 1}, {r.left, r.top, r.left + 1, r.bottom - 1}};
        const RECT lines2[] = {{r.left, r.bottom - 1, r.right, r.bottom}, {r.right - 1, r.top, r.right, r.bottom}};
        for (const RECT& l : lines2)
            FillRect(dc, &l, bb.Get());
        for (const RECT& l : lines)
            FillRect(dc, &l, tb.Get());
    }
    RECT t{r.left + 2, r.top, r.right - 2, r.bottom};
    DrawCaption(dc, t, text.empty() ? L" " : text, true, align);
}

// ---- TSkinSizer

bool TSkinSizer::BeforeProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        PaintWholeFace(m);
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinSizer::DrawControl(HDC dc, const RECT& r) {
    // The box is painted whole (face, the skin's grip when it has one), then framed.
    FillBG(dc, r);
    const TDataSkinObject* extra = Skin().ExtraImages.get();
    if (HasImage(extra)) {
        const int frames = StripFrames(extra->FrameCount, extra->Bitmap.Width());
        const TRect grip = SizeGripRect(r.right, r.bottom, extra->Bitmap.Width() / frames, extra->Bitmap.Height());
        DrawSkinMap1(dc, RECT{grip.Left, grip.Top, grip.Right, grip.Bottom}, extra->Bitmap, ClampFrame(5, frames),
                     frames);
    }
    TBrushHandle brush(CreateSolidBrush(SkinColorRGB(FSkinData->Colors[csButtonShadow])));
    FrameRect(dc, &r, brush.Get());
}
