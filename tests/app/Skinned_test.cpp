// Tellit's windows skinned by a direct call to the form skinner (until the skin manager does it at
// start-up): the main window keeps its client area, and screenshots show each window skinned.
#include "tests/app/AppTest.h"

#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
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
    } forms[] = {{Form1, "skinned_main"}, {Form2, "skinned_proxy"}, {Form3, "skinned_about"},
                 {Form4, "skinned_help"}, {Form5, "skinned_progress"}};
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

} // namespace
