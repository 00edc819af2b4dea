// Loading a whole package into the skin data core: what a refused package, a package without a
// description and image names the engine does not accept leave in the model.
#include "skin/data/BmpCodec.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool Load(TSkinDataCore& skin, const std::string& packed) {
    TMemoryStream stream;
    stream.Assign(packed);
    return skin.LoadSkin(stream);
}

const char* const kDescription = "[Colours]\nButtonFace=1 2 3\n[Scrollbar]\nImage=bar.bmp\n";

} // namespace

TEST(SkinModelLoad, WrongFormatMarkKeepsThePreviousModelAndLoading) {
    TSkinDataCore skin;
    TSkinWriter writer;
    writer.Add("skin.ini", kDescription);
    writer.Add("bar.bmp", Bmp(Filled(23, 4, PixelRGB(9, 9, 9))));
    ASSERT_TRUE(Load(skin, writer.Pack()));
    ASSERT_FALSE(skin.Loading);
    ASSERT_TRUE(skin.Scrollbar);

    // The same package with another format mark, framed as a package is.
    std::string plain = writer.Build();
    const int32_t older = kSkinFormatMark - 1;
    std::memcpy(&plain[0], &older, sizeof older);
    std::string shown;
    TSkinReader::OnMessage = [&](const std::string& text) { shown = text; };
    EXPECT_FALSE(Load(skin, LzhCompress(plain)));
    TSkinReader::OnMessage = nullptr;
    EXPECT_EQ(shown, kOlderSkinMessage);
    EXPECT_TRUE(skin.Loading);
    ASSERT_TRUE(skin.Scrollbar);
    EXPECT_EQ(skin.Scrollbar->Bitmap.Width(), 23);
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(1, 2, 3));
}

TEST(SkinModelLoad, PackageWithoutDescriptionGivesTheDefaults) {
    TSkinDataCore skin;
    TSkinWriter writer;
    writer.Add("skin.ini", kDescription);
    writer.Add("bar.bmp", Bmp(Filled(23, 4, PixelRGB(9, 9, 9))));
    ASSERT_TRUE(Load(skin, writer.Pack()));

    TSkinWriter imagesOnly;
    imagesOnly.Add("bar.bmp", Bmp(Filled(23, 4, PixelRGB(9, 9, 9))));
    imagesOnly.Add("skin.txt", kDescription); // not a description: only an ".ini" entry is one
    ASSERT_TRUE(Load(skin, imagesOnly.Pack()));
    EXPECT_FALSE(skin.Loading);
    EXPECT_FALSE(skin.Scrollbar);
    EXPECT_EQ(skin.Colors, DefaultShemeColors());
    EXPECT_EQ(skin.FaceBrush.Color, clBtnFace);
}

TEST(SkinModelLoad, ImageNamesAsTheEngineTakesThem) {
    TSkinDataCore skin;
    TSkinWriter writer;
    writer.Add("skin.ini", "[Scrollbar]\nImage=BAR.BMP\n"
                           "[MenuItem]\nImage=..\\art\\sub/Item.bmp\n"
                           "[HorzScroll]\nImage=c:track.bmp\n");
    writer.Add("bar.bmp", Bmp(Filled(23, 4, PixelRGB(1, 1, 1))));
    writer.Add("item.bmp", Bmp(Filled(10, 6, PixelRGB(2, 2, 2))));
    writer.Add("track.bmp", Bmp(Filled(8, 3, PixelRGB(3, 3, 3))));
    ASSERT_TRUE(Load(skin, writer.Pack()));
    // An upper-case extension: the slot exists, its image is empty.
    ASSERT_TRUE(skin.Scrollbar);
    EXPECT_TRUE(skin.Scrollbar->Bitmap.Empty());
    // Folders and drive are dropped; the entry is found by file name, without regard to case.
    ASSERT_TRUE(skin.MenuItem);
    EXPECT_EQ(skin.MenuItem->Bitmap, Filled(10, 6, PixelRGB(2, 2, 2)));
    ASSERT_TRUE(skin.HorzScroll);
    EXPECT_EQ(skin.HorzScroll->Bitmap, Filled(8, 3, PixelRGB(3, 3, 3)));
}
