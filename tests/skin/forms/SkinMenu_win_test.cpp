// Skinned menus on real windows under the skin manager: a menu bar's submenu opened by a click and
// drawn by the skin on its popup window's background, picked from the keyboard by a first letter;
// the skinned system menu on a right click on the caption, whose Close closes; Alt+F4; a form's
// popup menu; and item painting that leaves no GDI objects behind. Screenshots of the open menus
// go to the build folder.
#include "skin/data/PngWrite.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuItem_win.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/ToolBar.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <vector>

namespace {

std::vector<UINT> gCommands;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) gCommands.push_back(LOWORD(wParam));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window with a menu bar: "&File" (Open, a separator, a checked item, Exit without "&" and with
// a shortcut, a disabled item) and "&Help".
HWND MenuWindow(bool menu = true) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SkinMenuTest";
        registered = RegisterClassW(&wc) != 0;
    }
    HMENU bar = nullptr;
    if (menu) {
        bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, 201, L"&Open");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_STRING | MF_CHECKED, 202, L"&Checked");
        AppendMenuW(file, MF_STRING, 203, L"Exit\tAlt+X");
        AppendMenuW(file, MF_STRING | MF_GRAYED, 204, L"&Disabled");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        HMENU help = CreatePopupMenu();
        AppendMenuW(help, MF_STRING, 301, L"&About");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
        HMENU view = CreatePopupMenu();
        AppendMenuW(view, MF_STRING, 401, L"&Zoom");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    }
    HWND hwnd = CreateWindowExW(0, L"SkinMenuTest", L"Menus", WS_OVERLAPPEDWINDOW, 120, 90, 340, 260, nullptr, bar,
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    Pump(50);
    return hwnd;
}

TPixel ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return PixelFromColor(TColor(c));
}

// The screen in r, written to the build folder's screenshots as name.png.
void Screenshot(const RECT& r, const std::string& name) {
    TDib dib;
    if (!dib.Resize(r.right - r.left, r.bottom - r.top)) return;
    HDC screen = GetDC(nullptr);
    BitBlt(dib.DC(), 0, 0, dib.Width(), dib.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    std::wstring dir = L"Z:" + std::wstring(SCREENSHOT_DIR, SCREENSHOT_DIR + sizeof(SCREENSHOT_DIR) - 1);
    for (wchar_t& c : dir)
        if (c == L'/') c = L'\\';
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::vector<std::uint8_t> png = WritePng(dib.Bits());
    std::ofstream((dir + L"\\" + std::wstring(name.begin(), name.end()) + L".png").c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

// A window and the popup menu beside it, for a screenshot.
RECT Around(HWND window, HWND popup) {
    RECT a{}, b{};
    GetWindowRect(window, &a);
    GetWindowRect(popup, &b);
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right) + 4,
                std::max(a.bottom, b.bottom) + 4};
}

void MouseTo(int x, int y) {
    SetCursorPos(x, y);
    Pump(30);
}

void Mouse(DWORD flags, bool pump = true) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    if (pump) Pump(30);
}

// Runs step every 100 ms from a timer while a modal loop (a menu) runs, until it returns true;
// after five seconds the menu is ended and the step is not run again. A menu still open eight
// seconds after the start (a step whose keys did not close it) is ended too, until MenuDone.
std::function<bool()> gStep;
DWORD gStepStart = 0;
UINT_PTR gWatchdog = 0;
TPixel gLastSeen = 0, gLastWanted = 0;
const char* gWhere = "";
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!gStep) return;
    if (gStep()) {
        gStep = nullptr;
    } else if (GetTickCount() - gStepStart > 5000) {
        std::printf("gave up at %s: seen %08x, wanted %08x\n", gWhere, unsigned(gLastSeen), unsigned(gLastWanted));
        gStep = nullptr;
        EndMenu();
    } else {
        SetTimer(nullptr, 0, 100, StepTimer);
    }
}
void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gWatchdog = 0;
    std::printf("a menu was still open: ended\n");
    EndMenu();
}
void InsideMenu(std::function<bool()> step) {
    gStep = std::move(step);
    gStepStart = GetTickCount();
    SetTimer(nullptr, 0, 200, StepTimer);
    gWatchdog = SetTimer(nullptr, 0, 8000, Watchdog);
}
void MenuDone() {
    if (gWatchdog) KillTimer(nullptr, gWatchdog);
    gWatchdog = 0;
}

// Whether the screen shows wanted at p; what was seen last is reported if the step gives up.
bool Shows(POINT p, TPixel wanted, const char* where) {
    gWhere = where;
    gLastSeen = ScreenPixel(p.x, p.y);
    gLastWanted = wanted;
    return gLastSeen == wanted;
}

// The rectangles owner-drawn items were last drawn in (in their menu window's client area), by
// item id: seen in WM_DRAWITEM on its way to a window's skinner, or around a framework item's
// handler.
std::map<UINT, RECT> gDrawn;
std::map<HWND, WNDPROC> gSpied;
LRESULT CALLBACK DrawSpy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (d->CtlType == ODT_MENU) gDrawn[d->itemID] = d->rcItem;
    }
    return CallWindowProcW(gSpied[hwnd], hwnd, msg, wParam, lParam);
}
void SpyOnDrawing(HWND hwnd) {
    gSpied[hwnd] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DrawSpy)));
}
void SpyOnItem(TMenuItem* item, UINT id) {
    TMenuDrawItemEvent draw = item->OnDrawItem;
    item->OnDrawItem = [draw, id](TObject* sender, HDC dc, const RECT& r, UINT state) {
        gDrawn[id] = r;
        if (draw) draw(sender, dc, r, state);
    };
}

// Where an item was last drawn, on the screen; false when it has not been drawn.
bool DrawnAt(HWND popup, UINT id, RECT& r) {
    const auto it = gDrawn.find(id);
    if (it == gDrawn.end()) return false;
    POINT origin{0, 0};
    ClientToScreen(popup, &origin);
    r = it->second;
    OffsetRect(&r, origin.x, origin.y);
    return true;
}

HWND VisiblePopup() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

// What an item of the popup window should show at screen point p when nothing but its face lies
// there: the window's background with the skin's item frame over it.
TPixel ItemFace(TWinSkinPopMenu& popup, const TSkinDataCore& skin, const RECT& item, int frame, POINT p) {
    RECT wr{};
    GetWindowRect(popup.Handle, &wr);
    const int w = item.right - item.left, h = item.bottom - item.top;
    TBitmap32 face(w, h);
    DrawBitmap(face, -(item.left - wr.left), -(item.top - wr.top), popup.Background());
    const TDataSkinObject& o = *skin.MenuItem;
    DrawRect2(face, Bounds(0, 0, w, h), o.Bitmap, o.Margins, frame, 5, o.Trans != 0, o.Tile != 0, false);
    return face.Pixel(p.x - item.left, p.y - item.top);
}

class SkinMenu : public testing::Test {
protected:
    void SetUp() override {
        StartSkinEngine();
        skin_ = std::make_unique<TSkinData>(nullptr);
        skin_->ComponentState.Include(TComponentStateFlag::Reading);
        ASSERT_TRUE(skin_->LoadFromFile(TELLIT_SKIN));
        skin_->SetActive(true);
        skin_->ComponentState.Exclude(TComponentStateFlag::Reading);
        skin_->Loaded();
        ASSERT_TRUE(SkinManager->Active);
        ASSERT_TRUE(skin_->MenuItem && skin_->MenuBackground);
        gCommands.clear();
    }
    void TearDown() override {
        skin_.reset();
        StopSkinEngine();
    }
    TWinSkinForm* Skinner(HWND w) {
        TWinSkinForm* f = nullptr;
        WaitFor([&] {
            f = SkinManager->FindSkinForm(w);
            return f && f->Lifecycle() == kSkinned;
        });
        return f;
    }
    std::unique_ptr<TSkinData> skin_;
};

TEST_F(SkinMenu, BarSubmenuIsDrawnOnItsBackgroundAndAnswersFirstLetters) {
    HWND w = MenuWindow();
    TWinSkinForm* f = Skinner(w);
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->MenuBar(), nullptr);
    Pump(300);
    const TMenuBtn& fileButton = *f->MenuBar()->Buttons[0];
    HMENU file = fileButton.Submenu;
    ASSERT_NE(file, nullptr);
    const TPixel systemMenu = PixelFromColor(TColor(GetSysColor(COLOR_MENU)));

    SpyOnDrawing(w);
    gDrawn.clear();
    bool normalSeen = false, selectedSeen = false;
    InsideMenu([&] {
        HWND popup = VisiblePopup();
        TWinSkinPopMenu* skinner = popup ? SkinManager->FindSkinMenu(popup) : nullptr;
        gWhere = "bar submenu window";
        if (!skinner || skinner->Background().Empty()) return false;
        RECT first{}, next{};
        if (!DrawnAt(popup, 201, first) || !DrawnAt(popup, 202, next)) return false;
        // Opened by the mouse, the menu comes up with its first item selected: the item's
        // selected frame; the next one unselected, the menu background showing through its frame.
        const POINT p{first.right - 4, (first.top + first.bottom) / 2};
        const POINT q{next.right - 4, (next.top + next.bottom) / 2};
        const TPixel normal = ItemFace(*skinner, *skin_, next, 1, q);
        if (!Shows(q, normal, "normal item") || !Shows(p, ItemFace(*skinner, *skin_, first, 4, p), "selected item"))
            return false;
        normalSeen = normal != systemMenu;
        selectedSeen = true;
        Screenshot(Around(w, popup), "menu_bar_submenu");
        // "Exit" has no "&": only the skin's answer to WM_MENUCHAR finds it by its first letter.
        PostMessageW(popup, WM_CHAR, L'e', 0);
        return true;
    });
    RECT wr{};
    GetWindowRect(w, &wr);
    MouseTo(wr.left + (fileButton.Rect.Left + fileButton.Rect.Right) / 2,
            wr.top + (fileButton.Rect.Top + fileButton.Rect.Bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    MenuDone();
    EXPECT_TRUE(normalSeen) << "item background from the menu background image";
    EXPECT_TRUE(selectedSeen) << "selected item frame";
    EXPECT_TRUE(WaitFor([] { return !gCommands.empty(); }));
    EXPECT_EQ(gCommands, std::vector<UINT>{203});

    // Closed, the menu is the window's own again: no item stays owner-drawn.
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        GetMenuItemInfoW(file, UINT(i), TRUE, &mii);
        EXPECT_EQ(mii.fType & MFT_OWNERDRAW, 0u) << i;
        EXPECT_EQ(mii.dwItemData, 0u) << i;
    }
    DestroyWindow(w);
}

// From a right-to-left item, left goes to the next menu (Help) rather than round to the last (View).
TEST_F(SkinMenu, RightToLeftItemsTurnTheArrowKeys) {
    HWND w = MenuWindow();
    TWinSkinForm* f = Skinner(w);
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->MenuBar(), nullptr);
    ASSERT_EQ(f->MenuBar()->Buttons.size(), 3u);
    HMENU file = f->MenuBar()->Buttons[0]->Submenu, help = f->MenuBar()->Buttons[1]->Submenu;
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(file, UINT(i), TRUE, &mii);
        mii.fType |= MFT_RIGHTORDER;
        SetMenuItemInfoW(file, UINT(i), TRUE, &mii);
    }
    int phase = 0;
    HMENU reached = nullptr;
    InsideMenu([&] {
        HWND popup = VisiblePopup();
        HMENU shown = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
        gWhere = "right-to-left switching";
        if (phase == 0) {
            // "Open", which reads right to left, is selected as the menu opens.
            if (shown != file || !(GetMenuState(file, 0, MF_BYPOSITION) & MF_HILITE)) return false;
            PostMessageW(popup, WM_KEYDOWN, VK_LEFT, 0);
            phase = 1;
            return false;
        }
        if (!shown || shown == file) return false;
        reached = shown;
        EndMenu();
        return true;
    });
    f->CheckMenu(*f->MenuBar()->Buttons[0]);
    MenuDone();
    EXPECT_EQ(reached, help);
    DestroyWindow(w);
}

TEST_F(SkinMenu, SystemMenuOnTheCaptionClosesAndAltF4Closes) {
    HWND w = MenuWindow(false);
    TWinSkinForm* f = Skinner(w);
    ASSERT_NE(f, nullptr);
    Pump(300);
    RECT wr{};
    GetWindowRect(w, &wr);
    const POINT caption{wr.left + (wr.right - wr.left) / 3, wr.top + f->Metrics().Caption / 2};
    ASSERT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);

    std::vector<std::wstring> captions;
    std::wstring shortCut;
    bool restoreEnabled = true, skinned = false, spied = false;
    gDrawn.clear();
    InsideMenu([&] {
        TPopupMenu* menu = f->SysMenu();
        HWND popup = VisiblePopup();
        TWinSkinPopMenu* skinner = popup ? SkinManager->FindSkinMenu(popup) : nullptr;
        gWhere = "system menu window";
        if (!menu || !menu->Handle() || !skinner || skinner->Background().Empty()) return false;
        if (!spied) {
            // Drawn again with the rectangles recorded.
            for (int i = 0; i < menu->Items->Count(); ++i)
                SpyOnItem(menu->Items->Items(i), UINT(i + 1));
            spied = true;
            InvalidateRect(popup, nullptr, TRUE);
            return false;
        }
        RECT item{};
        if (!DrawnAt(popup, 1, item)) return false;
        const POINT p{item.right - 4, (item.top + item.bottom) / 2};
        if (!Shows(p, ItemFace(*skinner, *skin_, item, 1, p), "system menu item")) return false;
        skinned = true;
        for (int i = 0; i < menu->Items->Count(); ++i)
            captions.push_back(menu->Items->Items(i)->Caption);
        TMenuItem* close = menu->Items->Items(menu->Items->Count() - 1);
        shortCut = ShortCutToText(close->ShortCut);
        restoreEnabled = menu->Items->Items(0)->Enabled;
        Screenshot(Around(w, popup), "menu_system");
        // The right button goes up in the menu, then Close is clicked.
        Mouse(MOUSEEVENTF_RIGHTUP, false);
        RECT closeRect{};
        DrawnAt(popup, UINT(menu->Items->Count()), closeRect);
        SetCursorPos((closeRect.left + closeRect.right) / 2, (closeRect.top + closeRect.bottom) / 2);
        Mouse(MOUSEEVENTF_LEFTDOWN, false);
        Mouse(MOUSEEVENTF_LEFTUP, false);
        return true;
    });
    MouseTo(caption.x, caption.y);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    MenuDone();
    EXPECT_TRUE(skinned) << "the skin's system menu on its menu background";
    ASSERT_EQ(captions.size(), 5u); // restore, maximize, minimize, separator, close
    EXPECT_EQ(captions[3], L"-");
    EXPECT_NE(captions[4].find(L"Close"), std::wstring::npos);
    EXPECT_EQ(shortCut, L"Alt+F4");
    EXPECT_FALSE(restoreEnabled) << "a normal window cannot be restored";
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(w); })) << "Close closes";

    // Alt+F4 from the keyboard closes a skinned window.
    HWND second = MenuWindow();
    ASSERT_NE(Skinner(second), nullptr);
    SetForegroundWindow(second);
    SetFocus(second);
    Pump(100);
    INPUT keys[4]{};
    const WORD vks[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = vks[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(second); })) << "Alt+F4 closes";
    if (IsWindow(second)) DestroyWindow(second);
}

TEST_F(SkinMenu, AFormsPopupMenuIsSkinnedAndGivenBack) {
    Application->Initialize();
    auto* form = new TForm(Application, L"TPopupHost");
    auto* menu = new TPopupMenu(form);
    int clicks = 0;
    menu->Items->Add(L"&One", [&](TObject*) { ++clicks; });
    menu->Items->Add(L"-");
    menu->Items->Add(L"&Two")->SetChecked(true);
    menu->Items->Add(L"&Three")->Enabled = false;
    TMenuItem* own = menu->Items->Add(L"Own painting");
    own->OnDrawItem = [](TObject*, HDC dc, const RECT& r, UINT) {
        RECT t = r;
        FillRect(dc, &t, GetSysColorBrush(COLOR_INFOBK));
        DrawTextW(dc, L"  Own painting", -1, &t, DT_SINGLELINE | DT_VCENTER);
    };
    auto* tagged = new TPopupMenu(form);
    tagged->Tag = 199; // DisableTag 99: left to the system
    tagged->Items->Add(L"Plain");
    form->Show();
    TWinSkinForm* f = Skinner(form->Handle());
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(menu->OwnerDraw);
    EXPECT_TRUE(menu->Items->Items(0)->OnDrawItem && menu->Items->Items(0)->OnMeasureItem);
    EXPECT_FALSE(own->OnMeasureItem) << "an item that paints itself keeps its own painting";
    EXPECT_FALSE(tagged->OwnerDraw);

    gDrawn.clear();
    SpyOnItem(menu->Items->Items(2), 3);
    bool skinned = false, frameworkPopup = false;
    InsideMenu([&] {
        HWND popup = VisiblePopup();
        TWinSkinPopMenu* skinner = popup ? SkinManager->FindSkinMenu(popup) : nullptr;
        gWhere = "form popup window";
        if (!menu->Handle() || !skinner || skinner->Background().Empty()) return false;
        RECT item{};
        if (!DrawnAt(popup, 3, item)) return false;
        const POINT p{item.right - 4, (item.top + item.bottom) / 2};
        if (!Shows(p, ItemFace(*skinner, *skin_, item, 1, p), "form popup item")) return false;
        skinned = true;
        frameworkPopup = skinner->FrameworkPopup;
        Screenshot(Around(form->Handle(), popup), "menu_form_popup");
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    RECT wr{};
    GetWindowRect(form->Handle(), &wr);
    menu->Popup(wr.left + 60, wr.top + 60);
    MenuDone();
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(frameworkPopup) << "the popup window knows it shows a framework menu";
    EXPECT_EQ(clicks, 1) << "the first item chosen from the keyboard";

    // The skin let go: the menu is the system's again, the application's own painting stays.
    skin_->SetActive(false);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) == 0; }));
    EXPECT_FALSE(menu->OwnerDraw);
    EXPECT_FALSE(menu->Items->Items(0)->OnDrawItem);
    EXPECT_FALSE(menu->Items->Items(0)->OnMeasureItem);
    EXPECT_TRUE(own->OnDrawItem);
    delete form;
}

// A form's menu set, replaced, removed and its items changed after it was skinned: the bar
// follows (captions, enabled and visible state), commands still reach the items that moved, the
// client area keeps its size, and the system never shows a menu row of its own. With MenuUpdate
// off the bar keeps what it shows until the skin changes.
struct TBarButton {
    std::wstring Caption;
    bool Enabled = true;
    bool Visible = true;
    bool operator==(const TBarButton& o) const {
        return Caption == o.Caption && Enabled == o.Enabled && Visible == o.Visible;
    }
};
void PrintTo(const TBarButton& b, std::ostream* os) {
    *os << WideToUtf8(b.Caption) << (b.Enabled ? "" : " disabled") << (b.Visible ? "" : " hidden");
}

TEST_F(SkinMenu, AFormsMenuSetReplacedChangedAndRemovedWhileSkinned) {
    Application->Initialize();
    auto* form = new TForm(Application, L"TMenuHost");
    auto* first = new TMainMenu(form);
    first->Items->Add(L"&Alpha")->Add(L"Inside");
    auto* second = new TMainMenu(form);
    second->Items->Add(L"&Beta");
    second->Items->Add(L"&Gamma");
    std::vector<std::wstring> clicked;
    auto click = [&](TObject* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Caption); };
    form->Show();
    TWinSkinForm* f = Skinner(form->Handle());
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->MenuBar(), nullptr);
    const int cw = form->ClientWidth(), ch = form->ClientHeight();
    struct TStep {
        const char* What;
        std::function<void()> Change;
        std::vector<TBarButton> Buttons;
    };
    const std::vector<TStep> steps{
        {"set", [&] { form->SetMenu(first); }, {{L"&Alpha"}}},
        {"replaced", [&] { form->SetMenu(second); }, {{L"&Beta"}, {L"&Gamma"}}},
        {"removed", [&] { form->SetMenu(nullptr); }, {}},
        {"set again", [&] { form->SetMenu(first); }, {{L"&Alpha"}}},
        {"item added",
         [&] {
             first->Items->Add(L"&Delta", click);
             first->Changed();
         },
         {{L"&Alpha"}, {L"&Delta"}}},
        {"item renamed, first one disabled",
         [&] {
             first->Items->Items(1)->Caption = L"&Epsilon";
             first->Items->Items(0)->Enabled = false;
             first->Changed();
         },
         {{L"&Alpha", false}, {L"&Epsilon"}}},
        {"item hidden, one added after it",
         [&] {
             first->Items->Items(0)->Visible = false;
             first->Items->Add(L"&Zeta", click);
             first->Changed();
         },
         {{L"&Alpha", false, false}, {L"&Epsilon"}, {L"&Zeta"}}},
        {"hidden item removed, the other shown and enabled again",
         [&] {
             first->Items->Delete(0);
             first->Items->Items(0)->Enabled = true;
             first->Changed();
         },
         {{L"&Epsilon"}, {L"&Zeta"}}},
        {"changed with MenuUpdate off: the bar stays",
         [&] {
             skin_->MenuUpdate = false;
             first->Items->Items(1)->Caption = L"&Eta";
             first->Changed();
         },
         {{L"&Epsilon"}, {L"&Zeta"}}},
        {"the skin changed: the bar is built anew",
         [&] {
             form->Perform(WM_SKIN_CHANGE);
             skin_->MenuUpdate = true;
         },
         {{L"&Epsilon"}, {L"&Eta"}}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.What);
        s.Change();
        Pump(50);
        std::vector<TBarButton> shown;
        if (f->MenuBar()) {
            for (const auto& b : f->MenuBar()->Buttons) {
                shown.push_back({b->Caption, b->Enabled, b->Visible});
                // A hidden button takes no room and no click.
                if (!b->Visible) {
                    EXPECT_TRUE(b->Rect.IsEmpty());
                }
            }
        }
        EXPECT_EQ(shown, s.Buttons);
        EXPECT_EQ(f->Metrics().MenuBar > 0, !s.Buttons.empty());
        EXPECT_EQ(GetMenu(form->Handle()), nullptr);
        EXPECT_EQ(form->ClientWidth(), cw);
        EXPECT_EQ(form->ClientHeight(), ch);
    }
    // The commands of items that moved in the menu reach them; a disabled one sends nothing.
    first->Items->Items(0)->Enabled = false;
    first->Changed();
    Pump(50);
    ASSERT_EQ(f->MenuBar()->Buttons.size(), 2u);
    for (int i = 0; i < 2; ++i)
        f->CheckMenu(*f->MenuBar()->Buttons[size_t(i)]);
    Pump(50);
    EXPECT_EQ(clicked, std::vector<std::wstring>{L"&Eta"});
    // Unskinned, the form's menu bar is the system's again, with the items as they are now.
    skin_->SetActive(false);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) == 0; }));
    EXPECT_EQ(GetMenu(form->Handle()), first->Handle());
    EXPECT_EQ(GetMenuItemCount(first->Handle()), 2);
    EXPECT_TRUE(GetMenuState(first->Handle(), 0, MF_BYPOSITION) & MF_GRAYED);
    delete form;
}

// A tool bar with a plain button and a drop-down button: the bar made flat and transparent with the
// skin's button frames, hot and pressed; the drop-down button's menu, opened from its arrow, drawn
// by the skin over the application's own item painting; everything given back with the skin.
TEST_F(SkinMenu, ToolBarButtonsShowTheSkinsButtonFrames) {
    Application->Initialize();
    auto* form = new TForm(Application, L"TToolHost");
    auto* bar = new TToolBar(form, form);
    bar->SetPropValue("Transparent", "False");
    int clicks = 0, picked = 0, ownPainting = 0;
    bar->AddButton(L"Send", [&](TObject*) { ++clicks; });
    bar->AddButton(L"Clear");
    auto* templates = new TPopupMenu(form);
    templates->Items->Add(L"&Greeting", [&](TObject*) { ++picked; });
    templates->Items->Add(L"-");
    TMenuItem* more = templates->Items->Add(L"&More");
    more->Add(L"&Thanks");
    more->OnDrawItem = [&](TObject*, HDC, const RECT&, UINT) { ++ownPainting; };
    TToolButton* dropDown = bar->AddDropDownButton(L"Templates", templates);
    EXPECT_EQ(dropDown->Owner(), form) << "a component of the form, where discovery meets it";
    form->Show();
    TWinSkinForm* f = Skinner(form->Handle());
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(bar->OnCustomDrawButton);
    const TSkinControl* box = TSkinControl::FromHandle(bar->Handle());
    EXPECT_EQ(box ? box->ClassName() : std::string(), "TSkinBox");
    TPropValue v;
    for (const char* name : {"Flat", "Transparent"})
        EXPECT_TRUE(bar->GetPropValue(name, v) && v.Text == "True") << name;
    EXPECT_TRUE(templates->OwnerDraw);
    EXPECT_TRUE(templates->Items->Items(0)->OnDrawItem && more->Items(0)->OnMeasureItem);
    Pump(300);

    // The rectangle the first button is drawn in, seen on its way to the skin's painter.
    const TToolBarDrawButtonEvent skinPainter = bar->OnCustomDrawButton;
    RECT drawn{};
    bar->OnCustomDrawButton = [&](TToolBar* sender, NMTBCUSTOMDRAW& cd) {
        if (cd.nmcd.dwItemSpec == 1) drawn = cd.nmcd.rc;
        return skinPainter(sender, cd);
    };
    InvalidateRect(bar->Handle(), nullptr, TRUE);
    ASSERT_TRUE(WaitFor([&] { return drawn.right > drawn.left; }));

    // Hot under the mouse: frame 4 of the skin's Buttons image inside the button's edge.
    RECT r = drawn;
    MapWindowPoints(bar->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left - 2, h = r.bottom - r.top - 2;
    ASSERT_GT(w, 4);
    const TDataSkinButton& b = skin_->Buttons;
    auto face = [&](int frame) { return GetHMap(Bounds(0, 0, w, h), b.Bitmap, b.Margins, frame, 5, false, false); };
    const POINT p{r.left + 1 + w / 2, r.top + 1 + 1}; // the frame's top edge, above the caption
    ASSERT_NE(face(4).Pixel(w / 2, 1), PixelFromColor(clSkinKey));
    ASSERT_NE(face(4).Pixel(w / 2, 1), face(2).Pixel(w / 2, 1));
    MouseTo(r.left + 3, r.bottom - 3);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(p.x, p.y) == face(4).Pixel(w / 2, 1); }))
        << std::hex << ScreenPixel(p.x, p.y) << " " << face(4).Pixel(w / 2, 1);
    RECT shot{};
    GetWindowRect(form->Handle(), &shot);
    Screenshot(shot, "toolbar_hot");
    // Pressed: frame 2; released over the button: a click.
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(p.x, p.y) == face(2).Pixel(w / 2, 1); }))
        << std::hex << ScreenPixel(p.x, p.y) << " " << face(2).Pixel(w / 2, 1);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return clicks == 1; }));

    // The drop-down button's arrow opens its menu under the button, drawn by the skin; the item
    // that had its own painting is the skin's too. Return picks the first item.
    gDrawn.clear();
    SpyOnItem(templates->Items->Items(0), 3);
    SpyOnItem(more, 4);
    bool skinned = false;
    InsideMenu([&] {
        HWND popup = VisiblePopup();
        TWinSkinPopMenu* skinner = popup ? SkinManager->FindSkinMenu(popup) : nullptr;
        gWhere = "tool button menu";
        if (!templates->Handle() || !skinner || skinner->Background().Empty()) return false;
        RECT item{}, moreItem{};
        if (!DrawnAt(popup, 3, item) || !DrawnAt(popup, 4, moreItem)) return false;
        const POINT at{item.right - 4, (item.top + item.bottom) / 2};
        if (!Shows(at, ItemFace(*skinner, *skin_, item, 1, at), "tool button menu item")) return false;
        RECT pr{};
        GetWindowRect(popup, &pr);
        RECT br{};
        GetWindowRect(bar->Handle(), &br);
        EXPECT_NEAR(pr.top, br.top + bar->ButtonRect(dropDown->Index()).bottom, 4) << "the menu opens under the button";
        skinned = true;
        Screenshot(Around(form->Handle(), popup), "toolbar_dropdown");
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    RECT arrow = bar->ButtonRect(dropDown->Index());
    MapWindowPoints(bar->Handle(), nullptr, reinterpret_cast<POINT*>(&arrow), 2);
    MouseTo(arrow.right - 4, (arrow.top + arrow.bottom) / 2);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return picked == 1; }));
    MenuDone();
    EXPECT_TRUE(skinned);
    EXPECT_EQ(ownPainting, 0);

    // The skin let go: the bar draws itself again, the menu is the system's.
    bar->OnCustomDrawButton = skinPainter;
    skin_->SetActive(false);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) == 0; }));
    EXPECT_FALSE(bar->OnCustomDrawButton);
    EXPECT_EQ(TSkinControl::FromHandle(bar->Handle()), nullptr);
    EXPECT_FALSE(templates->OwnerDraw);
    EXPECT_FALSE(more->Items(0)->OnDrawItem); // the items not spied on above
    EXPECT_FALSE(templates->Items->Items(1)->OnMeasureItem);
    delete form;
}

TEST_F(SkinMenu, PaintingItemsLeavesNoObjectsBehind) {
    HIMAGELIST images = MakeGlyphImages(skin_->MenuGlyphs);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 4);
    TDib target;
    ASSERT_TRUE(target.Resize(200, 30));
    TFontHandle font;
    auto paint = [&](int i) {
        TMenuItemFace face;
        face.Caption = L"&Item";
        face.ShortCut = L"Alt+F4";
        face.Checked = true;                         // check mark or dither square
        face.Default = i % 2 == 0;                   // bold font
        face.Images = i % 3 == 0 ? images : nullptr; // image list
        face.ImageIndex = i % 4;
        face.Enabled = i % 5 != 0;
        face.Selected = i % 2 == 1;
        face.Separator = i % 7 == 0;
        PaintMenuItem(*skin_, target.DC(), RECT{0, 0, 200, 22}, TMenuItemBack{}, face, NonClientFont(font, true));
    };
    for (int i = 0; i < 10; ++i)
        paint(i);
    const int before = GdiObjects();
    for (int i = 0; i < 300; ++i)
        paint(i);
    std::printf("GDI objects %d -> %d\n", before, GdiObjects());
    ImageList_Destroy(images);
    if (before < 0) GTEST_SKIP() << "no count of GDI objects on this system";
    EXPECT_LE(GdiObjects(), before + 2);
}

} // namespace
