// An MDI main form skinned: its client is watched, a maximized child's buttons are painted in the
// menu bar row, a destroyed maximized child clears the flag, a child's menu rebuilds the bar, and
// un-skinning gives the client back.
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

namespace {

HWND gClient = nullptr;

LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    return DefFrameProcW(h, gClient, msg, w, l);
}

LRESULT CALLBACK ChildProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    return DefMDIChildProcW(h, msg, w, l);
}

HMENU BarMenu(std::initializer_list<const wchar_t*> captions) {
    HMENU bar = CreateMenu();
    UINT id = 100;
    for (const wchar_t* c : captions) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, id++, L"Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), c);
    }
    return bar;
}

COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

TEST(SkinMDI, ClientFollowedByTheFrame) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = L"TellitMDIFrame";
    RegisterClassW(&wc);
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = L"TellitMDIChild";
    RegisterClassW(&wc);

    HWND frame = CreateWindowExW(0, L"TellitMDIFrame", L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 500,
                                 360, nullptr, BarMenu({L"File", L"Window"}), inst, nullptr);
    CLIENTCREATESTRUCT ccs{GetSubMenu(GetMenu(frame), 1), 5000};
    gClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 100, 100,
                              frame, nullptr, inst, &ccs);
    ASSERT_TRUE(gClient);
    ShowWindow(frame, SW_SHOW);
    Pump(100);

    auto skinner = SkinWindow(frame, &skin);
    ASSERT_EQ(skinner->FormStyle(), sfsMDIform);
    ASSERT_TRUE(skinner->MenuBar());
    EXPECT_EQ(GetMenu(frame), nullptr);
    // The client's scroll bars go at its next frame calculation.
    SetWindowPos(gClient, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(GetWindowLongPtrW(gClient, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);

    MDICREATESTRUCTW mcs{L"TellitMDIChild", L"Child", inst, CW_USEDEFAULT, CW_USEDEFAULT, 200, 150, 0, 0};
    HWND child = reinterpret_cast<HWND>(SendMessageW(gClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_TRUE(child);
    Pump(50);
    EXPECT_FALSE(skinner->MDIChildMax());

    // Maximized: the child's buttons appear in the menu bar row, painted from the skin.
    SendMessageW(gClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump(50);
    EXPECT_TRUE(skinner->MDIChildMax());
    skinner->InitSkinData();
    skinner->RePaint();
    Pump(100);
    const TWinSysButton* shown = nullptr;
    for (const auto& b : skinner->SysButtons())
        if (b->Entry.Align == 100 && b->Visible && !b->Rect.IsEmpty()) shown = b.get();
    ASSERT_NE(shown, nullptr) << "no MDI child button in the menu row";
    EXPECT_TRUE(MDIMaxFlag());
    RECT wr{};
    GetWindowRect(frame, &wr);
    // Some pixel of the button matches its image's first frame (where the image is not magenta).
    const TBitmap32& img = shown->Entry.Bitmap;
    const int fw = img.Width() / std::max(shown->Entry.FrameCount, 1);
    int matches = 0, tried = 0;
    for (int y = 0; y < std::min(img.Height(), shown->Rect.Height()); ++y)
        for (int x = 0; x < std::min(fw, shown->Rect.Width()); ++x) {
            const TPixel p = img.Pixel(x, y);
            if (PixelIs(p, 0xFF00FF)) continue;
            ++tried;
            const COLORREF s = ScreenPixel(wr.left + shown->Rect.Left + x, wr.top + shown->Rect.Top + y);
            if (GetRValue(s) == PixelR(p) && GetGValue(s) == PixelG(p) && GetBValue(s) == PixelB(p)) ++matches;
        }
    ASSERT_GT(tried, 0);
    EXPECT_GT(matches, tried * 9 / 10) << matches << " of " << tried;

    // The maximized child destroyed: no more maximized flag.
    SendMessageW(gClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    Pump(50);
    EXPECT_FALSE(MDIMaxFlag());

    // A new menu for the frame rebuilds the bar and the system's bar stays off.
    SendMessageW(gClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(BarMenu({L"Edit", L"View", L"Help"})), 0);
    ASSERT_EQ(skinner->MenuBar()->Buttons.size(), 3u);
    EXPECT_EQ(skinner->MenuBar()->Buttons[2]->Caption, L"Help");
    EXPECT_EQ(GetMenu(frame), nullptr);

    // Given back: the client's procedure is its own again (its messages no longer reach us).
    const LONG_PTR watched = GetWindowLongPtrW(gClient, GWLP_WNDPROC);
    skinner->UnSubclass();
    EXPECT_NE(GetWindowLongPtrW(gClient, GWLP_WNDPROC), watched);
    skinner.reset();
    DestroyWindow(frame);
}

} // namespace
