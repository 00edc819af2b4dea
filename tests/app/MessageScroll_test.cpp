// The message memo of the main window, skinned: its scroll bar shows only while the text overflows,
// in the skin's look, and the mouse scrolls the text with its arrows, page clicks and thumb.
#include "tests/app/AppTest.h"

#include "skin/controls/SkinScrollbar_win.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "tests/skin/forms/WinPump.h"

#include <fstream>
#include <set>

namespace {

struct MessageScroll : AppFixture {
    void SetUp() override {
        WriteSettings("");
        CreateForms();
    }
};

// Where a drag moves the mouse, from timers that run inside the drag.
POINT gDragTo;

void CALLBACK ReleaseButton(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
}

void CALLBACK MoveMouse(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SetCursorPos(gDragTo.x, gDragTo.y);
    SetTimer(nullptr, 0, 200, ReleaseButton);
}

// A click at p; with moveBy, a drag from p that many pixels down.
void Click(POINT p, int moveBy = 0) {
    SetCursorPos(p.x, p.y);
    Pump(50);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in, sizeof in);
    if (moveBy) {
        // The press starts the drag first: the move and the release come while it runs.
        gDragTo = POINT{p.x, p.y + moveBy};
        SetTimer(nullptr, 0, 200, MoveMouse);
        Pump(800);
        return;
    }
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Pump(100);
}

std::set<TPixel> ScreenColours(const RECT& r) {
    std::set<TPixel> out;
    const TBitmap32 dib = ScreenPixels(r);
    if (dib.Empty()) return out;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            out.insert(dib.Pixel(x, y) & 0xFFFFFF);
    return out;
}

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

TEST_F(MessageScroll, BarShowsOnOverflowAndScrollsTheText) {
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
    Form1->Show();
    auto skinner = SkinWindow(Form1->Handle(), &skin);
    Pump(100);
    const HWND memo = Form1->MMessage->Handle();
    auto* s = dynamic_cast<TSkinScrollbar*>(TSkinControl::FromHandle(memo));
    ASSERT_NE(s, nullptr);
    auto shown = [memo] { return (GetWindowLongPtrW(memo, GWL_STYLE) & WS_VSCROLL) != 0; };
    auto firstLine = [memo] { return int(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0)); };
    EXPECT_FALSE(shown());
    Type(Form1->MMessage, L"Привет!\rКак дела?\r");
    EXPECT_FALSE(shown()) << "two lines fit";

    for (int i = 0; i < 12; ++i)
        Type(Form1->MMessage, L"Строка " + std::to_wstring(i) + L"\r");
    EXPECT_TRUE(shown());
    Pump(100);
    // The caret's line is in view: the text has scrolled.
    const int bottom = firstLine();
    EXPECT_GT(bottom, 0);

    RECT w{};
    GetWindowRect(memo, &w);
    auto bar = [&] {
        RECT b = s->FVBarRect;
        OffsetRect(&b, w.left, w.top);
        return b;
    };
    const int arrow = s->FVBar.Arrow;
    // The skin's down arrow, not the system's.
    std::set<TPixel> skinArrow;
    const TBitmap32& strip = skin.Scrollbar->Bitmap;
    const int fw = strip.Width() / 23;
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 12 * fw; x < 13 * fw; ++x)
            skinArrow.insert(strip.Pixel(x, y) & 0xFFFFFF);
    skinArrow.erase(PixelFromColor(skin.Colors[csScrollbar]) & 0xFFFFFF);
    skinArrow.erase(PixelFromColor(clSkinKey) & 0xFFFFFF);
    const std::set<TPixel> seen = ScreenColours(RECT{bar().left, bar().bottom - arrow, bar().right, bar().bottom});
    size_t common = 0;
    for (TPixel p : seen)
        common += skinArrow.count(p);
    EXPECT_GE(common, 2u);
    Screenshot(Form1->Handle(), "skinned_main_message_overflow");

    const int cx = (bar().left + bar().right) / 2;
    Click(POINT{cx, bar().top + arrow / 2}); // up arrow
    EXPECT_TRUE(WaitFor([&] { return firstLine() == bottom - 1; })) << firstLine();
    const int thumbTop = bar().top + arrow + s->FVBar.Offset;
    Click(POINT{cx, (bar().top + arrow + thumbTop) / 2}); // the page above the thumb
    EXPECT_TRUE(WaitFor([&] { return firstLine() == 0; })) << firstLine();
    Click(POINT{cx, bar().top + arrow + s->FVBar.Offset + s->FVBar.Thumb / 2}, 200); // thumb to the end
    EXPECT_EQ(s->LastDragEnd, TDragEnd::Release);
    EXPECT_EQ(firstLine(), bottom);

    Form1->BClearClick(Form1->BClear);
    Pump(50);
    EXPECT_FALSE(shown());
}
} // namespace
