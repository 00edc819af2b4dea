// An MDI main form skinned: its client is watched, a maximized child's buttons are painted in the
// menu bar row, a destroyed maximized child clears the flag, a child's menu rebuilds the bar, and
// un-skinning gives the client back. The same through framework MDI forms under the skin manager:
// children created, maximized, switched, restored and closed.
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/Forms.h"
#include "framework/Menus.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <fstream>

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

// ---- Framework MDI forms under the skin manager

class TMDIFrame : public TForm {
public:
    explicit TMDIFrame(TComponent* owner) : TForm(owner, L"TMDIFrame", fsMDIForm) {
        auto* menu = new TMainMenu(this);
        menu->Items->Add(L"&File")->Add(L"New");
        menu->Items->Add(L"&Window")->Add(L"Tile");
        SetMenu(menu);
        SetBounds(20, 20, 560, 400);
    }
};

// The window as the screen shows it, to the build folder's screenshots as name.png.
void Screenshot(HWND w, const std::string& name) {
    RECT r{};
    GetWindowRect(w, &r);
    const TBitmap32 shot = ScreenPixels(r);
    std::wstring dir = L"Z:" + std::wstring(SCREENSHOT_DIR, SCREENSHOT_DIR + sizeof(SCREENSHOT_DIR) - 1);
    for (wchar_t& c : dir)
        if (c == L'/') c = L'\\';
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::vector<std::uint8_t> png = WritePng(shot);
    std::ofstream((dir + L"\\" + std::wstring(name.begin(), name.end()) + L".png").c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

bool HasRegion(HWND w) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(w, r);
    DeleteObject(r);
    return kind != ERROR;
}

TEST(SkinMDI, FrameworkMDIFormsCreatedMaximizedRestoredAndClosed) {
    StartSkinEngine();
    auto skin = std::make_unique<TSkinData>(nullptr);
    skin->ComponentState.Include(TComponentStateFlag::Reading);
    ASSERT_TRUE(skin->LoadFromFile(TELLIT_SKIN));
    skin->SetActive(true);
    skin->ComponentState.Exclude(TComponentStateFlag::Reading);
    skin->Loaded();
    Application->Initialize();
    EXPECT_THROW(TForm(Application, L"TMDIDoc", fsMDIChild), Exception) << "no MDI form to hold it";

    TMDIFrame* frame = nullptr;
    Application->CreateForm(frame);
    ASSERT_EQ(Application->MainForm(), frame);
    frame->SetCaption(L"Документы");
    frame->Show();
    TWinSkinForm* fs = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        fs = SkinManager->FindSkinForm(frame->Handle());
        return fs && fs->Lifecycle() == kSkinned;
    }));
    ASSERT_EQ(fs->FormStyle(), sfsMDIform);
    ASSERT_NE(fs->MenuBar(), nullptr);
    EXPECT_EQ(fs->MenuBar()->Buttons.size(), 2u);
    EXPECT_EQ(SkinManager->MDIClient, frame->ClientHandle());
    EXPECT_EQ(SkinManager->MDIForm, frame);
    EXPECT_EQ(GetWindowLongPtrW(frame->ClientHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    std::vector<TForm*> docs;
    auto skinnerOf = [](TForm* f) { return SkinManager->FindSkinForm(f->Handle()); };
    auto active = [&] { return frame->ActiveMDIChild(); };
    auto zoomed = [&] { return active() && IsZoomed(active()->Handle()); };
    auto newDoc = [&](const wchar_t* title) {
        auto* d = new TForm(Application, L"TMDIDoc", fsMDIChild);
        d->SetCaption(title);
        docs.push_back(d);
        return d;
    };
    int closed = 0;

    struct TStep {
        const char* What;
        std::function<void()> Do;
        int Children;   // MDI children of the frame, each skinned by the manager
        bool Maximized; // the active child is maximized, and the skin's flag says so
        const char* Shot = nullptr;
    };
    const std::vector<TStep> steps{
        {"first child", [&] { newDoc(L"Один"); }, 1, false},
        {"second child", [&] { newDoc(L"Два"); }, 2, false, "mdi_children"},
        {"maximized by a menu command carrying SC_MAXIMIZE",
         [&] { SendMessageW(active()->Handle(), WM_COMMAND, SC_MAXIMIZE, 0); }, 2, true, "mdi_maximized_child"},
        {"the other child selected: it comes up maximized", [&] { fs->SelectMDIform(docs[0]->Handle()); }, 2, true},
        {"restored through the frame", [&] { fs->RestoreMDI(); }, 2, false},
        {"maximized by the skin's button", [&] { skinnerOf(active())->Maximize(); }, 2, true},
        {"restored by the frame's child button", [&] { fs->MDIChildAction(SC_RESTORE); }, 2, false},
        {"maximized again", [&] { SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE,
                                               reinterpret_cast<WPARAM>(active()->Handle()), 0); },
         2, true},
        {"the maximized child closed by the frame's child button",
         [&] {
             fs->MDIChildAction(SC_CLOSE);
             ++closed;
         },
         1, true},
        {"the last child restored and closed by its own Close",
         [&] {
             SendMessageW(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(active()->Handle()), 0);
             Pump(50);
             active()->Close();
             ++closed;
         },
         0, false},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.What);
        s.Do();
        ASSERT_TRUE(WaitFor([&] { return frame->MDIChildCount() == s.Children && zoomed() == s.Maximized; }));
        Pump(100);
        EXPECT_EQ(MDIMaxFlag(), s.Maximized);
        EXPECT_EQ(fs->MDIChildMax(), s.Maximized);
        EXPECT_EQ(SkinManager->GetMDIChildNum(), s.Children);
        // While children are open the skin does not follow menu changes; after the last, again.
        EXPECT_EQ(skin->MenuUpdate, s.Children == 0);
        for (int i = 0; i < frame->MDIChildCount(); ++i) {
            TForm* d = frame->MDIChildren(i);
            TWinSkinForm* ds = skinnerOf(d);
            ASSERT_NE(ds, nullptr) << i;
            EXPECT_EQ(ds->FormStyle(), sfsMDIChild);
            EXPECT_EQ(ds->Lifecycle(), kSkinned);
            const LONG_PTR style = GetWindowLongPtrW(d->Handle(), GWL_STYLE);
            // Maximized, the children wear the system's caption (its buttons move to the frame's
            // menu row) and no region; otherwise the skin draws theirs, cut to its shape.
            EXPECT_EQ((style & WS_SYSMENU) != 0, s.Maximized) << i;
            if (!s.Maximized) {
                EXPECT_TRUE(HasRegion(d->Handle())) << i;
            }
        }
        // The children's buttons in the menu row exactly while a child is maximized.
        fs->RePaint();
        int rowButtons = 0;
        for (const auto& b : fs->SysButtons())
            if (b->Entry.Align == 100 && b->Visible && !b->Rect.IsEmpty()) {
                ++rowButtons;
                EXPECT_GE(b->Rect.Top, fs->Metrics().Caption);
                EXPECT_LE(b->Rect.Bottom, fs->Metrics().Caption + fs->Metrics().MenuBar);
            }
        EXPECT_EQ(rowButtons > 0, s.Maximized);
        if (s.Shot) Screenshot(frame->Handle(), s.Shot);

        if (s.Children == 2 && !s.Maximized && closed == 0) {
            // Alt with a letter of the frame's menu, pressed in a child: the frame's button is
            // clicked. Without Alt, or with a letter of no button, nothing.
            TForm* d = active();
            const TMenuBtn* window = fs->MenuBar()->Buttons[1].get();
            MSG m;
            while (PeekMessageW(&m, frame->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
            }
            EXPECT_EQ(d->Perform(CM_DIALOGCHAR, L'w', LPARAM(1) << 29), 1);
            ASSERT_TRUE(PeekMessageW(&m, frame->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
            RECT wr{};
            GetWindowRect(frame->Handle(), &wr);
            EXPECT_EQ(GET_X_LPARAM(m.lParam), wr.left + window->Rect.Left + 1);
            EXPECT_EQ(GET_Y_LPARAM(m.lParam), wr.top + window->Rect.Top + 1);
            EXPECT_EQ(d->Perform(CM_DIALOGCHAR, L'w', 0), 0);
            EXPECT_EQ(d->Perform(CM_DIALOGCHAR, L'q', LPARAM(1) << 29), 0);
            EXPECT_FALSE(PeekMessageW(&m, frame->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));

            // A skin change gives the children the skin's face again.
            d->Color = 0x0000FF; // red
            frame->Perform(WM_SKIN_CHANGE);
            EXPECT_EQ(d->Color, skin->Colors[csButtonFace]);
            // The active child shows active, also when skinned anew below.
            EXPECT_TRUE(skinnerOf(d)->Active());

            // The caption given back to every child; a skinner taken out of the list is the
            // caller's, and the window can be skinned anew.
            SetWindowLongPtrW(d->Handle(), GWL_STYLE, GetWindowLongPtrW(d->Handle(), GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
            SkinManager->SetCaption();
            EXPECT_EQ(GetWindowLongPtrW(d->Handle(), GWL_STYLE) & WS_CAPTION, LONG_PTR(WS_CAPTION));
            std::unique_ptr<TWinSkinForm> taken = SkinManager->DeleteForm2(d->Handle());
            ASSERT_NE(taken, nullptr);
            EXPECT_EQ(skinnerOf(d), nullptr);
            TWinSkinForm::Retire(std::move(taken));
            EXPECT_EQ(SendMessageW(d->Handle(), WM_SKIN_QUERY, 0, 0), 0);
            EXPECT_TRUE(SkinManager->AddForm(d->Handle()));
            ASSERT_TRUE(WaitFor([&] { return skinnerOf(d) && skinnerOf(d)->Lifecycle() == kSkinned; }));
            EXPECT_TRUE(skinnerOf(d)->Active());
        }
    }
    // The closed children's skinners are purged; the bar is the frame's menu again.
    SkinManager->DeleteForm3();
    for (const auto& f : SkinManager->Forms())
        EXPECT_NE(f->Lifecycle(), kSkinDestroyed);
    EXPECT_EQ(fs->MenuBar()->Buttons.size(), 2u);
    EXPECT_EQ(GetMenu(frame->Handle()), nullptr);

    delete frame;
    skin.reset();
    StopSkinEngine();
}

} // namespace
