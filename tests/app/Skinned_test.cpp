// Tellit's windows skinned by a direct call to the form skinner (until the skin manager does it at
// start-up): the main window keeps its client area, and screenshots show each window skinned.
#include "tests/app/AppTest.h"

#include "skin/controls/EditRules.h"
#include "skin/controls/SkinControl_win.h"
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
    TDib shot;
    if (!shot.Resize(r.right - r.left, r.bottom - r.top)) return {};
    HDC screen = GetDC(nullptr);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return shot.Bits();
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

} // namespace
