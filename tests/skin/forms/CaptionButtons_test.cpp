// Caption button faces: which buttons a paint draws, the frame each state shows, the window's icon,
// and what shows through a face's transparent parts.
#include "skin/forms/CaptionButtons.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFw = 8, kFh = 6;                    // one frame of the button image
constexpr TPixel kBack = PixelRGB(20, 40, 60);     // the caption before the buttons
constexpr TPixel kPrevious = PixelRGB(90, 90, 90); // what was painted last (an earlier face)
const TRect kRect = Bounds(5, 3, kFw, kFh);

TPixel FrameColour(int frame) {
    return PixelRGB(std::uint8_t(40 * frame), 200, 100);
}

// A strip of `frames` frames, each its own colour with a magenta pixel at (1, 1).
TDataSkinSysButton Button(int action, int frames) {
    TDataSkinSysButton b;
    b.Action = action;
    b.FrameCount = frames;
    b.Bitmap = TBitmap32(kFw * frames, kFh);
    for (int f = 0; f < frames; ++f) {
        b.Bitmap.FillRect(Bounds(f * kFw, 0, kFw, kFh), FrameColour(f + 1));
        b.Bitmap.SetPixel(f * kFw + 1, 1, PixelFromColor(clSkinKey));
    }
    return b;
}

// A 3 x 2 window icon: opaque red, transparent, half-covering blue (premultiplied); second row opaque.
TBitmap32 Icon() {
    TBitmap32 icon = Filled(3, 2, PixelRGB(0, 255, 0));
    icon.SetPixel(0, 0, PixelRGB(255, 0, 0));
    icon.SetPixel(1, 0, 0);
    icon.SetPixel(2, 0, PixelRGB(0, 0, 100, 128));
    return icon;
}

// The half-covering icon pixel over kBack: its colour plus kBack's times 127 / 255, rounded.
constexpr TPixel kHalfBlue = PixelRGB(10, 20, 130);

TEST(CaptionButtons, FaceForEveryStateOverTheCaption) {
    struct Case {
        int state;
        bool active;
        int frames;
        bool icon;
        int frame; // expected; 0 for the icon
        int visibility = 0;
    };
    const Case cases[] = {
        {kStateNormal, true, 1, false, 1},   {kStateNormal, false, 1, false, 1},  {kStateHot, true, 1, false, 1},
        {kStatePressed, false, 1, false, 1}, {kStateNormal, true, 3, false, 1},   {kStateNormal, false, 3, false, 1},
        {kStateHot, true, 3, false, 3},      {kStateHot, false, 3, false, 3},     {kStatePressed, true, 3, false, 2},
        {kStateNormal, true, 4, false, 1},   {kStateNormal, false, 4, false, 4},  {kStateHot, true, 4, false, 3},
        {kStatePressed, false, 4, false, 2}, {kStatePressed, true, 4, false, 2},  {kStateNormal, true, 4, true, 0},
        {kStateNormal, false, 4, true, 0},   {kStateHot, true, 1, true, 0},       {kStatePressed, false, 3, true, 0},
        {kStateHot, true, 4, false, 4, 100}, // a maximized MDI child's button
    };
    const TBitmap32 back = Filled(30, 14, kBack);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " active " << c.active << " frames " << c.frames
                                        << " icon " << c.icon);
        TDataSkinSysButton b = Button(c.icon ? sbaIcon : sbaClose, c.frames);
        b.Visibility = c.visibility;
        ASSERT_TRUE(SysButtonDrawn(b, true, kRect, c.state == kStateNormal ? TFacePass::Caption : TFacePass::Mouse));
        TBitmap32 caption = Filled(30, 14, kPrevious);
        DrawSysButtonFace(caption, back, kRect, b, c.state, c.active, Icon());
        for (int y = 0; y < caption.Height(); ++y)
            for (int x = 0; x < caption.Width(); ++x) {
                const int bx = x - kRect.Left, by = y - kRect.Top;
                TPixel want = kBack;
                if (!kRect.Contains(x, y))
                    want = kPrevious;
                else if (c.icon && bx < 3 && by < 2)
                    want = by == 1 ? PixelRGB(0, 255, 0) : bx == 0 ? PixelRGB(255, 0, 0) : bx == 1 ? kBack : kHalfBlue;
                else if (!c.icon && !(bx == 1 && by == 1))
                    want = FrameColour(c.frame);
                ASSERT_EQ(caption.Pixel(x, y), want) << "at " << x << "," << y;
            }

        // The same face drawn alone, as the mouse paints it over a piece of the button's size
        // holding the caption under it, is the face the caption shows.
        TBitmap32 piece(kRect.Width(), kRect.Height());
        DrawBitmap(piece, -kRect.Left, -kRect.Top, back);
        DrawSysButtonFace(piece, piece, piece.BoundsRect(), b, c.state, c.active, Icon());
        TBitmap32 cut(kRect.Width(), kRect.Height());
        DrawBitmap(cut, -kRect.Left, -kRect.Top, caption);
        EXPECT_EQ(piece, cut);
    }
}

TEST(CaptionButtons, WhichButtonsAPaintDraws) {
    const TDataSkinSysButton shown = Button(sbaClose, 4);
    TDataSkinSysButton menuBar = shown, noImage = shown;
    menuBar.Align = 100;
    noImage.Bitmap = TBitmap32();
    struct Case {
        const TDataSkinSysButton* b;
        bool visible;
        TRect r;
        bool caption, menu, mouse;
    };
    const Case cases[] = {
        {&shown, true, kRect, true, false, true},    {&shown, false, kRect, false, false, false},
        {&shown, true, TRect{}, false, false, false}, {&noImage, true, kRect, false, false, false},
        {&menuBar, true, kRect, false, true, true},  {&menuBar, false, kRect, false, false, false},
    };
    const TBitmap32 back = Filled(30, 14, kBack);
    for (const Case& c : cases) {
        EXPECT_EQ(SysButtonDrawn(*c.b, c.visible, c.r, TFacePass::Caption), c.caption);
        EXPECT_EQ(SysButtonDrawn(*c.b, c.visible, c.r, TFacePass::MenuBar), c.menu);
        EXPECT_EQ(SysButtonDrawn(*c.b, c.visible, c.r, TFacePass::Mouse), c.mouse);
        // The caption pass leaves the strip as it was for every button it does not draw.
        TBitmap32 caption = Filled(30, 14, kPrevious);
        if (SysButtonDrawn(*c.b, c.visible, c.r, TFacePass::Caption))
            DrawSysButtonFace(caption, back, c.r, *c.b, kStateNormal, true, Icon());
        EXPECT_EQ(caption == Filled(30, 14, kPrevious), !c.caption);
    }
    // A rectangle hanging over the strip's edge draws only what lies on it; an icon larger than
    // the rectangle is cut to it.
    TBitmap32 caption = Filled(30, 14, kPrevious);
    DrawSysButtonFace(caption, back, Bounds(26, 10, kFw, kFh), shown, kStateNormal, true, Icon());
    EXPECT_EQ(caption.Pixel(29, 13), FrameColour(1));
    EXPECT_EQ(caption.Pixel(25, 13), kPrevious);
    caption = Filled(30, 14, kPrevious);
    DrawSysButtonFace(caption, back, Bounds(5, 3, 2, 1), Button(sbaIcon, 1), kStateNormal, true, Icon());
    EXPECT_EQ(caption.Pixel(5, 3), PixelRGB(255, 0, 0));
    EXPECT_EQ(caption.Pixel(7, 3), kPrevious);
    EXPECT_EQ(caption.Pixel(5, 4), kPrevious);
}

TEST(CaptionButtons, WindowIconFromItsPictures) {
    // The icon drawn over black and over white, as the system draws it: premultiplied colour plus
    // what each background lets through.
    const TBitmap32 icon = Icon();
    TBitmap32 overBlack(3, 2), overWhite(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const TPixel p = icon.Pixel(x, y);
            const int through = 255 - int(p >> 24);
            auto white = [&](std::uint8_t v) { return std::uint8_t(v + through); };
            overBlack.SetPixel(x, y, PixelRGB(PixelR(p), PixelG(p), PixelB(p)));
            overWhite.SetPixel(x, y, PixelRGB(white(PixelR(p)), white(PixelG(p)), white(PixelB(p))));
        }
    EXPECT_EQ(IconFromBlackWhite(overBlack, overWhite), icon);
    EXPECT_TRUE(IconFromBlackWhite(overBlack, TBitmap32(2, 2)).Empty());

    // A keyed image: the key transparent, everything else opaque.
    TBitmap32 keyed = Filled(2, 1, PixelRGB(1, 2, 3, 0));
    keyed.SetPixel(1, 0, PixelFromColor(clSkinKey));
    const TBitmap32 fromKeyed = IconFromKeyed(keyed, clSkinKey);
    EXPECT_EQ(fromKeyed.Pixel(0, 0), PixelRGB(1, 2, 3));
    EXPECT_EQ(fromKeyed.Pixel(1, 0) >> 24, 0u);
    TBitmap32 caption = Filled(4, 4, kPrevious);
    DrawSysButtonFace(caption, Filled(4, 4, kBack), Bounds(1, 1, 2, 2), Button(sbaIcon2, 1), kStateNormal, true,
                      fromKeyed);
    EXPECT_EQ(caption.Pixel(1, 1), PixelRGB(1, 2, 3));
    EXPECT_EQ(caption.Pixel(2, 1), kBack);
}

} // namespace
