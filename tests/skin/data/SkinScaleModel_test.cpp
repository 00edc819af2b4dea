// The skin model at other DPIs: what is scaled, which larger images of a package are used, and
// the life of the scaled copies.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinScale.h"
#include "skin/data/SkinWrite.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

namespace {

bool Load(TSkinDataCore& skin, TSkinWriter& writer) {
    TMemoryStream stream;
    stream.Assign(writer.Pack());
    return skin.LoadSkin(stream);
}

const char* const kDescription = "[Personality]\nLeft=left.bmp\nLeftTopHeight=5\nLeftBotHeight=3\nLeftFrame=2\n"
                                 "Top=top.bmp\nTopTopHeight=7\nTopBotHeight=9\nTopFrame=2\n"
                                 "menuBar=menubar.bmp\nTileLeftMenu=3\nTileRightMenu=3\n"
                                 "[Button0]\nAction=0\nAlign=1\nXcoord=21\nYcoord=5\nButtonImage=close.bmp\n"
                                 "[Scrollbar]\nImage=bar.bmp\n";

void Fill(TSkinWriter& w) {
    w.Add("skin.ini", kDescription);
    w.Add("left.bmp", Bmp(Filled(8, 30, PixelRGB(1, 2, 3))));    // 2 frames of 4 x 30
    w.Add("top.bmp", Bmp(Filled(40, 28, PixelRGB(4, 5, 6))));    // 2 frames of 40 x 14
    w.Add("close.bmp", Bmp(Filled(48, 16, PixelRGB(7, 8, 9))));  // 3 frames of 16 x 16
    w.Add("bar.bmp", Bmp(Filled(23 * 6, 5, PixelRGB(9, 9, 9)))); // 23 frames of 6: each frame rounds alone
    w.Add("menubar.bmp", Bmp(Filled(10, 40, PixelRGB(3, 3, 3))));
}

} // namespace

TEST(SkinScaleModel, LengthsAndImagesFollowTheDpi) {
    TSkinDataCore skin;
    TSkinWriter writer;
    Fill(writer);
    ASSERT_TRUE(Load(skin, writer));
    struct Case {
        int Dpi;
        int LeftW, LeftH, LeftTop, LeftBottom, TopH, TopLeft, CloseW, X, Y, BarW, MenuH;
    } cases[] = {
        {96, 8, 30, 5, 3, 28, 7, 48, 21, 5, 138, 40},
        {120, 10, 38, 6, 4, 36, 9, 60, 26, 6, 184, 50},
        {144, 12, 45, 8, 4, 42, 11, 72, 32, 8, 207, 60},
        {192, 16, 60, 10, 6, 56, 14, 96, 42, 10, 276, 80},
    };
    for (const Case& c : cases) {
        const TSkinModel& m = skin.AtDpi(c.Dpi);
        EXPECT_EQ(m.BorderLeft.Bitmap.Width(), c.LeftW) << c.Dpi;
        EXPECT_EQ(m.BorderLeft.Bitmap.Height(), c.LeftH) << c.Dpi;
        EXPECT_EQ(m.BorderLeft.Margins.Top, c.LeftTop) << c.Dpi;
        EXPECT_EQ(m.BorderLeft.Margins.Bottom, c.LeftBottom) << c.Dpi;
        EXPECT_EQ(m.BorderLeft.FrameCount, 2);
        EXPECT_EQ(m.BorderTop.Bitmap.Height(), c.TopH) << c.Dpi;
        EXPECT_EQ(m.BorderTop.Margins.Left, c.TopLeft) << c.Dpi;
        ASSERT_FALSE(m.SysButtons.empty());
        EXPECT_EQ(m.SysButtons[0].Bitmap.Width(), c.CloseW) << c.Dpi;
        EXPECT_EQ(m.SysButtons[0].Xcoord, c.X) << c.Dpi;
        EXPECT_EQ(m.SysButtons[0].Ycoord, c.Y) << c.Dpi;
        ASSERT_TRUE(m.Scrollbar);
        EXPECT_EQ(m.Scrollbar->Bitmap.Width(), c.BarW) << c.Dpi;
        ASSERT_TRUE(m.MenuBar);
        EXPECT_EQ(m.MenuBar->Bitmap.Height(), c.MenuH) << c.Dpi;
        EXPECT_EQ(m.Colors, skin.Colors);
    }
    // The base DPI is the model itself; others are made once and kept.
    EXPECT_EQ(&skin.AtDpi(96), static_cast<const TSkinModel*>(&skin));
    EXPECT_EQ(&skin.AtDpi(0), static_cast<const TSkinModel*>(&skin));
    EXPECT_EQ(&skin.AtDpi(144), &skin.AtDpi(144));
}

TEST(SkinScaleModel, LargerImagesOfThePackageAreUsedWhenTheirSizeFits) {
    TSkinDataCore skin;
    TSkinWriter writer;
    Fill(writer);
    const TPixel big = PixelRGB(200, 10, 10), odd = PixelRGB(10, 200, 10);
    writer.Add("close@2x.bmp", Bmp(Filled(96, 32, big)));  // fits 192 DPI
    writer.Add("Left@1.5x.BMP", Bmp(Filled(12, 45, big))); // fits 144 DPI, names without regard to case
    writer.Add("top@2x.bmp", Bmp(Filled(80, 50, odd)));    // wrong height: scaled instead
    ASSERT_TRUE(Load(skin, writer));
    EXPECT_EQ(skin.LargerImages.size(), 3u);

    EXPECT_EQ(skin.AtDpi(192).SysButtons[0].Bitmap.Pixel(5, 5), big);
    EXPECT_EQ(skin.AtDpi(144).SysButtons[0].Bitmap.Pixel(5, 5), PixelRGB(7, 8, 9)); // no @1.5x: scaled
    EXPECT_EQ(skin.AtDpi(144).BorderLeft.Bitmap.Pixel(0, 0), big);
    EXPECT_EQ(skin.AtDpi(192).BorderLeft.Bitmap.Pixel(0, 0), PixelRGB(1, 2, 3));
    const TBitmap32& top = skin.AtDpi(192).BorderTop.Bitmap;
    EXPECT_EQ(top.Height(), 56);
    EXPECT_EQ(top.Pixel(3, 3), PixelRGB(4, 5, 6));
}

TEST(SkinScaleModel, AnotherLoadDropsTheScaledCopies) {
    TSkinDataCore skin;
    TSkinWriter writer;
    Fill(writer);
    ASSERT_TRUE(Load(skin, writer));
    EXPECT_EQ(skin.AtDpi(144).SysButtons[0].Bitmap.Width(), 72);

    TSkinWriter other;
    other.Add("skin.ini", kDescription);
    other.Add("close.bmp", Bmp(Filled(30, 10, PixelRGB(7, 8, 9))));
    ASSERT_TRUE(Load(skin, other));
    EXPECT_EQ(skin.AtDpi(144).SysButtons[0].Bitmap.Width(), 45);
    EXPECT_TRUE(skin.AtDpi(144).BorderLeft.Bitmap.Empty());
    EXPECT_TRUE(skin.LargerImages.empty());
}
