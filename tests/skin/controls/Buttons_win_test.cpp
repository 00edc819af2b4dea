// Button, check box, radio, group box, panel and speed button skinners on real windows, driven with
// real mouse and keyboard input: one click per press and release, none when the mouse leaves
// before the release, keyboard clicks kept, and the skin's face (read from the screen) in every state.
#include "skin/controls/ButtonRules.h"
#include "skin/controls/SkinButton_win.h"
#include "skin/controls/SkinCheck_win.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace {

// Button frames 1..5, check and radio frames 1..4: each one solid colour.
constexpr TPixel kFrame[6] = {0,
                              PixelRGB(10, 200, 10),
                              PixelRGB(200, 10, 10),
                              PixelRGB(90, 90, 90),
                              PixelRGB(10, 10, 200),
                              PixelRGB(200, 200, 10)};
constexpr TPixel kCheck[5] = {0, PixelRGB(0, 255, 255), PixelRGB(255, 128, 0), PixelRGB(128, 0, 128),
                              PixelRGB(0, 128, 64)};
constexpr TPixel kRadio[5] = {0, PixelRGB(64, 0, 255), PixelRGB(255, 64, 160), PixelRGB(160, 160, 0),
                              PixelRGB(0, 64, 128)};

std::string Bmp(const TBitmap32& b) {
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

TBitmap32 Strip(const TPixel* colours, int frames, int w, int h) {
    TBitmap32 b(frames * w, h);
    for (int f = 0; f < frames; ++f)
        b.FillRect(Bounds(f * w, 0, w, h), colours[f + 1]);
    return b;
}

bool LoadButtonSkin(TSkinDataCore& skin) {
    std::string ini = "[Personality]\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        ini +=
            std::string(side) + "=" + side + ".bmp\n" + side + "Frame=2\n" + side + "Trans=0\n" + side + "Stretch=1\n";
    ini += "[Buttons]\nBitmap=button.bmp\nCheckButton=check.bmp\nRadioButton=radio.bmp\nCheckButtonFrame=4\n"
           "RadioButtonFrame=4\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\nTrans=0\n";
    TSkinWriter w;
    w.Add("skin.ini", ini);
    const TPixel side[3] = {0, PixelRGB(0, 90, 0), PixelRGB(0, 60, 0)};
    w.Add("Left.bmp", Bmp(Strip(side, 2, 4, 40)));
    w.Add("Right.bmp", Bmp(Strip(side, 2, 4, 40)));
    TBitmap32 top(40, 48), bottom(40, 8);
    top.FillRect(Bounds(0, 0, 40, 24), side[1]);
    top.FillRect(Bounds(0, 24, 40, 24), side[2]);
    bottom.FillRect(Bounds(0, 0, 40, 8), side[1]);
    w.Add("Top.bmp", Bmp(top));
    w.Add("Bottom.bmp", Bmp(bottom));
    w.Add("button.bmp", Bmp(Strip(kFrame, 5, 20, 20)));
    w.Add("check.bmp", Bmp(Strip(kCheck, 4, 13, 13)));
    w.Add("radio.bmp", Bmp(Strip(kRadio, 4, 13, 13)));
    TMemoryStream stream;
    stream.Assign(w.Pack());
    return skin.LoadSkin(stream);
}

// WM_COMMAND notifications per control id, as the raw window's parent receives them.
std::map<int, int> gCommands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++gCommands[LOWORD(wParam)];
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TPixel ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return PixelFromColor(TColor(c));
}

// A point of a control's window in screen coordinates.
POINT At(HWND hwnd, int x, int y) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{r.left + x, r.top + y};
}

POINT Centre(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The screen shows colour at p, within five seconds.
bool Shows(POINT p, TPixel colour) {
    return WaitFor([&] { return (ScreenPixel(p) & 0xFFFFFF) == (colour & 0xFFFFFF); });
}

void MouseTo(POINT p) {
    SetCursorPos(p.x, p.y);
    // Real motion: SetCursorPos alone may not reach a window that has not seen the mouse yet.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Pump(40);
}

void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Pump(40);
}

void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// Keys reach a window through the thread's message loop, with the dialog manager in between.
void PumpDialog(HWND dialog, int ms) {
    const DWORD end = GetTickCount() + DWORD(ms);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (int(GetTickCount() - end) < 0);
}

// The centre of a check glyph as the skinner places it.
POINT GlyphCentre(HWND box, bool radio) {
    RECT r{};
    GetWindowRect(box, &r);
    const TCheckPlace p = CheckPlace(TRect{0, 0, r.right - r.left, r.bottom - r.top}, 13, 13,
                                     GetSystemMetrics(SM_CXMENUCHECK), false, radio);
    return At(box, (p.Glyph.Left + p.Glyph.Right) / 2, (p.Glyph.Top + p.Glyph.Bottom) / 2);
}

HWND MakeParent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"ButtonsTestDialog";
        registered = RegisterClassW(&wc) != 0;
    }
    HWND hwnd =
        CreateWindowExW(WS_EX_CONTROLPARENT, L"ButtonsTestDialog", L"Raw dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120,
                        100, 360, 260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(hwnd);
    return hwnd;
}

HWND Child(HWND parent, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

TEST(Buttons, RawDialogButtonsClickOnceAndKeepTheSkinnedFace) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadButtonSkin(skin));
    HWND dialog = MakeParent();
    HWND push = Child(dialog, L"Push", BS_PUSHBUTTON, 11, 20, 20, 90, 26);
    HWND def = Child(dialog, L"Default", BS_DEFPUSHBUTTON, 12, 130, 20, 90, 26);
    HWND check = Child(dialog, L"Check", BS_AUTOCHECKBOX, 13, 20, 70, 120, 20);
    HWND radio = Child(dialog, L"Radio", BS_AUTORADIOBUTTON, 14, 20, 100, 120, 20);
    HWND owner = Child(dialog, L"Drawn", BS_OWNERDRAW, 15, 20, 130, 90, 26);
    Pump(100);
    auto f = SkinWindow(dialog, &skin);
    Pump(100);
    EXPECT_NE(dynamic_cast<TSkinButton*>(TSkinControl::FromHandle(push)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinButton*>(TSkinControl::FromHandle(def)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinCheckBox*>(TSkinControl::FromHandle(check)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinRadioButton*>(TSkinControl::FromHandle(radio)), nullptr);
    EXPECT_EQ(TSkinControl::FromHandle(owner), nullptr); // its owner paints it

    const POINT face = At(push, 3, 3);
    EXPECT_TRUE(Shows(face, kFrame[kBtnNormal]));
    EXPECT_TRUE(Shows(At(def, 3, 3), kFrame[kBtnDefault]));

    // Hot, pressed, and one click on the release.
    gCommands.clear();
    MouseTo(Centre(push));
    EXPECT_TRUE(Shows(face, kFrame[kBtnHot]));
    MouseButton(true);
    EXPECT_TRUE(Shows(face, kFrame[kBtnPressed]));
    MouseButton(false);
    PumpDialog(dialog, 300);
    EXPECT_EQ(gCommands[11], 1);

    // Pressed, moved off and released elsewhere: no click, and the face is no longer pressed.
    MouseTo(Centre(push));
    MouseButton(true);
    EXPECT_TRUE(Shows(face, kFrame[kBtnPressed]));
    MouseTo(At(dialog, 300, 200));
    MouseButton(false);
    PumpDialog(dialog, 400);
    EXPECT_EQ(gCommands[11], 1);
    EXPECT_TRUE(Shows(face, kFrame[kBtnHot])); // focused since the click

    // The space key presses the focused button with the skin's face and clicks on release.
    ASSERT_EQ(GetFocus(), push);
    Key(VK_SPACE, true);
    PumpDialog(dialog, 200);
    EXPECT_TRUE(Shows(face, kFrame[kBtnPressed]));
    Key(VK_SPACE, false);
    PumpDialog(dialog, 300);
    EXPECT_EQ(gCommands[11], 2);
    EXPECT_TRUE(Shows(face, kFrame[kBtnHot]));

    // The system button paints itself straight on BM_SETSTATE (nothing invalidated, so no later
    // paint would put the skin back): the skinned face is what the screen shows once drawn.
    SendMessageW(push, BM_SETSTATE, TRUE, 0);
    Pump(150);
    EXPECT_EQ(ScreenPixel(face) & 0xFFFFFF, kFrame[kBtnHot] & 0xFFFFFF);
    SendMessageW(push, BM_SETSTATE, FALSE, 0);
    Pump(150);
    EXPECT_EQ(ScreenPixel(face) & 0xFFFFFF, kFrame[kBtnHot] & 0xFFFFFF);
    SendMessageW(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(Shows(face, kFrame[kBtnDefault])); // the default style wins over focus
    SendMessageW(push, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);

    // A disabled button shows frame 3 under the mouse.
    EnableWindow(def, FALSE);
    MouseTo(Centre(def));
    EXPECT_TRUE(Shows(At(def, 3, 3), kFrame[kBtnDisabled]));

    // The check box clicks by itself and shows the skin's frames; the space key toggles it back
    // without the system's pushed box showing.
    const POINT box = GlyphCentre(check, false);
    EXPECT_TRUE(Shows(box, kCheck[1]));
    MouseTo(Centre(check));
    MouseButton(true);
    EXPECT_TRUE(Shows(box, kCheck[1]));
    MouseButton(false);
    PumpDialog(dialog, 200);
    EXPECT_EQ(gCommands[13], 1);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Shows(box, kCheck[2]));
    ASSERT_EQ(GetFocus(), check);
    Key(VK_SPACE, true);
    PumpDialog(dialog, 300);
    EXPECT_EQ(ScreenPixel(box) & 0xFFFFFF, kCheck[2] & 0xFFFFFF); // the system's pushed box stays hidden
    Key(VK_SPACE, false);
    PumpDialog(dialog, 200);
    EXPECT_TRUE(Shows(box, kCheck[1]));
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(check, FALSE);
    EXPECT_TRUE(Shows(box, kCheck[4]));
    SendMessageW(check, BM_SETSTATE, TRUE, 0);
    Pump(150);
    EXPECT_EQ(ScreenPixel(box) & 0xFFFFFF, kCheck[4] & 0xFFFFFF);

    const POINT dot = GlyphCentre(radio, true);
    EXPECT_TRUE(Shows(dot, kRadio[1]));
    MouseTo(Centre(radio));
    MouseButton(true);
    MouseButton(false);
    PumpDialog(dialog, 200);
    EXPECT_TRUE(Shows(dot, kRadio[2]));

    f.reset();
    DestroyWindow(dialog);
    Pump(50);
}

TEST(Buttons, FrameworkFormControls) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadButtonSkin(skin));
    auto form = std::make_unique<TForm>(nullptr, L"TButtonsTestForm");
    form->SetBounds(120, 100, 420, 300);
    auto* button = new TButton(form.get(), form.get());
    button->SetCaption(L"Button");
    button->SetBounds(10, 10, 90, 26);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    auto* bit = new TBitBtn(form.get(), form.get());
    bit->SetCaption(L"Glyph");
    bit->SetBounds(110, 10, 100, 30);
    // Two glyphs of 10 x 10: red normal, blue disabled; the bottom-left corner's white is transparent.
    bit->Glyph.Bitmap.SetSize(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            bit->Glyph.Bitmap.Pixels()[y * 20 + x] = x < 10 ? 0xFF0000 : 0x0000FF;
    bit->Glyph.Bitmap.Pixels()[9 * 20] = 0xFFFFFF;
    bit->Glyph.NumGlyphs = 2;
    bit->Glyph.Margin = 4;
    auto* speed = new TSpeedButton(form.get(), form.get());
    speed->SetCaption(L"Speed");
    speed->SetBounds(220, 10, 80, 26);
    int speedClicks = 0;
    speed->OnClick = [&](TObject*) { ++speedClicks; };
    auto* panel = new TPanel(form.get(), form.get());
    panel->SetBounds(10, 200, 120, 40);
    auto* group = new TGroupBox(form.get(), form.get());
    group->SetCaption(L"Group");
    group->SetBounds(150, 60, 200, 120);
    auto* radio = new TRadioButton(form.get(), group);
    radio->SetCaption(L"Radio");
    radio->SetBounds(10, 30, 120, 20);
    auto* check = new TCheckBox(form.get(), form.get());
    check->SetCaption(L"Check");
    check->SetBounds(10, 60, 120, 20);
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(100);
    auto f = SkinWindow(form->Handle(), &skin);
    Pump(100);

    EXPECT_NE(dynamic_cast<TSkinButton*>(TSkinControl::FromHandle(button->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinBitButton*>(TSkinControl::FromHandle(bit->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinSpeedButton*>(TSkinControl::FromHandle(speed->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinRadioButton*>(TSkinControl::FromHandle(radio->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinCheckBox*>(TSkinControl::FromHandle(check->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(TSkinControl::FromHandle(group->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinBox*>(TSkinControl::FromHandle(panel->Handle())), nullptr);
    // The panel takes the skin's face colour.
    EXPECT_EQ(panel->Color, skin.Colors[csButtonFace]);
    EXPECT_TRUE(Shows(At(panel->Handle(), 20, 20), PixelFromColor(ColorToRGB(skin.Colors[csButtonFace]))));

    // A framework button: one OnClick per click, none when the mouse leaves before the release.
    MouseTo(Centre(button->Handle()));
    MouseButton(true);
    MouseButton(false);
    Pump(200);
    EXPECT_EQ(clicks, 1);
    MouseTo(Centre(button->Handle()));
    MouseButton(true);
    MouseTo(At(form->Handle(), 380, 270));
    MouseButton(false);
    Pump(300);
    EXPECT_EQ(clicks, 1);

    // The glyph at its layout place (margin 4, centred across), grey when disabled.
    RECT br{};
    GetWindowRect(bit->Handle(), &br);
    const POINT glyph = At(bit->Handle(), 4 + 5, (br.bottom - br.top - 10 + 1) / 2 + 5);
    EXPECT_TRUE(Shows(glyph, PixelRGB(255, 0, 0)));
    EXPECT_TRUE(Shows(At(bit->Handle(), 4, (br.bottom - br.top - 10 + 1) / 2 + 9), kFrame[kBtnNormal]));
    bit->SetEnabled(false);
    EXPECT_TRUE(Shows(glyph, PixelRGB(85, 85, 85))); // frame 1 of two, greyed: (255 + 0 + 0) / 3
    EXPECT_TRUE(Shows(At(bit->Handle(), 2, 2), kFrame[kBtnDisabled]));

    // The speed button: hot, pressed, one click of its own; latched shows pressed.
    const POINT sp = At(speed->Handle(), 3, 3);
    EXPECT_TRUE(Shows(sp, kFrame[kBtnNormal]));
    MouseTo(Centre(speed->Handle()));
    EXPECT_TRUE(Shows(sp, kFrame[kBtnHot]));
    MouseButton(true);
    EXPECT_TRUE(Shows(sp, kFrame[kBtnPressed]));
    MouseButton(false);
    Pump(200);
    EXPECT_EQ(speedClicks, 1);
    MouseTo(At(form->Handle(), 380, 270));
    EXPECT_TRUE(Shows(sp, kFrame[kBtnNormal]));
    speed->SetDown(true);
    EXPECT_TRUE(Shows(sp, kFrame[kBtnPressed]));

    // Check box and radio button through their framework clicks.
    MouseTo(Centre(check->Handle()));
    MouseButton(true);
    MouseButton(false);
    Pump(100);
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(Shows(GlyphCentre(check->Handle(), false), kCheck[2]));
    radio->SetChecked(true);
    EXPECT_TRUE(Shows(GlyphCentre(radio->Handle(), true), kRadio[2]));
    // The group box's rounded frame in the skin's shadow colour, half a line down (13 pixels: y = 5).
    SIZE zero{};
    {
        TClientDC dc(group->Handle());
        TSelectObject font(dc.Get(), group->Font().Handle());
        GetTextExtentPoint32W(dc.Get(), L"0", 1, &zero);
    }
    const int lineY = GroupBoxFrame(TRect{}, zero.cy).LineY;
    EXPECT_TRUE(Shows(At(group->Handle(), 100, lineY), PixelFromColor(ColorToRGB(skin.Colors[csButtonShadow]))));

    f.reset();
    form.reset();
    Pump(50);
}

// A 10 x 10 icon of one colour whose top row is transparent.
HICON SolidIcon(COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 10, 10);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, picture);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    RECT topRow{0, 0, 10, 1};
    FillRect(dc, &topRow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    WORD bits[10] = {0xFFFF}; // rows of 16 bits; set bits are transparent
    HBITMAP mask = CreateBitmap(10, 10, 1, 1, bits);
    ICONINFO info{TRUE, 0, 0, mask, picture};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(picture);
    return icon;
}

// A bit button that shows a picture of an image list: the skin's frame and the picture for each
// state, the disabled picture greyed, and no picture for index -1.
TEST(Buttons, ImageListButtonInEveryState) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadButtonSkin(skin));
    auto form = std::make_unique<TForm>(nullptr, L"TImageButtonForm");
    form->SetBounds(120, 100, 420, 300);
    auto* images = new TImageList(form.get(), 10, 10);
    for (COLORREF c : {RGB(255, 0, 0), RGB(0, 120, 255)}) {
        HICON icon = SolidIcon(c);
        EXPECT_GE(images->AddIcon(icon), 0);
        DestroyIcon(icon);
    }
    auto* bit = new TBitBtn(form.get(), form.get());
    bit->SetCaption(L"Images");
    bit->SetBounds(110, 10, 100, 30);
    bit->Glyph.Margin = 4;
    bit->SetImages(images, 0, 1);
    auto* other = new TButton(form.get(), form.get());
    other->SetBounds(10, 200, 80, 26);
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(100);
    auto f = SkinWindow(form->Handle(), &skin);
    Pump(100);
    ASSERT_NE(dynamic_cast<TSkinBitButton*>(TSkinControl::FromHandle(bit->Handle())), nullptr);
    other->SetFocus();

    RECT br{};
    GetWindowRect(bit->Handle(), &br);
    const int top = (br.bottom - br.top - 10 + 1) / 2;
    const POINT picture = At(bit->Handle(), 4 + 5, top + 5), edge = At(bit->Handle(), 2, 2);
    const POINT clear = At(bit->Handle(), 4 + 5, top); // the picture's transparent row
    const POINT away = At(form->Handle(), 380, 270);
    const TPixel red = PixelRGB(255, 0, 0), face = 0;
    const struct {
        const char* state;
        std::function<void()> enter;
        TPixel frame, glyph; // glyph 0: the frame's colour shows where the picture would be
    } states[] = {
        {"normal", [] {}, kFrame[kBtnNormal], red},
        {"hot", [&] { MouseTo(Centre(bit->Handle())); }, kFrame[kBtnHot], red},
        {"pressed", [&] { MouseButton(true); }, kFrame[kBtnPressed], red},
        {"released away", [&] { MouseTo(away); MouseButton(false); other->SetFocus(); }, kFrame[kBtnNormal], red},
        // The disabled picture greyed: (0 + 120 + 255) / 3.
        {"disabled", [&] { bit->SetEnabled(false); }, kFrame[kBtnDisabled], PixelRGB(125, 125, 125)},
        // Without a disabled picture the normal one greyed: (255 + 0 + 0) / 3.
        {"disabled, no disabled index", [&] { bit->SetImages(images, 0, -1); }, kFrame[kBtnDisabled],
         PixelRGB(85, 85, 85)},
        {"no picture", [&] { bit->SetEnabled(true); bit->SetImages(images, -1, -1); }, kFrame[kBtnNormal], face},
        {"second picture", [&] { bit->SetImages(images, 1, -1); }, kFrame[kBtnNormal], PixelRGB(0, 120, 255)},
    };
    for (const auto& s : states) {
        s.enter();
        InvalidateRect(bit->Handle(), nullptr, FALSE);
        EXPECT_TRUE(Shows(edge, s.frame)) << s.state << " " << std::hex << ScreenPixel(edge);
        EXPECT_TRUE(Shows(picture, s.glyph ? s.glyph : s.frame)) << s.state << " " << std::hex << ScreenPixel(picture);
        EXPECT_TRUE(Shows(clear, s.frame)) << s.state << " " << std::hex << ScreenPixel(clear);
    }
    f.reset();
    form.reset();
    Pump(50);
}

} // namespace
