// The window's icon as a caption button shows it: rendered once into a bitmap with its alpha, then
// blended by the portable face renderer, it gives the pixels DrawIconEx gives over the caption.
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/SkinCanvas_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(CaptionIcon, BlendedAsTheSystemDrawsItOverTheCaption) {
    // A 32-bit icon whose alpha runs from 0 at the left to 255 at the right, colours varying.
    TPixel bits[16 * 16];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[y * 16 + x] = PixelRGB(std::uint8_t(16 * x), std::uint8_t(255 - 16 * y), 90, std::uint8_t(17 * x));
    WORD maskBits[16] = {};
    HBITMAP colour = CreateBitmap(16, 16, 1, 32, bits), mask = CreateBitmap(16, 16, 1, 1, maskBits);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON gradient = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    ASSERT_TRUE(gradient);
    EXPECT_EQ(IconWithAlpha(gradient, 16).Pixel(8, 5) >> 24, 136u); // drawn with its alpha

    TDataSkinSysButton button;
    button.Action = sbaIcon;
    button.Bitmap = TBitmap32(16, 16);
    for (HICON icon : {gradient, LoadIconW(nullptr, IDI_APPLICATION), LoadIconW(nullptr, IDI_INFORMATION)}) {
        ASSERT_TRUE(icon);
        const TBitmap32 face = IconWithAlpha(icon, 16);
        // Over a caption of dark and light colours, each pixel different.
        for (int background : {0, 1}) {
            TDib expected;
            ASSERT_TRUE(expected.Resize(16, 16));
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    expected.Bits().SetPixel(
                        x, y, PixelRGB(std::uint8_t(15 * y), std::uint8_t(7 * x + 120 * background), 200));
            TBitmap32 actual = expected.Bits();
            DrawIconEx(expected.DC(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
            GdiFlush();
            DrawSysButtonFace(actual, actual, actual.BoundsRect(), button, kStateNormal, true, face);
            int worst = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    for (int shift : {0, 8, 16})
                        worst = std::max(worst, std::abs(int(std::uint8_t(actual.Pixel(x, y) >> shift)) -
                                                         int(std::uint8_t(expected.Bits().Pixel(x, y) >> shift))));
            // Wine gives the very same pixels; a system that rounds its blend the other way may
            // differ by one step, which is the same picture.
            EXPECT_LE(worst, 1) << "background " << background;
        }
    }
    DestroyIcon(gradient);
}

} // namespace
