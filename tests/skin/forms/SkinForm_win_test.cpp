// The form skinner on real windows: client size, region, caption pixels, title clip, hit testing,
// caption buttons under real mouse input, the actions, un-skinning, and what it leaves behind.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/WinSkinForm_win.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Border and button colours of the synthetic skins.
constexpr TPixel kActive = PixelRGB(200, 0, 0), kInactive = PixelRGB(0, 0, 200), kSide = PixelRGB(0, 120, 0);
constexpr TPixel kFaces[4] = {PixelRGB(10, 10, 10), PixelRGB(60, 60, 60), PixelRGB(120, 120, 120),
                              PixelRGB(180, 180, 180)}; // normal, pressed, hot, inactive
constexpr int kClientW = 331, kClientH = 216;

std::string Bmp(const TBitmap32& b) {
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

// Two frames of a border: side by side for the side borders, stacked for top and bottom.
TBitmap32 Border(int thickness, int length, bool stacked, bool keyCorners) {
    TBitmap32 b = stacked ? TBitmap32(length, 2 * thickness) : TBitmap32(2 * thickness, length);
    for (int f = 0; f < 2; ++f) {
        const TRect r =
            stacked ? Bounds(0, f * thickness, length, thickness) : Bounds(f * thickness, 0, thickness, length);
        b.FillRect(r, stacked ? (f == 0 ? kActive : kInactive) : kSide);
        if (keyCorners) {
            const TPixel key = PixelFromColor(clSkinKey);
            b.SetPixel(r.Left, r.Top, key);
            b.SetPixel(r.Right - 1, r.Top, key);
            b.SetPixel(r.Left, r.Bottom - 1, key);
            b.SetPixel(r.Right - 1, r.Bottom - 1, key);
        }
    }
    return b;
}

TBitmap32 ButtonStrip() {
    TBitmap32 b(4 * 16, 14);
    for (int f = 0; f < 4; ++f)
        b.FillRect(Bounds(16 * f, 0, 16, 14), kFaces[f]);
    return b;
}

// A skin with a caption of captionHeight; keyCorners makes every border transparent with
// key-coloured corners; iconButton adds a button at the left that shows the window's icon.
bool LoadSynthetic(TSkinDataCore& skin, int captionHeight, bool keyCorners, bool iconButton = false) {
    const std::string trans = keyCorners ? "1" : "0";
    std::string ini = "[Personality]\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        ini += std::string(side) + "=" + side + ".bmp\n" + side + "Frame=2\n" + side + "Trans=" + trans + "\n" + side +
               "Stretch=1\n";
    ini += "TextShift=8\nTextRightClip=70\n";
    const struct { int action, x, vis, vis1; } buttons[] = {{0, 24, 0, 0}, {1, 44, 6, 2}, {1, 44, 6, 1}, {2, 64, 8, 0}};
    for (int i = 0; i < 4; ++i)
        ini += "[Button" + std::to_string(i) +
               "]\nButtonImage=button.bmp\nframe=4\nAction=" + std::to_string(buttons[i].action) +
               "\nAlign=1\nXcoord=" + std::to_string(buttons[i].x) +
               "\nYcoord=4\nVisibility=" + std::to_string(buttons[i].vis) +
               "\nVisibility1=" + std::to_string(buttons[i].vis1) + "\n";
    if (iconButton)
        ini += "[Button4]\nButtonImage=button.bmp\nframe=4\nAction=3\nAlign=0\nXcoord=6\nYcoord=4\n";
    TSkinWriter w;
    w.Add("skin.ini", ini);
    w.Add("Left.bmp", Bmp(Border(5, 60, false, keyCorners)));
    w.Add("Right.bmp", Bmp(Border(5, 60, false, keyCorners)));
    w.Add("Top.bmp", Bmp(Border(captionHeight, 60, true, keyCorners)));
    w.Add("Bottom.bmp", Bmp(Border(5, 60, true, keyCorners)));
    w.Add("button.bmp", Bmp(ButtonStrip()));
    TMemoryStream stream;
    stream.Assign(w.Pack());
    return skin.LoadSkin(stream);
}

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(DWORD style, const wchar_t* caption, bool menu = false, int settle = 50) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = TestProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SkinFormTest";
        registered = RegisterClassW(&wc) != 0;
    }
    HMENU bar = nullptr;
    if (menu) {
        bar = CreateMenu();
        AppendMenuW(bar, MF_STRING, 101, L"&File");
    }
    RECT r{0, 0, kClientW, kClientH};
    AdjustWindowRectEx(&r, style, bar != nullptr, 0);
    HWND hwnd = CreateWindowExW(0, L"SkinFormTest", caption, style, 100, 80, r.right - r.left, r.bottom - r.top,
                                nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    Pump(settle);
    return hwnd;
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

TPixel ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return PixelFromColor(TColor(c));
}

// A point of the window in screen coordinates.
POINT At(HWND hwnd, int x, int y) {
    const RECT r = WindowRect(hwnd);
    return POINT{r.left + x, r.top + y};
}

void MouseTo(POINT p) {
    SetCursorPos(p.x, p.y);
    Pump(30);
}

void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Pump(30);
}

TWinSysButton* ButtonOf(TWinSkinForm& f, int action, int vis1 = -1) {
    for (const auto& b : f.SysButtons())
        if (b->Entry.Action == action && b->Visible && (vis1 < 0 || b->Entry.Visibility1 == vis1)) return b.get();
    return nullptr;
}

POINT Centre(HWND hwnd, const TRect& r) {
    return At(hwnd, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

BOOL CALLBACK CountOne(HWND hwnd, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(hwnd, CountOne, counter);
    return TRUE;
}

int ThreadWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&n));
    return n;
}

struct SkinCase {
    const char* name;
    std::function<bool(TSkinDataCore&)> load;
    bool shaped; // corners cut by the region
};

const SkinCase kSkins[] = {
    {"shipped", [](TSkinDataCore& s) { return s.LoadFromFile(TELLIT_SKIN); }, true},
    {"tall caption", [](TSkinDataCore& s) { return LoadSynthetic(s, 40, false); }, false},
    {"transparent corners", [](TSkinDataCore& s) { return LoadSynthetic(s, 22, true); }, true},
};

TEST(SkinForm, FrameClientSizeRegionAndGivingBack) {
    for (const SkinCase& c : kSkins) {
        SCOPED_TRACE(c.name);
        TSkinDataCore skin;
        ASSERT_TRUE(c.load(skin));
        HWND hwnd = MakeWindow(WS_OVERLAPPEDWINDOW, L"Skinned", true);
        const RECT before = WindowRect(hwnd);
        const LONG_PTR styleBefore = GetWindowLongPtrW(hwnd, GWL_STYLE);
        auto f = SkinWindow(hwnd, &skin);
        Pump(50);
        const TFrameMetrics& m = f->Metrics();
        EXPECT_EQ(SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0), 1);
        EXPECT_EQ(ClientSize(hwnd).cx, kClientW);
        EXPECT_EQ(ClientSize(hwnd).cy, kClientH);
        const RECT r = WindowRect(hwnd);
        EXPECT_EQ(r.right - r.left, kClientW + m.Left + m.Right);
        EXPECT_EQ(r.bottom - r.top, kClientH + m.Caption + m.MenuBar + m.Bottom);
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
        EXPECT_EQ(GetMenu(hwnd), nullptr); // the skin paints the menu bar
        ASSERT_NE(f->MenuBar(), nullptr);
        EXPECT_GT(m.MenuBar, 0);

        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(hwnd, rgn);
        if (c.shaped) {
            ASSERT_NE(kind, ERROR);
            EXPECT_FALSE(PtInRegion(rgn, 0, 0));
            EXPECT_FALSE(PtInRegion(rgn, r.right - r.left - 1, 0));
            EXPECT_TRUE(PtInRegion(rgn, (r.right - r.left) / 2, m.Caption / 2));
            EXPECT_TRUE(PtInRegion(rgn, m.Left + 5, m.Caption + m.MenuBar + 5));
        } else {
            EXPECT_EQ(kind, ERROR); // nothing transparent: no region at all
        }
        DeleteObject(rgn);

        // Hit testing: caption, the menu bar row, the client area.
        auto hit = [&](int x, int y) {
            const POINT p = At(hwnd, x, y);
            return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        };
        EXPECT_EQ(hit((r.right - r.left) / 3, m.Caption / 2), HTCAPTION);
        EXPECT_EQ(hit((r.right - r.left) / 2, m.Caption + m.MenuBar / 2), HTMENU);
        EXPECT_EQ(hit(m.Left + 20, m.Caption + m.MenuBar + 20), HTCLIENT);

        f->UnSubclass();
        Pump(50);
        EXPECT_EQ(SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0), 0);
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE), styleBefore);
        EXPECT_NE(GetMenu(hwnd), nullptr);
        EXPECT_EQ(ClientSize(hwnd).cx, kClientW);
        EXPECT_EQ(ClientSize(hwnd).cy, kClientH);
        const RECT after = WindowRect(hwnd);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
        rgn = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(hwnd, rgn), ERROR);
        DeleteObject(rgn);
        f.reset();
        DestroyWindow(hwnd);

        // A popup that never had a caption has none after minimizing or being given back.
        for (const DWORD style : {DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU), DWORD(WS_POPUP | WS_SYSMENU)}) {
            HWND popup = MakeWindow(style, L"Popup");
            const LONG_PTR was = GetWindowLongPtrW(popup, GWL_STYLE) & WS_CAPTION;
            auto p = SkinWindow(popup, &skin);
            Pump(50);
            ShowWindow(popup, SW_MINIMIZE);
            Pump(50);
            EXPECT_EQ(GetWindowLongPtrW(popup, GWL_STYLE) & WS_CAPTION & ~was, 0) << "minimized";
            ShowWindow(popup, SW_RESTORE);
            Pump(50);
            p->UnSubclass();
            EXPECT_EQ(GetWindowLongPtrW(popup, GWL_STYLE) & WS_CAPTION, was) << "given back";
            p.reset();
            DestroyWindow(popup);
        }
    }
}

TEST(SkinForm, CaptionPixelsTitleClipAndButtonsUnderTheMouse) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadSynthetic(skin, 40, false));
    HWND hwnd = MakeWindow(WS_OVERLAPPEDWINDOW,
                           L"A caption long enough to run under every button of the window, and further still");
    auto f = SkinWindow(hwnd, &skin);
    ASSERT_TRUE(WaitFor([&] { return f->Active() && GetForegroundWindow() == hwnd; }));
    const RECT r = WindowRect(hwnd);
    const int W = r.right - r.left;
    const int y = f->Metrics().Caption - 3; // below the title text
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(r.left + 8, r.top + y) == kActive; }));
    SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(r.left + 8, r.top + y) == kInactive; }));
    SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    EXPECT_LE(f->CaptionTextRect().Right, W - f->Metrics().Right - 70);

    // Hot, pressed, and back to normal within a timer period after the mouse leaves the window.
    TWinSysButton* close = ButtonOf(*f, 0);
    ASSERT_NE(close, nullptr);
    const POINT centre = Centre(hwnd, close->Rect);
    MouseTo(centre);
    EXPECT_TRUE(WaitFor([&] { return f->HotObject == close && close->State == kStateHot; }));
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(centre.x, centre.y) == kFaces[2]; }));
    MouseButton(true);
    EXPECT_TRUE(WaitFor([&] { return close->State == kStatePressed && ScreenPixel(centre.x, centre.y) == kFaces[1]; }));
    MouseTo(POINT{r.left + W / 2, r.bottom + 60}); // off the window, button still down
    MouseButton(false);
    EXPECT_TRUE(WaitFor([&] { return f->HotObject == nullptr && close->State == kStateNormal; }));
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(centre.x, centre.y) == kFaces[0]; }));
    EXPECT_TRUE(IsWindow(hwnd)); // pressed, left and released elsewhere: no click

    auto click = [&](TWinSysButton* b) {
        ASSERT_NE(b, nullptr);
        MouseTo(Centre(hwnd, b->Rect));
        MouseButton(true);
        MouseButton(false);
    };
    ANIMATIONINFO animation{sizeof animation, 0};
    SystemParametersInfoW(SPI_GETANIMATION, sizeof animation, &animation, 0);
    const int animationBefore = animation.iMinAnimate;
    // A double-click on a button is a click on it, not a double-click on the caption.
    TWinSysButton* minimize = ButtonOf(*f, 2);
    ASSERT_NE(minimize, nullptr);
    const POINT m = Centre(hwnd, minimize->Rect);
    SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(m.x, m.y));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(hwnd) != FALSE; }));
    EXPECT_FALSE(IsZoomed(hwnd));
    SystemParametersInfoW(SPI_GETANIMATION, sizeof animation, &animation, 0);
    EXPECT_EQ(animation.iMinAnimate, animationBefore); // the desktop's setting is given back
    ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(hwnd) && f->Active(); }));

    click(ButtonOf(*f, 2));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(hwnd) != FALSE; }));
    ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(hwnd) && f->Active(); }));
    EXPECT_EQ(ClientSize(hwnd).cx, kClientW);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0); // taken away again after the icon

    click(ButtonOf(*f, 1, 2));
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(hwnd) != FALSE; }));
    Pump(100);
    // A maximized window is not dragged by its caption.
    const RECT zoomed = WindowRect(hwnd);
    MouseTo(At(hwnd, W / 3, f->Metrics().Caption / 2));
    MouseButton(true);
    MouseTo(At(hwnd, W / 3 + 60, f->Metrics().Caption / 2 + 40));
    MouseButton(false);
    Pump(100);
    const RECT still = WindowRect(hwnd);
    EXPECT_EQ(still.left, zoomed.left);
    EXPECT_EQ(still.top, zoomed.top);
    f->SetSysbtnRect();
    click(ButtonOf(*f, 1, 1)); // the restore face shows while maximized
    EXPECT_TRUE(WaitFor([&] { return !IsZoomed(hwnd); }));
    EXPECT_EQ(ClientSize(hwnd).cx, kClientW);
    EXPECT_EQ(ClientSize(hwnd).cy, kClientH);

    Pump(100);
    f->SetSysbtnRect();
    click(ButtonOf(*f, 0));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(hwnd); }));
    EXPECT_EQ(f->Lifecycle(), kSkinDestroyed);
}

// A one-colour icon of the small size, opaque.
HICON SolidIcon(TPixel colour) {
    const std::vector<TPixel> bits(16 * 16, colour | 0xFF000000u);
    WORD mask[16] = {};
    HBITMAP colourBits = CreateBitmap(16, 16, 1, 32, bits.data()), maskBits = CreateBitmap(16, 16, 1, 1, mask);
    ICONINFO info{TRUE, 0, 0, maskBits, colourBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(maskBits);
    DeleteObject(colourBits);
    return icon;
}

TEST(SkinForm, TheIconButtonShowsEachIconTheWindowIsGiven) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadSynthetic(skin, 22, false, true));
    HWND hwnd = MakeWindow(WS_OVERLAPPEDWINDOW, L"Icons");
    auto f = SkinWindow(hwnd, &skin);
    ASSERT_TRUE(WaitFor([&] { return f->Active(); }));
    TWinSysButton* icon = ButtonOf(*f, 3);
    ASSERT_NE(icon, nullptr);
    const POINT at = At(hwnd, icon->Rect.Left + 4, icon->Rect.Top + 4);
    for (TPixel colour : {PixelRGB(250, 20, 20), PixelRGB(20, 20, 250)}) {
        HICON h = SolidIcon(colour);
        ASSERT_TRUE(h);
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(h));
        EXPECT_EQ(f->IconFace().Pixel(4, 4) & 0xFFFFFFu, colour & 0xFFFFFFu);
        EXPECT_TRUE(WaitFor([&] { return ScreenPixel(at.x, at.y) == colour; }));
        // The skinner drew from its own copy: the icon the window was given is the caller's.
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, 0);
        DestroyIcon(h);
    }
    f.reset();
    DestroyWindow(hwnd);
}

TEST(SkinForm, PopupTitleStopsBeforeItsButtons) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadSynthetic(skin, 22, false));
    HWND hwnd = MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                           L"A popup caption long enough to run under every button of the window, and further");
    auto f = SkinWindow(hwnd, &skin);
    Pump(100);
    f->UpdateNc();
    int leftmost = 1 << 20;
    for (const auto& b : f->SysButtons())
        if (b->Visible) leftmost = std::min(leftmost, b->Rect.Left);
    EXPECT_EQ(f->CaptionTextRect().Right, leftmost - 5);
    f.reset();
    DestroyWindow(hwnd);
}

TEST(SkinForm, TwoHundredWindowsLeaveNoObjectsBehind) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    auto cycle = [&] {
        HWND hwnd = MakeWindow(WS_OVERLAPPEDWINDOW, L"Leak check", true, 0);
        auto f = SkinWindow(hwnd, &skin);
        Pump();
        f->UpdateNc();
        DestroyWindow(hwnd);
        f.reset();
    };
    for (int i = 0; i < 5; ++i)
        cycle(); // first-use allocations of the system
    Pump(50);
    const int gdi = GdiObjects(), windows = ThreadWindows();
    for (int i = 0; i < 200; ++i)
        cycle();
    Pump(50);
    std::printf("GDI objects %d -> %d, windows %d -> %d\n", gdi, GdiObjects(), windows, ThreadWindows());
    EXPECT_LE(ThreadWindows(), windows);
    // 32-bit processes under Wine have no GDI handle table to count from (the 64-bit run counts).
    if (gdi < 0) GTEST_SKIP() << "no count of GDI objects on this system; windows counted only";
    EXPECT_LE(GdiObjects(), gdi + 5);
}

} // namespace
