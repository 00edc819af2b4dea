// The edit, combo, up-down, progress, track bar, tab, tab set, header and status bar skinners on
// framework controls of a real form skinned with the shipped skin: pixels at fixed places compared
// with the portable renderer, real mouse input (a combo opened and an item chosen, tabs switched,
// up-down halves pressed), and the system's own drawing where the skin lacks an image.
#include "skin/controls/EditRules.h"
#include "skin/controls/SkinEdit_win.h"
#include "skin/controls/SkinFactory_win.h"
#include "skin/controls/SkinTab_win.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <set>

namespace {

// Every kind of control of this family on one form.
struct TGallery {
    TForm* Form;
    TEdit* Edit;
    TEdit* SpinEdit;
    TUpDown* Spin;
    TComboBox* Combo;
    TComboBox* ComboList;
    TComboBox* ComboLeft;
    TComboBox* ComboSimple;
    TUpDown* UpDownV;
    TUpDown* UpDownH;
    TProgressBar* Progress;
    TProgressBar* Progress2;
    TTrackBar* TrackH;
    TTrackBar* TrackV;
    TPageControl* Pages;
    TTabControl* TabsBottom;
    TTabControl* TabsLeft;
    TTabControl* TabsRight;
    TTabSet* TabSet;
    THeaderControl* Header;
    TStatusBar* Status;
    int Changes = 0;

    explicit TGallery(const wchar_t* cls) {
        Form = new TForm(Application, cls);
        Form->SetCaption(L"Gallery");
        Form->SetClientSize(560, 400);
        Form->SetBounds(40, 40, Form->Width(), Form->Height());
        Edit = new TEdit(Form, Form);
        Edit->SetBounds(10, 10, 120, 21);
        Edit->SetText(L"Edit");
        SpinEdit = new TEdit(Form, Form);
        SpinEdit->SetBounds(10, 40, 120, 21);
        Spin = new TUpDown(SpinEdit, SpinEdit);
        Spin->SetPosition(5);
        Combo = new TComboBox(Form, Form, csDropDown);
        ComboList = new TComboBox(Form, Form, csDropDownList);
        ComboLeft = new TComboBox(Form, Form, csDropDownList);
        ComboSimple = new TComboBox(Form, Form, csSimple);
        int y = 70;
        for (TComboBox* c : {Combo, ComboList, ComboLeft}) {
            c->SetBounds(10, y, 120, 150);
            for (const wchar_t* s : {L"One", L"Two", L"Three", L"Four"})
                c->AddItem(s);
            c->SetItemIndex(0);
            y += 30;
        }
        SetWindowLongPtrW(ComboLeft->Handle(), GWL_EXSTYLE,
                          GetWindowLongPtrW(ComboLeft->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
        ComboSimple->SetBounds(10, 160, 120, 70);
        ComboSimple->AddItem(L"Simple");
        ComboList->OnChange = [this](TObject*) { ++Changes; };
        UpDownV = new TUpDown(Form, Form, udVertical);
        UpDownV->SetBounds(140, 10, 16, 21);
        UpDownH = new TUpDown(Form, Form, udHorizontal);
        UpDownH->SetBounds(165, 10, 30, 16);
        Progress = new TProgressBar(Form, Form);
        Progress->SetBounds(140, 40, 100, 16);
        Progress->SetRange(0, 3);
        Progress->SetPosition(1);
        Progress2 = new TProgressBar(Form, Form, true);
        Progress2->SetBounds(140, 65, 100, 16);
        Progress2->SetRange(0, 8);
        Progress2->SetPosition(1);
        TrackH = new TTrackBar(Form, Form);
        TrackH->SetBounds(140, 90, 120, 30);
        TrackH->SetPosition(3);
        TrackV = new TTrackBar(Form, Form, trVertical);
        TrackV->SetBounds(270, 10, 30, 110);
        TrackV->SetPosition(7);
        Pages = new TPageControl(Form, Form);
        Pages->SetBounds(310, 10, 240, 110);
        for (const wchar_t* s : {L"General", L"Proxy", L"About"})
            new TLabel(Form, Pages->AddPage(s));
        TabsBottom = new TTabControl(Form, Form, tpBottom);
        TabsBottom->SetBounds(140, 130, 200, 80);
        TabsLeft = new TTabControl(Form, Form, tpLeft);
        TabsLeft->SetBounds(350, 130, 95, 110);
        TabsRight = new TTabControl(Form, Form, tpRight);
        TabsRight->SetBounds(455, 130, 95, 110);
        for (TTabControl* t : {TabsBottom, TabsLeft, TabsRight})
            for (const wchar_t* s : {L"One", L"Two"})
                t->AddTab(s);
        TabSet = new TTabSet(Form, Form);
        TabSet->SetBounds(140, 220, 200, 20);
        for (const wchar_t* s : {L"Sheet1", L"A much wider sheet", L"S3"})
            TabSet->AddTab(s);
        Header = new THeaderControl(Form, Form);
        Header->SetBounds(10, 250, 300, 20);
        Header->AddSection(L"Name", 100);
        Header->AddSection(L"Size", 80, taRightJustify);
        Header->AddSection(L"", 60);
        Status = new TStatusBar(Form, Form);
        Status->AddPanel(L"Lowered", 100);
        Status->AddPanel(L"Raised", 100, taCenter, pbRaised);
        Status->AddPanel(L"Right-to-left", 120, taRightJustify, pbNone, bdRightToLeft);
        Status->AddPanel(L"Last", 60);
    }
    ~TGallery() { delete Form; }
};

// The window's pixels as the screen shows them.
TBitmap32 Capture(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    TBitmap32 copy = ScreenPixels(r);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x)
            copy.SetPixel(x, y, copy.Pixel(x, y) | 0xFF000000u);
    return copy;
}

void SavePng(const TBitmap32& b, const std::string& name) {
    CreateDirectoryA(SCREENSHOT_DIR, nullptr);
    const std::vector<std::uint8_t> png = WritePng(b);
    std::ofstream(std::string(SCREENSHOT_DIR) + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

TPixel Face(const TSkinDataCore& skin) {
    const COLORREF c = SkinColorRGB(skin.Colors[csButtonFace]);
    return PixelRGB(GetRValue(c), GetGValue(c), GetBValue(c));
}
TPixel Rgb(COLORREF c) {
    return PixelRGB(GetRValue(c), GetGValue(c), GetBValue(c));
}
bool Same(TPixel a, TPixel b) {
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

// Pixels of `got` inside `area` that differ from `want` (both the size of area).
int Differences(const TBitmap32& got, const TRect& area, const TBitmap32& want) {
    int n = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            n += !Same(got.Pixel(area.Left + x, area.Top + y), want.Pixel(x, y));
    return n;
}

void MouseTo(POINT p) {
    SetCursorPos(p.x, p.y);
    Pump(40);
}
void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Pump(60);
}
void Click(POINT p) {
    MouseTo(p);
    MouseButton(true);
    MouseButton(false);
}
// A point of a control in screen coordinates.
POINT At(HWND hwnd, int x, int y) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{r.left + x, r.top + y};
}

class EditControls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Application->Handle()) Application->Initialize();
    }
    void SetUp() override { ASSERT_TRUE(skin.LoadFromFile(TELLIT_SKIN)); }
    // Shows the gallery, skinned or not, and lets it paint.
    void Show(TGallery& g, bool skinned) {
        g.Form->Show();
        SetForegroundWindow(g.Form->Handle());
        Pump(100);
        if (skinned) {
            skinner = SkinWindow(g.Form->Handle(), &skin);
            RedrawWindow(g.Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        Pump(300);
    }
    void TearDown() override {
        if (skinner) skinner->UnSubclass();
        skinner.reset();
        Pump(50);
    }
    TSkinDataCore skin;
    std::unique_ptr<TWinSkinForm> skinner;
};

TEST_F(EditControls, GalleryScreenshots) {
    TGallery plain(L"TGalleryPlain");
    Show(plain, false);
    const TBitmap32 system = Capture(plain.Form->Handle());
    plain.Form->Hide();
    TGallery g(L"TGallery");
    Show(g, true);
    const TBitmap32 skinned = Capture(g.Form->Handle());
    TBitmap32 both(system.Width() + skinned.Width() + 10, std::max(system.Height(), skinned.Height()));
    both.Fill(PixelRGB(255, 255, 255));
    DrawBitmap(both, 0, 0, system);
    DrawBitmap(both, system.Width() + 10, 0, skinned);
    SavePng(both, "controls_gallery_system_and_skinned");
    EXPECT_GT(skinner->Controls().Items().size(), 10u);
}

// The face colour filling a w x h bitmap, as the skinners start their faces.
TBitmap32 FaceMap(const TSkinDataCore& skin, int w, int h) {
    TBitmap32 b(w, h);
    b.Fill(Face(skin));
    return b;
}

TBitmap32 ExpectedProgress(const TSkinDataCore& skin, int w, int h, int pos, int hi) {
    const TDataSkinBorder& p = *skin.Progress;
    TBitmap32 want = FaceMap(skin, w, h);
    DrawRect2(want, TRect{0, 0, w, h}, p.Bitmap, p.Margins, 1, 2, true, p.Tile != 0, false);
    if (const int fill = ProgressFill(w, pos, hi))
        DrawRect2(want, TRect{0, 0, fill, h}, p.Bitmap, p.Margins, 2, 2, true, p.Tile != 0, false);
    return want;
}

TBitmap32 ExpectedUpDown(const TSkinDataCore& skin, int w, int h, POINT cursor, bool down, bool in) {
    const TDataSkinBorder& o = *skin.UpDownVert;
    TBitmap32 want = FaceMap(skin, w, h);
    const TUpDownLayout l = UpDownLayout(TRect{0, 0, w, h}, false, false, TPoint{cursor.x, cursor.y}, down, in, true);
    for (const TUpDownButton* b : {&l.First, &l.Second}) {
        DrawRect1(want, b->Rect, o.Bitmap, b->Frame, 8, true);
        DrawRect1(want, CenterIn(b->Rect, o.Bitmap2.Width() / 8, o.Bitmap2.Height()), o.Bitmap2, b->Frame, 8, true);
    }
    return want;
}

RECT ItemRect(HWND tab, int i) {
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    return r;
}
TRect ToT(const RECT& r) {
    return TRect{r.left, r.top, r.right, r.bottom};
}

// The faces of a tab control's strip as the skinner composes them, turned into place.
TBitmap32 ExpectedStrip(const TSkinDataCore& skin, HWND tab, TRect& stripRect) {
    RECT w{};
    GetWindowRect(tab, &w);
    const TRect window{0, 0, w.right - w.left, w.bottom - w.top};
    RECT d{0, 0, window.Right, window.Bottom};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    const TSkinTabPosition pos = TabPosition(unsigned(GetWindowLongPtrW(tab, GWL_STYLE)));
    const TRect page = TabPageArea(ToT(d), pos);
    stripRect = TabStripRect(window, page, pos);
    const TPoint size = TabStripSize(stripRect, pos);
    const TDataSkinBorder& tabs = *skin.Tabs;
    TBitmap32 image = tabs.Bitmap;
    if (pos == Stbottom) SpiegelnVertikal(image);
    TBitmap32 strip = FaceMap(skin, size.X, size.Y);
    const int focused = int(SendMessageW(tab, TCM_GETCURFOCUS, 0, 0));
    for (int i = 0, n = int(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)); i < n; ++i)
        DrawRect2(strip, TabToStrip(ToT(ItemRect(tab, i)), pos, window, page, size.X), image, tabs.Margins,
                  i == focused ? 2 : 1, tabs.FrameCount, tabs.Trans == 1, tabs.Tile != 0, false);
    if (pos == Stright) Drehen90Grad(strip);
    if (pos == Stleft) Drehen270Grad(strip);
    return strip;
}

// Differences between rows (or columns) [from, to) of the capture's area and the same of want.
int BandDifferences(const TBitmap32& got, const TRect& area, const TBitmap32& want, bool rows, int from, int to) {
    int n = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x) {
            const int k = rows ? y : x;
            if (k < from || k >= to) continue;
            n += !Same(got.Pixel(area.Left + x, area.Top + y), want.Pixel(x, y));
        }
    return n;
}

// Draws a frame of a strip over a copy of the capture, magenta left out: what a skinner's
// transparent image drawing must have left on the screen.
TBitmap32 Over(const TBitmap32& got, const TRect& r, const TBitmap32& image, int frame, int frames) {
    TBitmap32 want = got;
    DrawRect1(want, r, image, frame, frames, true);
    return want;
}
int Diff(const TBitmap32& a, const TBitmap32& b, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += !Same(a.Pixel(x, y), b.Pixel(x, y));
    return n;
}

TEST_F(EditControls, SkinnedFacesUnderRealInput) {
    TGallery g(L"TGalleryFaces");
    Show(g, true);
    ASSERT_NE(skin.Progress, nullptr);

    // Edits: a flat frame, shadow outside and white inside, also after the focus came and went.
    g.Edit->SetFocus();
    g.SpinEdit->SetFocus();
    Pump(100);
    TBitmap32 got = Capture(g.Edit->Handle());
    EXPECT_TRUE(Same(got.Pixel(0, 10), Rgb(SkinColorRGB(skin.Colors[csButtonShadow]))));
    EXPECT_TRUE(Same(got.Pixel(1, 10), PixelRGB(255, 255, 255)));
    EXPECT_TRUE(Same(got.Pixel(60, 0), Rgb(SkinColorRGB(skin.Colors[csButtonShadow]))));
    // The up-down inside the spin edit was found and skinned one pixel in.
    TSkinControl* spinEdit = TSkinControl::FromHandle(g.SpinEdit->Handle());
    auto* editSkinner = dynamic_cast<TSkinEdit*>(spinEdit);
    ASSERT_NE(editSkinner, nullptr);
    ASSERT_NE(editSkinner->UpDown(), nullptr);
    EXPECT_TRUE(editSkinner->UpDown()->FInset);

    // Progress bars: 33 of 100 pixels at 1 of 3, 12 at 1 of 8, every pixel as the renderer has it.
    got = Capture(g.Progress->Handle());
    EXPECT_EQ(Differences(got, TRect{0, 0, 100, 16}, ExpectedProgress(skin, 100, 16, 1, 3)), 0);
    EXPECT_NE(Differences(got, TRect{0, 0, 100, 16}, ExpectedProgress(skin, 100, 16, 2, 3)), 0);
    got = Capture(g.Progress2->Handle());
    EXPECT_EQ(Differences(got, TRect{0, 0, 100, 16}, ExpectedProgress(skin, 100, 16, 1, 8)), 0);

    // An up-down held on its lower half: the lower button pressed, the upper one normal; released,
    // the lower one hot.
    const HWND ud = g.UpDownV->Handle();
    const int before = g.UpDownV->Position();
    MouseTo(At(ud, 8, 15));
    MouseButton(true);
    got = Capture(ud);
    EXPECT_EQ(Differences(got, TRect{0, 0, 16, 21}, ExpectedUpDown(skin, 16, 21, POINT{8, 15}, true, true)), 0);
    MouseButton(false);
    EXPECT_LT(g.UpDownV->Position(), before + 1);
    got = Capture(ud);
    EXPECT_EQ(Differences(got, TRect{0, 0, 16, 21}, ExpectedUpDown(skin, 16, 21, POINT{8, 15}, false, true)), 0);
    EXPECT_NE(Differences(got, TRect{0, 0, 16, 21}, ExpectedUpDown(skin, 16, 21, POINT{8, 15}, false, false)), 0);

    // Track bar thumbs: frame 2 of the thumb strip over the thumb rectangle.
    for (TTrackBar* t : {g.TrackH, g.TrackV}) {
        const bool vertical = t == g.TrackV;
        RECT thumb{};
        SendMessageW(t->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        got = Capture(t->Handle());
        const TDataSkinObject& image = vertical ? *skin.TrackbarThumbVert : *skin.TrackbarThumbHorz;
        EXPECT_EQ(Diff(got, Over(got, ToT(thumb), image.Bitmap, 2, 5), ToT(thumb)), 0) << vertical;
        EXPECT_NE(Diff(got, Over(got, ToT(thumb), image.Bitmap, 1, 5), ToT(thumb)), 0) << vertical;
    }

    // A combo box opened by its button, its third item chosen from the list.
    const HWND combo = g.ComboList->Handle();
    RECT cr{};
    GetWindowRect(combo, &cr);
    const int cw = cr.right - cr.left, ch = cr.bottom - cr.top;
    const TComboLayout layout = ComboLayout(cw, ch, GetSystemMetrics(SM_CXHSCROLL), false);
    auto buttonFace = [&](int state) {
        TBitmap32 shot = Capture(combo);
        TBitmap32 want = Over(shot, layout.ButtonCell, skin.ComboButton->Bitmap, state, 4);
        const TDataSkinObject& glyph = *skin.ExtraImages;
        DrawRect1(want, CenterIn(layout.GlyphArea, glyph.Bitmap.Width() / 5, glyph.Bitmap.Height()), glyph.Bitmap,
                  state, 5, true);
        return Diff(shot, want, layout.ButtonCell);
    };
    MouseTo(At(combo, cw - 8, ch / 2));
    EXPECT_EQ(buttonFace(kBtnHot), 0);
    MouseButton(true);
    EXPECT_EQ(buttonFace(kBtnPressed), 0);
    MouseButton(false);
    ASSERT_TRUE(WaitFor([&] { return g.ComboList->DroppedDown(); }));
    EXPECT_EQ(buttonFace(kBtnHot), 0) << "dropped";
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    Click(At(info.hwndList, (item.left + item.right) / 2, (item.top + item.bottom) / 2));
    ASSERT_TRUE(WaitFor([&] { return !g.ComboList->DroppedDown(); }));
    EXPECT_EQ(g.ComboList->ItemIndex(), 2);
    EXPECT_EQ(g.Changes, 1);
    MouseTo(At(g.Form->Handle(), 5, 5));
    Pump(400); // the form's hover timer tells the combo the mouse left
    EXPECT_EQ(buttonFace(kBtnHot), 0) << "focused";
    g.Edit->SetFocus();
    Pump(100);
    EXPECT_EQ(buttonFace(kBtnNormal), 0);

    // Tabs switched by a click: the clicked tab takes the selected frame; a bottom strip is the
    // mirrored image, a bottom-and-vertical one is turned to the right side.
    for (TTabControl* t : {static_cast<TTabControl*>(g.Pages), g.TabsBottom, g.TabsRight, g.TabsLeft}) {
        const HWND h = t->Handle();
        const RECT second = ItemRect(h, 1);
        Click(At(h, (second.left + second.right) / 2, (second.top + second.bottom) / 2));
        ASSERT_TRUE(WaitFor([&] { return t->TabIndex() == 1; })) << t->TabPosition();
        Pump(100);
        TRect strip;
        const TBitmap32 want = ExpectedStrip(skin, h, strip);
        got = Capture(h);
        // The outer three rows or columns of the strip, clear of the captions.
        switch (t->TabPosition()) {
        case tpTop:
            EXPECT_EQ(BandDifferences(got, strip, want, true, 0, 3), 0);
            break;
        case tpBottom:
            EXPECT_EQ(BandDifferences(got, strip, want, true, strip.Height() - 3, strip.Height()), 0);
            break;
        case tpRight:
            EXPECT_EQ(BandDifferences(got, strip, want, false, strip.Width() - 3, strip.Width()), 0);
            break;
        case tpLeft:
            EXPECT_EQ(BandDifferences(got, strip, want, false, 0, 3), 0);
            break;
        }
    }
    EXPECT_TRUE(g.Pages->Pages(1)->Visible());
    EXPECT_FALSE(g.Pages->Pages(0)->Visible());

    // The tab set: the clicked third tab selected, faces hanging from the top edge.
    const HWND ts = g.TabSet->Handle();
    RECT tr{};
    GetClientRect(ts, &tr);
    int x3 = -1;
    for (int x = tr.right - 1; x >= 0 && x3 < 0; --x)
        if (g.TabSet->TabAt(x, 5) == 2) x3 = x;
    ASSERT_GE(x3, 0);
    Click(At(ts, x3 - 3, 5));
    ASSERT_TRUE(WaitFor([&] { return g.TabSet->TabIndex() == 2; }));
    Pump(100);
    {
        TBitmap32 want = FaceMap(skin, tr.right, tr.bottom);
        TBitmap32 image = skin.Tabs->Bitmap;
        SpiegelnVertikal(image);
        HDC dc = GetDC(ts);
        HGDIOBJ old = SelectObject(dc, g.TabSet->Font().Handle());
        std::vector<int> widths;
        for (const wchar_t* s : {L"Sheet1", L"A much wider sheet", L"S3"}) {
            SIZE sz{};
            GetTextExtentPoint32W(dc, s, int(wcslen(s)), &sz);
            widths.push_back(sz.cx);
        }
        SelectObject(dc, old);
        ReleaseDC(ts, dc);
        const auto cells = TabSetLayout(tr.right, 5, 5, 0, widths, false);
        for (const TTabSetCell& c : cells)
            DrawRect2(want, TRect{c.Left, 0, c.Right, tr.bottom}, image, skin.Tabs->Margins, c.Index == 2 ? 2 : 1,
                      skin.Tabs->FrameCount, skin.Tabs->Trans == 1, skin.Tabs->Tile != 0, false);
        got = Capture(ts);
        EXPECT_EQ(BandDifferences(got, TRect{0, 0, tr.right, tr.bottom}, want, true, tr.bottom - 3, tr.bottom), 0);
    }

    // The status bar: panels in their bevel frames, the size grip from frame 5 of the extra images.
    // Discovery switched the grip off; a program that wants it back gets the skin's.
    const HWND sb = g.Status->Handle();
    EXPECT_FALSE(g.Status->SizeGrip());
    g.Status->SetSizeGrip(true);
    UpdateWindow(sb);
    got = Capture(sb);
    RECT sr{};
    GetClientRect(sb, &sr);
    const TDataSkinObject& edges = *skin.StatusBarEdges;
    for (int i = 0; i < 2; ++i) {
        RECT pr{};
        SendMessageW(sb, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr));
        const TBitmap32 want = GetHMap(ToT(pr), edges.Bitmap, edges.Margins, i == 0 ? 1 : 2, 3, edges.Tile != 0, false);
        EXPECT_EQ(BandDifferences(got, ToT(pr), want, true, 0, 2), 0) << i;
    }
    const TDataSkinObject& extra = *skin.ExtraImages;
    const TRect grip = SizeGripRect(sr.right, sr.bottom, extra.Bitmap.Width() / 5, extra.Bitmap.Height());
    EXPECT_EQ(Diff(got, Over(got, grip, extra.Bitmap, 5, 5), grip), 0);
    EXPECT_NE(Diff(got, Over(got, grip, extra.Bitmap, 4, 5), grip), 0);

    // A header (skinned here by hand, as a list view's skinner does): an item without text is a
    // plain item frame, and the rest of the bar the first frame.
    const HWND hd = g.Header->Handle();
    TSkinControl* header = CreateSkinner(skHeader, nullptr);
    header->Inithwnd(hd, &skin, skinner.get());
    ASSERT_EQ(header->Status(), kControlSkinned);
    InvalidateRect(hd, nullptr, TRUE);
    Pump(100);
    got = Capture(hd);
    RECT third{};
    SendMessageW(hd, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    const TDataSkinObject& bar = *skin.Headerbar;
    EXPECT_EQ(Differences(got, ToT(third), GetHMap(ToT(third), bar.Bitmap, bar.Margins, 1, 5, bar.Tile != 0, false)),
              0);
    const TRect rest{third.right, 0, 300, 20};
    EXPECT_EQ(Differences(got, rest, GetHMap(rest, bar.Bitmap, bar.Margins, 1, 5, bar.Tile != 0, false)), 0);
}

// Where the skin lacks the image a skinner draws from, the control is drawn by the system, never
// left an unpainted box: a chunk-style progress bar without its chunk, track bars without thumbs,
// a combo box without its button.
TEST_F(EditControls, AbsentImagesLeaveTheSystemsDrawing) {
    TGallery plain(L"TGalleryPlain2");
    Show(plain, false);
    RECT thumb{};
    SendMessageW(plain.TrackH->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    // Its upper part: the pointed lower end shows the form's colour, which skinning changes.
    InflateRect(&thumb, -2, -2);
    thumb.bottom = thumb.top + (thumb.bottom - thumb.top) / 2;
    const TBitmap32 systemThumb = Capture(plain.TrackH->Handle());
    const TBitmap32 systemCombo = Capture(plain.ComboList->Handle());
    plain.Form->Hide();

    skin.Progress->Style = 1;
    skin.Progress->Bitmap2 = TBitmap32();
    skin.TrackbarThumbHorz.reset();
    skin.TrackbarThumbVert.reset();
    skin.ComboButton.reset();
    TGallery g(L"TGalleryNoImages");
    Show(g, true);
    ASSERT_NE(TSkinControl::FromHandle(g.Progress->Handle()), nullptr);
    ASSERT_NE(TSkinControl::FromHandle(g.TrackH->Handle()), nullptr);
    ASSERT_NE(TSkinControl::FromHandle(g.ComboList->Handle()), nullptr);
    InvalidateRect(g.Progress->Handle(), nullptr, TRUE);
    Pump(100);

    // The system's bar fills a third of the bar in the highlight colour.
    TBitmap32 got = Capture(g.Progress->Handle());
    EXPECT_TRUE(Same(got.Pixel(10, 8), Rgb(GetSysColor(COLOR_HIGHLIGHT))));
    EXPECT_FALSE(Same(got.Pixel(90, 8), Rgb(GetSysColor(COLOR_HIGHLIGHT))));
    // The thumb as the system draws it.
    got = Capture(g.TrackH->Handle());
    EXPECT_EQ(Diff(got, systemThumb, ToT(thumb)), 0);
    // The combo box keeps its own look.
    got = Capture(g.ComboList->Handle());
    EXPECT_EQ(Diff(got, systemCombo, TRect{0, 0, got.Width(), got.Height()}), 0);
}

// The chunk style: the bar as one frame, chunks from its left margin laid over the truncated fill,
// and a full bar's chunks kept inside its right margin.
TEST_F(EditControls, ChunkStyleProgress) {
    skin.Progress->Style = 1;
    ASSERT_FALSE(skin.Progress->Bitmap2.Empty());
    TGallery g(L"TGalleryChunks");
    g.Progress2->SetPosition(8);
    Show(g, true);
    const TDataSkinBorder& p = *skin.Progress;
    const TBitmap32& chunk = p.Bitmap2;
    auto expected = [&](int pos, int hi) {
        TBitmap32 want = FaceMap(skin, 100, 16);
        DrawRect2(want, TRect{0, 0, 100, 16}, p.Bitmap, p.Margins, 1, 1, true, p.Tile != 0, false);
        const int fill = ProgressChunkFill(100, pos, hi);
        const int x0 = p.Margins.Left, width = std::min(fill, 100 - p.Margins.Right - x0);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < chunk.Height(); ++y) {
                const TPixel c = chunk.Pixel(x % chunk.Width(), y);
                if (!PixelIs(c, clSkinKey)) want.SetPixel(x0 + x, (16 - chunk.Height()) / 2 + y, c);
            }
        return want;
    };
    TBitmap32 got = Capture(g.Progress->Handle());
    EXPECT_EQ(Differences(got, TRect{0, 0, 100, 16}, expected(1, 3)), 0);
    got = Capture(g.Progress2->Handle());
    EXPECT_EQ(Differences(got, TRect{0, 0, 100, 16}, expected(8, 8)), 0);
    // The bar's right edge is the empty bar's, not a chunk's.
    TBitmap32 empty = FaceMap(skin, 100, 16);
    DrawRect2(empty, TRect{0, 0, 100, 16}, p.Bitmap, p.Margins, 1, 1, true, p.Tile != 0, false);
    EXPECT_EQ(Differences(got, TRect{100 - p.Margins.Right, 0, 100, 16},
                          [&] {
                              TBitmap32 edge(p.Margins.Right, 16);
                              for (int y = 0; y < 16; ++y)
                                  for (int x = 0; x < p.Margins.Right; ++x)
                                      edge.SetPixel(x, y, empty.Pixel(100 - p.Margins.Right + x, y));
                              return edge;
                          }()),
              0);
}

// A window's client area read through a DC: what it shows on the screen (its DC after it has
// painted), or what it prints with WM_PRINTCLIENT into a memory DC first filled with `under`
// (magenta shows what it left unprinted; a parent's background under a control it shows through).
TBitmap32 ClientPixels(HWND hwnd, bool print, int w, int h, TPixel under = PixelRGB(255, 0, 255)) {
    TDib dib;
    if (!dib.Resize(w, h)) return TBitmap32();
    dib.Bits().Fill(under);
    if (print) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
    } else {
        UpdateWindow(hwnd);
        TClientDC dc(hwnd);
        BitBlt(dib.DC(), 0, 0, w, h, dc.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    TBitmap32 copy = dib.Bits();
    // Children are not printed with their parent: their pixels are left out of the comparison.
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        copy.FillRect(TRect{r.left, r.top, r.right, r.bottom}, PixelRGB(0, 0, 0));
    }
    return copy;
}

int ColoursIn(const TBitmap32& b) {
    std::set<TPixel> seen;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            seen.insert(b.Pixel(x, y) & 0xFFFFFF);
    return int(seen.size());
}

// Every kind of skinned control asked to print itself gives the face the screen shows.
TEST_F(EditControls, PrintedFacesAreTheSkinnedFaces) {
    TGallery g(L"TGalleryPrint");
    auto* button = new TButton(g.Form, g.Form);
    button->SetCaption(L"Button");
    button->SetBounds(320, 280, 90, 26);
    auto* check = new TCheckBox(g.Form, g.Form);
    check->SetCaption(L"Check");
    check->SetBounds(320, 310, 90, 20);
    check->SetChecked(true);
    auto* radio = new TRadioButton(g.Form, g.Form);
    radio->SetCaption(L"Radio");
    radio->SetBounds(420, 310, 90, 20);
    auto* group = new TGroupBox(g.Form, g.Form);
    group->SetCaption(L"Group");
    group->SetBounds(420, 250, 130, 55);
    auto* bar = new TScrollBar(g.Form, g.Form);
    bar->SetBounds(320, 340, 200, 17);
    Show(g, true);
    // Nothing focused shows a caret or a focus frame that blinks between the two reads.
    SetFocus(nullptr);
    MouseTo(At(g.Form->Handle(), 5, 5));
    Pump(200);

    // The group box paints its frame and caption only: printed over the form's colour, as its
    // parent's double buffering prints it.
    const TPixel magenta = PixelRGB(255, 0, 255), form = Face(skin);
    const struct {
        const char* Name;
        HWND Window;
        TPixel Under;
    } cases[] = {
        {"button", button->Handle(), magenta},
        {"check box", check->Handle(), magenta},
        {"radio button", radio->Handle(), magenta},
        {"group box", group->Handle(), form},
        {"scroll bar", bar->Handle(), magenta},
        {"edit", g.Edit->Handle(), magenta},
        {"combo list", g.ComboList->Handle(), magenta},
        {"up-down", g.UpDownV->Handle(), magenta},
        {"progress", g.Progress->Handle(), magenta},
        {"chunk progress", g.Progress2->Handle(), magenta},
        {"track bar", g.TrackH->Handle(), magenta},
        {"page control", g.Pages->Handle(), magenta},
        {"bottom tabs", g.TabsBottom->Handle(), magenta},
        {"tab set", g.TabSet->Handle(), magenta},
        {"status bar", g.Status->Handle(), magenta},
    };
    for (const auto& [name, hwnd, under] : cases) {
        SCOPED_TRACE(name);
        ASSERT_NE(TSkinControl::FromHandle(hwnd), nullptr);
        RECT c{};
        GetClientRect(hwnd, &c);
        const TBitmap32 screen = ClientPixels(hwnd, false, c.right, c.bottom);
        const TBitmap32 printed = ClientPixels(hwnd, true, c.right, c.bottom, under);
        ASSERT_FALSE(screen.Empty());
        EXPECT_EQ(Differences(printed, TRect{0, 0, c.right, c.bottom}, screen), 0);
        if (HasFailure()) {
            SavePng(screen, std::string("print_screen_") + name);
            SavePng(printed, std::string("print_printed_") + name);
        }
    }
}

// A control too large for any off-screen buffer (more pixels than a DIB may have) still shows
// the control's own painting rather than nothing, on the screen and printed, and takes its
// skinned face again once it is small.
TEST_F(EditControls, ControlsTooLargeForABufferPaintThemselves) {
    TGallery g(L"TGalleryHuge");
    auto* button = new TButton(g.Form, g.Form);
    button->SetCaption(L"Huge");
    button->SetBounds(320, 300, 90, 26);
    // The fill ends inside the corner that is looked at: two colours there.
    g.Progress2->SetRange(0, 1000);
    g.Progress2->SetPosition(3);
    const int huge = int(std::sqrt(double(TBitmap32::kMaxPixels))) + 100;
    Show(g, true);
    MouseTo(At(g.Form->Handle(), 5, 5));
    for (TWinControl* control : {static_cast<TWinControl*>(button), static_cast<TWinControl*>(g.Progress2)}) {
        const HWND hwnd = control->Handle();
        SCOPED_TRACE(WindowClassName(hwnd));
        ASSERT_NE(TSkinControl::FromHandle(hwnd), nullptr);
        const TRect small{control->Left(), control->Top(), control->Left() + control->Width(),
                          control->Top() + control->Height()};
        const TBitmap32 skinned = ClientPixels(hwnd, false, small.Width(), small.Height());
        // On top of its siblings, so that its corner shows.
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        control->SetBounds(small.Left, small.Top, huge, huge);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const TBitmap32 screen = ClientPixels(hwnd, false, 60, 16);
        const TBitmap32 printed = ClientPixels(hwnd, true, 60, 16);
        EXPECT_GT(ColoursIn(screen), 1);
        EXPECT_EQ(Differences(printed, TRect{0, 0, 60, 16}, screen), 0);
        control->SetBounds(small.Left, small.Top, small.Width(), small.Height());
        Pump(100);
        const TBitmap32 back = ClientPixels(hwnd, false, small.Width(), small.Height());
        EXPECT_EQ(Differences(back, TRect{0, 0, small.Width(), small.Height()}, skinned), 0);
        if (HasFailure()) SavePng(Capture(g.Form->Handle()), "huge_" + WideToUtf8(WindowClassName(hwnd)));
    }
}

} // namespace
