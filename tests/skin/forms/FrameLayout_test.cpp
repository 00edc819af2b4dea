// The skinned frame's geometry: metrics, client rectangle, caption buttons, title, hit testing,
// region rectangles and the non-client objects' state machine.
#include "skin/forms/FrameLayout.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

namespace {

TDataSkinSysButton Button(int action, int align, int x, int vis, int vis1, int frames = 4, int fw = 16) {
    TDataSkinSysButton b;
    b.Action = action;
    b.Align = align;
    b.Xcoord = x;
    b.Ycoord = 4;
    b.Visibility = vis;
    b.Visibility1 = vis1;
    b.FrameCount = frames;
    b.Bitmap = Filled(fw * frames, 14, PixelRGB(1, 2, 3));
    return b;
}

TCaptionState State(TSkinFormIcons icons, TSkinWindowState ws = swsNormal, bool active = true) {
    TCaptionState s;
    s.Icons = icons;
    s.State = ws;
    s.Active = active;
    s.Width = 400;
    s.Metrics = TFrameMetrics{6, 30, 6, 4, 0};
    return s;
}

TEST(FrameLayout, MetricsDivideByFrameCountsAndNeverByZero) {
    TSkinModel skin;
    skin.BorderLeft.Bitmap = Filled(12, 40, 0);
    skin.BorderLeft.FrameCount = 2;
    skin.BorderRight.Bitmap = Filled(12, 40, 0);
    skin.BorderRight.FrameCount = 0; // absent count reads as one frame
    skin.BorderTop.Bitmap = Filled(50, 60, 0);
    skin.BorderTop.FrameCount = 2;
    skin.BorderBottom.Bitmap = Filled(50, 8, 0);
    skin.BorderBottom.FrameCount = 2;
    const TFrameMetrics m = FrameMetricsOf(skin, sbsSingle, 19);
    EXPECT_EQ(m.Left, 6);
    EXPECT_EQ(m.Right, 12);
    EXPECT_EQ(m.Caption, 30);
    EXPECT_EQ(m.Bottom, 4);
    EXPECT_EQ(m.MenuBar, 19);
    const TFrameMetrics none = FrameMetricsOf(skin, sbsNone, 19);
    EXPECT_EQ(none.Left + none.Caption + none.Right + none.Bottom + none.MenuBar, 0);

    EXPECT_EQ(SkinClientRect(TRect{100, 50, 443, 300}, m), (TRect{106, 99, 431, 296}));
    // Smaller than its frame: an empty client area, never an inverted one.
    const TRect tiny = SkinClientRect(TRect{0, 0, 10, 10}, m);
    EXPECT_TRUE(tiny.IsEmpty());
    EXPECT_FALSE(tiny.IsInverted());

    TDataSkinObject border;
    for (auto [count, active, frame] : {std::tuple{2, true, 1}, {2, false, 2}, {1, false, 1}, {0, false, 1}}) {
        border.FrameCount = count;
        EXPECT_EQ(BorderFrame(border, active), frame) << count << active;
    }
}

TEST(FrameLayout, VisibilityByBothConditionsAndTheActionRule) {
    const TSkinFormIcons all = sbiMax | sbiMin | sbisystem;
    struct Case {
        int action, vis, vis1;
        TSkinFormIcons icons;
        TSkinWindowState ws;
        bool active;
        TSkinFormBorder border;
        bool visible;
    } cases[] = {
        {0, 0, 0, all, swsNormal, true, sbsSingle, true},
        {0, 0, 0, sbiMax | sbiMin, swsNormal, true, sbsSingle, false}, // close without a system menu
        {1, 6, 2, all, swsNormal, true, sbsSingle, true},              // maximize while normal
        {1, 6, 2, all, swsMax, true, sbsSingle, false},
        {1, 6, 1, all, swsMax, true, sbsSingle, true},                    // restore while maximized
        {1, 0, 0, sbiMin | sbisystem, swsNormal, true, sbsSingle, false}, // no maximize box, whatever it says
        {2, 8, 0, all, swsNormal, true, sbsSingle, true},
        {2, 8, 0, sbiMin, swsNormal, true, sbsSingle, false}, // needs the system menu too
        {2, 9, 0, all, swsNormal, true, sbsSingle, false},
        {5, 3, 3, all, swsNormal, true, sbsSingle, true},
        {5, 3, 3, all, swsNormal, false, sbsSingle, false},
        {5, 4, 4, all, swsNormal, false, sbsSingle, true},
        {5, 7, 7, sbiMin, swsNormal, true, sbsSingle, true},
        {5, 250, 2000, 0, swsNormal, true, sbsSingle, true},
        {5, 5, 0, all, swsNormal, true, sbsSingle, false},
        {5, 2001, 0, all, swsNormal, true, sbsSingle, false},
        {3, 0, 0, all, swsNormal, true, sbsDialog, false}, // no icon on dialogs
        {12, 0, 0, all, swsNormal, true, sbsSingle, true},
        {5, 100, 100, all, swsNormal, true, sbsSingle, false}, // no maximized MDI child
    };
    for (const Case& c : cases) {
        TCaptionState s = State(c.icons, c.ws, c.active);
        s.Border = c.border;
        EXPECT_EQ(SysButtonVisible(Button(c.action, 1, 24, c.vis, c.vis1), s), c.visible)
            << "action " << c.action << " vis " << c.vis << "/" << c.vis1;
    }
    TCaptionState mdi = State(all);
    mdi.MDIChildMaximized = true;
    mdi.Metrics.MenuBar = 19;
    EXPECT_TRUE(SysButtonVisible(Button(7, 100, 10, 100, 100), mdi));
}

TEST(FrameLayout, ButtonPlacementFramesAndTheTitleClip) {
    TCaptionState s = State(sbiMax | sbiMin | sbisystem);
    s.TextRect = TRect{40, 8, 140, 24};
    s.Metrics.MenuBar = 20;
    s.MenuTileLeft = 4;
    struct Case {
        int align, x;
        TRect rect;
    } cases[] = {
        {0, 8, Bounds(8, 4, 16, 14)},
        {1, 40, Bounds(360, 4, 16, 14)},
        {2, 3, Bounds(40 - 16 - 3, 4, 16, 14)},
        {8, 0, Bounds(24, 4, 16, 14)},
        {3, 3, Bounds(143, 4, 16, 14)},
        {9, 0, Bounds(140, 4, 16, 14)},
        {100, 10, Bounds(400 - 10 - 6 - 4, 30 + 3, 16, 14)},
        {77, 10, Bounds(0, 0, 16, 14)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SysButtonRect(Button(0, c.align, c.x, 0, 0), s), c.rect) << c.align;
    s.RightToLeft = true;
    EXPECT_EQ(SysButtonRect(Button(0, 100, 10, 0, 0), s).Left, 10 + 6 + 4);
    TDataSkinSysButton none = Button(0, 1, 40, 0, 0);
    none.Bitmap = TBitmap32();
    EXPECT_TRUE(SysButtonRect(none, s).IsEmpty());

    // The smallest left edge of the visible right-anchored buttons bounds a popup's title.
    const std::vector<TDataSkinSysButton> row = {Button(0, 1, 24, 0, 0), Button(1, 1, 44, 6, 2), Button(2, 1, 64, 8, 0),
                                                 Button(1, 1, 90, 6, 1)}; // restore: hidden while normal
    std::vector<const TDataSkinSysButton*> rowRefs;
    for (const TDataSkinSysButton& b : row)
        rowRefs.push_back(&b);
    EXPECT_EQ(RightButtonsLeft(rowRefs, State(sbiMax | sbiMin | sbisystem)), 400 - 64);
    EXPECT_EQ(RightButtonsLeft(rowRefs, State(sbisystem)), 400 - 24);
    EXPECT_EQ(RightButtonsLeft({}, s), 0);

    // Faces: state frames within the strip; inactive normal face and MDI hot face use frame 4.
    const TDataSkinSysButton four = Button(0, 1, 24, 0, 0), one = Button(0, 1, 24, 0, 0, 1),
                             mdi = Button(7, 100, 10, 100, 100);
    EXPECT_EQ(SysButtonFrame(four, kStateNormal, true), 1);
    EXPECT_EQ(SysButtonFrame(four, kStateNormal, false), 4);
    EXPECT_EQ(SysButtonFrame(four, kStatePressed, true), 2);
    EXPECT_EQ(SysButtonFrame(four, kStateHot, true), 3);
    EXPECT_EQ(SysButtonFrame(mdi, kStateHot, true), 4);
    for (int state : {kStateNormal, kStatePressed, kStateHot})
        EXPECT_EQ(SysButtonFrame(one, state, false), 1);
}

TEST(FrameLayout, TitleLayout) {
    TDataSkinTitle title;
    title.Margins = TRect{26, 4, 72, 0}; // TextShift, TextShiftVert, TextRightClip
    title.TXTBackleft = 6;
    title.TXTBackRight = 6;
    TTitleInput in;
    in.Caption = TRect{6, 0, 394, 30};
    in.TextWidth = 100;
    in.TextHeight = 16;
    TTitleLayout t = TitleLayout(title, in);
    EXPECT_EQ(t.Stored, (TRect{32, 9, 144, 25}));
    EXPECT_EQ(t.Back, (TRect{32, 0, 144, 30}));
    EXPECT_EQ(t.Text, (TRect{38, 9, 138, 25}));

    title.TextAlignment = 1;
    EXPECT_EQ(TitleLayout(title, in).Stored.Left, 6 + (388 - 112) / 2);
    title.TextAlignment = 2;
    EXPECT_EQ(TitleLayout(title, in).Stored.Left, 6 + 388 - 72 - 112);
    title.TextAlignment = 0;
    in.RightToLeft = true;
    EXPECT_EQ(TitleLayout(title, in).Stored.Left, 6 + 388 - 72 - 112);
    in.RightToLeft = false;

    // A long title stops at the clip width, or for a popup 5 pixels before its buttons.
    in.TextWidth = 1000;
    EXPECT_EQ(TitleLayout(title, in).Stored.Right, 394 - 72);
    in.Popup = true;
    in.RightButtonsLeft = 336;
    EXPECT_EQ(TitleLayout(title, in).Stored.Right, 331);
    in.RightButtonsLeft = 5; // no buttons worth clipping at
    EXPECT_EQ(TitleLayout(title, in).Stored.Right, 32 + 1012);
    in.Popup = false;
    in.Border = sbsDialog;
    EXPECT_EQ(TitleLayout(title, in).Stored.Left, 32 - 16);
    title.Margins.Left = 8; // too small a shift to give up: the title starts where the strip does
    EXPECT_EQ(TitleLayout(title, in).Stored.Left, 6);
}

TEST(FrameLayout, HitTestRefinementAndDialogWidth) {
    const TFrameMetrics m{6, 30, 6, 4, 20};
    struct Case {
        int code, y, result;
    } cases[] = {{0, 2, 0}, {0, 4, 2}, {2, 3, 2}, {2, 30, 2}, {2, 31, 5}, {0, 45, 5}, {1, 45, 1}, {17, 10, 17}};
    for (const Case& c : cases)
        EXPECT_EQ(RefineHitTest(c.code, c.y, m), c.result) << c.code << " " << c.y;

    TDataSkinTitle title;
    title.Margins = TRect{26, 0, 72, 0};
    title.TXTBackleft = 6;
    title.TXTBackRight = 6;
    EXPECT_EQ(DialogMinWidth(10, 4, m, title), 15 * 4 + 12 + 26 + 72 + 12 + 14);
}

TEST(FrameLayout, RegionRectangles) {
    TSkinModel skin;
    const TPixel face = PixelRGB(10, 20, 30), key = PixelFromColor(clSkinKey);
    skin.BorderLeft.Bitmap = Filled(4, 20, face);
    skin.BorderRight.Bitmap = Filled(4, 20, face);
    skin.BorderTop.Bitmap = Filled(20, 10, face);
    skin.BorderBottom.Bitmap = Filled(20, 3, face);
    // Key-coloured bottom corners: only the bottom border is transparent.
    skin.BorderBottom.Bitmap.SetPixel(0, 2, key);
    skin.BorderBottom.Bitmap.SetPixel(19, 2, key);
    skin.BorderBottom.Margins = TRect{2, 0, 2, 0};
    for (TDataSkinBorder* b : {&skin.BorderLeft, &skin.BorderRight, &skin.BorderTop, &skin.BorderBottom}) {
        b->FrameCount = 1;
        b->Tile = 1;
    }
    const TFrameMetrics m = FrameMetricsOf(skin, sbsSingle, 0);
    bool whole = true;
    auto covered = [](const std::vector<TRect>& rects, int x, int y) {
        for (const TRect& r : rects)
            if (r.Contains(x, y)) return true;
        return false;
    };
    std::vector<TRect> rects = FrameRegionRects(skin, m, 100, 60, false, true, nullptr, whole);
    EXPECT_TRUE(whole); // nothing transparent yet
    EXPECT_TRUE(rects.empty());

    skin.BorderBottom.Trans = 1;
    rects = FrameRegionRects(skin, m, 100, 60, false, true, nullptr, whole);
    EXPECT_FALSE(whole);
    EXPECT_FALSE(covered(rects, 4, 59)); // the bottom border's key corner
    EXPECT_FALSE(covered(rects, 95, 59));
    EXPECT_TRUE(covered(rects, 50, 59));
    EXPECT_TRUE(covered(rects, 0, 0)); // opaque borders give their whole rectangle
    EXPECT_TRUE(covered(rects, 50, 30));

    // A transparent border one pixel thin is kept whole.
    skin.BorderLeft.Bitmap = Filled(1, 20, key);
    skin.BorderLeft.Trans = 1;
    const TFrameMetrics thin = FrameMetricsOf(skin, sbsSingle, 0);
    rects = FrameRegionRects(skin, thin, 100, 60, false, true, nullptr, whole);
    EXPECT_TRUE(covered(rects, 0, 30));

    // The top border comes from the painted caption strip when it fits the width.
    skin.BorderTop.Trans = 1;
    TBitmap32 strip = Filled(100, 10, face);
    strip.SetPixel(50, 0, key);
    rects = FrameRegionRects(skin, thin, 100, 60, false, true, &strip, whole);
    EXPECT_FALSE(covered(rects, 50, 0));
    EXPECT_TRUE(covered(rects, 51, 0));
    TBitmap32 narrow = Filled(90, 10, key); // painted for another width: not used
    rects = FrameRegionRects(skin, thin, 100, 60, false, true, &narrow, whole);
    EXPECT_TRUE(covered(rects, 50, 0));

    // Borders of legal but absurd thickness are cut to what a frame may be, so the shape of a
    // large window is still made (no bitmap past what one may hold is asked for).
    skin.BorderTop.Bitmap = Filled(1, 250000, key);
    skin.BorderLeft.Bitmap = Filled(250000, 1, key);
    skin.BorderLeft.Trans = 1;
    const TFrameMetrics huge = FrameMetricsOf(skin, sbsSingle, 0);
    EXPECT_EQ(huge.Caption, kMaxFrameThickness);
    EXPECT_EQ(huge.Left, kMaxFrameThickness);
    EXPECT_NO_THROW(rects = FrameRegionRects(skin, huge, 4000, 3000, false, true, nullptr, whole));
    EXPECT_FALSE(covered(rects, 10, 10)); // all key colour: cut away
    EXPECT_TRUE(covered(rects, 2000, 1500));
}

struct CountingObject : TNCObject {
    using TNCObject::TNCObject;
    void Draw() override { draws.push_back(State); }
    std::vector<int> draws;
};

TEST(FrameLayout, NonClientObjectStateMachine) {
    TNCHost host;
    CountingObject a(&host), b(&host);
    a.MouseEnter();
    a.MouseEnter(); // already hot: nothing
    EXPECT_EQ(host.HotObject, &a);
    b.MouseDown(); // a leaves first
    EXPECT_EQ(a.draws, (std::vector<int>{kStateHot, kStateNormal}));
    EXPECT_EQ(host.HotObject, &b);
    b.MouseUp();
    b.MouseLeave();
    EXPECT_EQ(b.draws, (std::vector<int>{kStatePressed, kStateHot, kStateNormal}));
    EXPECT_EQ(host.HotObject, nullptr);

    a.Visible = false;
    a.MouseEnter();
    a.MouseDown();
    EXPECT_EQ(a.draws.size(), 2u);
    EXPECT_EQ(host.HotObject, nullptr);
    {
        CountingObject gone(&host);
        gone.MouseEnter();
        EXPECT_EQ(host.HotObject, &gone);
    }
    EXPECT_EQ(host.HotObject, nullptr); // a freed object never stays hot
}

} // namespace
