// The skinned menu bar: one button per top-level item of the window's menu, painted under the
// caption on the skin's menu bar image.
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"

#include <cwctype>

namespace {
HFONT MenuFont(TFontHandle& font) {
    if (!font) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
            font.Reset(CreateFontIndirectW(&ncm.lfMenuFont));
    }
    return font ? font.Get() : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The character after the first single "&", or 0.
wchar_t Accelerator(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;
    }
    return 0;
}
} // namespace

void TWinSkinMenu::UpdataBtn2(HMENU menu) {
    menu_ = menu;
    Buttons.clear();
    owner_->HotObject = nullptr;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        auto b = std::make_unique<TMenuBtn>(owner_, i);
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, UINT(i), TRUE, &mii);
        wchar_t text[81] = {};
        GetMenuStringW(menu, UINT(i), text, 80, MF_BYPOSITION);
        b->Caption = text;
        b->Submenu = mii.hSubMenu;
        b->Command = mii.wID;
        b->Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        Buttons.push_back(std::move(b));
    }
    // The skin owns the row from now on.
    ::SetMenu(owner_->Handle(), nullptr);
}

TMenuBtn* TWinSkinMenu::FindBtn(int x, int y) const {
    for (const auto& b : Buttons)
        if (!b->Caption.empty() && b->Rect.Contains(x, y)) return b.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindButtonFromAccel(wchar_t c) const {
    for (const auto& b : Buttons)
        if (b->Enabled && b->Visible && std::towupper(wint_t(Accelerator(b->Caption))) == std::towupper(wint_t(c)))
            return b.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FirstButton() const {
    for (const auto& b : Buttons)
        if (b->Enabled && b->Visible && !b->Caption.empty()) return b.get();
    return nullptr;
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& b, const RECT& r) {
    const TSkinDataCore& skin = *owner_->SkinData();
    TSelectObject font(dc, MenuFont(font_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColorRGB(skin.Colors[b.Enabled ? csMenuBarText : csButtonShadow]));
    RECT t = r;
    Tnt_DrawTextW(dc, b.Caption, t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TWinSkinMenu::DrawMenu(HDC dc, const TRect& bar) {
    const int W = bar.Width(), H = bar.Height();
    if (W <= 0 || H <= 0) return;
    const TSkinDataCore& skin = *owner_->SkinData();
    if ((cache_.Width() != W || cache_.Height() != H) && (!cache_.Resize(W, H) || !paint_.Resize(W, H))) {
        cache_.Reset();
        return;
    }
    GdiFlush();
    const TDataSkinObject* image = skin.MenuBar.get();
    const bool rtl = (GetWindowLongPtrW(owner_->Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    int x;
    if (image && !image->Bitmap.Empty()) {
        const int frame = owner_->Active() ? 1 : 2;
        const TRect margins{image->Margins.Left, 0, image->Margins.Right, 0};
        if (image->Tile == 1)
            DrawRect2(cache_.Bits(), Bounds(0, 0, W, H), image->Bitmap, margins, frame, 2, false, false, true);
        else
            DrawRectTile(cache_.Bits(), Bounds(0, 0, W, H), image->Bitmap, margins, frame, 2, false, true);
        x = rtl ? W - (image->Margins.Right + 8) : image->Margins.Left + 4;
        if (W < x) x = 12;
    } else {
        cache_.Bits().Fill(PixelFromColor(TColor(SkinColorRGB(skin.Colors[csMenuBar]))));
        x = 6;
    }
    bar_ = bar;
    DrawBitmap(paint_.Bits(), 0, 0, cache_.Bits());
    TSelectObject font(paint_.DC(), MenuFont(font_));
    for (auto& b : Buttons) {
        if (!b->Visible) {
            b->Rect = TRect{};
            continue;
        }
        RECT measure{0, 0, 0, 0};
        if (!b->Caption.empty()) Tnt_DrawTextW(paint_.DC(), b->Caption, measure, DT_SINGLELINE | DT_CALCRECT);
        const int w = b->Caption.empty() ? 0 : measure.right - measure.left + 10;
        const int left = rtl ? x - w : x;
        b->Rect = TRect{bar.Left + left, bar.Top, bar.Left + left + w, bar.Bottom - 1};
        b->State = kStateNormal;
        if (w > 0) DrawCaption(paint_.DC(), *b, RECT{left, 0, left + w, H - 1});
        x += rtl ? -w : w;
    }
    GdiFlush();
    BitBlt(dc, bar.Left, bar.Top, W, H, paint_.DC(), 0, 0, SRCCOPY);
}

void TWinSkinMenu::DrawButton(HDC dc, const TMenuBtn& b) {
    if (cache_.Empty() || b.Rect.IsEmpty()) return;
    const int left = b.Rect.Left - bar_.Left, w = b.Rect.Width(), H = cache_.Height();
    TDib column;
    if (!column.Resize(w, H)) return;
    DrawBitmap(column.Bits(), -left, 0, cache_.Bits());
    const TSkinDataCore& skin = *owner_->SkinData();
    if (b.State == kStateHot || b.State == kStatePressed) {
        const TPixel frame = PixelFromColor(TColor(SkinColorRGB(skin.Colors[csButtonHilight])));
        const int bottom = b.Rect.Height();
        column.Bits().FillRect(TRect{0, 0, w, 1}, frame);
        column.Bits().FillRect(TRect{0, bottom - 1, w, bottom}, frame);
        column.Bits().FillRect(TRect{0, 0, 1, bottom}, frame);
        column.Bits().FillRect(TRect{w - 1, 0, w, bottom}, frame);
    }
    DrawCaption(column.DC(), b, RECT{0, 0, w, H - 1});
    GdiFlush();
    BitBlt(dc, b.Rect.Left, bar_.Top, w, H, column.DC(), 0, 0, SRCCOPY);
}
