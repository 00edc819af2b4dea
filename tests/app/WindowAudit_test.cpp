// Every window Tellit shows, looked at whole, skinned the way the program skins it (the skin data
// component of the main window and the manager's hook), with four skins: the shipped one, one with
// a colour of its own for each border, one with transparent corners and one with frame images
// only. Each window is checked from the screen and from the window itself after each size change,
// skin change and un-skinning; a contact sheet shows every window in the system's look beside the
// skinned one.
#include "tests/app/AppTest.h"

#include "framework/Dialogs.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinScale.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

constexpr TPixel kLeft = PixelRGB(200, 30, 30), kRight = PixelRGB(30, 160, 30), kBottom = PixelRGB(200, 180, 0);
constexpr TPixel kCaption = PixelRGB(30, 60, 200), kCaptionOff = PixelRGB(110, 110, 140);

struct TAuditSkin {
    const char* Name;
    std::wstring File;
    bool CornersCut;   // the skin's corners are transparent
    bool Distinct;     // each border its own colour (kLeft, kRight, kBottom, kCaption)
};

std::string Bmp(const TBitmap32& b) {
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

// Two frames of a border (active, inactive): side by side for the sides, stacked for top and
// bottom; with cutCorners the outer corner pixels of each frame are the key colour.
TBitmap32 Border(int thickness, int length, bool stacked, TPixel active, TPixel inactive, bool cutCorners) {
    TBitmap32 b = stacked ? TBitmap32(length, 2 * thickness) : TBitmap32(2 * thickness, length);
    const TPixel key = PixelFromColor(clSkinKey);
    for (int f = 0; f < 2; ++f) {
        const TRect r =
            stacked ? Bounds(0, f * thickness, length, thickness) : Bounds(f * thickness, 0, thickness, length);
        b.FillRect(r, f == 0 ? active : inactive);
        if (cutCorners)
            for (int i = 0; i < 3; ++i) {
                b.SetPixel(r.Left + i, r.Top, key);
                b.SetPixel(r.Right - 1 - i, r.Top, key);
                b.SetPixel(r.Left + i, r.Bottom - 1, key);
                b.SetPixel(r.Right - 1 - i, r.Bottom - 1, key);
                b.SetPixel(r.Left, r.Top + i, key);
                b.SetPixel(r.Right - 1, r.Top + i, key);
                b.SetPixel(r.Left, r.Bottom - 1 - i, key);
                b.SetPixel(r.Right - 1, r.Bottom - 1 - i, key);
            }
    }
    return b;
}

// A skin made here: borders (5 px sides, 22 px caption), with controls a close button and push
// buttons, without them the frame alone.
std::wstring WriteSkin(const char* name, bool cutCorners, bool controls) {
    const std::string trans = cutCorners ? "1" : "0";
    std::string ini = "[Personality]\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        ini += std::string(side) + "=" + side + ".bmp\n" + side + "Frame=2\n" + side + "Trans=" + trans + "\n" + side +
               "Stretch=1\n" + side + "TopHeight=4\n" + side + "BotHeight=4\n";
    ini += "TextShift=8\nTextRightClip=30\n[Colours]\nButtonFace=233 236 241\n";
    TSkinWriter w;
    if (controls)
        ini += "[Button0]\nButtonImage=close.bmp\nframe=4\nAction=0\nAlign=1\nXcoord=22\nYcoord=4\n"
               "[Buttons]\nBitmap=button.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\nTrans=0\n";
    w.Add("skin.ini", ini);
    w.Add("Left.bmp", Bmp(Border(5, 60, false, kLeft, kLeft, cutCorners)));
    w.Add("Right.bmp", Bmp(Border(5, 60, false, kRight, kRight, cutCorners)));
    w.Add("Top.bmp", Bmp(Border(22, 60, true, kCaption, kCaptionOff, cutCorners)));
    w.Add("Bottom.bmp", Bmp(Border(5, 60, true, kBottom, kBottom, cutCorners)));
    if (controls) {
        TBitmap32 close(4 * 16, 14), button(5 * 20, 20);
        for (int f = 0; f < 4; ++f)
            close.FillRect(Bounds(16 * f, 0, 16, 14), PixelRGB(40 * f, 40 * f, 40 * f));
        for (int f = 0; f < 5; ++f) {
            button.FillRect(Bounds(20 * f, 0, 20, 20), PixelRGB(90, 90, 90));
            button.FillRect(Bounds(20 * f + 3, 3, 14, 14), PixelRGB(225 - 10 * f, 230, 240));
        }
        w.Add("close.bmp", Bmp(close));
        w.Add("button.bmp", Bmp(button));
    }
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::wstring file = std::wstring(dir) + L"tellit_audit_" + Utf8ToWide(name) + L".skn";
    w.SaveToFile(WideToUtf8(file));
    return file;
}

void Settle(int rounds = 20) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 8000;) {
        Settle(2);
        if (condition()) return true;
    }
    return condition();
}

TWinSkinForm* SkinnerOf(HWND hwnd) {
    return SkinManager ? SkinManager->FindSkinForm(hwnd) : nullptr;
}

bool SkinnedNow(HWND hwnd) {
    const TWinSkinForm* f = SkinnerOf(hwnd);
    return f && f->Lifecycle() == kSkinned && f->FrameSkinning();
}

void SavePng(const TBitmap32& b, const std::string& name) {
    CreateDirectoryA(SCREENSHOT_DIR, nullptr);
    const std::vector<std::uint8_t> png = WritePng(b);
    std::ofstream(std::string(SCREENSHOT_DIR) + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

TBitmap32 Shot(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return ScreenPixels(r);
}

bool Near(TPixel a, TPixel b) {
    auto d = [](int x, int y) { return std::abs(x - y); };
    return d(PixelR(a), PixelR(b)) + d(PixelG(a), PixelG(b)) + d(PixelB(a), PixelB(b)) <= 24;
}

int Luminance(TPixel p) {
    return (PixelR(p) * 3 + PixelG(p) * 6 + PixelB(p)) / 10;
}

bool HasRegion(HWND h) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(h, rgn) != ERROR;
    DeleteObject(rgn);
    return has;
}

std::wstring ClassOfWindow(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}

std::wstring TextOfWindow(HWND h) {
    std::wstring s(size_t(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(size_t(GetWindowTextW(h, s.data(), int(s.size()))));
    return s;
}

// Callbacks are plain functions: the 32-bit system calls them with its own convention.
BOOL CALLBACK CollectChild(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

// The region and the frame, the caption buttons and every control of a skinned top-level window.
void AuditWindow(HWND w, const TAuditSkin& skin, const std::string& where, bool ownLayout = true) {
    SCOPED_TRACE(where);
    ASSERT_TRUE(WaitUntil([&] { return SkinnedNow(w); }));
    Settle();
    RECT wr{};
    GetWindowRect(w, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const TWinSkinForm* f = SkinnerOf(w);
    const TFrameMetrics m = f->Metrics();

    // The region is the window's size: right and bottom borders and the corners included.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(w, rgn);
    const bool shaped = kind == SIMPLEREGION || kind == COMPLEXREGION;
    if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
        RECT box{};
        GetRgnBox(rgn, &box);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.right, W);
        EXPECT_EQ(box.bottom, H);
        EXPECT_TRUE(PtInRegion(rgn, W - 1, H / 2)) << "right border cut";
        EXPECT_TRUE(PtInRegion(rgn, W / 2, H - 1)) << "bottom border cut";
        EXPECT_EQ(!PtInRegion(rgn, 0, 0), skin.CornersCut);
        EXPECT_EQ(!PtInRegion(rgn, W - 1, 0), skin.CornersCut);
    } else {
        EXPECT_FALSE(skin.CornersCut) << "no region on a skin with transparent corners";
    }

    const TBitmap32 shot = Shot(w);
    // The skin's key colour never shows: where the frame is transparent, the region cuts it out.
    int keyShown = 0;
    const TPixel key = PixelFromColor(clSkinKey);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            keyShown += (shot.Pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF) && (!shaped || PtInRegion(rgn, x, y));
    EXPECT_EQ(keyShown, 0) << "key-coloured pixels inside the window";
    DeleteObject(rgn);
    // Each border in its own colour along its whole length, at its thickness.
    if (skin.Distinct) {
        int wrong = 0;
        for (int y = m.Caption + 4; y < H - m.Bottom - 4; y += 5)
            for (int x = 0; x < m.Left; ++x) {
                wrong += !Near(shot.Pixel(x, y), kLeft);
                wrong += !Near(shot.Pixel(W - 1 - x, y), kRight);
            }
        for (int x = m.Left + 4; x < W - m.Right - 4; x += 5)
            for (int y = 0; y < m.Bottom; ++y)
                wrong += !Near(shot.Pixel(x, H - 1 - y), kBottom);
        const TPixel caption = f->Active() ? kCaption : kCaptionOff;
        for (int x = m.Left + 4; x < W - m.Right - 4; x += 5)
            wrong += !Near(shot.Pixel(x, 0), caption);
        EXPECT_EQ(wrong, 0) << "border pixels not in their colour";
    }
    // Caption buttons wholly inside the window.
    for (const auto& b : f->SysButtons()) {
        if (!b->Visible) continue;
        EXPECT_GE(b->Rect.Left, 0);
        EXPECT_GE(b->Rect.Top, 0);
        EXPECT_LE(b->Rect.Right, W);
        EXPECT_LE(b->Rect.Bottom, H);
    }
    // Every control inside its parent's client area; its text fits; push buttons show it.
    std::vector<HWND> controls;
    EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&controls));
    for (HWND c : controls) {
        if (!IsWindowVisible(c)) continue;
        const std::wstring cls = ClassOfWindow(c), text = TextOfWindow(c);
        SCOPED_TRACE(WideToUtf8(cls + L" \"" + text + L"\""));
        RECT cr{}, pr{};
        GetWindowRect(c, &cr);
        const HWND parent = GetParent(c);
        GetClientRect(parent, &pr);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&pr), 2);
        // The system's own dialogs lay their controls out themselves (Wine's file dialog puts its
        // tool bar past the edge with the system look too).
        if (ownLayout) {
            EXPECT_TRUE(cr.left >= pr.left && cr.top >= pr.top && cr.right <= pr.right && cr.bottom <= pr.bottom)
                << "control outside its parent's client area";
        }
        const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
        const bool button = _wcsicmp(cls.c_str(), L"Button") == 0 || cls.rfind(L"TButton", 0) == 0 ||
                            cls.rfind(L"TBitBtn", 0) == 0 || cls.rfind(L"TCheckBox", 0) == 0;
        const LONG_PTR type = style & BS_TYPEMASK;
        const bool push = button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
        if (!button || text.empty() || type == BS_GROUPBOX) continue;
        HDC dc = GetDC(c);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE extent{};
        std::wstring shown;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] != L'&' || (i + 1 < text.size() && text[i + 1] == L'&')) shown += text[i];
        GetTextExtentPoint32W(dc, shown.c_str(), int(shown.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        const int room = (cr.right - cr.left) - (push ? 4 : 16);
        EXPECT_LE(extent.cx, room) << "caption wider than its control";
        if (!push) continue;
        // The caption shows: the face is not one blank colour.
        const int bx = cr.left - wr.left, by = cr.top - wr.top, bw = cr.right - cr.left, bh = cr.bottom - cr.top;
        std::vector<int> lum;
        for (int y = by + bh / 3; y < by + 2 * bh / 3; ++y)
            for (int x = bx + 4; x < bx + bw - 4; ++x)
                lum.push_back(Luminance(shot.Pixel(x, y)));
        ASSERT_FALSE(lum.empty());
        std::vector<int> sorted = lum;
        std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
        const int face = sorted[sorted.size() / 2];
        const auto ink = std::count_if(lum.begin(), lum.end(), [face](int l) { return std::abs(l - face) > 60; });
        EXPECT_GE(ink, 8) << "push button without a visible caption";
    }
}

struct TWindowCase {
    const char* Name;
    std::function<TForm*()> Form;
};

const TWindowCase kForms[] = {
    {"main", [] { return static_cast<TForm*>(Form1); }},  {"proxy", [] { return static_cast<TForm*>(Form2); }},
    {"about", [] { return static_cast<TForm*>(Form3); }}, {"help", [] { return static_cast<TForm*>(Form4); }},
    {"progress", [] { return static_cast<TForm*>(Form5); }},
};

void ShowOnTop(TForm* f) {
    f->Show();
    SetForegroundWindow(f->Handle());
    SetWindowPos(f->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Runs body while a window of the class opens inside what `open` runs (a modal loop), then closes
// it with close; false when no such window appeared.
struct TModalWatch {
    const wchar_t* Class = nullptr;
    std::function<void(HWND)> Body, Close;
    bool Seen = false;
} gModal;

BOOL CALLBACK FindModal(HWND h, LPARAM p) {
    if (IsWindowVisible(h) && ClassOfWindow(h) == gModal.Class) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ModalTick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindModal, reinterpret_cast<LPARAM>(&found));
    if (!found || gModal.Seen) return;
    gModal.Seen = true;
    KillTimer(nullptr, id);
    gModal.Body(found);
    gModal.Close(found);
}

bool WhileModal(const wchar_t* cls, const std::function<void()>& open, const std::function<void(HWND)>& body,
                const std::function<void(HWND)>& close) {
    gModal.Class = cls;
    gModal.Body = body;
    gModal.Close = close;
    gModal.Seen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ModalTick);
    open();
    KillTimer(nullptr, timer);
    return gModal.Seen;
}

struct WindowAudit : AppFixture {
    void SetUp() override {
        WriteSettings("");
        CreateForms();
    }
};

TEST_F(WindowAudit, EveryWindowWholeUnderEverySkin) {
    // The system's look first, for the contact sheet.
    Form1->SkinData1->SetActive(false);
    Settle(40);
    std::vector<TBitmap32> plain;
    for (const TWindowCase& c : kForms) {
        TForm* f = c.Form();
        ShowOnTop(f);
        Settle();
        plain.push_back(Shot(f->Handle()));
        if (f != Form1) f->Hide();
    }
    Form1->SkinData1->SetActive(true);

    const TAuditSkin skins[] = {
        {"shipped", Utf8ToWide(TELLIT_SKIN), true, false},
        {"distinct", WriteSkin("distinct", false, true), false, true},
        {"corners", WriteSkin("corners", true, true), true, false},
        {"frameonly", WriteSkin("frameonly", false, false), false, true},
    };
    std::vector<TBitmap32> skinned;
    for (const TAuditSkin& skin : skins) {
        SCOPED_TRACE(skin.Name);
        ASSERT_TRUE(Form1->UseSkinFile(skin.File));
        Settle(40);
        for (const TWindowCase& c : kForms) {
            TForm* f = c.Form();
            ShowOnTop(f);
            AuditWindow(f->Handle(), skin, std::string(skin.Name) + " " + c.Name);
            const TBitmap32 shot = Shot(f->Handle());
            SavePng(shot, std::string("audit_") + skin.Name + "_" + c.Name);
            if (skin.Name == std::string("shipped")) skinned.push_back(shot);
            if (f != Form1) f->Hide();
        }
        // Size changes of the main window: minimized and back, maximized and back.
        ShowOnTop(Form1);
        for (int show : {SW_MINIMIZE, SW_RESTORE, SW_MAXIMIZE, SW_RESTORE}) {
            ShowWindow(Form1->Handle(), show);
            Settle();
            if (show != SW_MINIMIZE) AuditWindow(Form1->Handle(), skin, std::string(skin.Name) + " after resize");
        }
        EXPECT_EQ(Form1->ClientWidth(), 331);
        EXPECT_EQ(Form1->ClientHeight(), 216);
        // The message boxes of the send flow.
        for (const wchar_t* text : {L"SMS отправлена!", L"Ошибка отправки SMS!\nОтказ сервера."}) {
            MessageBoxWatcher watch;
            watch.WhileOpen = [&] {
                HWND box = GetForegroundWindow();
                AuditWindow(box, skin, std::string(skin.Name) + " message box");
                SavePng(Shot(box), std::string("audit_") + skin.Name + "_message");
            };
            ShowMessage(text);
            EXPECT_EQ(watch.Texts().size(), 1u);
        }
        // The skin menu's file dialog.
        {
            MessageBoxWatcher watch;
            watch.Answer = IDCANCEL;
            watch.WhileOpen = [&] {
                HWND dialog = GetForegroundWindow();
                AuditWindow(dialog, skin, std::string(skin.Name) + " file dialog", false);
                SavePng(Shot(dialog), std::string("audit_") + skin.Name + "_filedialog");
            };
            Form1->OtherSkin1->Click();
            EXPECT_EQ(watch.Texts().size(), 1u);
        }
        // A menu of the skinned menu bar, opened with Alt and a Cyrillic letter in lower case.
        ShowOnTop(Form1);
        Settle();
        const bool opened = WhileModal(
            L"#32768", [] { SendMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'н'); },
            [&](HWND menu) {
                Settle();
                RECT r{};
                GetWindowRect(menu, &r);
                EXPECT_GT(r.right - r.left, 20);
                HRGN rgn = CreateRectRgn(0, 0, 0, 0);
                if (GetWindowRgn(menu, rgn) != ERROR) {
                    RECT box{};
                    GetRgnBox(rgn, &box);
                    EXPECT_EQ(box.right, r.right - r.left);
                    EXPECT_EQ(box.bottom, r.bottom - r.top);
                }
                DeleteObject(rgn);
                SavePng(Shot(menu), std::string("audit_") + skin.Name + "_menu");
            },
            [](HWND) { EndMenu(); });
        EXPECT_TRUE(opened) << "Alt+н opened no menu";
        // The memo's context menu.
        const bool popped = WhileModal(
            L"#32768",
            [] {
                RECT r{};
                GetWindowRect(Form1->MMessage->Handle(), &r);
                SendMessageW(Form1->MMessage->Handle(), WM_CONTEXTMENU, WPARAM(Form1->MMessage->Handle()),
                             MAKELPARAM(r.left + 10, r.top + 10));
            },
            [&](HWND menu) {
                Settle();
                SavePng(Shot(menu), std::string("audit_") + skin.Name + "_popup");
            },
            [](HWND) { EndMenu(); });
        EXPECT_TRUE(popped);
    }

    // Un-skinning gives the main window back whole: no region, the same client area.
    Form1->SkinData1->SetActive(false);
    ASSERT_TRUE(WaitUntil([] { return SkinnerOf(Form1->Handle()) == nullptr; }));
    Settle();
    EXPECT_FALSE(HasRegion(Form1->Handle()));
    EXPECT_EQ(Form1->ClientWidth(), 331);
    EXPECT_EQ(Form1->ClientHeight(), 216);

    // The contact sheet: each window in the system's look beside the same window skinned.
    ASSERT_EQ(plain.size(), skinned.size());
    int width = 0, height = 8;
    for (size_t i = 0; i < plain.size(); ++i) {
        width = std::max(width, plain[i].Width() + skinned[i].Width() + 24);
        height += std::max(plain[i].Height(), skinned[i].Height()) + 8;
    }
    TBitmap32 sheet(width, height);
    sheet.Fill(PixelRGB(255, 255, 255));
    int y = 8;
    for (size_t i = 0; i < plain.size(); ++i) {
        DrawBitmap(sheet, 8, y, plain[i]);
        DrawBitmap(sheet, 16 + plain[i].Width(), y, skinned[i]);
        y += std::max(plain[i].Height(), skinned[i].Height()) + 8;
    }
    SavePng(sheet, "windows");
    for (const TAuditSkin& skin : skins)
        if (skin.Name != std::string("shipped")) DeleteFileW(skin.File.c_str());
}

} // namespace

namespace {

bool gEscaped = false;

void CALLBACK EscapeMenuLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(Form1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    gEscaped = true;
}

void CALLBACK UnskinInMenuLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Form1->SkinData1->SetActive(false);
    // Keys the loop reads after the window was given back.
    PostMessageW(Form1->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SetTimer(nullptr, 0, 600, EscapeMenuLoop);
}

// What ends the loop of the case running, and whether the skin was gone when it did.
std::function<void()> gEndLoop;
bool gGoneInside = false;
DWORD gUnskinAt = 0;

// Ends the loop once the manager has carried the request out (or after 8 s without).
void CALLBACK EndLoop(HWND, UINT, UINT_PTR id, DWORD) {
    gGoneInside = SkinnerOf(Form1->Handle()) == nullptr;
    if (!gGoneInside && GetTickCount() - gUnskinAt < 8000) return;
    KillTimer(nullptr, id);
    gEndLoop();
}

// The un-skin request, made inside a loop.
void CALLBACK UnskinInLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Form1->SkinData1->SetActive(false);
    gUnskinAt = GetTickCount();
    SetTimer(nullptr, 0, 100, EndLoop);
}

void CALLBACK QuitInMenuLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(7);
}

// A skin taken away while a call into its skinners is on the stack: a click that waits pumping
// messages (as a send does), a click that shows a message box, the menu bar's keyboard loop, a
// menu of the bar, the move loop (the scroll bar's thumb drag: Scrollbar_win_test). The
// window is given back at once; the skinners are freed when the calls return, never under them.
TEST_F(WindowAudit, SkinRemovedInsideNestedLoops) {
    struct TCase {
        const char* Name;
        std::function<void()> Inside; // runs in the nested loop's place
    };
    const TCase cases[] = {
        {"click that pumps", [] { WaitUntil([] { return SkinnerOf(Form1->Handle()) == nullptr; }); }},
        {"click with a message box",
         [] {
             MessageBoxWatcher watch;
             watch.WhileOpen = [] { WaitUntil([] { return SkinnerOf(Form1->Handle()) == nullptr; }); };
             ShowMessage(L"SMS отправлена!");
         }},
    };
    ASSERT_TRUE(Form1->UseSkinFile(Utf8ToWide(TELLIT_SKIN)));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Form1->SkinData1->SetActive(true);
        ShowOnTop(Form1);
        ASSERT_TRUE(WaitUntil([] { return SkinnedNow(Form1->Handle()); }));
        ASSERT_NE(TSkinControl::FromHandle(Form1->BClear->Handle()), nullptr);
        int liveInside = -1, liveBefore = TSkinControl::LiveCount();
        bool givenBack = false;
        Form1->BClear->OnClick = [&](TObject*) {
            Form1->StandardLook1->Click(); // the un-skin request, carried out by the manager's timer
            c.Inside();
            givenBack = TSkinControl::FromHandle(Form1->BClear->Handle()) == nullptr && !HasRegion(Form1->Handle());
            liveInside = TSkinControl::LiveCount();
        };
        SendMessageW(Form1->BClear->Handle(), BM_CLICK, 0, 0);
        EXPECT_TRUE(givenBack);
        // The button's skinner was still alive inside the click, and is freed after it.
        EXPECT_GT(liveInside, 0);
        EXPECT_LT(TSkinControl::LiveCount(), liveBefore);
        EXPECT_EQ(TSkinControl::LiveCount(), 0);
        Form1->BClear->OnClick = nullptr;
        // The button still clicks, unskinned.
        bool clicked = false;
        Form1->BClear->OnClick = [&](TObject*) { clicked = true; };
        SendMessageW(Form1->BClear->Handle(), BM_CLICK, 0, 0);
        EXPECT_TRUE(clicked);
        Form1->BClear->OnClick = nullptr;
    }

    // The menu bar's keyboard loop: the skin goes while it runs, the loop ends, nothing is left.
    Form1->SkinData1->SetActive(true);
    ShowOnTop(Form1);
    ASSERT_TRUE(WaitUntil([] { return SkinnedNow(Form1->Handle()); }));
    gEscaped = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, UnskinInMenuLoop);
    SendMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(WaitUntil([] { return SkinnerOf(Form1->Handle()) == nullptr; }));
    // The late Escape is delivered here, not into the next loop.
    EXPECT_TRUE(WaitUntil([] { return gEscaped; }));
    Settle();
    EXPECT_EQ(FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)), false);

    // Loops the system or the skinner runs inside a message to the window: a menu of the skinned
    // bar opened from the keyboard, and the move loop. The skin goes while each runs.
    struct TLoop {
        const char* Name;
        WPARAM Command;
        LPARAM Key;
        std::function<void()> End;
    };
    const TLoop loops[] = {
        {"a menu of the bar", SC_KEYMENU, L'ф', [] { EndMenu(); }},
        {"the move loop", SC_MOVE, 0, [] { PostMessageW(Form1->Handle(), WM_KEYDOWN, VK_RETURN, 0); }},
    };
    for (const TLoop& loop : loops) {
        SCOPED_TRACE(loop.Name);
        Form1->SkinData1->SetActive(true);
        ShowOnTop(Form1);
        ASSERT_TRUE(WaitUntil([] { return SkinnedNow(Form1->Handle()); }));
        gEndLoop = loop.End;
        gGoneInside = false;
        const UINT_PTR unskin = SetTimer(nullptr, 0, 300, UnskinInLoop);
        SendMessageW(Form1->Handle(), WM_SYSCOMMAND, loop.Command, loop.Key);
        KillTimer(nullptr, unskin);
        EXPECT_TRUE(gGoneInside);
        EXPECT_TRUE(WaitUntil([] { return TSkinControl::LiveCount() == 0; }));
        EXPECT_FALSE(HasRegion(Form1->Handle()));
        EXPECT_EQ(FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)), false);
        // The window still works, unskinned.
        bool clicked = false;
        Form1->BClear->OnClick = [&](TObject*) { clicked = true; };
        SendMessageW(Form1->BClear->Handle(), BM_CLICK, 0, 0);
        EXPECT_TRUE(clicked);
        Form1->BClear->OnClick = nullptr;
    }
    gEndLoop = nullptr;

    // A quit message that arrives in the menu bar's loop is left for the program's own loop.
    Form1->SkinData1->SetActive(true);
    ShowOnTop(Form1);
    ASSERT_TRUE(WaitUntil([] { return SkinnedNow(Form1->Handle()); }));
    const UINT_PTR quitTimer = SetTimer(nullptr, 0, 100, QuitInMenuLoop);
    SendMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    KillTimer(nullptr, quitTimer); // no quit message may come later, into another test
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);

    // Other threads' windows are refused, not skinned half-safely.
    EXPECT_FALSE(Form1->SkinData1->InstallThread(GetCurrentThreadId() + 1));

    // The menu the skin took off the window goes with the window when it is destroyed skinned.
    ASSERT_TRUE(SkinnerOf(Form1->Handle()) && SkinnerOf(Form1->Handle())->MenuBar());
    const HMENU menu = SkinnerOf(Form1->Handle())->MenuBar()->Menu();
    ASSERT_TRUE(IsMenu(menu));
    EXPECT_EQ(GetMenu(Form1->Handle()), nullptr);
    AppFixture::TearDown(); // the forms go, the main window skinned
    EXPECT_FALSE(IsMenu(menu));
}

} // namespace

namespace {

// Window sizes within a pixel: rounding of the scaled layout may differ by one from the product.
void ExpectNear(int got, int want, const char* what, int slack = 1) {
    EXPECT_LE(std::abs(got - want), slack) << what << ": " << got << ", expected " << want;
}

// Every window at the screen's DPI: tests/app/with-dpi runs this at 120, 144 and 192 DPI, each in a
// Wine prefix of its own; the whole executable runs it at 96. The forms are scaled from their 96-DPI
// layout, the skin's frame is drawn at the scaled thickness and checked whole, and a WM_DPICHANGED
// rescales the main window's frame and controls, which the next paint shows.
TEST_F(WindowAudit, EveryWindowAtTheScreensDpi) {
    const int dpi = SystemDpi();
    const std::string at = "dpi_" + std::to_string(dpi) + "_";
    SCOPED_TRACE(at);
    // The layouts at 96 DPI, as the constructors left them (the help window sizes itself to its text).
    std::vector<SIZE> designed;
    for (const TWindowCase& c : kForms) {
        ASSERT_EQ(c.Form()->PixelsPerInch(), 96) << c.Name << " scaled before it was shown";
        designed.push_back(SIZE{c.Form()->ClientWidth(), c.Form()->ClientHeight()});
    }
    EXPECT_EQ(designed[0].cx, 331);
    EXPECT_EQ(designed[0].cy, 216);

    const TAuditSkin skins[] = {
        {"distinct", WriteSkin("distinct", false, true), false, true},
        {"shipped", Utf8ToWide(TELLIT_SKIN), true, false},
    };
    for (const TAuditSkin& skin : skins) {
        SCOPED_TRACE(skin.Name);
        ASSERT_TRUE(Form1->UseSkinFile(skin.File));
        Settle(40);
        for (size_t i = 0; i < std::size(kForms); ++i) {
            TForm* f = kForms[i].Form();
            const std::string where = at + skin.Name + "_" + kForms[i].Name;
            ShowOnTop(f);
            AuditWindow(f->Handle(), skin, where);
            EXPECT_EQ(f->PixelsPerInch(), dpi) << where;
            ExpectNear(f->ClientWidth(), ScaleValue(designed[i].cx, dpi), "client width");
            ExpectNear(f->ClientHeight(), ScaleValue(designed[i].cy, dpi), "client height");
            // Fonts of 8 points at this DPI.
            EXPECT_EQ(f->Font().Height(), -MulDiv(8, dpi, 72)) << where;
            const TWinSkinForm* skinner = SkinnerOf(f->Handle());
            ASSERT_NE(skinner, nullptr);
            EXPECT_EQ(skinner->Dpi(), dpi);
            if (skin.Distinct) {
                // The made skin's 5-pixel sides and 22-pixel caption, scaled.
                EXPECT_EQ(skinner->Metrics().Left, ScaleValue(5, dpi)) << where;
                EXPECT_EQ(skinner->Metrics().Right, ScaleValue(5, dpi)) << where;
                EXPECT_EQ(skinner->Metrics().Bottom, ScaleValue(5, dpi)) << where;
                EXPECT_GE(skinner->Metrics().Caption, ScaleValue(22, dpi)) << where;
            }
            // Caption buttons answer at their centres.
            for (const auto& b : skinner->SysButtons()) {
                if (!b->Visible || b->Rect.IsEmpty()) continue;
                const int cx = (b->Rect.Left + b->Rect.Right) / 2, cy = (b->Rect.Top + b->Rect.Bottom) / 2;
                EXPECT_EQ(skinner->FindBtn(cx, cy), b.get()) << where << ": caption button at " << cx << "," << cy;
            }
            SavePng(Shot(f->Handle()), where);
            if (f != Form1) f->Hide();
        }
        // The main window at this DPI: 331 x 216 scaled (497 x 324 at 144 DPI).
        ExpectNear(Form1->ClientWidth(), ScaleValue(331, dpi), "main client width");
        ExpectNear(Form1->ClientHeight(), ScaleValue(216, dpi), "main client height");
        // A message box of the send flow.
        MessageBoxWatcher watch;
        watch.WhileOpen = [&] {
            HWND box = GetForegroundWindow();
            AuditWindow(box, skin, at + skin.Name + " message box");
            SavePng(Shot(box), at + skin.Name + "_message");
        };
        ShowMessage(L"SMS отправлена!");
        EXPECT_EQ(watch.Texts().size(), 1u);
    }

    // A move to a monitor of another DPI, as the system announces it, and back.
    ASSERT_TRUE(Form1->UseSkinFile(skins[0].File));
    Settle(40);
    ShowOnTop(Form1);
    ASSERT_TRUE(WaitUntil([] { return SkinnedNow(Form1->Handle()); }));
    const int other = dpi == 96 ? 144 : 96;
    const int editWidth = Form1->CBNumber->Width();
    for (const int to : {other, dpi}) {
        SCOPED_TRACE("WM_DPICHANGED to " + std::to_string(to));
        const int from = Form1->PixelsPerInch();
        RECT wr{};
        GetWindowRect(Form1->Handle(), &wr);
        RECT suggested{wr.left, wr.top, wr.left + MulDiv(wr.right - wr.left, to, from),
                       wr.top + MulDiv(wr.bottom - wr.top, to, from)};
        SendMessageW(Form1->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        Settle();
        RECT now{};
        GetWindowRect(Form1->Handle(), &now);
        EXPECT_EQ(now.right - now.left, suggested.right - suggested.left) << "the suggested rectangle taken";
        EXPECT_EQ(now.bottom - now.top, suggested.bottom - suggested.top);
        const TWinSkinForm* skinner = SkinnerOf(Form1->Handle());
        ASSERT_NE(skinner, nullptr);
        EXPECT_EQ(skinner->Dpi(), to);
        EXPECT_EQ(skinner->Metrics().Left, ScaleValue(5, to));
        EXPECT_EQ(skinner->Metrics().Bottom, ScaleValue(5, to));
        EXPECT_EQ(Form1->PixelsPerInch(), to);
        EXPECT_EQ(Form1->Font().Height(), -MulDiv(8, to, 72));
        ExpectNear(Form1->CBNumber->Width(), MulDiv(editWidth, to, dpi), "edit width", 2);
        ExpectNear(Form1->ClientWidth(), ScaleValue(331, to), "client width", 3);
        ExpectNear(Form1->ClientHeight(), ScaleValue(216, to), "client height", 3);
        // The next paint shows the new borders: AuditWindow reads them from the screen.
        RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        AuditWindow(Form1->Handle(), skins[0], "after WM_DPICHANGED");
        SavePng(Shot(Form1->Handle()), at + "dpichanged_" + std::to_string(to));
    }
    DeleteFileW(skins[0].File.c_str());
}

} // namespace
