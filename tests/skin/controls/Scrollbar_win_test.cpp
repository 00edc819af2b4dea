// Skinned scroll bars on real windows under real mouse input: a memo scrolled by its arrows, page
// clicks and thumb with the skin's pictures on the screen; every way a thumb drag ends; a list box
// and a stand-alone scroll bar.
#include "skin/controls/SkinScrollbar_win.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>

namespace {

TPixel Screen(POINT p) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return PixelFromColor(TColor(c)) & 0xFFFFFF;
}

void MouseTo(POINT p) {
    SetCursorPos(p.x, p.y);
}

void Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

void Key(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

// Steps run from a thread timer, so that they happen inside whatever modal loop the thread is in
// (the system's scroll tracking, a thumb drag): each waits up to 5 s for its condition, then runs.
struct Step {
    std::function<bool()> ready;
    std::function<void(bool)> run; // with whether the condition came
};
std::vector<Step> gSteps;
DWORD gStepStart = 0;
bool gStepsDone = true;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (gSteps.empty()) {
        KillTimer(nullptr, id);
        gStepsDone = true;
        return;
    }
    const bool ok = !gSteps.front().ready || gSteps.front().ready();
    if (!ok && GetTickCount() - gStepStart < 5000) return;
    KillTimer(nullptr, id); // the step may start a modal loop of its own
    Step s = gSteps.front();
    gSteps.erase(gSteps.begin());
    gStepStart = GetTickCount();
    s.run(ok);
    if (gSteps.empty())
        gStepsDone = true;
    else
        SetTimer(nullptr, 0, 30, StepTimer);
}

void RunSteps(std::vector<Step> steps) {
    gSteps = std::move(steps);
    gStepsDone = false;
    gStepStart = GetTickCount();
    SetTimer(nullptr, 0, 30, StepTimer);
}

// Dispatches until the steps are done and a little after; answers the code of a WM_QUIT seen, or -1.
int PumpSteps() {
    int quit = -1;
    DWORD settled = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) quit = int(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (gStepsDone && !settled) settled = GetTickCount();
        if (settled && GetTickCount() - settled > 150) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return quit;
}

// The colours of a screen rectangle.
std::set<TPixel> ScreenColours(const RECT& r) {
    std::set<TPixel> out;
    const TBitmap32 dib = ScreenPixels(r);
    if (dib.Empty()) return out;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            out.insert(dib.Pixel(x, y) & 0xFFFFFF);
    return out;
}

// The screen into build/win64/screenshots/NAME.png, for a person to look at.
void Shot(const char* name) {
    TDib dib;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (!dib.Resize(w, h)) return;
    HDC screen = GetDC(nullptr);
    BitBlt(dib.DC(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.Bits().SetPixel(x, y, dib.Bits().Pixel(x, y) | 0xFF000000u);
    const std::vector<std::uint8_t> png = WritePng(dib.Bits());
    CreateDirectoryA(SCREENSHOT_DIR, nullptr);
    const std::string path = std::string(SCREENSHOT_DIR) + "/" + name + ".png";
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(png.data(), 1, png.size(), out);
        fclose(out);
    }
}

bool Meet(const std::set<TPixel>& a, const std::set<TPixel>& b) {
    for (TPixel p : a)
        if (b.count(p)) return true;
    return false;
}

// Colours of the skin's pictures. The bars are composed at the skin's 16-pixel design and
// stretched to the system's thickness, so the checks look for colours, not places.
struct SkinLook {
    const TSkinDataCore& skin;
    // The colours of rows top..bottom (exclusive) of a frame, key colour left out.
    static std::set<TPixel> Colours(const TDataSkinObject& o, int frame, int count, int top, int bottom) {
        std::set<TPixel> out;
        const int fw = o.Bitmap.Width() / count;
        for (int y = top; y < bottom; ++y)
            for (int x = (frame - 1) * fw; x < frame * fw; ++x)
                if (!PixelIs(o.Bitmap.Pixel(x, y), clSkinKey)) out.insert(o.Bitmap.Pixel(x, y) & 0xFFFFFF);
        return out;
    }
    std::set<TPixel> Arrow(int frame) const {
        return Colours(*skin.Scrollbar, frame, 23, 0, skin.Scrollbar->Bitmap.Height());
    }
    // The colours only one face of an arrow has among its normal, pressed and hot faces (first: the
    // normal frame).
    std::set<TPixel> ArrowOnly(int first, int face) const {
        std::set<TPixel> out = Arrow(first + face);
        for (int other = 0; other < 3; ++other)
            if (other != face)
                for (TPixel p : Arrow(first + other))
                    out.erase(p);
        // The bar's colour shows through the key-coloured corners of every face.
        out.erase(PixelFromColor(skin.Colors[csScrollbar]) & 0xFFFFFF);
        return out;
    }
    // Does the screen rectangle show this face (0 normal, 1 pressed, 2 hot) of the arrow?
    bool ShowsArrow(const RECT& r, int first, int face) const {
        const std::set<TPixel> seen = ScreenColours(r);
        for (int other = 0; other < 3; ++other)
            if (Meet(seen, ArrowOnly(first, other)) != (other == face)) return false;
        return true;
    }
    // Colours of a thumb frame's stretched middle, none of another frame's.
    std::set<TPixel> Thumb(int frame) const {
        const TDataSkinObject& o = *skin.VertScrollThumb;
        std::set<TPixel> out = Colours(o, frame, o.FrameCount, o.Margins.Top, o.Bitmap.Height() - o.Margins.Bottom);
        for (int other = 1; other <= o.FrameCount; ++other)
            if (other != frame)
                for (TPixel p : Colours(o, other, o.FrameCount, 0, o.Bitmap.Height()))
                    out.erase(p);
        return out;
    }
    bool ShowsThumb(POINT p, int frame) const { return Thumb(frame).count(Screen(p)) != 0; }
    bool ShowsTrack(POINT p) const {
        const TDataSkinObject& o = *skin.VertScroll;
        return Colours(o, 1, 4, o.Margins.Top, o.Bitmap.Height() - o.Margins.Bottom).count(Screen(p)) != 0;
    }
};

// A form with a memo of 40 lines, a list box and a stand-alone vertical bar, skinned with the
// shipped skin.
struct ScrollForm {
    TSkinDataCore skin;
    TForm* form = nullptr;
    TMemo* memo = nullptr;
    TListBox* list = nullptr;
    TScrollBar* bar = nullptr;
    std::unique_ptr<TWinSkinForm> skinner;

    ScrollForm() {
        if (!Application->Handle()) Application->Initialize();
        EXPECT_TRUE(skin.LoadFromFile(TELLIT_SKIN));
        form = new TForm(Application, L"TScrollTest");
        form->SetClientSize(420, 240);
        memo = new TMemo(form, form, true);
        memo->SetBounds(10, 10, 203, 105);
        std::vector<std::wstring> lines;
        for (int i = 0; i < 40; ++i)
            lines.push_back(L"Line " + std::to_wstring(i));
        memo->SetLines(lines);
        list = new TListBox(form, form);
        list->SetBounds(230, 10, 120, 105);
        for (int i = 0; i < 30; ++i)
            list->AddItem(L"Item " + std::to_wstring(i));
        bar = new TScrollBar(form, form, sbVertical);
        bar->SetBounds(370, 10, 16, 200);
        bar->SetParams(0, 0, 50);
        bar->SetPageSize(10);
        bar->LargeChange = 10;
        form->Show();
        skinner = SkinWindow(form->Handle(), &skin);
        WaitFor([&] { return GetForegroundWindow() == form->Handle(); });
        Pump(100);
    }
    ~ScrollForm() {
        skinner.reset();
        delete form;
        Pump(50);
    }
    TSkinScrollbar* MemoSkinner() const {
        return dynamic_cast<TSkinScrollbar*>(TSkinControl::FromHandle(memo->Handle()));
    }
    int FirstLine() const { return int(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
    // The memo's vertical bar on the screen, and the places on it.
    RECT Bar() const {
        RECT w{};
        GetWindowRect(memo->Handle(), &w);
        RECT b = MemoSkinner()->FVBarRect;
        OffsetRect(&b, w.left, w.top);
        return b;
    }
    RECT UpArrow() const {
        const RECT b = Bar();
        return RECT{b.left, b.top, b.right, b.top + MemoSkinner()->FVBar.Arrow};
    }
    RECT DownArrow() const {
        const RECT b = Bar();
        return RECT{b.left, b.bottom - MemoSkinner()->FVBar.Arrow, b.right, b.bottom};
    }
    POINT ThumbCentre() const {
        const TBarGeometry& g = MemoSkinner()->FVBar;
        return POINT{(Bar().left + Bar().right) / 2, Bar().top + g.Arrow + g.Offset + g.Thumb / 2};
    }
    int LastPosition() const {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
        GetScrollInfo(memo->Handle(), SB_VERT, &si);
        return si.nMax - int(si.nPage) + 1;
    }
};

TEST(Scrollbar, MemoScrollsByArrowsPagesAndThumbWithTheSkinsBar) {
    ScrollForm f;
    TSkinScrollbar* s = f.MemoSkinner();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->FCanDrag);
    EXPECT_NE(dynamic_cast<TSkinScrollbar*>(TSkinControl::FromHandle(f.list->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinScControl*>(TSkinControl::FromHandle(f.bar->Handle())), nullptr);
    const SkinLook look{f.skin};
    for (int face = 0; face < 3; ++face) {
        ASSERT_FALSE(look.ArrowOnly(9, face).empty()) << face;
        ASSERT_FALSE(look.ArrowOnly(13, face).empty()) << face;
        ASSERT_FALSE(look.Thumb(face + 1).empty()) << face;
    }

    // The system's bar lies where the skinner paints.
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (GetScrollBarInfo(f.memo->Handle(), OBJID_VSCROLL, &sbi)) {
        EXPECT_EQ(sbi.rcScrollBar.left, f.Bar().left);
        EXPECT_EQ(sbi.rcScrollBar.top, f.Bar().top);
        EXPECT_EQ(sbi.rcScrollBar.bottom, f.Bar().bottom);
    }
    // The skin's arrows, thumb and track, not the system's.
    EXPECT_TRUE(WaitFor([&] { return look.ShowsArrow(f.UpArrow(), 9, 0); }));
    EXPECT_TRUE(look.ShowsArrow(f.DownArrow(), 13, 0));
    EXPECT_TRUE(look.ShowsThumb(f.ThumbCentre(), 1));
    EXPECT_TRUE(look.ShowsTrack(POINT{f.ThumbCentre().x, f.Bar().bottom - 24}));

    // Under the mouse the arrow is hot; held, it is pressed while the system's auto-repeat scrolls.
    MouseTo(POINT{f.ThumbCentre().x, f.DownArrow().top + 8});
    EXPECT_TRUE(WaitFor([&] { return look.ShowsArrow(f.DownArrow(), 13, 2); }));
    bool pressedShown = false;
    int linesWhileHeld = 0;
    RunSteps({{[&] { return f.FirstLine() >= 3; },
               [&](bool) {
                   pressedShown = look.ShowsArrow(f.DownArrow(), 13, 1);
                   linesWhileHeld = f.FirstLine();
                   Button(false);
               }}});
    Button(true);
    PumpSteps();
    EXPECT_TRUE(pressedShown);
    EXPECT_GE(linesWhileHeld, 3);
    EXPECT_EQ(s->FActivePart, kPartNone);
    EXPECT_TRUE(WaitFor([&] { return look.ShowsArrow(f.DownArrow(), 13, 2); })); // hot again

    // A click below the thumb scrolls a page.
    const int beforePage = f.FirstLine();
    const POINT thumb = f.ThumbCentre();
    MouseTo(POINT{thumb.x, (thumb.y + f.DownArrow().top) / 2 + 6});
    Pump(30);
    Button(true);
    Button(false);
    EXPECT_TRUE(WaitFor([&] { return f.FirstLine() > beforePage + 2; })) << f.FirstLine() << " from " << beforePage;
    EXPECT_TRUE(WaitFor([&] { return look.ShowsThumb(f.ThumbCentre(), 1); }));

    // The thumb dragged by 24 pixels: pressed face while dragged, the text follows, and both stay.
    const int beforeDrag = f.FirstLine();
    const POINT from = f.ThumbCentre();
    bool pressedThumb = false;
    int linesWhileDragged = 0;
    MouseTo(from);
    Pump(30);
    RunSteps({{nullptr,
               [&](bool) {
                   MouseTo(POINT{from.x, from.y + 24});
               }},
              {[&] { return f.FirstLine() != beforeDrag; },
               [&](bool) {
                   pressedThumb = look.ShowsThumb(f.ThumbCentre(), 2);
                   linesWhileDragged = f.FirstLine();
                   Button(false);
               }}});
    Button(true);
    PumpSteps();
    EXPECT_EQ(s->LastDragEnd, TDragEnd::Release);
    EXPECT_TRUE(pressedThumb);
    EXPECT_GT(linesWhileDragged, beforeDrag);
    EXPECT_EQ(f.FirstLine(), linesWhileDragged);
    EXPECT_EQ(GetScrollPos(f.memo->Handle(), SB_VERT), f.FirstLine());
    EXPECT_NEAR(f.ThumbCentre().y, from.y + 24, 2);
    // Hot while the mouse rests on it, normal once it has gone.
    EXPECT_TRUE(WaitFor([&] { return look.ShowsThumb(f.ThumbCentre(), 3); }));
    MouseTo(POINT{f.Bar().left - 60, f.ThumbCentre().y});
    EXPECT_TRUE(WaitFor([&] { return look.ShowsThumb(f.ThumbCentre(), 1); }));
    Shot("scrollbar-after-drag");
    EXPECT_EQ(GetCapture(), nullptr);

    // Dragged far past the end: the last position a page allows, the thumb at the end of the track.
    const POINT again = f.ThumbCentre();
    MouseTo(again);
    Pump(30);
    RunSteps({{nullptr,
               [&](bool) {
                   MouseTo(POINT{again.x, again.y + 400});
               }},
              {[&] { return f.FirstLine() == f.LastPosition(); }, [&](bool) { Button(false); }}});
    Button(true);
    PumpSteps();
    EXPECT_EQ(f.FirstLine(), f.LastPosition());
    EXPECT_EQ(GetScrollPos(f.memo->Handle(), SB_VERT), f.LastPosition());
    EXPECT_EQ(s->FVBar.Offset + s->FVBar.Thumb, s->FVBar.Track);
    EXPECT_TRUE(WaitFor([&] { return look.ShowsThumb(POINT{again.x, f.DownArrow().top - 8}, 1); }));
}

// A drag started on the memo's thumb, moved 30 pixels down, then ended by `end`; answers the code
// of a WM_QUIT the thread saw afterwards (-1: none).
int DragAndEnd(ScrollForm& f, const std::function<void()>& end) {
    const POINT from = f.ThumbCentre();
    const int start = f.FirstLine();
    MouseTo(from);
    Pump(30);
    RunSteps({{nullptr,
               [&, from](bool) {
                   MouseTo(POINT{from.x, from.y + 30});
               }},
              {[&f, start] { return f.FirstLine() != start; }, [end](bool) { end(); }}});
    Button(true);
    const int quit = PumpSteps();
    Button(false);
    Pump(50);
    return quit;
}

TEST(Scrollbar, ThumbDragEnds) {
    {
        SCOPED_TRACE("Esc puts the thumb back");
        ScrollForm f;
        EXPECT_EQ(DragAndEnd(f, [] { Key(VK_ESCAPE); }), -1);
        EXPECT_EQ(f.MemoSkinner()->LastDragEnd, TDragEnd::Escape);
        EXPECT_EQ(f.FirstLine(), 0);
        EXPECT_EQ(GetScrollPos(f.memo->Handle(), SB_VERT), 0);
        EXPECT_FALSE(f.MemoSkinner()->FDragging);
    }
    {
        SCOPED_TRACE("another window takes the capture");
        ScrollForm f;
        EXPECT_EQ(DragAndEnd(f, [&f] { SetCapture(f.form->Handle()); }), -1);
        EXPECT_EQ(f.MemoSkinner()->LastDragEnd, TDragEnd::CaptureLost);
        EXPECT_GT(f.FirstLine(), 0); // where the drag had taken it
        EXPECT_EQ(GetScrollPos(f.memo->Handle(), SB_VERT), f.FirstLine());
        EXPECT_FALSE(f.MemoSkinner()->FDragging);
        ReleaseCapture();
    }
    {
        SCOPED_TRACE("a request to quit ends the drag and is posted again");
        ScrollForm f;
        EXPECT_EQ(DragAndEnd(f, [] { PostQuitMessage(7); }), 7);
        EXPECT_EQ(f.MemoSkinner()->LastDragEnd, TDragEnd::Quit);
        EXPECT_GT(f.FirstLine(), 0);
    }
    {
        SCOPED_TRACE("the window is destroyed");
        ScrollForm f;
        TSkinScrollbar* s = f.MemoSkinner();
        EXPECT_EQ(DragAndEnd(f, [&f] { DestroyWindow(f.memo->Handle()); }), -1);
        EXPECT_EQ(s->LastDragEnd, TDragEnd::Destroyed);
        EXPECT_FALSE(s->FDragging);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    {
        SCOPED_TRACE("the control and its skinner are freed");
        ScrollForm f;
        bool freed = false;
        EXPECT_EQ(DragAndEnd(f,
                             [&f, &freed] {
                                 delete f.memo;
                                 f.memo = nullptr;
                                 freed = true;
                             }),
                  -1);
        EXPECT_TRUE(freed);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_TRUE(IsWindow(f.form->Handle()));
    }
    {
        SCOPED_TRACE("the skin is taken away");
        ScrollForm f;
        int liveInside = -1;
        bool givenBack = false;
        EXPECT_EQ(DragAndEnd(f,
                             [&f, &liveInside, &givenBack] {
                                 TWinSkinForm::Retire(std::move(f.skinner));
                                 givenBack = TSkinControl::FromHandle(f.memo->Handle()) == nullptr;
                                 liveInside = TSkinControl::LiveCount();
                             }),
                  -1);
        // Given back at once, the dragging skinner freed only once its loop had returned.
        EXPECT_TRUE(givenBack);
        EXPECT_GT(liveInside, 0);
        EXPECT_EQ(TSkinControl::LiveCount(), 0);
        EXPECT_EQ(GetCapture(), nullptr);
        const int left = f.FirstLine();
        EXPECT_GT(left, 0); // where the drag had taken it
        SendMessageW(f.memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(f.FirstLine(), left + 1); // the memo scrolls as before, on its own
    }
}

TEST(Scrollbar, ListBoxAndStandAloneBar) {
    ScrollForm f;
    const SkinLook look{f.skin};

    // The list box's bar: the skin's arrow, and a click on it scrolls one item.
    RECT lw{};
    GetWindowRect(f.list->Handle(), &lw);
    auto* ls = dynamic_cast<TSkinScrollbar*>(TSkinControl::FromHandle(f.list->Handle()));
    ASSERT_NE(ls, nullptr);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const RECT listDown{lw.left + ls->FVBarRect.left, lw.top + ls->FVBarRect.bottom - arrow,
                        lw.left + ls->FVBarRect.right, lw.top + ls->FVBarRect.bottom};
    EXPECT_TRUE(WaitFor([&] { return look.ShowsArrow(listDown, 13, 0); }));
    MouseTo(POINT{lw.left + ls->FVBarRect.left + 8, lw.top + ls->FVBarRect.bottom - 8});
    Pump(30);
    Button(true);
    Button(false);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(f.list->Handle(), LB_GETTOPINDEX, 0, 0) == 1; }));

    // The stand-alone bar: the skin's arrow; arrow and page clicks move its position; the system
    // drags its thumb and the skin follows.
    RECT bw{};
    GetWindowRect(f.bar->Handle(), &bw);
    auto* bs = dynamic_cast<TSkinScControl*>(TSkinControl::FromHandle(f.bar->Handle()));
    ASSERT_NE(bs, nullptr);
    EXPECT_TRUE(WaitFor([&] { return look.ShowsArrow(RECT{bw.left, bw.bottom - arrow, bw.right, bw.bottom}, 13, 0); }));
    MouseTo(POINT{bw.left + 8, bw.bottom - 8});
    Pump(30);
    Button(true);
    Button(false);
    EXPECT_TRUE(WaitFor([&] { return f.bar->Position() == 1; }));
    MouseTo(POINT{bw.left + 8, bw.bottom - 24});
    Pump(30);
    Button(true);
    Button(false);
    EXPECT_TRUE(WaitFor([&] { return f.bar->Position() == 11; }));
    const POINT from{bw.left + 8, bw.top + bs->FBar.Arrow + bs->FBar.Offset + bs->FBar.Thumb / 2};
    EXPECT_TRUE(look.ShowsThumb(from, 1));
    MouseTo(from);
    Pump(30);
    bool pressedThumb = false;
    RunSteps({{nullptr,
               [&](bool) {
                   MouseTo(POINT{from.x, from.y + 40});
               }},
              {[&] { return f.bar->Position() > 11; },
               [&](bool) {
                   pressedThumb = look.ShowsThumb(
                       POINT{from.x, bw.top + bs->FBar.Arrow + bs->FBar.Offset + bs->FBar.Thumb / 2}, 2);
                   Button(false);
               }}});
    Button(true);
    PumpSteps();
    EXPECT_GT(f.bar->Position(), 11);
    EXPECT_TRUE(pressedThumb);
}
} // namespace
