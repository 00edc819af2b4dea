// skinpack check: silent on the shipped skin (package and folder), its exit status; and the model of the shipped skin
// against its own description.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinCheck.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "tests/support/SkinImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sys/wait.h>

namespace {

// A light five-frame push button with black text: nothing to report.
const std::string kButtons = "[Buttons]\nBitmap=button.bmp\nNormalColour2=0 0 0\nMouseOverColour2=0 0 0\n"
                             "PressedColour2=0 0 0\n";
const TPixel kLight = PixelRGB(240, 240, 240);

std::string Package(const std::string& ini, std::map<std::string, std::string> entries = {}) {
    if (!entries.count("button.bmp")) entries["button.bmp"] = Bmp(Filled(50, 10, kLight));
    TSkinWriter writer;
    if (!ini.empty()) writer.Add("skin.ini", ini);
    for (const auto& [name, bytes] : entries)
        writer.Add(name, bytes);
    return writer.Pack();
}

int ExitStatus(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kShipped = TELLIT_SKIN_DIR "/tellit.skn";

} // namespace

TEST(SkinCheck, ShippedSkinHasNothingToReport) {
    for (const TSkinProblem& p : CheckSkinPackage(ReadFileBytes(kShipped), kShipped))
        ADD_FAILURE() << p.Text();
    for (const TSkinProblem& p : CheckSkinFolder(TELLIT_SKIN_SOURCES))
        ADD_FAILURE() << p.Text();
    // The dark skin of the skins folder too.
    for (const TSkinProblem& p : CheckSkinPackage(ReadFileBytes(TELLIT_SKIN_DIR "/dark.skn"), "dark.skn"))
        ADD_FAILURE() << p.Text();
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + kShipped + "\" >/dev/null"), 0);
}

TEST(SkinCheck, ContrastRatio) {
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0x000000), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x777777, 0x777777), 1.0, 1e-9);
    // #767676 on white is the classic 4.54:1; red and blue weigh differently.
    EXPECT_NEAR(ContrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);
    EXPECT_GT(ContrastRatio(RGBColor(0, 0, 255), 0xFFFFFF), ContrastRatio(RGBColor(255, 0, 0), 0xFFFFFF));
}

TEST(SkinCheck, CommandExitStatus) {
    const std::string dir = ::testing::TempDir();
    const std::string bad = dir + "skincheck_bad.skn";
    WriteFileBytes(bad, Package("[Buttons]\nBitmap=missing.bmp\n"));
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + bad + "\" >/dev/null 2>&1"), 2);
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + dir + "no such file.skn\" >/dev/null 2>&1"), 2);
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" TELLIT_SKIN_SOURCES "\" >/dev/null"), 0);
}

// The model the engine builds from the shipped package, against the package's own description and
// the committed images: every element the description gives an image for has it, with the frame
// count its drawing uses, and the scheme colours are the [Colours] values.
TEST(SkinCheck, ShippedModelMatchesItsDescription) {
    const std::string packed = ReadFileBytes(kShipped);
    TSkinDataCore skin;
    TMemoryStream stream;
    stream.Assign(packed);
    ASSERT_TRUE(skin.LoadSkin(stream));
    TSkinReader package;
    stream.Assign(packed);
    ASSERT_TRUE(package.Loadfromstream(stream));
    TMemoryStream text;
    std::string iniName;
    package.readIni(".ini", text, iniName);
    TQuickIni ini;
    ini.LoadFromStream(&text);

    auto image = [](const std::string& name) {
        return ReadBmp(ReadFileBytes(std::string(TELLIT_SKIN_SOURCES "/") + name));
    };
    struct Slot {
        const char* section;
        const char* key;
        const TDataSkinObject* object;
        const TBitmap32* bitmap;
        int frames;
    };
    const Slot slots[] = {
        {"Personality", "Left", &skin.BorderLeft, &skin.BorderLeft.Bitmap,
         ini.ReadInteger("Personality", "LeftFrame", 1)},
        {"Personality", "Right", &skin.BorderRight, &skin.BorderRight.Bitmap,
         ini.ReadInteger("Personality", "RightFrame", 1)},
        {"Personality", "Top", &skin.BorderTop, &skin.BorderTop.Bitmap, ini.ReadInteger("Personality", "TopFrame", 1)},
        {"Personality", "Bottom", &skin.BorderBottom, &skin.BorderBottom.Bitmap,
         ini.ReadInteger("Personality", "BottomFrame", 1)},
        {"Personality", "TextBack", &skin.Title, &skin.Title.Bitmap, 2},
        {"Personality", "menuBar", skin.MenuBar.get(), nullptr, 2},
        {"Buttons", "Bitmap", &skin.Buttons, &skin.Buttons.Bitmap, 5},
        {"Buttons", "CheckButton", &skin.Buttons, &skin.Buttons.CheckBitmap, skin.Buttons.CheckButtonFrame},
        {"Buttons", "RadioButton", &skin.Buttons, &skin.Buttons.RadioBitmap, skin.Buttons.RadioButtonFrame},
        {"Progress", "Bitmap", skin.Progress.get(), nullptr, 2},
        {"GroupBoxEdge", "Image", skin.GroupBoxEdge.get(), nullptr, 2},
        {"GroupBox", "Image", skin.GroupBox.get(), nullptr, 1},
        {"Toolbars", "Image", skin.Toolbars.get(), nullptr, 5},
        {"Tabs", "Image", skin.Tabs.get(), nullptr, 5},
        {"StatusBarEdges", "Image", skin.StatusBarEdges.get(), nullptr, 3},
        {"ComboButton", "Image", skin.ComboButton.get(), nullptr, 4},
        {"SunkEdge", "Image", skin.SunkEdge.get(), nullptr, 4},
        {"ExtraImages", "Image", skin.ExtraImages.get(), nullptr, 5},
        {"Headerbar", "Image", skin.Headerbar.get(), nullptr, 5},
        {"MenuItem", "Image", skin.MenuItem.get(), nullptr, 5},
        {"MenuBackground", "Image", skin.MenuBackground.get(), nullptr, 1},
        {"Scrollbar", "Image", skin.Scrollbar.get(), nullptr, 23},
        {"HorzScroll", "Image", skin.HorzScroll.get(), nullptr, 4},
        {"VertScroll", "Image", skin.VertScroll.get(), nullptr, 4},
        {"HorzScrollThumb", "Image", skin.HorzScrollThumb.get(), nullptr,
         ini.ReadInteger("HorzScrollThumb", "FrameCount", 3)},
        {"VertScrollThumb", "Image", skin.VertScrollThumb.get(), nullptr,
         ini.ReadInteger("VertScrollThumb", "FrameCount", 3)},
        {"Trackbar.ThumbHorz", "Image", skin.TrackbarThumbHorz.get(), nullptr, 5},
        {"Trackbar.ThumbVert", "Image", skin.TrackbarThumbVert.get(), nullptr, 5},
        {"Trackbar.ThumbLeft", "Image", skin.TrackbarThumbLeft.get(), nullptr, 5},
        {"Trackbar.ThumbRight", "Image", skin.TrackbarThumbRight.get(), nullptr, 5},
        {"Trackbar.ThumbUp", "Image", skin.TrackbarThumbUp.get(), nullptr, 5},
        {"Trackbar.ThumbDown", "Image", skin.TrackbarThumbDown.get(), nullptr, 5},
        {"UpDown.Horz", "Image", skin.UpDownHorz.get(), nullptr, 8},
        {"UpDown.Vert", "Image", skin.UpDownVert.get(), nullptr, 8},
    };
    int given = 0;
    for (const Slot& s : slots) {
        const std::string file = ini.ReadString(s.section, s.key, "");
        if (file.empty()) continue;
        ++given;
        const std::string where = std::string(s.section) + "." + s.key;
        ASSERT_NE(s.object, nullptr) << where;
        const TBitmap32& bitmap = s.bitmap ? *s.bitmap : s.object->Bitmap;
        EXPECT_EQ(bitmap, image(file)) << where;
        EXPECT_FALSE(bitmap.Empty()) << where;
        if (!s.bitmap || s.bitmap == &s.object->Bitmap) {
            EXPECT_EQ(s.object->FrameCount, s.frames) << where;
        }
        EXPECT_GE(s.frames, 1) << where;
    }
    EXPECT_GE(given, 25); // the shipped skin draws nearly everything itself
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, ini.ReadInteger("Buttons", "CheckButtonFrame", 0));
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, ini.ReadInteger("Buttons", "RadioButtonFrame", 0));

    // Caption buttons: one per section Button<n>, image and frame count as described.
    int buttons = 0;
    for (const TDataSkinSysButton& b : skin.SysButtons) {
        if (b.Name.empty()) continue; // the MDI buttons
        ++buttons;
        const std::string file = ini.ReadString(b.Name, "ButtonImage", "");
        EXPECT_EQ(b.FrameCount, ini.ReadInteger(b.Name, "frame", 0)) << b.Name;
        if (b.Action != 3) { // the window-icon button draws the window's own icon
            EXPECT_EQ(b.Bitmap, image(file)) << b.Name;
        }
    }
    EXPECT_EQ(buttons, TSkinModel::GetSectionNum(TSkinDescription{ini, &package}, "Button", "ButtonImage"));

    const std::pair<const char*, TShemeColor> colours[] = {
        {"WindowText", csText},
        {"ButtonFace", csButtonFace},
        {"Scrollbar", csScrollbar},
        {"HilightText", csHilightText},
        {"Hilight", csHilight},
        {"Menubar", csMenuBar},
        {"Menu", csMenubg},
        {"MenuText", csMenuText},
        {"ButtonText", csButtonText},
        {"ButtonHilight", csButtonHilight},
        {"Buttonlight", csButtonlight},
        {"ButtonShadow", csButtonShadow},
        {"ButtonDkShadow", csButtonDkshadow},
        {"MenuBarText", csMenuBarText},
        {"TitleTextActive", csTitleTextActive},
        {"TitleTextNoActive", csTitleTextNoActive},
    };
    for (const auto& [key, index] : colours) {
        const std::string value = ini.ReadString("Colours", key, "");
        ASSERT_FALSE(value.empty()) << key;
        EXPECT_EQ(skin.Colors[index], strcolor(value)) << key;
    }
}
