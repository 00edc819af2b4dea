// Replacing the stored skin: from a file, from a stream, and the refresh a main form's skin asks for.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string Package(const std::string& face) {
    TSkinWriter writer;
    writer.Add("skin.ini", "[Colours]\nButtonFace=" + face + "\n");
    return writer.Pack();
}

TEST(SkinDataLoad, FromAStreamKeepsThePackageAndAsksForARefresh) {
    TSkinDataCore skin;
    int refreshes = 0;
    skin.OnUpdateSkin = [&] { ++refreshes; };
    TMemoryStream source;
    source.Assign("junk" + Package("1 2 3"));
    source.SetPosition(4); // from the stream's position to its end
    EXPECT_TRUE(skin.LoadFromStream(source));
    EXPECT_FALSE(skin.Loading);
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(1, 2, 3));
    EXPECT_EQ(skin.SkinStream.Bytes(), Package("1 2 3"));
    EXPECT_EQ(refreshes, 1);

    // Only a main form's skin asks.
    skin.SkinFormtype = sfDialog;
    source.Assign(Package("4 5 6"));
    EXPECT_TRUE(skin.LoadFromStream(source));
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(4, 5, 6));
    EXPECT_EQ(refreshes, 1);

    // Loading again from what is stored gives the same skin.
    EXPECT_TRUE(skin.LoadSkin());
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(4, 5, 6));
}

TEST(SkinDataLoad, FromAFileAndAMissingFile) {
    const std::string name = "skindataload_test.skn";
    WriteFileBytes(name, Package("7 8 9"));
    TSkinDataCore skin;
    EXPECT_TRUE(skin.LoadFromFile(name));
    EXPECT_EQ(skin.SkinFile, name);
    EXPECT_FALSE(skin.Loading);
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(7, 8, 9));
    std::remove(name.c_str());

    // A missing file changes nothing but the name and the loading flag.
    EXPECT_FALSE(skin.LoadFromFile("no-such-skin.skn"));
    EXPECT_TRUE(skin.Loading);
    EXPECT_EQ(skin.SkinFile, "no-such-skin.skn");
    EXPECT_EQ(skin.SkinStream.Bytes(), Package("7 8 9"));
    EXPECT_EQ(skin.Colors[csButtonFace], RGBColor(7, 8, 9));
}

TEST(SkinDataLoad, GetFileName) {
    EXPECT_EQ(TSkinDataCore::GetFileName("blue.skn"), "blue");
    EXPECT_EQ(TSkinDataCore::GetFileName("blue.v2.skn"), "blue");
    EXPECT_EQ(TSkinDataCore::GetFileName("blue"), "");
    EXPECT_EQ(TSkinDataCore::GetFileName(".skn"), "");
    EXPECT_EQ(TSkinDataCore::GetFileName(""), "");
}

} // namespace
