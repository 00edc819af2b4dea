// The window's icon as a caption button shows it: rendered once into a bitmap with its alpha, then
// blended by the portable face renderer, it gives the pixels DrawIconEx gives over the same caption.
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/SkinCanvas_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kSize = 16;

// A 32-bit icon whose alpha runs from 0 at the left to 255 at the right, in colours that vary
// across both axes, with an all-opaque mask (the alpha decides).
HICON GradientIcon() {
    BITMAPV5HEADER h{};
    h.bV5Size = sizeof(h);
    h.bV5Width = kSize;
    h.bV5Height = -kSize;
    h.bV5Planes = 1;
    h.bV5BitCount = 32;
    h.bV5Compression = BI_BITFIELDS;
    h.bV5RedMask = 0x00FF0000;
    h.bV5GreenMask = 0x0000FF00;
    h.bV5BlueMask = 0x000000FF;
    h.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour) return nullptr;
    auto* p = static_cast<TPixel*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            p[y * kSize + x] = PixelRGB(std::uint8_t(16 * x), std::uint8_t(255 - 16 * y), 90, std::uint8_t(17 * x));
    WORD maskBits[kSize] = {};
    HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskBits);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

TEST(CaptionIcon, BlendedAsTheSystemDrawsItOverTheCaption) {
    HICON gradient = GradientIcon();
    ASSERT_TRUE(gradient);
    struct Case {
        const char* name;
        HICON icon;
    };
    const Case icons[] = {
        {"gradient alpha", gradient},
        {"application", LoadIconW(nullptr, IDI_APPLICATION)},
        {"information", LoadIconW(nullptr, IDI_INFORMATION)},
    };
    TDataSkinSysButton button;
    button.Action = sbaIcon;
    button.Bitmap = TBitmap32(kSize, kSize);
    for (const Case& c : icons) {
        ASSERT_TRUE(c.icon) << c.name;
        const TBitmap32 face = IconWithAlpha(c.icon, kSize);
        ASSERT_EQ(face.Width(), kSize) << c.name;
        if (c.icon == gradient) {
            // The system drew it with its alpha: the middle columns are partly covering.
            EXPECT_EQ(face.Pixel(0, 5) >> 24, 0u);
            EXPECT_EQ(face.Pixel(8, 5) >> 24, 136u);
            EXPECT_EQ(face.Pixel(15, 5) >> 24, 255u);
        }
        // Caption-like backgrounds: dark, light, and one that changes from pixel to pixel.
        for (int background = 0; background < 3; ++background) {
            SCOPED_TRACE(testing::Message() << c.name << ", background " << background);
            TDib expected;
            ASSERT_TRUE(expected.Resize(kSize, kSize));
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x)
                    expected.Bits().SetPixel(x, y,
                                   background == 0   ? PixelRGB(30, 60, 120)
                                   : background == 1 ? PixelRGB(235, 240, 245)
                                                     : PixelRGB(std::uint8_t(15 * y), std::uint8_t(7 * x), 200));
            TBitmap32 actual = expected.Bits();
            DrawIconEx(expected.DC(), 0, 0, c.icon, kSize, kSize, 0, nullptr, DI_NORMAL);
            GdiFlush();
            DrawSysButtonFace(actual, actual, actual.BoundsRect(), button, kStateNormal, true, face);
            int worst = 0;
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x)
                    for (int shift : {0, 8, 16})
                        worst = std::max(worst, std::abs(int(std::uint8_t(actual.Pixel(x, y) >> shift)) -
                                                         int(std::uint8_t(expected.Bits().Pixel(x, y) >> shift))));
            // Wine gives the very same pixels; a system that rounds its blend the other way may
            // differ by one step, which is the same picture.
            EXPECT_LE(worst, 1);
        }
    }
    DestroyIcon(gradient);
}

} // namespace
