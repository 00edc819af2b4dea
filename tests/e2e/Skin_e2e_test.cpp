// The real Tellit.exe skinned from start-up: the stored skin, another package named in the
// settings file (or a broken one), the system look, and switching from the menu.
#include "tests/e2e/Driver.h"

#include "framework/SysUtils.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/FrameLayout.h"
#include "skin/forms/WinSkinForm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace {

constexpr TPixel kRed = PixelRGB(200, 0, 0);

std::string Bmp(const TBitmap32& b) {
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

TBitmap32 Filled(int w, int h, TPixel p) {
    TBitmap32 b(w, h);
    b.Fill(p);
    return b;
}

// A plain skin: a red caption 40 pixels high, grey borders, one close button.
std::string RedPackage() {
    TSkinWriter w;
    w.Add("skin.ini", "[Personality]\nLeft=side.bmp\nRight=side.bmp\nTop=top.bmp\nBottom=bottom.bmp\n"
                      "[Button0]\nButtonImage=close.bmp\nframe=1\nAction=0\nAlign=1\nXcoord=24\nYcoord=4\n");
    w.Add("side.bmp", Bmp(Filled(5, 60, PixelRGB(90, 90, 90))));
    w.Add("top.bmp", Bmp(Filled(60, 40, kRed)));
    w.Add("bottom.bmp", Bmp(Filled(60, 5, PixelRGB(90, 90, 90))));
    w.Add("close.bmp", Bmp(Filled(16, 14, PixelRGB(20, 20, 20))));
    return w.Pack();
}

std::wstring WorkFolder(const std::string& test) {
    const std::wstring work = WinPath(SCREENSHOT_DIR "/../e2e-work");
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring folder = work + L"\\" + Utf8ToWide(test);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 8000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < DWORD(ms); Sleep(50))
        if (condition()) return true;
    return condition();
}

TPixel ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return PixelFromColor(TColor(c));
}

bool Skinned(HWND w) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(w, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

bool HasRegion(HWND w) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(w, rgn) != ERROR;
    DeleteObject(rgn);
    return has;
}

// The caption pixel near the right end of the caption strip, under the buttons.
TPixel CaptionPixel(HWND w, const TFrameMetrics& m) {
    RECT r{};
    GetWindowRect(w, &r);
    return ScreenPixel(r.right - m.Right - 2, r.top + m.Caption - 2);
}

struct Shipped {
    TSkinDataCore skin;
    TFrameMetrics m;
    explicit Shipped(const std::string& package = TELLIT_SKIN) {
        skin.LoadFromFile(package);
        m = FrameMetricsOf(skin, sbsSingle, 0);
    }
    // Either caption frame of the shipped skin at that place of a window W pixels wide.
    bool IsCaption(HWND w, TPixel p) const {
        RECT r{};
        GetWindowRect(w, &r);
        const TRect strip = Bounds(0, 0, r.right - r.left - m.Left - m.Right, m.Caption);
        for (bool active : {true, false})
            if (RenderBorder(skin, 3, strip, active).Pixel(strip.Right - 2, m.Caption - 2) == p) return true;
        return false;
    }
};

TEST(SkinE2E, StartsWithTheStoredSkinAnotherPackageOrTheSystemLook) {
    const Shipped shipped;
    ASSERT_FALSE(shipped.skin.Loading);
    const std::wstring folder = WorkFolder("skin_settings");
    WriteFile(folder + L"\\red.skn", RedPackage());
    WriteFile(folder + L"\\broken.skn", RedPackage().substr(0, 40));
    const TFrameMetrics red{5, 40, 5, 5, 0};
    const struct {
        const char* ini;
        const char* expect; // "stored", "red" or "system"
    } cases[] = {
        {"", "stored"},
        {"[Skin]\r\nFile=red.skn\r\n", "red"},
        {"[Skin]\r\nFile=broken.skn\r\n", "stored"},
        {"[Skin]\r\nFile=missing.skn\r\n", "stored"},
        {"[Skin]\r\nActive=0\r\n", "system"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        Tellit t("skin_settings", c.ini);
        ASSERT_TRUE(t.Main()) << t.StartNote();
        const HWND w = t.Main();
        const std::string expect = c.expect;
        if (expect == "system") {
            Sleep(500);
            EXPECT_FALSE(Skinned(w));
            EXPECT_FALSE(HasRegion(w));
            EXPECT_NE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, 0);
            Tellit::Screenshot(w, "skin_system_look");
            continue;
        }
        EXPECT_TRUE(WaitFor([&] { return Skinned(w); }));
        RECT cr{};
        WaitFor([&] { // the frame's metrics reach the window's size just after it says it is skinned
            GetClientRect(w, &cr);
            return cr.right == 331 && cr.bottom == 216;
        });
        EXPECT_EQ(cr.right, 331);
        EXPECT_EQ(cr.bottom, 216);
        if (expect == "red") {
            EXPECT_TRUE(WaitFor([&] { return CaptionPixel(w, red) == kRed; }));
            Tellit::Screenshot(w, "skin_from_settings");
        } else {
            EXPECT_TRUE(HasRegion(w)); // the shipped skin's rounded corners
            EXPECT_TRUE(WaitFor([&] { return shipped.IsCaption(w, CaptionPixel(w, shipped.m)); }));
        }
    }
}

TEST(SkinE2E, TheMenuSwitchesSkinsAndTheSystemLook) {
    const Shipped shipped;
    const std::wstring folder = WorkFolder("skin_menu");
    const std::wstring redPath = folder + L"\\menu-red.skn", brokenPath = folder + L"\\menu-broken.skn";
    WriteFile(redPath, RedPackage());
    WriteFile(brokenPath, "not a skin");
    Tellit t("skin_menu", "");
    ASSERT_TRUE(t.Main()) << t.StartNote();
    const HWND w = t.Main();
    ASSERT_TRUE(WaitFor([&] { return Skinned(w); }));

    // "Настройки" > "Оформление...": the system's file dialog, itself skinned.
    auto choose = [&](const std::wstring& path) {
        // "Оформление" opens on its first item, here "Другой файл..." (no skins folder beside this copy).
        t.Menu(1, 1);
        t.Key(VK_RETURN);
        HWND dialog = t.WaitTop(L"#32770", L"Оформление", 10000);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(WaitFor([&] { return Skinned(dialog); }));
        Tellit::Screenshot(dialog, "skin_file_dialog");
        HWND edit = Tellit::Child(dialog, L"Edit");
        ASSERT_TRUE(edit);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    };
    choose(brokenPath);
    HWND box = nullptr;
    // The dialog hands over the path in its own spelling.
    const std::wstring refusal = t.WaitMessageBox(10000, &box);
    EXPECT_EQ(refusal.rfind(L"Не удалось загрузить оформление:\n", 0), 0u) << WideToUtf8(refusal);
    EXPECT_NE(refusal.find(L"\\menu-broken.skn"), std::wstring::npos) << WideToUtf8(refusal);
    Tellit::Screenshot(box, "skin_refused");
    t.CloseMessageBox();
    EXPECT_TRUE(WaitFor([&] { return shipped.IsCaption(w, CaptionPixel(w, shipped.m)); }));

    choose(redPath);
    const TFrameMetrics red{5, 40, 5, 5, 0};
    EXPECT_TRUE(WaitFor([&] { return CaptionPixel(w, red) == kRed; }));
    // The caption turns red before the frame's new metrics reach the window's size: the client
    // area settles back to its size once the change is through.
    RECT cr{};
    WaitFor([&] {
        GetClientRect(w, &cr);
        return cr.right == 331 && cr.bottom == 216;
    });
    EXPECT_EQ(cr.right, 331);
    EXPECT_EQ(cr.bottom, 216);
    Tellit::Screenshot(w, "skin_switched_from_menu");

    // "Стандартный вид" gives the system's look, and takes it back.
    t.Menu(1, 2);
    EXPECT_TRUE(WaitFor([&] { return !Skinned(w); }));
    EXPECT_NE(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, 0);
    t.Menu(1, 2);
    EXPECT_TRUE(WaitFor([&] { return Skinned(w); }));

    std::ifstream ini((t.folder() + L"\\Tellit.ini").c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    // The settings file may be 8-bit or UTF-16.
    const std::string name = "menu-red.skn";
    std::string wide;
    for (char c : name)
        wide += std::string{c, '\0'};
    EXPECT_TRUE(text.find(name) != std::string::npos || text.find(wide) != std::string::npos);
}

// "Настройки" > "Оформление" lists the skins folder's packages, the light one first: choosing the
// dark one re-skins the window at once and is kept in the settings file; the light one takes it back.
TEST(SkinE2E, TheSkinMenuOffersTheShippedSkins) {
    const std::string skins = std::string(TELLIT_SKIN).substr(0, std::string(TELLIT_SKIN).rfind('/'));
    const Shipped light, dark(skins + "/dark.skn");
    ASSERT_FALSE(dark.skin.Loading);
    const std::wstring folder = WorkFolder("skin_shipped");
    CreateDirectoryW((folder + L"\\skins").c_str(), nullptr);
    for (const char* name : {"tellit.skn", "dark.skn"})
        CopyFileW(WinPath(skins + "/" + name).c_str(), (folder + L"\\skins\\" + Utf8ToWide(name)).c_str(), FALSE);
    Tellit t("skin_shipped", "");
    ASSERT_TRUE(t.Main()) << t.StartNote();
    const HWND w = t.Main();
    ASSERT_TRUE(WaitFor([&] { return Skinned(w) && light.IsCaption(w, CaptionPixel(w, light.m)); }));

    // The submenu opens on "Tellit"; the one below is the dark skin.
    t.Menu(1, 1);
    ASSERT_TRUE(WaitFor([&] { return t.TopWindows(L"#32768").size() >= 2; }));
    Sleep(300);
    for (HWND popup : t.TopWindows(L"#32768"))
        if (IsWindowVisible(popup))
            Tellit::Screenshot(popup, "skin_menu_shipped_" + std::to_string(size_t(popup) & 0xFFFF));
    t.Key(VK_DOWN);
    t.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return dark.IsCaption(w, CaptionPixel(w, dark.m)); }));
    Sleep(300);
    Tellit::Screenshot(w, "skin_dark_main");
    std::ifstream ini((t.folder() + L"\\Tellit.ini").c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    std::string wide;
    for (char c : std::string("skins\\dark.skn"))
        wide += std::string{c, '\0'};
    EXPECT_TRUE(text.find("skins\\dark.skn") != std::string::npos || text.find(wide) != std::string::npos);

    t.Menu(1, 1);
    t.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return light.IsCaption(w, CaptionPixel(w, light.m)); }));
}

// Tellit on an unpacked skin folder follows its edits: a rewritten caption image shows within a
// generous bound, an edit with an error keeps the last skin and is told once (file and line), and a
// burst of saves gives one reload.
TEST(SkinE2E, AFolderSkinFollowsItsEdits) {
    const std::string skins = std::string(TELLIT_SKIN).substr(0, std::string(TELLIT_SKIN).rfind('/'));
    const Shipped dark(skins + "/dark.skn");
    const std::wstring folder = WorkFolder("skin_live"), live = folder + L"\\live";
    CreateDirectoryW(live.c_str(), nullptr);
    WIN32_FIND_DATAW found{};
    const std::wstring source = WinPath(skins + "/dark");
    const HANDLE find = FindFirstFileW((source + L"\\*.*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileW((source + L"\\" + found.cFileName).c_str(), (live + L"\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::ifstream iniFile((live + L"\\dark.ini").c_str(), std::ios::binary);
    const std::string description((std::istreambuf_iterator<char>(iniFile)), std::istreambuf_iterator<char>());
    iniFile.close();
    ASSERT_FALSE(description.empty());
    const TBitmap32 top = ReadBmp([&] {
        std::ifstream f((live + L"\\top.bmp").c_str(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }());
    ASSERT_FALSE(top.Empty());
    auto topIn = [&](TPixel p) { return Bmp(Filled(top.Width(), top.Height(), p)); };

    Tellit t("skin_live", "[Skin]\r\nFile=live\r\n");
    ASSERT_TRUE(t.Main()) << t.StartNote();
    const HWND w = t.Main();
    const UINT reloadsMessage = RegisterWindowMessageW(L"TellitSkinReloads");
    auto reloads = [&] {
        DWORD_PTR n = 0;
        SendMessageTimeoutW(w, reloadsMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, &n);
        return int(n);
    };
    ASSERT_TRUE(WaitFor([&] { return Skinned(w) && dark.IsCaption(w, CaptionPixel(w, dark.m)); }));
    EXPECT_EQ(reloads(), 1);

    // A saved caption image shows on the screen.
    const DWORD saved = GetTickCount();
    WriteFile(live + L"\\top.bmp", topIn(kRed));
    EXPECT_TRUE(WaitFor([&] { return CaptionPixel(w, dark.m) == kRed; }, 5000));
    std::printf("live reload: the new caption on the screen %lu ms after the save\n",
                static_cast<unsigned long>(GetTickCount() - saved));
    Tellit::Screenshot(w, "skin_live_red");
    EXPECT_EQ(reloads(), 2);

    // An edit with an error: one message naming the file and line; the red caption stays.
    const size_t at = description.find("TopFrame=2");
    ASSERT_NE(at, std::string::npos);
    const std::string broken = description.substr(0, at) + "TopFrame=abc" + description.substr(at + 10);
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        line += description[i] == '\n';
    WriteFile(live + L"\\dark.ini", broken);
    HWND box = nullptr;
    const std::wstring message = t.WaitMessageBox(5000, &box);
    EXPECT_NE(message.find(L"dark.ini:" + std::to_wstring(line) + L": [Personality] TopFrame:"), std::wstring::npos)
        << WideToUtf8(message);
    Tellit::Screenshot(box, "skin_live_broken");
    // Saved again with the same error: no second message.
    WriteFile(live + L"\\dark.ini", broken + "\r\n");
    Sleep(1500);
    t.CloseMessageBox();
    EXPECT_TRUE(t.WaitMessageBox(1000).empty());
    EXPECT_EQ(CaptionPixel(w, dark.m), kRed);
    EXPECT_EQ(reloads(), 2);

    // Mended in a burst of saves 30 ms apart: one reload, of the last.
    WriteFile(live + L"\\dark.ini", description);
    for (TPixel p : {kRed, PixelRGB(0, 0, 200), kRed, PixelRGB(0, 150, 0)}) {
        Sleep(30);
        WriteFile(live + L"\\top.bmp", topIn(p));
    }
    EXPECT_TRUE(WaitFor([&] { return CaptionPixel(w, dark.m) == PixelRGB(0, 150, 0); }, 5000));
    Sleep(1000);
    EXPECT_EQ(reloads(), 3);
    EXPECT_TRUE(Tellit::Responsive(w));
}

TEST(SkinE2E, OpenMenusAreSkinnedAndAnswerTheirLetters) {
    const Shipped shipped;
    ASSERT_TRUE(shipped.skin.MenuBackground);
    Tellit t("skin_menus", "");
    ASSERT_TRUE(t.Main()) << t.StartNote();
    const HWND w = t.Main();
    ASSERT_TRUE(WaitFor([&] { return Skinned(w); }));

    // "Настройки" from the keyboard: its last item lies on the skin's menu background (the first
    // one is selected).
    t.OpenMenu(1);
    const HWND popup = t.WaitTop(L"#32768", nullptr, 10000);
    ASSERT_TRUE(popup);
    RECT r{};
    GetWindowRect(popup, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    const TDataSkinObject& bg = *shipped.skin.MenuBackground;
    const TPixel expected =
        GetHMap(Bounds(0, 0, W, H), bg.Bitmap, bg.Margins, 1, 1, bg.Tile != 0, false).Pixel(W - 6, H - 6);
    EXPECT_NE(expected, PixelFromColor(TColor(GetSysColor(COLOR_MENU))));
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(r.right - 6, r.bottom - 6) == expected; }));
    Tellit::Screenshot(w, "skin_menu_open");
    Tellit::Screenshot(popup, "skin_menu_popup");

    // Its items are owner-drawn, and a letter still picks one: "Стандартный вид".
    PostMessageW(popup, WM_CHAR, L'с', 0);
    EXPECT_TRUE(WaitFor([&] { return !Skinned(w); }));
    t.Menu(1, 2);
    EXPECT_TRUE(WaitFor([&] { return Skinned(w); }));
}

// Packages no skin author meant: each must leave Tellit working, with its stored skin or with
// whatever the package can give, every window painted and answering.
std::string HostilePackage(const std::string& description, bool zeroImages) {
    TSkinWriter w;
    w.Add("skin.ini", description);
    const std::string image = zeroImages ? Bmp(TBitmap32()) : Bmp(Filled(12, 30, PixelRGB(60, 60, 60)));
    for (const char* name : {"side.bmp", "top.bmp", "bottom.bmp", "button.bmp", "menu.bmp", "back.bmp"})
        w.Add(name, image);
    return w.Pack();
}

TEST(SkinE2E, HostilePackagesNeverStopTellit) {
    const std::string borders = "[Personality]\nLeft=side.bmp\nRight=side.bmp\nTop=top.bmp\nBottom=bottom.bmp\n"
                                "menuBar=menu.bmp\n[MenuBackground]\nImage=back.bmp\n";
    const std::string button = "[Button0]\nButtonImage=button.bmp\nAction=0\nAlign=1\nXcoord=24\nYcoord=4\n";
    const std::string valid = HostilePackage(borders + button, false);
    const Shipped shipped;
    // Packages that give no caption to hold a window by keep the stored skin.
    const struct {
        const char* name;
        std::string bytes;
        bool own;
    } packages[] = {
        {"zero-size images", HostilePackage(borders + button, true), false},
        {"frame counts 0 and 10000",
         HostilePackage(borders + "LeftFrame=0\nTopFrame=10000\nBottomFrame=0\n" + button + "frame=10000\n", false),
         true},
        {"margins past the image",
         HostilePackage(borders +
                            "LeftTopHeight=5000\nLeftBotHeight=5000\nTopTopHeight=99999\nTopBotHeight=-7\n"
                            "TileLeftMenu=4000\nTextShift=100000\nTextShiftVert=-100000\n" +
                            button + "Xcoord=-100000\nYcoord=70000\n",
                        false),
         true},
        {"missing images",
         HostilePackage("[Personality]\nLeft=gone.bmp\nTop=none.bmp\n[Button0]\nButtonImage=no.bmp\n", false), false},
        {"truncated", valid.substr(0, valid.size() / 2), false},
        {"random bytes", std::string(4000, '\x5a') + valid.substr(100, 200), false},
    };
    const std::wstring folder = WorkFolder("skin_hostile");
    int n = 0;
    for (const auto& p : packages) {
        SCOPED_TRACE(p.name);
        const std::string file = "hostile" + std::to_string(n++) + ".skn";
        WriteFile(folder + L"\\" + Utf8ToWide(file), p.bytes);
        Tellit t("skin_hostile", "[Skin]\r\nFile=" + file + "\r\n");
        ASSERT_TRUE(t.Main()) << t.StartNote();
        EXPECT_TRUE(Tellit::Responsive(t.Main(), 5000));
        EXPECT_TRUE(WaitFor([&] { return Skinned(t.Main()); }));
        const bool stored =
            WaitFor([&] { return shipped.IsCaption(t.Main(), CaptionPixel(t.Main(), shipped.m)); }, 3000);
        EXPECT_EQ(stored, !p.own);
        const struct {
            int menu, item;
            const wchar_t* cls;
        } windows[] = {{1, 0, L"TForm2"}, {2, 1, L"TForm3"}, {2, 0, L"TForm4"}};
        for (const auto& w : windows) {
            t.Menu(w.menu, w.item);
            HWND win = t.WaitTop(w.cls, nullptr, 20000);
            EXPECT_TRUE(win) << WideToUtf8(w.cls);
            if (!win) continue;
            EXPECT_TRUE(Tellit::Responsive(win, 5000));
            RedrawWindow(win, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Tellit::Screenshot(win, "skin_hostile_" + std::to_string(n) + "_" + WideToUtf8(w.cls));
            PostMessageW(win, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(win); }));
        }
        EXPECT_TRUE(Tellit::Responsive(t.Main(), 5000));
        DWORD code = STILL_ACTIVE;
        PostMessageW(t.Main(), WM_CLOSE, 0, 0);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, t.Pid());
        ASSERT_TRUE(process);
        EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
        GetExitCodeProcess(process, &code);
        EXPECT_EQ(code, 0u) << "Tellit ended badly";
        CloseHandle(process);
    }
}

} // namespace
