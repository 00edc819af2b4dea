// Tellit's windows skinned by a direct call to the form skinner (until the skin manager does it at
// start-up): the main window keeps its client area, and screenshots show each window skinned.
#include "tests/app/AppTest.h"

#include "skin/controls/EditRules.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/controls/ButtonRules.h"
#include "skin/controls/SkinButton_win.h"
#include "skin/controls/SkinCheck_win.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include <fstream>

namespace {

struct Skinned : AppFixture {
    void SetUp() override {
        WriteSettings("");
        CreateForms();
    }
};

// What the screen shows of a window, as a PNG in the screenshot folder.
void Screenshot(HWND hwnd, const std::string& name) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    TDib shot;
    if (!shot.Resize(r.right - r.left, r.bottom - r.top)) return;
    HDC screen = GetDC(nullptr);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    CreateDirectoryA(SCREENSHOT_DIR, nullptr);
    const std::vector<std::uint8_t> png = WritePng(shot.Bits());
    std::ofstream(std::string(SCREENSHOT_DIR) + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

void Settle() {
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

TEST_F(Skinned, EveryWindowKeepsItsClientArea) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    Form1->Show();
    Settle();
    const struct {
        TForm* form;
        const char* name;
    } forms[] = {{Form1, "skinned_main"},
                 {Form2, "skinned_proxy"},
                 {Form3, "skinned_about"},
                 {Form4, "skinned_help"},
                 {Form5, "skinned_progress"}};
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        if (f.form != Form1) f.form->Show();
        const int cw = f.form->ClientWidth(), ch = f.form->ClientHeight();
        auto skinner = SkinWindow(f.form->Handle(), &skin);
        Settle();
        EXPECT_EQ(f.form->ClientWidth(), cw);
        EXPECT_EQ(f.form->ClientHeight(), ch);
        EXPECT_EQ(SendMessageW(f.form->Handle(), WM_SKIN_QUERY, 0, 0), 1);
        Screenshot(f.form->Handle(), f.name);
        skinner->UnSubclass();
        EXPECT_EQ(f.form->ClientWidth(), cw);
        EXPECT_EQ(f.form->ClientHeight(), ch);
        if (f.form != Form1) f.form->Hide();
    }
    EXPECT_EQ(Form1->ClientWidth(), 331);
    EXPECT_EQ(Form1->ClientHeight(), 216);
    Form1->Hide();
}

// The window's pixels as the screen shows them.
TBitmap32 Capture(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return ScreenPixels(r);
}

bool SameRgb(TPixel a, TPixel b) {
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

// The progress window's bar and the edits of the main and proxy windows get the skin's faces.
TEST_F(Skinned, ProgressBarAndEditsWearTheSkin) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    Form5->Show();
    Form5->ProgressBar1->SetPosition(40);
    auto progress = SkinWindow(Form5->Handle(), &skin);
    Settle();
    ASSERT_NE(TSkinControl::FromHandle(Form5->ProgressBar1->Handle()), nullptr);
    // Every pixel of the bar as the portable renderer draws 40 of 100: the empty bar, then the
    // filled part over its first 90 pixels.
    const TDataSkinBorder& p = *skin.Progress;
    const int w = Form5->ProgressBar1->Width(), h = Form5->ProgressBar1->Height();
    TBitmap32 want(w, h);
    const COLORREF face = SkinColorRGB(skin.Colors[csButtonFace]);
    want.Fill(PixelRGB(GetRValue(face), GetGValue(face), GetBValue(face)));
    DrawRect2(want, TRect{0, 0, w, h}, p.Bitmap, p.Margins, 1, 2, true, p.Tile != 0, false);
    DrawRect2(want, TRect{0, 0, ProgressFill(w, 40, 100), h}, p.Bitmap, p.Margins, 2, 2, true, p.Tile != 0, false);
    const TBitmap32 got = Capture(Form5->ProgressBar1->Handle());
    int differences = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            differences += !SameRgb(got.Pixel(x, y), want.Pixel(x, y));
    EXPECT_EQ(differences, 0);
    Screenshot(Form5->Handle(), "skinned_progress_40");
    progress->UnSubclass();
    Form5->Hide();

    const COLORREF shadow = SkinColorRGB(skin.Colors[csButtonShadow]);
    for (TForm* f : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form2)}) {
        f->Show();
        auto skinner = SkinWindow(f->Handle(), &skin);
        Settle();
        TEdit* edit = f == Form1 ? Form1->CBNumber : Form2->EHost;
        ASSERT_NE(TSkinControl::FromHandle(edit->Handle()), nullptr);
        edit->SetFocus();
        Settle();
        // A flat frame: the shadow colour outside, white inside, where the sunken border was.
        const TBitmap32 e = Capture(edit->Handle());
        const int y = e.Height() / 2;
        EXPECT_TRUE(SameRgb(e.Pixel(0, y), PixelRGB(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow))));
        EXPECT_TRUE(SameRgb(e.Pixel(1, y), PixelRGB(255, 255, 255)));
        skinner->UnSubclass();
        f->Hide();
    }
}

// The left edge of a button's face against the same column of skin frame `frame` (the edge is
// stretched only along its length, so its colour is the image's).
TPixel EdgeOnScreen(TWinControl* c) {
    RECT r{};
    GetWindowRect(c->Handle(), &r);
    HDC screen = GetDC(nullptr);
    const COLORREF p = GetPixel(screen, r.left + 1, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return PixelFromColor(TColor(p)) & 0xFFFFFF;
}

TPixel EdgeOfFrame(const TSkinDataCore& skin, int frame) {
    const TBitmap32& b = skin.Buttons.Bitmap;
    return b.Pixel((frame - 1) * (b.Width() / 5) + 1, b.Height() / 2) & 0xFFFFFF;
}

void MouseTo(TWinControl* c, int dx = 0, int dy = 0) {
    RECT r{};
    GetWindowRect(c->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Settle();
}

void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Settle();
}

// The face shows the frame within a few seconds.
bool ShowsFrame(const TSkinDataCore& skin, TWinControl* c, int frame) {
    for (int i = 0; i < 100; ++i) {
        if (EdgeOnScreen(c) == EdgeOfFrame(skin, frame)) return true;
        Settle();
    }
    return false;
}

TEST_F(Skinned, ButtonsAndBoxesInEveryState) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    Form1->Show();
    SetForegroundWindow(Form1->Handle());
    Settle();
    auto main = SkinWindow(Form1->Handle(), &skin);
    Settle();
    EXPECT_NE(dynamic_cast<TSkinBitButton*>(TSkinControl::FromHandle(Form1->BSend->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinButton*>(TSkinControl::FromHandle(Form1->BClear->Handle())), nullptr);
    Form1->CBNumber->SetFocus();
    Form1->MMessage->SetText(L"kept");
    MouseTo(Form1, 0, 200); // off the window
    EXPECT_TRUE(ShowsFrame(skin, Form1->BClear, kBtnNormal));
    EXPECT_TRUE(ShowsFrame(skin, Form1->BSend, kBtnNormal));
    Screenshot(Form1->Handle(), "buttons_main_normal");
    MouseTo(Form1->BClear);
    EXPECT_TRUE(ShowsFrame(skin, Form1->BClear, kBtnHot));
    Screenshot(Form1->Handle(), "buttons_main_hot");
    MouseButton(true);
    EXPECT_TRUE(ShowsFrame(skin, Form1->BClear, kBtnPressed));
    Screenshot(Form1->Handle(), "buttons_main_pressed");
    MouseTo(Form1, 0, 200);
    MouseButton(false);
    EXPECT_EQ(Form1->MMessage->Text(), L"kept");           // released off the button: no click
    EXPECT_TRUE(ShowsFrame(skin, Form1->BClear, kBtnHot)); // focused by the press
    Form1->BSend->SetFocus();
    EXPECT_TRUE(ShowsFrame(skin, Form1->BSend, kBtnHot));
    EXPECT_TRUE(ShowsFrame(skin, Form1->BClear, kBtnNormal));
    Screenshot(Form1->Handle(), "buttons_main_focused");
    Form1->CBNumber->SetFocus();
    Form1->BSend->SetEnabled(false);
    EXPECT_TRUE(ShowsFrame(skin, Form1->BSend, kBtnDisabled));
    Screenshot(Form1->Handle(), "buttons_main_disabled");
    Form1->BSend->SetEnabled(true);
    main->UnSubclass();
    main.reset();
    Form1->Hide();

    Form2->Show();
    SetForegroundWindow(Form2->Handle());
    Settle();
    auto proxy = SkinWindow(Form2->Handle(), &skin);
    Settle();
    EXPECT_NE(dynamic_cast<TSkinCheckBox*>(TSkinControl::FromHandle(Form2->CheckBox1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinCheckBox*>(TSkinControl::FromHandle(Form2->CheckBox2->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(TSkinControl::FromHandle(Form2->GroupBox1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinBitButton*>(TSkinControl::FromHandle(Form2->BOk->Handle())), nullptr);
    Screenshot(Form2->Handle(), "buttons_proxy_normal");
    Form2->CheckBox1->SetChecked(true); // enables the second box
    Form2->CheckBox2->SetChecked(true);
    MouseTo(Form2->BOk);
    EXPECT_TRUE(ShowsFrame(skin, Form2->BOk, kBtnHot));
    Screenshot(Form2->Handle(), "buttons_proxy_hot_checked");
    MouseButton(true);
    EXPECT_TRUE(ShowsFrame(skin, Form2->BOk, kBtnPressed));
    Screenshot(Form2->Handle(), "buttons_proxy_pressed");
    MouseTo(Form2, 0, 300);
    MouseButton(false);
    EXPECT_TRUE(IsWindowVisible(Form2->Handle())); // no click: the dialog stays
    Form2->CheckBox1->SetChecked(false);           // disables the second box, still checked
    Form2->BOk->SetEnabled(false);
    EXPECT_TRUE(ShowsFrame(skin, Form2->BOk, kBtnDisabled));
    Screenshot(Form2->Handle(), "buttons_proxy_disabled");
    Form2->BOk->SetEnabled(true);
    Form2->CheckBox2->SetChecked(false);
    proxy->UnSubclass();
    proxy.reset();
    Form2->Hide();
}

} // namespace
