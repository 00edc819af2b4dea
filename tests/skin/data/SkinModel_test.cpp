#include "skin/data/SkinModel.h"

#include "skin/data/BmpCodec.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using Images = std::vector<std::pair<std::string, TBitmap32>>;

// A w x h bitmap whose pixel (x, y) encodes its own position, so slicing and mirroring can be traced.
TBitmap32 Numbered(int w, int h) {
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, PixelRGB(std::uint8_t(x), std::uint8_t(y), 7));
    return b;
}

std::string Package(const std::string& ini, const Images& images) {
    TSkinWriter writer;
    writer.Add("skin.ini", ini);
    for (const auto& [name, bitmap] : images) {
        std::vector<std::uint8_t> bmp = WriteBmp24(bitmap);
        writer.Add(name, std::string(bmp.begin(), bmp.end()));
    }
    return writer.Pack();
}

void Load(TSkinDataCore& skin, const std::string& ini, const Images& images = {}) {
    TMemoryStream stream;
    stream.Assign(Package(ini, images));
    ASSERT_TRUE(skin.LoadSkin(stream));
}

TQuickIni Ini(const std::string& text) {
    TQuickIni ini;
    TMemoryStream s;
    s.Assign(text);
    ini.LoadFromStream(&s);
    return ini;
}

} // namespace

TEST(SkinColor, StrcolorTakesDecimalTriples) {
    EXPECT_EQ(strcolor("255 128 7"), RGBToColor(255, 128, 7));
    EXPECT_EQ(strcolor("255,128,7"), strcolor("255 128 7"));
    EXPECT_EQ(strcolor("  1 2 3  "), RGBToColor(1, 2, 3));
    EXPECT_EQ(strcolor("1 2 3 4"), RGBToColor(1, 2, 3)); // a fourth number is ignored
    EXPECT_EQ(strcolor("0x00FF00"), 0u);                 // runs 0, 00, 00: hexadecimal gives black
    EXPECT_EQ(strcolor("200"), 0u);                      // a single run is never closed
    EXPECT_EQ(strcolor("10 20"), RGBToColor(10, 0, 0));  // the last run counts only after two numbers
    EXPECT_EQ(strcolor("10 20 "), RGBToColor(10, 0, 0)); // trailing blanks are trimmed first
    EXPECT_EQ(strcolor("300 256 1"), RGBToColor(44, 0, 1));
    EXPECT_EQ(strcolor("99999999999 1 2"), RGBToColor(0, 1, 2));
    EXPECT_EQ(strcolor("1 2 99999999999"), RGBToColor(1, 2, 0));
    EXPECT_EQ(GetColor("", clBtnFace), clBtnFace);
    EXPECT_EQ(GetColor("0 0 255", clBtnFace), 0xFF0000u);
}

TEST(SkinModel, EmptyDescriptionGivesDefaults) {
    TSkinDataCore skin;
    EXPECT_TRUE(skin.Loading);
    Load(skin, "");
    EXPECT_FALSE(skin.Loading);
    EXPECT_EQ(skin.Colors, DefaultShemeColors());
    EXPECT_TRUE(skin.PreColors.empty());
    ASSERT_EQ(skin.SysButtons.size(), 3u); // the MDI buttons only
    EXPECT_FALSE(skin.MenuBar || skin.GroupBox || skin.Tabs || skin.ComboButton || skin.Scrollbar || skin.Progress ||
                 skin.UpDownVert || skin.TrackbarThumbDown);
    EXPECT_EQ(skin.BorderLeft.FrameCount, 1);
    EXPECT_EQ(skin.BorderLeft.Tile, 1);
    EXPECT_EQ(skin.BorderLeft.Trans, 1);
    EXPECT_EQ(skin.Title.FontHeight, 14);
    EXPECT_EQ(skin.Title.ActiveText, clNone);
    EXPECT_EQ(skin.Title.FrameCount, 2);
    EXPECT_EQ(skin.Buttons.FrameCount, 5);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(skin.Buttons.NormalColour, -1);
    EXPECT_EQ(skin.Buttons.NormalColour2, clBtnText);
    EXPECT_TRUE(skin.FaceBrush.Exists);
    EXPECT_EQ(skin.FaceBrush.Color, clBtnFace);
}

TEST(SkinModel, ColoursAndPredefinedColours) {
    TSkinDataCore skin;
    Load(skin, "[Colour1]\ncolor=1 1 1\n[Colours]\nButtonFace=10 20 30\nWindowText=0x00FF00\nButtonText=9 9 9\n"
               "[Colour0]\ncolor=2 2 2\n[Colour9]\n[ColourX]\ncolor=3 3 3\n");
    EXPECT_EQ(skin.Colors[csButtonFace], RGBToColor(10, 20, 30));
    EXPECT_EQ(skin.Colors[csMenuBar], RGBToColor(10, 20, 30)); // Menubar falls back to the ButtonFace read
    EXPECT_EQ(skin.Colors[csText], 0u);
    EXPECT_EQ(skin.Colors[csMenubg], clMenu);
    EXPECT_EQ(skin.FaceBrush.Color, RGBToColor(10, 20, 30));
    // Numbered by position in the file, not by the digits in the names; Colours itself is not one.
    ASSERT_EQ(skin.PreColors.size(), 4u);
    EXPECT_EQ(skin.PreColors[0], RGBToColor(1, 1, 1));
    EXPECT_EQ(skin.PreColors[1], RGBToColor(2, 2, 2));
    EXPECT_EQ(skin.PreColors[2], clWindowText);
    EXPECT_EQ(skin.PreColors[3], RGBToColor(3, 3, 3));
    TColor c = 5;
    EXPECT_TRUE(skin.GetPrecolor(c, 1));
    EXPECT_EQ(c, RGBToColor(2, 2, 2));
    c = 5;
    EXPECT_FALSE(skin.GetPrecolor(c, 4));
    EXPECT_FALSE(skin.GetPrecolor(c, -1));
    EXPECT_EQ(c, 5u);
    // Element text colours default to the ButtonText just read.
    EXPECT_EQ(skin.Buttons.PressedColour2, RGBToColor(9, 9, 9));
    EXPECT_FALSE(skin.Buttons.HasPressedColour2);
}

TEST(SkinModel, ElementSlots) {
    TSkinDataCore skin;
    Load(skin,
         "[Colours]\nButtonText=1 2 3\n"
         "[ToolBars]\nImage=tool.bmp\nLeftWidth=2\nTopHeight=1\nRightWidth=3\nBottomHeight=4\nStyle=7\nTile=2\n"
         "NormalColour=4\nPressedColour2=9 8 7\nUnknownKey=5\n"
         "[Tabs]\nImage=tool.bmp\nBorder=sub\\border.bmp\nStyle=7\nTile=1\n"
         "[Progress]\nBitmap=tool.bmp\nChunk=border.bmp\nStyle=3\nTile=3\nNormalColour=2\n"
         "[GroupBox]\nImage=missing.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=-5\n"
         "[SunkEdge]\nStyle=1\n"
         "[ComboButton]\nImage=tool.bmp\n"
         "[Personality]\nmenuBar=tool.bmp\nTileLeftMenu=6\n",
         {{"tool.bmp", Numbered(20, 10)}, {"border.bmp", Numbered(3, 3)}});

    ASSERT_TRUE(skin.Toolbars); // the section is found whatever the case it is written in
    const TDataSkinObject& t = *skin.Toolbars;
    EXPECT_EQ(t.Name, "Toolbars");
    EXPECT_EQ(t.Bitmap, Numbered(20, 10));
    EXPECT_EQ(t.Margins, Rect(2, 1, 3, 4));
    EXPECT_EQ(t.Style, 7);
    EXPECT_EQ(t.Tile, 0); // above 1 means stretched
    EXPECT_EQ(t.FrameCount, 5);
    EXPECT_EQ(t.NormalColour, 4);
    EXPECT_EQ(t.MouseOverColour, -1);
    EXPECT_EQ(t.NormalColour2, RGBToColor(1, 2, 3));
    EXPECT_EQ(t.PressedColour2, RGBToColor(9, 8, 7));

    ASSERT_TRUE(skin.Tabs);
    EXPECT_EQ(skin.Tabs->Bitmap2, Numbered(3, 3)); // the directory part is ignored
    EXPECT_EQ(skin.Tabs->Style, 0);                // not read for elements with a second image
    EXPECT_EQ(skin.Tabs->Tile, 1);

    ASSERT_TRUE(skin.Progress);
    EXPECT_EQ(skin.Progress->Bitmap2, Numbered(3, 3));
    EXPECT_EQ(skin.Progress->Style, 3);
    EXPECT_EQ(skin.Progress->Tile, 3);         // kept as written
    EXPECT_EQ(skin.Progress->NormalColour, 0); // colours are not read
    EXPECT_EQ(skin.Progress->NormalColour2, 0u);
    EXPECT_EQ(skin.Progress->FrameCount, 2);

    // An image key naming no entry still makes the element, with an empty image.
    ASSERT_TRUE(skin.GroupBox);
    EXPECT_TRUE(skin.GroupBox->Bitmap.Empty());
    EXPECT_EQ(skin.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(skin.GroupBox->BackgroundLeftShift, -5);
    EXPECT_EQ(skin.GroupBox->FrameCount, 1);
    EXPECT_FALSE(skin.SunkEdge); // no Image key: absent

    ASSERT_TRUE(skin.ComboButton);
    TBitmap32 mirror = Numbered(20, 10);
    SpiegelnHorizontal(mirror);
    EXPECT_EQ(skin.ComboButton->Bitmap2, mirror);

    ASSERT_TRUE(skin.MenuBar);
    EXPECT_EQ(skin.MenuBar->Name, "Personality");
    EXPECT_EQ(skin.MenuBar->Margins, Rect(6, 0, 1, 0));
    EXPECT_EQ(skin.MenuBar->FrameCount, 2);
}

TEST(SkinModel, ImagesAreLookedUpByPlainLowerCaseBmpNames) {
    TSkinReader package;
    TMemoryStream stream;
    stream.Assign(Package("", {{"top.bmp", Numbered(4, 2)}, {"top.png", Numbered(4, 2)}}));
    ASSERT_TRUE(package.Loadfromstream(stream));
    TQuickIni ini;
    TSkinDescription d{ini, &package};
    TBitmap32 b = Numbered(1, 1);
    d.Readbmp(b, "skins\\Sub/Top.bmp");
    EXPECT_EQ(b, Numbered(4, 2));
    d.Readbmp(b, "TOP.BMP"); // the extension must be written in lower case
    EXPECT_TRUE(b.Empty());
    for (const char* name : {"top.png", "top", "sub\\", "other.bmp", ""}) {
        b = Numbered(1, 1);
        d.Readbmp(b, name);
        EXPECT_TRUE(b.Empty()) << name;
    }
    TSkinDescription noPackage{ini, nullptr};
    noPackage.Readbmp(b, "top.bmp");
    EXPECT_TRUE(b.Empty());
}

TEST(SkinModel, BordersAndTitle) {
    TSkinDataCore skin;
    Load(skin,
         "[Personality]\nTop=top.bmp\nTopTopHeight=0\nTopBotHeight=137\nTopFrame=2\nTopStretch=0\n"
         "Left=left.bmp\nLeftTopHeight=5\nLeftBotHeight=6\nLeftTrans=0\n"
         "TextBack=left.bmp\nTextShift=7\nTextShiftVert=-3\nTextAlignment=1\nTXTBackleft=4\n"
         "ActiveTextR=256\nActiveTextG=1\nActiveTextB=2\nInActiveTextR=1\nInActiveTextG=1\n"
         "[Fonts]\nFontHeight=-11\n",
         {{"top.bmp", Numbered(200, 40)}, {"left.bmp", Numbered(8, 30)}});
    EXPECT_EQ(skin.BorderTop.Name, "Top");
    EXPECT_EQ(skin.BorderTop.Margins, Rect(0, 0, 137, 0));
    EXPECT_EQ(skin.BorderTop.FrameCount, 2);
    EXPECT_EQ(skin.BorderTop.Tile, 0);
    EXPECT_EQ(skin.BorderTop.Trans, 1);
    EXPECT_EQ(skin.BorderLeft.Margins, Rect(0, 5, 0, 6));
    EXPECT_EQ(skin.BorderLeft.Trans, 0);
    EXPECT_EQ(skin.BorderLeft.Bitmap, Numbered(8, 30));
    EXPECT_TRUE(skin.BorderRight.Bitmap.Empty());
    EXPECT_TRUE(skin.BorderTop.Bitmap2.Empty());

    EXPECT_EQ(skin.Title.Name, "Title");
    EXPECT_EQ(skin.Title.Bitmap, Numbered(8, 30));
    EXPECT_EQ(skin.Title.Margins, Rect(7, -3, 0, 0));
    EXPECT_EQ(skin.Title.TextAlignment, 1);
    EXPECT_EQ(skin.Title.TXTBackleft, 4);
    EXPECT_EQ(skin.Title.FontHeight, -11);
    EXPECT_EQ(skin.Title.ActiveText, RGBToColor(0, 1, 2)); // low bytes
    EXPECT_EQ(skin.Title.InActiveText, clNone);            // a component missing: no colour
}

TEST(SkinModel, CheckAndRadioGlyphCounts) {
    TSkinDataCore skin;
    // Strips lower than 16 have 13-pixel cells, others 16; a stated count is kept; at least 4.
    Load(skin, "[Buttons]\nCheckButton=check.bmp\nRadioButton=radio.bmp\nNormalColour2=1 1 1\n",
         {{"check.bmp", Numbered(104, 13)}, {"radio.bmp", Numbered(96, 16)}});
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, 8);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, 6);
    EXPECT_TRUE(skin.Buttons.HasNormalColour2);
    EXPECT_FALSE(skin.Buttons.HasMouseOverColour2);

    Load(skin, "[Buttons]\nCheckButton=check.bmp\nRadioButton=radio.bmp\nRadioButtonFrame=3\n",
         {{"check.bmp", Numbered(39, 13)}, {"radio.bmp", Numbered(96, 16)}});
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, 4);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, 3);
}

TEST(SkinModel, CaptionButtons) {
    TSkinDataCore skin;
    Load(skin,
         "[Buttons]\n[Button]\nAction=1\n[Button.Radio]\n[Button.Checkbox]\n"
         "[Button0]\nAction=2\nAlign=1\nXcoord=40\nButtonImage=narrow.bmp\n"
         "[Button1]\nAction=4\nButtonImage=wide.bmp\n"
         "[ButtonHidden]\nAction=-1\n"                                    // shown by no rule: dropped
         "[ButtonOff]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n" // kept
         "[button5]\nAction=3\n"
         "[Button6]\nAction=3\nframe=2\nButtonImage=narrow.bmp\n"
         "[Button7]\nAction=11\nButtonImage=narrow.bmp\n"
         "[StartButton]\nAction=1\n",
         {{"narrow.bmp", Numbered(38, 10)}, {"wide.bmp", Numbered(39, 10)}});
    ASSERT_EQ(skin.SysButtons.size(), 9u);
    const auto& b = skin.SysButtons;
    EXPECT_EQ(b[0].Name, "BUTTON0");
    EXPECT_EQ(b[0].Align, 1);
    EXPECT_EQ(b[0].Xcoord, 40);
    EXPECT_EQ(b[0].CombineOp, -1);
    EXPECT_EQ(b[0].Visibility1, 0);
    EXPECT_EQ(b[0].FrameCount, 3); // 38 / 10 <= 3.8
    EXPECT_EQ(b[1].FrameCount, 6); // 39 / 10 > 3.8
    EXPECT_EQ(b[2].Name, "BUTTONOFF");
    EXPECT_EQ(b[2].Visibility1, -1);
    EXPECT_EQ(b[2].FrameCount, 6); // no action: six whatever the shape
    EXPECT_EQ(b[3].Name, "BUTTON5");
    EXPECT_TRUE(b[3].Bitmap.Empty());
    EXPECT_EQ(b[3].FrameCount, 6);
    EXPECT_EQ(b[4].FrameCount, 2); // a stated count keeps the image, even of the window-icon button
    EXPECT_EQ(b[4].Bitmap, Numbered(38, 10));
    EXPECT_EQ(b[5].FrameCount, 3); // counted from the image, which is then dropped for the icon
    EXPECT_TRUE(b[5].Bitmap.Empty());
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& mdi = b[size_t(6 + i)];
        EXPECT_EQ(mdi.Action, 7 + i);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.FrameCount, 4);
        EXPECT_TRUE(mdi.Bitmap.Empty()); // no MDICONTROLS image
    }
}

TEST(SkinModel, MdiButtonsAreCutFromOneImage) {
    TSkinDataCore skin;
    // 26 pixels: w = 2, so three buttons of 8 columns; the last two columns are never used.
    Load(skin, "[Button0]\nAction=1\n[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", Numbered(26, 5)}});
    ASSERT_EQ(skin.SysButtons.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& mdi = skin.SysButtons[size_t(1 + i)];
        ASSERT_EQ(mdi.Bitmap.Width(), 8);
        ASSERT_EQ(mdi.Bitmap.Height(), 5);
        EXPECT_EQ(mdi.Bitmap.Pixel(0, 0), PixelRGB(std::uint8_t(8 * i), 0, 7));
        EXPECT_EQ(mdi.Bitmap.Pixel(7, 4), PixelRGB(std::uint8_t(8 * i + 7), 4, 7));
        EXPECT_EQ(mdi.Xcoord, 6 * (3 - i));
    }
    // An image narrower than twelve columns leaves the buttons without images.
    Load(skin, "[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", Numbered(11, 5)}});
    ASSERT_EQ(skin.SysButtons.size(), 3u);
    EXPECT_TRUE(skin.SysButtons[0].Bitmap.Empty());
}

TEST(SkinModel, FrameCountsOfThumbsAndFixedSlots) {
    TSkinDataCore skin;
    Load(skin,
         "[HorzScrollThumb]\nImage=a.bmp\nFrameCount=7\n[VertScrollThumb]\nImage=a.bmp\n[Scrollbar]\nImage=a.bmp\n"
         "[UpDown.Vert]\nImage=a.bmp\nGlyphImage=a.bmp\n[Trackbar.ThumbUp]\nImage=a.bmp\n",
         {{"a.bmp", Numbered(50, 4)}});
    EXPECT_EQ(skin.HorzScrollThumb->FrameCount, 7);
    EXPECT_EQ(skin.VertScrollThumb->FrameCount, 3);
    EXPECT_EQ(skin.Scrollbar->FrameCount, 23);
    EXPECT_EQ(skin.UpDownVert->FrameCount, 8);
    EXPECT_EQ(skin.UpDownVert->Bitmap2, Numbered(50, 4));
    EXPECT_EQ(skin.TrackbarThumbUp->FrameCount, 5);
    EXPECT_EQ(skin.TrackbarThumbUp->Name, "Trackbar.ThumbUp");
}

TEST(SkinModel, EachLoadRebuildsTheModel) {
    TSkinDataCore skin;
    Load(skin,
         "[Scrollbar]\nImage=a.bmp\n[Colour0]\ncolor=1 1 1\n[Button0]\nAction=1\n"
         "[Personality]\nTop=a.bmp\nTopFrame=2\n[Buttons]\nBitmap=a.bmp\n",
         {{"a.bmp", Numbered(30, 4)}});
    ASSERT_TRUE(skin.Scrollbar);
    Load(skin, "[Colours]\nButtonFace=1 2 3\n");
    EXPECT_FALSE(skin.Scrollbar);
    EXPECT_TRUE(skin.PreColors.empty());
    EXPECT_EQ(skin.SysButtons.size(), 3u);
    EXPECT_TRUE(skin.BorderTop.Bitmap.Empty());
    EXPECT_EQ(skin.BorderTop.FrameCount, 1);
    EXPECT_EQ(skin.BorderTop.Name, "Top");
    EXPECT_TRUE(skin.Buttons.Bitmap.Empty());
    EXPECT_EQ(skin.FaceBrush.Color, RGBToColor(1, 2, 3));
}

TEST(SkinModel, UnknownSectionsAndKeysChangeNothing) {
    const std::string known = "[Personality]\nTop=a.bmp\n[Button0]\nAction=1\n[Colour0]\ncolor=1 2 3\n"
                              "[MenuItem]\nImage=a.bmp\nLeftWidth=2\n";
    const std::string withUnknown = "[StartButton]\nImage=a.bmp\nAction=1\n[Personality]\nTop=a.bmp\n"
                                    "[TaskBar]\nImage=a.bmp\n[Button0]\nAction=1\nColor=4 4 4\n[Colour0]\n"
                                    "color=1 2 3\n[RebarGrip]\nImage=a.bmp\n[MenuItem]\nImage=a.bmp\n"
                                    "FrameCount=9\nLeftWidth=2\nBitmap2=a.bmp\n";
    TSkinDataCore a, b;
    Load(a, known, {{"a.bmp", Numbered(30, 4)}});
    Load(b, withUnknown, {{"a.bmp", Numbered(30, 4)}});
    ASSERT_EQ(b.SysButtons.size(), a.SysButtons.size());
    EXPECT_EQ(b.SysButtons[0].Name, "BUTTON0");
    EXPECT_EQ(b.PreColors, a.PreColors);
    EXPECT_EQ(b.Colors, a.Colors);
    ASSERT_TRUE(b.MenuItem);
    EXPECT_EQ(b.MenuItem->FrameCount, 5);
    EXPECT_EQ(b.MenuItem->Margins, a.MenuItem->Margins);
}

TEST(SkinModel, SectionCount) {
    TQuickIni ini = Ini("[Item0]\nName=a\n[Item1]\nName=b\n[Item2]\nName=\n[Item3]\nName=d\n[Other0]\nKey=x\n");
    TSkinDescription d{ini, nullptr};
    EXPECT_EQ(TSkinModel::GetSectionNum(d, "Item", "Name"), 2);
    EXPECT_EQ(TSkinModel::GetSectionNum(d, "Other", "Key"), 1);
    EXPECT_EQ(TSkinModel::GetSectionNum(d, "Item", "Missing"), 0);
}

TEST(SkinModel, RejectedPackageKeepsTheSkinLoading) {
    TSkinDataCore skin;
    Load(skin, "[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Numbered(30, 4)}});
    ASSERT_FALSE(skin.Loading);
    TMemoryStream garbage;
    garbage.Assign("not a skin package at all");
    EXPECT_FALSE(skin.LoadSkin(garbage));
    EXPECT_TRUE(skin.Loading);
    EXPECT_TRUE(skin.Scrollbar); // the previous model is left as it was

    // A package without a description loads as an empty one.
    TSkinWriter writer;
    writer.Add("a.bmp", "BM");
    TMemoryStream imagesOnly;
    imagesOnly.Assign(writer.Pack());
    EXPECT_TRUE(skin.LoadSkin(imagesOnly));
    EXPECT_FALSE(skin.Loading);
    EXPECT_FALSE(skin.Scrollbar);
}

// Values no skin could mean are brought into range.
TEST(SkinModel, AbsurdValuesAreClamped) {
    TSkinDataCore skin;
    Load(skin,
         "[Personality]\nLeft=a.bmp\nLeftFrame=0\nLeftTopHeight=-4\nLeftBotHeight=99\n"
         "Top=a.bmp\nTopFrame=1000000\nTopTopHeight=20\nTopBotHeight=25\nBottomFrame=-3\n"
         "TXTBackleft=-9\nTextShift=2147483647\nmenuBar=a.bmp\nTileLeftMenu=-1\nTileRightMenu=500\n"
         "[MenuItem]\nImage=a.bmp\nLeftWidth=-1\nRightWidth=100\nTopHeight=3\nBottomHeight=2\n"
         "[HorzScrollThumb]\nImage=a.bmp\nFrameCount=0\n[VertScrollThumb]\nImage=a.bmp\nFrameCount=500\n"
         "[Button0]\nAction=1\nframe=-2\nXcoord=-2147483648\nButtonImage=a.bmp\n"
         "[Button1]\nAction=1\nframe=99\nButtonImage=a.bmp\n"
         "[Buttons]\nBitmap=a.bmp\nCheckButton=a.bmp\nCheckButtonFrame=77\nRadioButtonFrame=-5\n"
         "LeftWidth=31\nRightWidth=31\n",
         {{"a.bmp", Numbered(30, 4)}});
    EXPECT_EQ(skin.BorderLeft.FrameCount, 1);
    EXPECT_EQ(skin.BorderLeft.Margins, Rect(0, 0, 0, 4));
    EXPECT_EQ(skin.BorderTop.FrameCount, 4); // stacked frames: no more than rows
    EXPECT_EQ(skin.BorderTop.Margins, Rect(20, 0, 10, 0));
    EXPECT_EQ(skin.BorderBottom.FrameCount, 1);
    EXPECT_EQ(skin.Title.TXTBackleft, 0);
    EXPECT_EQ(skin.Title.Margins.Left, kCoordLimit);
    EXPECT_EQ(skin.MenuBar->Margins, Rect(0, 0, 30, 0));
    EXPECT_EQ(skin.MenuItem->Margins, Rect(0, 3, 30, 1));
    EXPECT_EQ(skin.HorzScrollThumb->FrameCount, 3);
    EXPECT_EQ(skin.VertScrollThumb->FrameCount, 30);
    EXPECT_EQ(skin.SysButtons[0].FrameCount, 6); // below 0: derived from the shape (30 / 4 > 3.8)
    EXPECT_EQ(skin.SysButtons[0].Xcoord, -kCoordLimit);
    EXPECT_EQ(skin.SysButtons[1].FrameCount, 30);
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, 30);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(skin.Buttons.Margins, Rect(30, 0, 0, 0));
}

// Random values for every key the readers know: loading never fails, and every frame count and
// image margin stays usable.
TEST(SkinModel, RandomDescriptionsLoadSoundly) {
    const char* sections[] = {"Personality", "Buttons", "Button0", "MDICONTROLS", "MenuItem", "HorzScrollThumb",
                              "Progress",    "Tabs",    "Colours", "Colour0",     "GroupBox", "Fonts"};
    const char* keys[] = {"Image",     "Bitmap",       "LeftWidth",    "RightWidth",   "TopHeight",   "BottomHeight",
                          "Tile",      "FrameCount",   "frame",        "ButtonImage",  "Left",        "Top",
                          "LeftFrame", "TopFrame",     "TopTopHeight", "TopBotHeight", "menuBar",     "TileLeftMenu",
                          "Action",    "CheckButton",  "Chunk",        "ButtonFace",   "color",       "FontHeight",
                          "TextBack",  "TXTBackRight", "ActiveTextR",  "ActiveTextG",  "ActiveTextB", "Xcoord"};
    const char* values[] = {"0",          "1",     "-1",         "7",           "2147483647", "-2147483648", "a.bmp",
                            "b\\",        "$FF",   "0x7FFFFFFF", "99999999999", "1 2 3",      "x",           "-0",
                            "-$80000000", "-0x10", "",           "3.8",         "b.bmp",      "256 256 256", "1000000",
                            "c.bmp"};
    std::mt19937 rng(1234);
    auto pick = [&](auto& array) { return array[rng() % (sizeof(array) / sizeof(array[0]))]; };
    for (int round = 0; round < 80; ++round) {
        std::string ini;
        for (const char* s : sections) {
            ini += std::string("[") + s + "]\n";
            for (int k = 0; k < 12; ++k)
                ini += std::string(pick(keys)) + "=" + pick(values) + "\n";
        }
        TSkinDataCore skin;
        Load(skin, ini, {{"a.bmp", Numbered(7, 3)}, {"b.bmp", Numbered(1, 1)}, {"c.bmp", Numbered(40, 9)}});
        ASSERT_FALSE(skin.Loading);
        // Frame counts the skin states fit the image; the engine's own counts are fixed.
        auto check = [&](const TDataSkinObject& o, bool imageMargins, bool statedCount = true) {
            EXPECT_GE(o.FrameCount, 1) << o.Name;
            if (statedCount && !o.Bitmap.Empty()) {
                EXPECT_LE(o.FrameCount, std::max(o.Bitmap.Width(), o.Bitmap.Height())) << o.Name;
            }
            if (!imageMargins) return;
            EXPECT_GE(o.Margins.Left, 0);
            EXPECT_GE(o.Margins.Top, 0);
            EXPECT_GE(o.Margins.Right, 0);
            EXPECT_GE(o.Margins.Bottom, 0);
            if (o.Bitmap.Empty()) return;
            EXPECT_LE(o.Margins.Left + o.Margins.Right, o.Bitmap.Width()) << o.Name;
            EXPECT_LE(o.Margins.Top + o.Margins.Bottom, o.Bitmap.Height()) << o.Name;
        };
        for (const TDataSkinObject* o : {&skin.BorderLeft, &skin.BorderTop, &skin.BorderRight, &skin.BorderBottom})
            check(*o, true);
        check(skin.Buttons, true, false);
        for (const TDataSkinSysButton& b : skin.SysButtons)
            check(b, false);
        if (skin.HorzScrollThumb) check(*skin.HorzScrollThumb, true);
        for (const TDataSkinObject* o :
             {skin.MenuItem.get(), skin.MenuBar.get(), static_cast<TDataSkinObject*>(skin.Progress.get()),
              static_cast<TDataSkinObject*>(skin.Tabs.get())})
            if (o) check(*o, true, false);
        EXPECT_GE(skin.Buttons.CheckButtonFrame, 1);
        EXPECT_GE(skin.Buttons.RadioButtonFrame, 1);
        EXPECT_GE(skin.Title.TXTBackRight, 0);
        if (HasFailure()) {
            ADD_FAILURE() << "description:\n" << ini;
            break;
        }
    }
}
