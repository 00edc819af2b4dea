// The skin manager on real windows, in the order a program meets it: the hook before and after the
// first activation, the windows it leaves alone, message boxes and their skin data, requests
// carried out on the timer, skin changes, a form's own skin, popup menu frames, and shutdown.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"

#include "framework/Forms.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

int gCreates = 0;
HHOOK gCounter = nullptr;
LRESULT CALLBACK Counter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) ++gCreates;
    return CallNextHookEx(gCounter, code, wParam, lParam);
}

bool Skinned(HWND w) {
    return SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1;
}

std::string TallPackage() {
    TBitmap32 side(10, 60), top(60, 80), bottom(60, 10), close(16, 14);
    side.Fill(PixelRGB(90, 90, 90));
    top.Fill(PixelRGB(200, 0, 0));
    bottom.Fill(PixelRGB(90, 90, 90));
    close.Fill(PixelRGB(9, 9, 9));
    auto bmp = [](const TBitmap32& b) {
        const std::vector<std::uint8_t> bytes = WriteBmp24(b);
        return std::string(bytes.begin(), bytes.end());
    };
    TSkinWriter w;
    w.Add("skin.ini", "[Personality]\nLeft=side.bmp\nLeftFrame=2\nRight=side.bmp\nRightFrame=2\nTop=top.bmp\n"
                      "TopFrame=2\nBottom=bottom.bmp\nBottomFrame=2\n"
                      "[Button0]\nButtonImage=close.bmp\nframe=1\nAction=0\nAlign=1\nXcoord=24\nYcoord=4\n");
    w.Add("side.bmp", bmp(side));
    w.Add("top.bmp", bmp(top));
    w.Add("bottom.bmp", bmp(bottom));
    w.Add("close.bmp", bmp(close));
    return w.Pack();
}

bool LoadTall(TSkinData& s) {
    TMemoryStream package;
    package.Assign(TallPackage());
    return s.LoadFromStream(package);
}

// A skin data component set up as a form reads one.
void Read(TSkinData& s, bool active, TSkinFormType type, const std::function<bool(TSkinData&)>& load) {
    s.ComponentState.Include(TComponentStateFlag::Reading);
    ASSERT_TRUE(load(s));
    s.SkinFormtype = type;
    s.SetActive(active);
    s.ComponentState.Exclude(TComponentStateFlag::Reading);
    s.Loaded();
}

bool Shipped(TSkinData& s) {
    return s.LoadFromFile(TELLIT_SKIN);
}

HWND PlainWindow(const wchar_t* caption) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ManagedPlain";
        registered = RegisterClassW(&wc) != 0;
    }
    return CreateWindowExW(0, L"ManagedPlain", caption, WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void Activate(HWND w) {
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    SetActiveWindow(w);
    Pump(30);
}

// Runs `inside` from a timer while a modal loop (message box, menu) runs.
std::function<void()> gInside;
void CALLBACK Inside(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (gInside) gInside();
}

// The skin data of the skinner of a message box "Box" shown over owner; the box is answered at once.
TSkinDataCore* SkinOfMessageBox(HWND owner) {
    TSkinDataCore* used = nullptr;
    gInside = [&] {
        HWND box = FindWindowW(L"#32770", L"Box");
        if (TWinSkinForm* f = SkinManager->FindSkinForm(box)) used = f->SkinData();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    SetTimer(nullptr, 0, 300, Inside);
    MessageBoxW(owner, L"Text", L"Box", MB_OK);
    return used;
}

TEST(SkinManage, AProgramsSkinningFromStartToEnd) {
    // A hook installed before the engine's sits behind it in the chain.
    gCounter = SetWindowsHookExW(WH_CBT, Counter, nullptr, GetCurrentThreadId());
    StartSkinEngine();
    ASSERT_NE(SkinManager, nullptr);
    ASSERT_EQ(SkinManager->ActivationCount, 0);
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_GT(gCreates, 0) << "the engine's hook passes the codes on";
    DestroyWindow(probe);

    // Before any activation an install only switches skinning on; the hook skins the first window
    // activated, at once.
    TSkinData main(nullptr);
    Read(main, true, sfMainform, Shipped);
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_FALSE(SkinManager->TimerRunning());
    HWND a = PlainWindow(L"First");
    Activate(a);
    EXPECT_EQ(SkinManager->ActivationCount, 1);
    ASSERT_NE(SkinManager->FindSkinForm(a), nullptr);
    EXPECT_TRUE(WaitFor([&] { return SkinManager->FindSkinForm(a)->Lifecycle() == kSkinned; }));
    EXPECT_TRUE(Skinned(a));

    // Windows left alone: a form tagged 99, a window of no area, the application's window.
    Application->Initialize();
    auto* tagged = new TForm(Application, L"TTagged");
    tagged->Tag = 99;
    tagged->Show();
    Pump(50);
    EXPECT_FALSE(Skinned(tagged->Handle()));
    HWND empty = CreateWindowExW(0, L"ManagedPlain", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(SkinManager->AddForm(empty));
    EXPECT_FALSE(SkinManager->AddForm(Application->Handle()));
    DestroyWindow(empty);
    delete tagged;

    // A message box takes the dialog skin data while there is one.
    {
        TSkinData dialogs(nullptr);
        Read(dialogs, true, sfDialog, LoadTall);
        EXPECT_EQ(SkinOfMessageBox(a), &dialogs);
    }
    EXPECT_EQ(SkinOfMessageBox(a), &main) << "without dialog skin data, the main one";

    // After the first activation requests run 250 ms later, on the timer.
    auto* form = new TForm(Application, L"TManaged");
    form->Show();
    EXPECT_TRUE(WaitFor([&] { return Skinned(form->Handle()); }));
    main.SetActive(false);
    EXPECT_EQ(SkinManager->PendingAction, saUninstall);
    EXPECT_EQ(SkinManager->CurrentSkinData, &main);
    EXPECT_TRUE(SkinManager->TimerRunning());
    const DWORD asked = GetTickCount();
    EXPECT_TRUE(Skinned(a));
    EXPECT_TRUE(WaitFor([&] { return !Skinned(a) && !Skinned(form->Handle()); }));
    EXPECT_GE(GetTickCount() - asked, 200u);
    EXPECT_FALSE(SkinManager->Active);
    EXPECT_NE(GetWindowLongPtrW(a, GWL_STYLE) & WS_CAPTION, 0);

    // A popup menu shown while skinning is off keeps the system's look.
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"One");
    AppendMenuW(menu, MF_STRING, 2, L"Two");
    bool menuSkinned = true;
    gInside = [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        menuSkinned = SkinManager->FindSkinMenu(popup) != nullptr;
        EndMenu();
    };
    SetTimer(nullptr, 0, 300, Inside);
    TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, a, nullptr);
    EXPECT_FALSE(menuSkinned);

    // Install again: the visible forms are skinned on the timer.
    main.SetActive(true);
    EXPECT_EQ(SkinManager->PendingAction, saInstall);
    EXPECT_TRUE(WaitFor([&] { return Skinned(form->Handle()); }));

    // With skinning on, a popup menu's frame comes from the menu background (read from the screen
    // until it shows, for up to five seconds).
    TPixel framePixel = 0, expected = 1;
    DWORD menuStart = 0;
    gInside = [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (TWinSkinPopMenu* m = SkinManager->FindSkinMenu(popup); m && IsWindowVisible(popup)) {
            expected = m->Background().Pixel(1, 1);
            RECT r{};
            GetWindowRect(popup, &r);
            HDC screen = GetDC(nullptr);
            framePixel = PixelFromColor(TColor(GetPixel(screen, r.left + 1, r.top + 1)));
            ReleaseDC(nullptr, screen);
        }
        if (framePixel == expected || GetTickCount() - menuStart > 5000)
            EndMenu();
        else
            SetTimer(nullptr, 0, 100, Inside);
    };
    menuStart = GetTickCount();
    SetTimer(nullptr, 0, 300, Inside);
    TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
    EXPECT_EQ(framePixel, expected);
    EXPECT_TRUE(SkinManager->Menus().empty()); // freed with their windows
    DestroyMenu(menu);

    // A new skin: the buttons go at once and come back with the new metrics on the timer.
    TWinSkinForm* skinner = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(LoadTall(main));
    EXPECT_TRUE(skinner->SysButtons().empty());
    EXPECT_EQ(SkinManager->PendingAction, saSkinChanged);
    EXPECT_TRUE(WaitFor([&] { return skinner->Metrics().Caption == 40 && !skinner->SysButtons().empty(); }));
    RECT cr{};
    GetClientRect(form->Handle(), &cr);
    EXPECT_EQ(cr.bottom, form->ClientHeight());
    // A skin change replaced by another request still gives the buttons back.
    main.UpdateSkin();
    EXPECT_TRUE(skinner->SysButtons().empty());
    main.Install();
    EXPECT_FALSE(skinner->SysButtons().empty());
    Pump(400);

    // A form with a skin of its own is skinned with it at once.
    auto* own = new TForm(Application, L"TOwnSkin");
    {
        auto* ownSkin = new TSkinData(own);
        Read(*ownSkin, true, sfOnlyThisForm, LoadTall);
        TWinSkinForm* f = SkinManager->FindSkinForm(own->Handle());
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->SkinData(), ownSkin);
        // A component that goes takes its pending request and its skinners with it.
        ownSkin->Install();
        EXPECT_EQ(SkinManager->PendingSkin, ownSkin);
        delete ownSkin;
        EXPECT_EQ(SkinManager->PendingAction, saNone);
        EXPECT_EQ(SkinManager->FindSkinForm(own->Handle()), nullptr);
        EXPECT_FALSE(Skinned(own->Handle()));
    }
    delete own;

    // At the end the engine lets go of every window; its pointer is cleared.
    delete form;
    StopSkinEngine();
    EXPECT_EQ(SkinManager, nullptr);
    EXPECT_FALSE(Skinned(a));
    DestroyWindow(a);
    UnhookWindowsHookEx(gCounter);
}

} // namespace
