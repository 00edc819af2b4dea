// The skinned menu bar: one button per top-level item of the window's menu, painted under the
// caption on the skin's menu bar image.
#include "skin/forms/WinSkinForm_win.h"

#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinScale.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/MenuItemLayout.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuItem_win.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/ToolBar.h"

#include "framework/MenuText.h"
#include "framework/SysUtils.h"

namespace {
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

void TWinSkinMenu::UpdataBtn(TMainMenu* mainMenu) {
    const HMENU menu = mainMenu->Handle();
    menu_ = menu;
    Buttons.clear();
    owner_->HotObject = nullptr;
    UINT position = 0; // hidden items are not in the menu
    for (int i = 0; i < mainMenu->Items->Count(); ++i) {
        const TMenuItem* item = mainMenu->Items->Items(i);
        auto b = std::make_unique<TMenuBtn>(owner_, i);
        b->Visible = item->Visible;
        // The caption as the menu shows it, with the accelerator the menu gave it.
        b->Caption = item->Visible ? MenuItemText(menu, position++) : item->Caption;
        b->Submenu = item->Count() > 0 ? item->Handle() : nullptr;
        b->Command = item->Command();
        b->Enabled = item->Enabled;
        Buttons.push_back(std::move(b));
    }
    TakeMenuOff();
}

void TWinSkinMenu::TakeMenuOff() {
    // Only when it is there: setting none again would recompute the frame all the same.
    if (GetMenu(owner_->Handle())) ::SetMenu(owner_->Handle(), nullptr);
}

void TWinSkinMenu::UpdataBtn3() {
    TForm* form = owner_->Form();
    if (form && form->Menu())
        UpdataBtn(form->Menu());
    else if (menu_ && IsMenu(menu_))
        UpdataBtn2(menu_);
}

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
        b->Caption = MenuItemText(menu, UINT(i));
        b->Submenu = mii.hSubMenu;
        b->Command = mii.wID;
        b->Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        Buttons.push_back(std::move(b));
    }
    // The skin owns the row from now on.
    TakeMenuOff();
}

TMenuBtn* TWinSkinMenu::FindBtn(int x, int y) const {
    for (const auto& b : Buttons)
        if (!b->Caption.empty() && b->Rect.Contains(x, y)) return b.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindButtonFromAccel(wchar_t c) const {
    for (const auto& b : Buttons)
        if (b->Enabled && b->Visible && UpperChar(Accelerator(b->Caption)) == UpperChar(c))
            return b.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::Neighbour(int index, int step) const {
    const int count = int(Buttons.size());
    for (int i = 1; i < count; ++i) {
        TMenuBtn* b = Buttons[size_t(((index + step * i) % count + count) % count)].get();
        if (b->Visible && !b->Caption.empty()) return b;
    }
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FirstButton() const {
    for (const auto& b : Buttons)
        if (b->Enabled && b->Visible && !b->Caption.empty()) return b.get();
    return nullptr;
}

int TWinSkinMenu::Px(int v) const {
    return ScaleValue(v, owner_->Dpi());
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& b, const RECT& r) {
    const TSkinDataCore& skin = *owner_->SkinData();
    TSelectObject font(dc, NonClientFont(font_, true, owner_->Dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColorRGB(skin.Colors[b.Enabled ? csMenuBarText : csButtonShadow]));
    RECT t = r;
    Tnt_DrawTextW(dc, b.Caption, t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TWinSkinMenu::DrawMenu(HDC dc, const TRect& bar) {
    const int W = bar.Width(), H = bar.Height();
    if (W <= 0 || H <= 0) return;
    const TSkinModel& skin = owner_->Model();
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
        x = rtl ? W - (image->Margins.Right + Px(8)) : image->Margins.Left + Px(4);
        if (W < x) x = Px(12);
    } else {
        cache_.Bits().Fill(PixelFromColor(TColor(SkinColorRGB(skin.Colors[csMenuBar]))));
        x = Px(6);
    }
    bar_ = bar;
    DrawBitmap(paint_.Bits(), 0, 0, cache_.Bits());
    TSelectObject font(paint_.DC(), NonClientFont(font_, true, owner_->Dpi()));
    for (auto& b : Buttons) {
        if (!b->Visible) {
            b->Rect = TRect{};
            continue;
        }
        RECT measure{0, 0, 0, 0};
        if (!b->Caption.empty()) Tnt_DrawTextW(paint_.DC(), b->Caption, measure, DT_SINGLELINE | DT_CALCRECT);
        const int w = b->Caption.empty() ? 0 : measure.right - measure.left + Px(10);
        const int left = rtl ? x - w : x;
        b->Rect = TRect{bar.Left + left, bar.Top, bar.Left + left + w, bar.Bottom - 1};
        b->State = kStateNormal;
        if (w > 0) DrawCaption(paint_.DC(), *b, RECT{left, 0, left + w, H - 1});
        x += rtl ? -w : w;
    }
    // A maximized MDI child's buttons sit at the right of the bar, in their active face whatever
    // the window's state.
    if (owner_->FormStyle() == sfsMDIform && owner_->MDIChildMax()) {
        for (const auto& b : owner_->SysButtons())
            if (SysButtonDrawn(b->Entry, b->Visible, b->Rect, TFacePass::MenuBar))
                DrawSysButtonFace(paint_.Bits(), paint_.Bits(), b->Rect.Offset(-bar.Left, -bar.Top), b->Entry,
                                  kStateNormal, true, owner_->IconFace());
        if (!MDIMaxFlag()) SetMDIMax(true);
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

// ---- Tracking the menus of the bar

namespace {
// The form whose menu is being tracked, and the filter hook of that tracking (one at a time).
TWinSkinForm* gTracked = nullptr;
HHOOK gFilter = nullptr;
} // namespace

LRESULT CALLBACK TWinSkinForm::MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    TWinSkinForm* f = gTracked;
    if (code == MSGF_MENU && f && f->menuBar_) {
        MSG* m = reinterpret_cast<MSG*>(lParam);
        // In a right-to-left menu the arrows point the other way, for the system's loop too.
        if (f->lastItemRtl_ && m->message == WM_KEYDOWN && (m->wParam == VK_LEFT || m->wParam == VK_RIGHT))
            m->wParam = m->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
        if (f->firstKey_) {
            f->firstKey_ = false;
            PostMessageW(m->hwnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        // The neighbour in a direction, skipping buttons that cannot open.
        auto neighbour = [&](int step) {
            const TMenuBtn* b = f->menuBar_->Neighbour(f->openIndex_, step);
            return b ? b->Index : -1;
        };
        int target = -1;
        if (m->message == WM_KEYDOWN && m->wParam == VK_RIGHT && (!f->lastMenu_ || !f->lastItemOpens_))
            target = neighbour(1);
        else if (m->message == WM_KEYDOWN && m->wParam == VK_LEFT && (!f->lastMenu_ || f->lastMenu_ == f->openMenu_))
            target = neighbour(-1);
        else if (m->message == WM_MOUSEMOVE) {
            POINT c{};
            GetCursorPos(&c);
            if (c.x != f->lastCursor_.x || c.y != f->lastCursor_.y) {
                f->lastCursor_ = c;
                const POINT p = f->GetWinXY(c.x, c.y);
                if (TMenuBtn* b = f->menuBar_->FindBtn(p.x, p.y)) target = b->Index;
            }
        }
        if (target >= 0 && target != f->openIndex_) {
            f->switchTo_ = target;
            EndMenu();
            return 1;
        }
    }
    return CallNextHookEx(gFilter, code, wParam, lParam);
}

TMenuBtn* TWinSkinForm::MenuButtonAt(int index) const {
    if (!menuBar_ || index < 0 || size_t(index) >= menuBar_->Buttons.size()) return nullptr;
    return menuBar_->Buttons[size_t(index)].get();
}

// Both loops below keep buttons by index: whatever runs inside them may build the bar anew.
void TWinSkinForm::ClickButton(const TMenuBtn& b) {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(wr.left + b.Rect.Left + 1, wr.top + b.Rect.Top + 1));
}

void TWinSkinForm::CMDialogChar(TMessage& m) {
    // Alt alone held: the key data's context bit, and neither Shift nor Ctrl down.
    const bool altOnly = (m.LParam & (LPARAM(1) << 29)) && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
    if (altOnly && menuBar_ && lifecycle_ == kSkinned && !menuLoop_)
        if (const TMenuBtn* b = menuBar_->FindButtonFromAccel(wchar_t(m.WParam))) {
            ClickButton(*b);
            m.Result = 1;
            return;
        }
    if (formStyle_ == sfsMDIChild) {
        // A child has no bar of its own: the frame's menus answer its keys.
        HWND client = GetParent(hwnd_);
        if (TWinControl* frame = client ? TWinControl::FromHandle(GetParent(client)) : nullptr)
            if (const LRESULT r = frame->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
                m.Result = r;
                return;
            }
    }
    m.Result = 0;
    if (oldWindowProc_) oldWindowProc_(m);
}

void TWinSkinForm::CheckMenu(TMenuBtn& first) {
    int index = first.Index;
    while (TMenuBtn* b = MenuButtonAt(index)) {
        if (!b->Submenu) {
            if (b->Enabled && b->Command) PostMessageW(hwnd_, WM_COMMAND, b->Command, 0);
            b->MouseLeave();
            return;
        }
        menuLoop_ = true;
        openIndex_ = index;
        openMenu_ = b->Submenu;
        switchTo_ = -1;
        firstKey_ = true;
        lastMenu_ = nullptr;
        lastItemOpens_ = false;
        lastItemRtl_ = false;
        GetCursorPos(&lastCursor_);
        int command = 0;
        if (b->Enabled) {
            gTracked = this;
            if (!gFilter) gFilter = SetWindowsHookExW(WH_MSGFILTER, &MenuFilter, nullptr, GetCurrentThreadId());
            RECT wr{};
            GetWindowRect(hwnd_, &wr);
            // The skin draws the items for as long as the menu is open.
            ownerDraw_ = std::make_unique<TOwnerDrawMenu>(b->Submenu);
            command = TrackPopupMenu(b->Submenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, wr.left + b->Rect.Left,
                                     wr.top + b->Rect.Bottom, 0, hwnd_, nullptr);
            ownerDraw_.reset();
            if (gFilter) UnhookWindowsHookEx(gFilter);
            gFilter = nullptr;
            gTracked = nullptr;
        }
        menuLoop_ = false;
        openIndex_ = -1;
        if (!IsWindow(hwnd_) || lifecycle_ != kSkinned || !menuBar_) return;
        if (TMenuBtn* was = MenuButtonAt(index)) was->MouseLeave();
        if (command) PostMessageW(hwnd_, WM_COMMAND, WPARAM(command), 0);
        index = switchTo_;
        if (TMenuBtn* next = MenuButtonAt(index)) next->MouseDown();
    }
}

void TWinSkinForm::MenuBarKeys() {
    TMenuBtn* first = menuBar_ ? menuBar_->FirstButton() : nullptr;
    if (!first) return;
    int hot = first->Index;
    auto light = [&](int index, bool on) {
        if (TMenuBtn* b = MenuButtonAt(index)) on ? b->MouseEnter() : b->MouseLeave();
    };
    auto move = [&](int step) {
        TMenuBtn* b = MenuButtonAt(hot);
        if (TMenuBtn* n = b ? menuBar_->Neighbour(hot, step) : nullptr) {
            light(hot, false);
            hot = n->Index;
            light(hot, true);
        }
    };
    light(hot, true);
    menuLoop_ = true;
    int open = -1;
    MSG msg;
    bool done = false;
    while (!done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The quit message belongs to the outer loop: it goes back on the queue.
            PostQuitMessage(int(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            switch (msg.wParam) {
            case VK_LEFT:
                move(-1);
                break;
            case VK_RIGHT:
                move(1);
                break;
            case VK_RETURN:
            case VK_DOWN:
            case VK_UP:
                open = hot;
                done = true;
                break;
            case VK_ESCAPE:
            case VK_MENU:
            case VK_F10:
                done = true;
                break;
            default:
                break;
            }
            continue;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (TMenuBtn* b = menuBar_->FindButtonFromAccel(wchar_t(msg.wParam))) {
                light(hot, false);
                hot = open = b->Index;
                done = true;
            }
            continue;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            continue;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            // A click ends the keyboard mode and then does what it does.
            done = true;
            break;
        default:
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        // Keys reach this loop whichever window has the focus; it ends when the window can no
        // longer take them.
        if (!IsWindow(hwnd_) || !IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_) || !menuBar_ || retired_)
            done = true;
    }
    menuLoop_ = false;
    if (!IsWindow(hwnd_) || !menuBar_ || retired_) return;
    if (TMenuBtn* b = MenuButtonAt(open)) {
        b->MouseDown();
        CheckMenu(*b);
    } else {
        light(hot, false);
    }
}

// ---- Owner-drawn items

namespace {
TMenuMeasureSkin MeasureSkin(const TSkinModel& skin, bool hasImages) {
    TMenuMeasureSkin s;
    s.HasItemObject = skin.MenuItem && !skin.MenuItem->Bitmap.Empty();
    s.ItemLeftMargin = s.HasItemObject ? skin.MenuItem->Margins.Left : 0;
    s.HasImages = hasImages;
    return s;
}

TPopupMenu* PopupOf(TMenuItem* item) {
    for (TComponent* c = item; c; c = c->Owner())
        if (auto* p = dynamic_cast<TPopupMenu*>(c)) return p;
    return nullptr;
}

// The handlers a skinner gives framework items, as types of their own so that the skinner can
// tell its own handlers from the application's when it takes them back.
struct TSkinItemDraw {
    TWinSkinForm* Form;
    void operator()(TObject* sender, HDC dc, const RECT& rect, UINT state) const {
        Form->DrawMenuItem(dynamic_cast<TMenuItem*>(sender), dc, rect, state);
    }
};
struct TSkinItemMeasure {
    TWinSkinForm* Form;
    void operator()(TObject* sender, HDC dc, int& width, int& height) const {
        Form->MeasureItemPop(dynamic_cast<TMenuItem*>(sender), dc, width, height);
    }
};

// Gives the items the form's handlers, or takes this form's away; true when an item had them.
bool SkinItems(TMenuItem* parent, TWinSkinForm* form, bool enable) {
    bool ours = false;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (enable && !item->OnDrawItem) {
            item->OnDrawItem = TSkinItemDraw{form};
            item->OnMeasureItem = TSkinItemMeasure{form};
        } else if (!enable) {
            if (const auto* d = item->OnDrawItem.target<TSkinItemDraw>(); d && d->Form == form) {
                item->OnDrawItem = nullptr;
                ours = true;
            }
            if (const auto* m = item->OnMeasureItem.target<TSkinItemMeasure>(); m && m->Form == form) {
                item->OnMeasureItem = nullptr;
                ours = true;
            }
        }
        ours = SkinItems(item, form, enable) || ours;
    }
    return ours;
}
} // namespace

LRESULT TWinSkinForm::WMMeasureItem(WPARAM wParam, LPARAM lParam) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    const TOwnerDrawMenu::Item* item =
        mis && mis->CtlType == ODT_MENU && ownerDraw_ ? ownerDraw_->Find(mis->itemData) : nullptr;
    if (!item) return Default(WM_MEASUREITEM, wParam, lParam);
    if (SkinManager) SkinManager->SetMenu();
    RECT r{0, 0, 0, 0};
    if (!item->Text.empty()) {
        TClientDC screen(nullptr);
        TSelectObject font(screen.Get(), NonClientFont(menuFont_, true, dpi_));
        Tnt_DrawTextW(screen.Get(), item->Text, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    }
    mis->itemWidth = UINT(MenuTextItemWidth(r.right - r.left, MeasureSkin(skin_->AtDpi(dpi_), false)));
    mis->itemHeight = UINT(MenuTextItemHeight(int(mis->itemHeight), !item->Text.empty()));
    return TRUE;
}

LRESULT TWinSkinForm::WMDrawItem(WPARAM wParam, LPARAM lParam) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    const TOwnerDrawMenu::Item* item =
        dis && dis->CtlType == ODT_MENU && ownerDraw_ ? ownerDraw_->Find(dis->itemData) : nullptr;
    if (!item) return Default(WM_DRAWITEM, wParam, lParam);
    if (SkinManager) SkinManager->SetMenu();
    TMenuItemFace face = TOwnerDrawMenu::FaceOf(*item);
    face.Selected = (dis->itemState & ODS_SELECTED) != 0;
    if (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) face.Enabled = false;
    PaintMenuItem(skin_->AtDpi(dpi_), dis->hDC, dis->rcItem, MenuItemBackground(reinterpret_cast<HMENU>(dis->hwndItem)), face,
                  NonClientFont(menuFont_, true, dpi_));
    return TRUE;
}

LRESULT TWinSkinForm::WMMenuChar(WPARAM wParam, LPARAM lParam) {
    // Owner-drawn items leave the system no text to match a typed character against.
    if (ownerDraw_) {
        const LRESULT r = MenuCharAnswer(*ownerDraw_, reinterpret_cast<HMENU>(lParam), wchar_t(LOWORD(wParam)));
        if (r != -1) return r;
    }
    return Default(WM_MENUCHAR, wParam, lParam);
}

void TWinSkinForm::DrawMenuItem(TMenuItem* item, HDC dc, const RECT& rect, UINT state) {
    if (!item) return;
    const TPopupMenu* popup = PopupOf(item);
    TMenuItemFace f;
    f.Caption = item->Caption;
    f.ShortCut = ShortCutToText(item->ShortCut);
    f.Separator = item->IsLine();
    f.Enabled = item->Enabled && !(state & (ODS_GRAYED | ODS_DISABLED));
    f.Checked = item->Checked();
    f.Default = item->Default;
    f.Selected = (state & ODS_SELECTED) != 0;
    f.RightToLeft = (exStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
    f.Images = popup ? popup->Images : nullptr;
    f.ImageIndex = item->ImageIndex;
    PaintMenuItem(skin_->AtDpi(dpi_), dc, rect, MenuItemBackground(item->MenuHandle()), f, NonClientFont(menuFont_, true, dpi_));
}

void TWinSkinForm::MeasureItemPop(TMenuItem* item, HDC, int& width, int&) {
    const TPopupMenu* popup = item ? PopupOf(item) : nullptr;
    width = PopupItemWidth(width, MeasureSkin(skin_->AtDpi(dpi_), popup && popup->Images));
}

void TWinSkinForm::InitMenu(TForm* form, bool enable) {
    if (!form) return;
    popupsSkinned_ = enable;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* popup = dynamic_cast<TPopupMenu*>(form->Components(i));
        if (!popup) continue;
        if (!enable) {
            // Whatever the tag or the options say now, every handler of ours goes.
            if (SkinItems(popup->Items, this, false)) popup->OwnerDraw = false;
            continue;
        }
        if (skin_->TagDisabled(popup->Tag) || !skin_->SkinControls.Contains(xcPopupMenu)) continue;
        popup->OwnerDraw = true;
        SkinItems(popup->Items, this, true);
    }
}

// ---- Tool bar buttons

namespace {
struct TSkinToolDraw {
    TWinSkinForm* Form;
    LRESULT operator()(TToolBar* bar, NMTBCUSTOMDRAW& cd) const { return Form->ToolBarDrawButton(bar, cd); }
};
} // namespace

void TWinSkinForm::SkinToolBar(TToolBar* bar, bool enable) {
    if (!enable) {
        if (const auto* d = bar->OnCustomDrawButton.target<TSkinToolDraw>(); d && d->Form == this)
            bar->OnCustomDrawButton = nullptr;
    } else if (!bar->OnCustomDrawButton) {
        bar->OnCustomDrawButton = TSkinToolDraw{this};
    }
    if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, TRUE);
}

bool TWinSkinForm::InitToolbarMenu(TMenuItem* parent, bool enable) {
    if (!parent) return false;
    bool ours = false;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (enable) {
            // A tool button's menu is the skin's whatever handlers it had.
            item->OnDrawItem = TSkinItemDraw{this};
            item->OnMeasureItem = TSkinItemMeasure{this};
        } else {
            if (const auto* d = item->OnDrawItem.target<TSkinItemDraw>(); d && d->Form == this) {
                item->OnDrawItem = nullptr;
                ours = true;
            }
            if (const auto* m = item->OnMeasureItem.target<TSkinItemMeasure>(); m && m->Form == this)
                item->OnMeasureItem = nullptr;
        }
        ours = InitToolbarMenu(item, enable) || ours;
    }
    return ours;
}

void TWinSkinForm::ReleaseToolBars(TForm* form) {
    if (!form) return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        if (auto* bar = dynamic_cast<TToolBar*>(form->Components(i))) SkinToolBar(bar, false);
        if (auto* button = dynamic_cast<TToolButton*>(form->Components(i)); button && button->DropdownMenu) {
            if (InitToolbarMenu(button->DropdownMenu->Items, false))
                button->DropdownMenu->OwnerDraw = false;
        }
    }
}

LRESULT TWinSkinForm::ToolBarDrawButton(TToolBar*, NMTBCUSTOMDRAW& cd) {
    // Neither the classic edges nor a theme's button background may cover the skin's frame.
    constexpr LRESULT kOwnFace = TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND;
    const TDataSkinButton& b = Model().Buttons;
    if (b.Bitmap.Empty() || lifecycle_ != kSkinned) return CDRF_DODEFAULT;
    const UINT s = cd.nmcd.uItemState;
    const int frame = ToolButtonFrame((s & CDIS_SELECTED) != 0, (s & (CDIS_FOCUS | CDIS_HOT)) != 0,
                                      (s & (CDIS_GRAYED | CDIS_DISABLED)) != 0, (s & CDIS_DEFAULT) != 0);
    if (frame == 1 && b.HasNormalColour2) cd.clrText = SkinColorRGB(b.NormalColour2);
    if (frame == 4 && b.HasMouseOverColour2) cd.clrText = SkinColorRGB(b.MouseOverColour2);
    if (frame == 2 && b.HasPressedColour2) cd.clrText = SkinColorRGB(b.PressedColour2);
    RECT r = cd.nmcd.rc;
    InflateRect(&r, -1, -1);
    const int w = r.right - r.left, h = r.bottom - r.top;
    TDib face;
    if (frame == 0 || w <= 0 || h <= 0 || !face.Resize(w, h)) return kOwnFace;
    // Over what lies under the button, for the image's transparent parts.
    BitBlt(face.DC(), 0, 0, w, h, cd.nmcd.hdc, r.left, r.top, SRCCOPY);
    GdiFlush();
    DrawRect2(face.Bits(), Bounds(0, 0, w, h), b.Bitmap, b.Margins, frame, 5, b.Trans != 0, false, false);
    GdiFlush();
    BitBlt(cd.nmcd.hdc, r.left, r.top, w, h, face.DC(), 0, 0, SRCCOPY);
    return kOwnFace;
}

// ---- The system menu

void TWinSkinForm::CreateSysmenu() {
    sysMenu_ = std::make_unique<TPopupMenu>(nullptr);
    sysMenu_->Tag = 33333;
    sysMenu_->OwnerDraw = true;
    if (!sysImages_) sysImages_.Reset(MakeGlyphImages(skin_->MenuGlyphs));
    sysMenu_->Images = sysImages_.Get();
    // The captions in the system's language where its own menu gives them.
    const HMENU system = GetSystemMenu(hwnd_, FALSE);
    auto add = [&](UINT command, const wchar_t* fallback, int tag) {
        std::wstring caption = fallback, shortCut;
        const std::wstring text = command && system ? MenuItemText(system, command, MF_BYCOMMAND) : std::wstring();
        if (!text.empty()) {
            SplitMenuText(text, caption, shortCut);
            caption = L" " + caption + L" ";
        }
        TMenuItem* item = sysMenu_->Items->Add(caption, [this](TObject* s) { DoSysMenu(dynamic_cast<TMenuItem*>(s)); });
        item->Tag = tag;
        item->ImageIndex = tag;
        item->OnDrawItem = TSkinItemDraw{this};
        item->OnMeasureItem = TSkinItemMeasure{this};
        return item;
    };
    add(SC_RESTORE, L" Restore ", 0);
    if (icons_ & sbiMax) add(SC_MAXIMIZE, L" Maximize ", 1);
    if (icons_ & sbiMin) add(SC_MINIMIZE, L" Minimize ", 2);
    add(0, L"-", 100);
    // Alt+F4 is the key that closes a window.
    add(SC_CLOSE, L" Close ", 3)->ShortCut = scAlt | VK_F4;
}

void TWinSkinForm::PopSysmenu(int screenX, int screenY) {
    const DWORD now = GetTickCount();
    if (sysMenuTime_ && now - sysMenuTime_ <= GetDoubleClickTime()) {
        // A second request at once: the icon was double-clicked.
        if (HotObject) {
            StartTimer(false);
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        }
        return;
    }
    sysMenuTime_ = now ? now : 1;
    if (skin_->SkinControls.Contains(xcSystemMenu) && formStyle_ != sfsMDIChild) {
        if (!sysMenu_) CreateSysmenu();
        for (int i = 0; i < sysMenu_->Items->Count(); ++i) {
            TMenuItem* item = sysMenu_->Items->Items(i);
            if (item->Tag == 0) item->Enabled = state_ != swsNormal;
            if (item->Tag == 1) item->Enabled = state_ != swsMax;
            if (item->Tag == 2) item->Enabled = state_ != swsMin;
        }
        menuLoop_ = true;
        sysMenu_->Popup(screenX, screenY);
        menuLoop_ = false;
        return;
    }
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    menuLoop_ = true;
    const int command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenX, screenY, 0, hwnd_, nullptr);
    menuLoop_ = false;
    if (command) PostMessageW(hwnd_, WM_SYSCOMMAND, WPARAM(command), 0);
}

void TWinSkinForm::DoSysMenu(TMenuItem* item) {
    if (!item) return;
    switch (item->Tag) {
    case 0:
        Restore();
        break;
    case 1:
        Maximize();
        break;
    case 2:
        Minimize();
        break;
    case 3:
        StartTimer(false);
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}
