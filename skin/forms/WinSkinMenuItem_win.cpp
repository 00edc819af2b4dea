#include "skin/forms/WinSkinMenuItem_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/forms/MenuItemLayout.h"
#include "skin/forms/SkinCanvas_win.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinForm.h"

#include "framework/MenuText.h"

#include <cstdint>

namespace {

// The system's check-mark bitmap (OBM_CHECK, which windows.h names only under OEMRESOURCE).
constexpr int kObmCheck = 32760;

TPixel SkinPixel(TColor c) {
    return PixelFromColor(TColor(SkinColorRGB(c)));
}

// A monochrome system bitmap (the check mark) as our pixels: dark where it draws.
TBitmap32 SystemMark(int id) {
    TBitmapHandle bmp(static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!bmp || !GetObjectW(bmp.Get(), sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0 ||
        info.bmWidth > 64 || info.bmHeight > 64)
        return TBitmap32();
    TBitmap32 mark(info.bmWidth, info.bmHeight);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    TClientDC screen(nullptr);
    if (!GetDIBits(screen.Get(), bmp.Get(), 0, UINT(info.bmHeight), mark.ScanLine(0), &bi, DIB_RGB_COLORS))
        return TBitmap32();
    return mark;
}

// The sunken square behind the image of a checked item, patterned in the face and highlight
// colours as the system shows a pressed tool button.
void DitherSquare(HDC dc, const RECT& square) {
    static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    TBitmapHandle bits(CreateBitmap(8, 8, 1, 1, pattern));
    TBrushHandle brush(bits ? CreatePatternBrush(bits.Get()) : nullptr);
    if (brush) {
        const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        const COLORREF back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        FillRect(dc, &square, brush.Get());
        SetTextColor(dc, text);
        SetBkColor(dc, back);
    }
    RECT edge = square;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

RECT Win(const TRect& r) {
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

COLORREF TextColour(const TSkinModel& skin, const TMenuItemFace& f) {
    if (!f.Enabled) {
        const COLORREF shadow = SkinColorRGB(skin.Colors[csButtonShadow]);
        return shadow == SkinColorRGB(skin.Colors[csMenuText]) ? GetSysColor(COLOR_GRAYTEXT) : shadow;
    }
    return SkinColorRGB(skin.Colors[f.Selected ? csHilightText : csMenuText]);
}

void DrawItemText(const TSkinModel& skin, TDib& dib, const TMenuItemFace& f, int leftMargin, HFONT font) {
    HDC dc = dib.DC();
    LOGFONTW lf{};
    TFontHandle bold;
    if (f.Default && GetObjectW(font, sizeof(lf), &lf)) {
        lf.lfWeight = FW_BOLD;
        bold.Reset(CreateFontIndirectW(&lf));
    }
    TSelectObject selected(dc, bold ? bold.Get() : font);
    // An empty caption or a lone "&" is measured as a blank, so the item keeps a text height.
    const std::wstring measured = f.Caption.empty() || f.Caption == L"&" ? L" " : f.Caption;
    RECT m{0, 0, 0, 0};
    Tnt_DrawTextW(dc, measured, m, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);

    int imageWidth = 0, imageHeight = 0;
    if (f.Images) ImageList_GetIconSize(f.Images, &imageWidth, &imageHeight);
    TMenuItemLayoutIn in;
    in.Item = Bounds(0, 0, dib.Width(), dib.Height());
    in.ImageWidth = imageWidth;
    in.LeftMargin = leftMargin;
    in.Checked = f.Checked;
    in.Separator = f.Separator;
    in.RightToLeft = f.RightToLeft;
    in.CaptionWidth = m.right - m.left;
    in.CaptionHeight = m.bottom - m.top;
    const TMenuItemLayout l = LayoutMenuItem(in);

    if (f.Separator) {
        RECT line = Win(l.Text);
        line.top += 4;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const COLORREF colour = TextColour(skin, f);
    const bool hasImage = f.Images && f.ImageIndex >= 0 && f.ImageIndex < ImageList_GetImageCount(f.Images);
    if (hasImage) {
        if (f.Checked) DitherSquare(dc, Win(l.Glyph));
        IMAGELISTDRAWPARAMS p{};
        p.cbSize = sizeof(p);
        p.himl = f.Images;
        p.i = f.ImageIndex;
        p.hdcDst = dc;
        p.x = l.Glyph.Left;
        p.y = l.Glyph.Top;
        p.rgbBk = CLR_NONE;
        p.rgbFg = CLR_NONE;
        p.fStyle = ILD_TRANSPARENT | (f.Enabled ? 0 : ILD_BLEND50);
        ImageList_DrawIndirect(&p);
    } else if (f.Checked) {
        const TBitmap32 mark = SystemMark(kObmCheck);
        if (!mark.Empty()) {
            GdiFlush();
            const TRect at = CentreMark(l.Glyph, mark.Width(), mark.Height());
            DrawMask(dib.Bits(), at.Left, at.Top, mark, PixelFromColor(TColor(colour)));
        }
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const UINT align = f.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    // In the whole text rectangle at the measured caption's height: the system's measure and
    // drawing of a caption may differ by a pixel, which must not cut its last letter.
    RECT caption{l.Text.Left, l.Caption.Top, l.Text.Right, l.Caption.Bottom};
    Tnt_DrawTextW(dc, f.Caption, caption, DT_SINGLELINE | DT_EXPANDTABS | align);
    if (!f.ShortCut.empty() && !l.Shortcut.IsEmpty()) {
        RECT shortCut = Win(l.Shortcut);
        Tnt_DrawTextW(dc, f.ShortCut, shortCut, DT_SINGLELINE | (f.RightToLeft ? DT_LEFT : DT_RIGHT));
    }
}

} // namespace

void SplitMenuText(const std::wstring& text, std::wstring& caption, std::wstring& shortCut) {
    const size_t tab = text.find(L'\t');
    caption = text.substr(0, tab);
    shortCut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

void PaintMenuItem(const TSkinModel& skin, HDC dc, const RECT& rect, const TMenuItemBack& back,
                   const TMenuItemFace& face, HFONT font) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TDib dib;
    if (w <= 0 || h <= 0 || !dib.Resize(w, h)) return;
    TBitmap32& bits = dib.Bits();
    const TRect item = Bounds(0, 0, w, h);
    if (back.Image) {
        const TRect src = BackgroundSource(Bounds(rect.left, rect.top, w, h), back.Inset);
        DrawBitmap(bits, -src.Left, -src.Top, *back.Image);
    } else {
        bits.Fill(SkinPixel(skin.Colors[csMenubg]));
    }
    const TDataSkinObject* object = skin.MenuItem && !skin.MenuItem->Bitmap.Empty() ? skin.MenuItem.get() : nullptr;
    if (face.Separator) {
        if (object) {
            const TRect src = SeparatorSource(FrameRect(object->Bitmap, 2, 5, false), h);
            TBitmap32 rows(src.Width(), src.Height());
            DrawBitmap(rows, -src.Left, -src.Top, object->Bitmap);
            DrawRect2(bits, item, rows, TRect{object->Margins.Left, 0, object->Margins.Right, 0}, 1, 1, true, false,
                      false);
        }
    } else if (object) {
        DrawRect2(bits, item, object->Bitmap, object->Margins, face.Selected ? 4 : 1, 5, object->Trans != 0,
                  object->Tile != 0, false);
    } else if (face.Selected) {
        bits.Fill(SkinPixel(skin.Colors[csHilight]));
    }
    DrawItemText(skin, dib, face, object ? object->Margins.Left : 0, font);
    GdiFlush();
    BitBlt(dc, rect.left, rect.top, w, h, dib.DC(), 0, 0, SRCCOPY);
}

TMenuItemBack MenuItemBackground(HMENU menu) {
    TMenuItemBack back;
    if (!SkinManager || !menu) return back;
    // The popup window that waits for its menu learns it from the first item drawn in it; a
    // window that can name its menu itself is not given another window's.
    if (TWinSkinPopMenu* waiting = WaitingPopMenu; waiting && !waiting->Menu) {
        const HMENU own = reinterpret_cast<HMENU>(SendMessageW(waiting->Handle, MN_GETHMENU, 0, 0));
        if (!own || own == menu) SkinManager->LearnMenu(*waiting, menu);
    }
    if (TWinSkinPopMenu* popup = SkinManager->MenuSkinner(menu)) {
        const TBitmap32& image = popup->Background();
        if (!image.Empty()) {
            back.Image = &image;
            back.Inset = popup->ClientInset();
        }
    }
    return back;
}

// ---- Owner-drawing a menu tree

TOwnerDrawMenu::TOwnerDrawMenu(HMENU menu) {
    Take(menu, 0);
}

void TOwnerDrawMenu::Take(HMENU menu, int depth) {
    // A menu tree deeper than any real one is a loop.
    if (!menu || depth > 16) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &mii)) continue;
        if (mii.hSubMenu) Take(mii.hSubMenu, depth + 1);
        // Items their owner draws, and pictures, stay as they are.
        if (mii.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;
        const std::wstring text = MenuItemText(menu, UINT(i));
        auto item = std::make_unique<Item>(Item{menu, UINT(i), mii.wID, text, mii.fType, mii.dwItemData});
        MENUITEMINFOW set{};
        set.cbSize = sizeof(set);
        set.fMask = MIIM_FTYPE | MIIM_DATA;
        set.fType = mii.fType | MFT_OWNERDRAW;
        set.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoW(menu, UINT(i), TRUE, &set)) items_.push_back(std::move(item));
    }
}

TOwnerDrawMenu::~TOwnerDrawMenu() {
    // Items may have been inserted or removed while the menu was open: each record finds its item
    // by the data it gave it, not by the position it had.
    for (const auto& item : items_) {
        if (!IsMenu(item->Menu)) continue;
        const int count = GetMenuItemCount(item->Menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW now{};
            now.cbSize = sizeof(now);
            now.fMask = MIIM_DATA;
            if (!GetMenuItemInfoW(item->Menu, UINT(i), TRUE, &now) ||
                now.dwItemData != reinterpret_cast<ULONG_PTR>(item.get()))
                continue;
            MENUITEMINFOW set{};
            set.cbSize = sizeof(set);
            set.fMask = MIIM_FTYPE | MIIM_DATA;
            set.fType = item->Type;
            set.dwItemData = item->Data;
            SetMenuItemInfoW(item->Menu, UINT(i), TRUE, &set);
            break;
        }
    }
}

const TOwnerDrawMenu::Item* TOwnerDrawMenu::Find(ULONG_PTR data) const {
    for (const auto& item : items_)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    return nullptr;
}

std::vector<const TOwnerDrawMenu::Item*> TOwnerDrawMenu::ItemsOf(HMENU menu) const {
    std::vector<const Item*> items;
    for (const auto& item : items_)
        if (item->Menu == menu) items.push_back(item.get());
    return items;
}

TMenuItemFace TOwnerDrawMenu::FaceOf(const Item& item) {
    TMenuItemFace f;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE;
    GetMenuItemInfoW(item.Menu, item.Position, TRUE, &mii);
    SplitMenuText(item.Text, f.Caption, f.ShortCut);
    f.Separator = (item.Type & MFT_SEPARATOR) != 0 || item.Text.empty();
    f.Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    f.Checked = (mii.fState & MFS_CHECKED) != 0;
    f.Default = (mii.fState & MFS_DEFAULT) != 0;
    f.RightToLeft = (item.Type & MFT_RIGHTORDER) != 0;
    return f;
}

LRESULT MenuCharAnswer(const TOwnerDrawMenu& tree, HMENU menu, wchar_t c) {
    const std::vector<const TOwnerDrawMenu::Item*> records = tree.ItemsOf(menu);
    if (records.empty()) return -1;
    // By position, with the items that are not ours (owner-drawn by their owner) as blanks.
    const int count = GetMenuItemCount(menu);
    std::vector<TMenuCharItem> items(size_t(count > 0 ? count : 0));
    int current = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE;
        GetMenuItemInfoW(menu, UINT(i), TRUE, &mii);
        if (mii.fState & MFS_HILITE) current = i;
    }
    for (const TOwnerDrawMenu::Item* r : records) {
        if (r->Position >= items.size()) continue;
        const TMenuItemFace f = TOwnerDrawMenu::FaceOf(*r);
        items[r->Position] = TMenuCharItem{f.Separator ? std::wstring() : f.Caption, f.Enabled};
    }
    const TMenuCharMatch m = MatchMenuChar(items, c, current);
    if (m.Index < 0) return -1;
    return MAKELRESULT(m.Index, m.Execute ? MNC_EXECUTE : MNC_SELECT);
}

HIMAGELIST MakeGlyphImages(const TBitmap32& strip) {
    const int size = strip.Height(), width = strip.Width();
    if (strip.Empty() || width < size) return nullptr;
    TImageListHandle list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, width / size, 0));
    if (!list) return nullptr;
    // The image as a DIB section selected into no DC, as the image list wants it, and the mask
    // made here (white is transparent) rather than left to the system's colour matching.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    TBitmapHandle image(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int maskStride = (width + 15) / 16 * 2; // monochrome rows are word-aligned
    std::vector<std::uint8_t> maskBits(size_t(maskStride) * size_t(size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < width; ++x) {
            const TPixel p = strip.Pixel(x, y);
            const bool white = PixelR(p) == 255 && PixelG(p) == 255 && PixelB(p) == 255;
            if (white) maskBits[size_t(y * maskStride + x / 8)] |= std::uint8_t(0x80 >> (x % 8));
            if (bits) static_cast<TPixel*>(bits)[y * width + x] = white ? 0 : p;
        }
    TBitmapHandle mask(CreateBitmap(width, size, 1, 1, maskBits.data()));
    if (image && bits && mask) ImageList_Add(list.Get(), image.Get(), mask.Get());
    return list.Release();
}
