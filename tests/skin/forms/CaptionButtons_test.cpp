// Caption button faces: which buttons a paint draws, the frame each state shows, the window's icon,
// and what shows through a face's transparent parts.
#include "skin/forms/CaptionButtons.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr TPixel kBack = PixelRGB(20, 40, 60);     // the caption before the buttons
constexpr TPixel kPrevious = PixelRGB(90, 90, 90); // what was painted last: an earlier face
constexpr TPixel kRed = PixelRGB(255, 0, 0);
const TRect kRect = Bounds(5, 3, 8, 6);

TPixel FrameColour(int frame) {
    return PixelRGB(std::uint8_t(40 * frame), 200, 100);
}

// An image of `frames` 8 x 6 frames, each of its own colour with a magenta pixel at (1, 1).
TDataSkinSysButton Button(int action, int frames, int align = 0) {
    TDataSkinSysButton b;
    b.Action = action;
    b.Align = align;
    b.FrameCount = frames;
    b.Bitmap = TBitmap32(8 * frames, 6);
    for (int f = 0; f < frames; ++f) {
        b.Bitmap.FillRect(Bounds(f * 8, 0, 8, 6), FrameColour(f + 1));
        b.Bitmap.SetPixel(f * 8 + 1, 1, PixelFromColor(clSkinKey));
    }
    return b;
}

// A 3 x 1 window icon: opaque red, transparent, and blue covering half (premultiplied).
TBitmap32 Icon() {
    TBitmap32 icon(3, 1);
    icon.SetPixel(0, 0, kRed);
    icon.SetPixel(2, 0, PixelRGB(0, 0, 100, 128));
    return icon;
}

TEST(CaptionButtons, FaceOfEveryStateOverTheCaption) {
    const TPixel halfBlue = PixelRGB(10, 20, 130); // the icon's blue plus kBack times 127 / 255
    const TBitmap32 back = Filled(30, 14, kBack);
    // State, active, frame count, window-icon button, visibility; the frame shown (0: the icon).
    const std::tuple<int, bool, int, bool, int, int> cases[] = {
        {kStateNormal, true, 1, false, 0, 1},   {kStateNormal, false, 1, false, 0, 1},
        {kStateHot, true, 1, false, 0, 1},      {kStatePressed, false, 1, false, 0, 1},
        {kStateNormal, false, 3, false, 0, 1},  {kStateHot, false, 3, false, 0, 3},
        {kStatePressed, true, 3, false, 0, 2},  {kStateNormal, true, 4, false, 0, 1},
        {kStateNormal, false, 4, false, 0, 4},  {kStateHot, true, 4, false, 0, 3},
        {kStatePressed, false, 4, false, 0, 2}, {kStateHot, true, 4, false, 100, 4},
        {kStateNormal, false, 4, true, 0, 0},   {kStateHot, true, 1, true, 0, 0},
        {kStatePressed, false, 3, true, 0, 0},
    };
    for (const auto& [state, active, frames, icon, visibility, frame] : cases) {
        SCOPED_TRACE(testing::Message() << "state " << state << " active " << active << " frames " << frames << " icon "
                                        << icon << " visibility " << visibility);
        TDataSkinSysButton b = Button(icon ? sbaIcon : sbaClose, frames);
        b.Visibility = visibility;
        TBitmap32 caption = Filled(30, 14, kPrevious);
        DrawSysButtonFace(caption, back, kRect, b, state, active, Icon());
        for (int y = 0; y < caption.Height(); ++y)
            for (int x = 0; x < caption.Width(); ++x) {
                const int bx = x - kRect.Left, by = y - kRect.Top;
                const bool in = kRect.Contains(x, y), key = bx == 1 && by == 1;
                TPixel want = in ? kBack : kPrevious;
                if (in && icon && by == 0 && bx < 3)
                    want = bx == 0 ? kRed : bx == 1 ? kBack : halfBlue;
                else if (in && !icon && !key)
                    want = FrameColour(frame);
                ASSERT_EQ(caption.Pixel(x, y), want) << "at " << x << "," << y;
            }
        // Drawn alone over a piece of its own size holding the caption under it, as the mouse
        // paints it, the face is the one the caption shows.
        TBitmap32 piece(kRect.Width(), kRect.Height()), cut = piece;
        DrawBitmap(piece, -kRect.Left, -kRect.Top, back);
        DrawSysButtonFace(piece, piece, piece.BoundsRect(), b, state, active, Icon());
        DrawBitmap(cut, -kRect.Left, -kRect.Top, caption);
        EXPECT_EQ(piece, cut);
    }
}

TEST(CaptionButtons, WhichButtonsAreDrawnAndTheIconPictures) {
    const TDataSkinSysButton shown = Button(sbaClose, 4), menuBar = Button(sbaMDIClose, 4, 100);
    TDataSkinSysButton noImage = shown;
    noImage.Bitmap = TBitmap32();
    // Button, visible, rectangle; drawn by the caption pass, the menu bar pass, the mouse.
    const std::tuple<const TDataSkinSysButton*, bool, TRect, bool, bool, bool> cases[] = {
        {&shown, true, kRect, true, false, true},     {&shown, false, kRect, false, false, false},
        {&shown, true, TRect{}, false, false, false}, {&noImage, true, kRect, false, false, false},
        {&menuBar, true, kRect, false, true, true},   {&menuBar, false, kRect, false, false, false}};
    for (const auto& [b, visible, r, caption, menu, mouse] : cases) {
        EXPECT_EQ(SysButtonDrawn(*b, visible, r, TFacePass::Caption), caption);
        EXPECT_EQ(SysButtonDrawn(*b, visible, r, TFacePass::MenuBar), menu);
        EXPECT_EQ(SysButtonDrawn(*b, visible, r, TFacePass::Mouse), mouse);
    }
    // A rectangle over the strip's edge draws what lies on the strip; an icon larger than its
    // rectangle is cut to it.
    TBitmap32 caption = Filled(30, 14, kPrevious);
    DrawSysButtonFace(caption, Filled(30, 14, kBack), Bounds(26, 10, 8, 6), shown, kStateNormal, true, Icon());
    DrawSysButtonFace(caption, caption, Bounds(5, 3, 2, 1), Button(sbaIcon2, 1), kStateNormal, true, Icon());
    EXPECT_EQ(caption.Pixel(29, 13), FrameColour(1));
    EXPECT_EQ(caption.Pixel(25, 13), kPrevious);
    EXPECT_EQ(caption.Pixel(5, 3), kRed);
    EXPECT_EQ(caption.Pixel(7, 3), kPrevious);

    // The icon as the system draws it over black (its premultiplied colour) and over white (plus
    // what it lets through) gives the icon back; a keyed image becomes opaque, its key transparent.
    TBitmap32 black = Icon(), white = Icon();
    black.SetPixel(2, 0, PixelRGB(0, 0, 100));
    white.SetPixel(1, 0, PixelRGB(255, 255, 255));
    white.SetPixel(2, 0, PixelRGB(127, 127, 227));
    EXPECT_EQ(IconFromBlackWhite(black, white), Icon());
    EXPECT_TRUE(IconFromBlackWhite(black, TBitmap32(2, 2)).Empty());
    TBitmap32 keyed = Filled(2, 1, PixelRGB(1, 2, 3, 0)), want(2, 1);
    keyed.SetPixel(1, 0, PixelFromColor(clSkinKey));
    want.SetPixel(0, 0, PixelRGB(1, 2, 3));
    EXPECT_EQ(IconFromKeyed(keyed, clSkinKey), want);
}

} // namespace
