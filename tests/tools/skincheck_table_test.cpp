// skinpack check on malformed skins made here: each case is a folder (or a package) with a small
// description, the exact lines the check must print ("FILE:LINE: [Section] Key: message") and the
// exit status of "skinpack check". The base skin is clean; each case breaks one thing.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinCheck.h"
#include "skin/data/SkinCheckParts.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/Streams.h"
#include "skin/data/WinSkinIni.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string Bmp(int w, int h, TPixel p = PixelRGB(240, 240, 240)) {
    TBitmap32 b(w, h);
    b.Fill(p);
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

// A caption of two 20-pixel frames, stacked: the least a skin needs to be clean. Lines 1 to 3.
const std::string kBase = "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";
const std::string kTop = Bmp(20, 40);

using Files = std::map<std::string, std::string>; // name -> bytes; "dir/" makes a sub-folder

struct Case {
    const char* what;
    std::string ini; // skin.ini; the base's files are added unless the case names them
    Files files;
    std::vector<std::string> expected; // lines, with FILE relative to the case's folder
    int status;
};

int ExitStatus(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string MakeFolder(const std::string& name, const Case& c) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("skincheck_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    Files files = c.files;
    if (!files.count("top.bmp")) files["top.bmp"] = kTop;
    if (!c.ini.empty()) files["skin.ini"] = c.ini;
    for (const auto& [file, bytes] : files) {
        if (file.back() == '/')
            fs::create_directories(dir / file);
        else if (bytes != "-") // "-" removes a base file
            WriteFileBytes((dir / file).string(), bytes);
    }
    return dir.string();
}

std::vector<std::string> Lines(const std::vector<TSkinProblem>& problems, const std::string& dir) {
    std::vector<std::string> lines;
    for (const TSkinProblem& p : problems) {
        std::string t = p.Text();
        if (t.rfind(dir + "/", 0) == 0)
            t = t.substr(dir.size() + 1);
        else if (t.rfind(dir, 0) == 0)
            t = "." + t.substr(dir.size());
        lines.push_back(t);
    }
    return lines;
}

const std::string kButtons = "[Buttons]\r\nBitmap=button.bmp\r\n"; // two lines
const Files kButtonFiles = {{"button.bmp", Bmp(50, 10)}};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"clean", kBase, {}, {}, 0},
        {"larger images of the right sizes",
         kBase,
         {{"top@2x.bmp", Bmp(40, 80)}, {"top@1.5x.bmp", Bmp(30, 60)}},
         {},
         0},
        {"larger images of other sizes, or unreadable",
         kBase + "Left=left.bmp\r\n",
         {{"top@2x.bmp", Bmp(40, 79)}, {"left.bmp", Bmp(5, 7)}, {"left@1.5x.bmp", Bmp(7, 10)},
          {"left@2x.bmp", "BM?"}},
         {"skin.ini:2: [Personality] Top: \"top@2x.bmp\" is 40 x 79, not 40 x 80 (the image at 192 DPI); the engine "
          "scales \"top.bmp\" instead",
          "skin.ini:4: [Personality] Left: \"left@1.5x.bmp\" is 7 x 10, not 8 x 11 (the image at 144 DPI); the "
          "engine scales \"left.bmp\" instead",
          "skin.ini:4: [Personality] Left: \"left@2x.bmp\" is not a BMP image the engine can read; it scales "
          "\"left.bmp\" instead"},
         2},
        {"a frame count that is not a number",
         kBase + "Left=left.bmp\r\nLeftFrame=abc\r\n",
         {{"left.bmp", Bmp(4, 10)}},
         {"skin.ini:5: [Personality] LeftFrame: \"abc\" is not a number; the engine uses 1"},
         2},
        {"a frame count of 0",
         "[Personality]\r\nTop=top.bmp\r\nTopFrame=0\r\n",
         {},
         {"skin.ini:3: [Personality] TopFrame: 0 is below 1; the engine uses 1"},
         2},
        {"more frames than pixels",
         "[Personality]\r\nTop=top.bmp\r\nTopFrame=100\r\n",
         {},
         {"skin.ini:2: [Personality] Top: the caption is 1 pixels high, under the 8 pixels the engine needs; Tellit "
          "refuses this skin and keeps the one it has",
          "skin.ini:3: [Personality] TopFrame: 100 is more frames than the image's 40 pixels of height; the engine "
          "uses 40"},
         2},
        {"a thin caption",
         kBase,
         {{"top.bmp", Bmp(20, 10)}},
         {"skin.ini:2: [Personality] Top: the caption is 5 pixels high, under the 8 pixels the engine needs; Tellit "
          "refuses this skin and keeps the one it has"},
         2},
        {"no caption image",
         "[Personality]\r\nLeft=top.bmp\r\n",
         {},
         {"skin.ini:1: [Personality] Top: there is no caption image (Top), under the 8 pixels the engine needs; "
          "Tellit refuses this skin and keeps the one it has"},
         2},
        {"frames that do not divide a stacked strip",
         "[Personality]\r\nTop=top.bmp\r\nTopFrame=3\r\n",
         {},
         {"skin.ini:2: [Personality] Top: the image is 40 pixels high, which 3 frames do not divide; the engine cuts "
          "frames of 13 pixels and never shows the last 1"},
         2},
        {"frames that do not divide a strip",
         kBase + kButtons,
         {{"button.bmp", Bmp(52, 10)}},
         {"skin.ini:5: [Buttons] Bitmap: the image is 52 pixels wide, which 5 frames do not divide; the engine cuts "
          "frames of 10 pixels and never shows the last 2"},
         2},
        {"an unknown section",
         kBase + "[Fontz]\r\nFontHeight=12\r\n",
         {},
         {"skin.ini:4: [Fontz]: not a section the engine reads; did you mean Fonts?"},
         1},
        {"an unknown section, nothing near",
         kBase + "[StartButton]\r\nImage=top.bmp\r\n",
         {},
         {"skin.ini:4: [StartButton]: not a section the engine reads"},
         1},
        {"an unknown key",
         kBase + kButtons + "Bitmapp=button.bmp\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] Bitmapp: not a key the engine reads in this section; did you mean Bitmap?"},
         1},
        {"an unknown key, nothing near",
         kBase + "[Fonts]\r\nFontHeight=12\r\nColour=1\r\n",
         {},
         {"skin.ini:6: [Fonts] Colour: not a key the engine reads in this section"},
         1},
        {"a repeated key",
         kBase + kButtons + "Trans=1\r\ntrans=0\r\n",
         kButtonFiles,
         {"skin.ini:7: [Buttons] trans: repeated key; the engine reads line 6 and ignores this one"},
         1},
        {"a repeated key, empty first",
         kBase + kButtons + "Trans=\r\nTrans=1\r\n",
         kButtonFiles,
         {"skin.ini:7: [Buttons] Trans: repeated key; the engine reads line 6 (empty there, so the engine uses the "
          "default)"},
         1},
        {"a repeated section",
         kBase + kButtons + "[buttons]\r\nBitmap=missing.bmp\r\n",
         kButtonFiles,
         {"skin.ini:6: [buttons]: repeated section; the engine reads only the one at line 4"},
         1},
        {"blanks inside the brackets",
         kBase + "[ Fonts ]\r\nFontHeight=12\r\n",
         {},
         {"skin.ini:4: [ Fonts ]: blanks inside the brackets: the engine looks for [Fonts] and does not find this "
          "section"},
         2},
        {"a line before the first section",
         "SkinName=x\r\n" + kBase,
         {},
         {"skin.ini:1: \"SkinName=x\" lies before the first [section]; the engine never reads it"},
         1},
        {"a line that is not key=value",
         kBase + "LeftWidth 4\r\n",
         {},
         {"skin.ini:4: [Personality]: \"LeftWidth 4\" is not a key=value line; the engine ignores it"},
         1},
        {"a zero byte",
         kBase + "; end\r\n" + std::string(1, '\0') + "[Fonts]\r\n",
         {},
         {"skin.ini:5: a zero byte ends the text here; the engine reads nothing after it"},
         1},
        {"a hexadecimal colour",
         kBase + "[Colours]\r\nButtonFace=0x00FF00\r\n",
         {},
         {"skin.ini:5: [Colours] ButtonFace: \"0x00FF00\": a colour is three decimal numbers (red green blue), not "
          "hexadecimal; the engine uses 0 0 0"},
         2},
        {"a colour by name",
         kBase + "[Colours]\r\nMenuText=red\r\n",
         {},
         {"skin.ini:5: [Colours] MenuText: \"red\": a colour is three decimal numbers (red green blue), not a name; "
          "the engine uses 0 0 0"},
         2},
        {"two numbers for a colour",
         kBase + "[Colours]\r\nButtonText=255 0\r\n",
         {},
         {"skin.ini:5: [Colours] ButtonText: \"255 0\": a colour is three numbers (red green blue); 2 are given; the "
          "engine uses 255 0 0"},
         2},
        {"a colour number past 255",
         kBase + "[Colour0]\r\ncolor=300,0,0\r\n",
         {},
         {"skin.ini:5: [Colour0] color: \"300,0,0\": 300 is past 255; the engine uses 44 0 0"},
         2},
        {"four numbers for a colour",
         kBase + "[Colours]\r\nMenu=1 2 3 4\r\n",
         {},
         {"skin.ini:5: [Colours] Menu: \"1 2 3 4\": 4 numbers given, and only red, green and blue are read; the "
          "engine uses 1 2 3"},
         1},
        {"a missing image",
         kBase + "[Buttons]\r\nBitmap=button.bmp\r\n",
         {},
         {"skin.ini:5: [Buttons] Bitmap: no file \"button.bmp\" in the skin; the engine loads no image"},
         2},
        {"an image that is not a .bmp",
         kBase + "[Buttons]\r\nBitmap=button.png\r\n",
         {{"button.png", "\x89PNG"}},
         {"skin.ini:5: [Buttons] Bitmap: \"button.png\" is not a .bmp file; the engine loads no image",
          "button.png: not named by the description; the engine never loads it"},
         2},
        {"an upper-case extension",
         kBase + "[Buttons]\r\nBitmap=button.BMP\r\n",
         kButtonFiles,
         {"skin.ini:5: [Buttons] Bitmap: \"button.BMP\": the extension must be .bmp in lower case; the engine loads "
          "no image",
          "button.bmp: not named by the description; the engine never loads it"},
         2},
        {"an image that does not decode",
         kBase + kButtons,
         {{"button.bmp", "BM not really"}},
         {"skin.ini:5: [Buttons] Bitmap: \"button.bmp\" is not a BMP image the engine can read; it loads no image"},
         2},
        {"an image nobody names",
         kBase,
         {{"stray.bmp", Bmp(4, 4)}},
         {"stray.bmp: not named by the description; the engine never loads it"},
         1},
        {"a second description",
         kBase,
         {{"zz.ini", "[Fonts]\r\n"}},
         {"zz.ini: a second description; the engine reads only skin.ini"},
         1},
        {"a sub-folder",
         kBase,
         {{"more/", ""}},
         {"more: not a plain file; a skin is one folder, and its sub-folders are not read"},
         1},
        {"a negative margin",
         kBase + kButtons + "LeftWidth=-3\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] LeftWidth: -3 is negative; the engine uses 0"},
         2},
        {"a margin past the image",
         kBase + kButtons + "LeftWidth=60\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] LeftWidth: 60 is past the image's width of 50 pixels; the engine uses 50",
          "skin.ini:6: [Buttons] LeftWidth: LeftWidth 50 and RightWidth 0 are together wider than one frame (10 "
          "pixels); the engine takes the edges' pixels from the neighbouring frames"},
         2},
        {"margins wider than a frame",
         kBase + kButtons + "LeftWidth=6\r\nRightWidth=6\r\n",
         kButtonFiles,
         {"skin.ini:7: [Buttons] RightWidth: LeftWidth 6 and RightWidth 6 are together wider than one frame (10 "
          "pixels); the engine takes the edges' pixels from the neighbouring frames"},
         2},
        {"a switch that is not 0 or 1",
         kBase + kButtons + "Trans=2\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] Trans: 2 is not 0 or 1; the engine keeps it, and its parts read it as 0 or as 1"},
         1},
        {"Tile above 1",
         kBase + "[MenuItem]\r\nImage=item.bmp\r\nTile=5\r\n",
         {{"item.bmp", Bmp(50, 8)}},
         {"skin.ini:6: [MenuItem] Tile: 5 is not 0 or 1; the engine uses 0"},
         1},
        {"a colour index without its section",
         kBase + kButtons + "NormalColour=3\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] NormalColour: 3 is not -1 or the place of a [Colour...] section (there are 0)"},
         1},
        {"a caption alignment out of range",
         kBase + "TextAlignment=7\r\n",
         {},
         {"skin.ini:4: [Personality] TextAlignment: 7 is not 0, 1 or 2; the engine aligns left"},
         1},
        {"one part of the caption text colour",
         kBase + "ActiveTextR=255\r\n",
         {},
         {"skin.ini:4: [Personality] ActiveTextR: ActiveTextR, ActiveTextG and ActiveTextB are needed together, "
          "each 0 or more; the engine uses the [Colours] TitleTextActive colour instead"},
         2},
        {"a caption text part past 255",
         kBase + "InActiveTextR=300\r\nInActiveTextG=0\r\nInActiveTextB=0\r\n",
         {},
         {"skin.ini:4: [Personality] InActiveTextR: 300 is past 255; the engine uses 44"},
         2},
        {"a caption button the engine drops",
         kBase + "[Button0]\r\nAction=-1\r\nButtonImage=close.bmp\r\n",
         {{"close.bmp", Bmp(54, 18)}},
         {"skin.ini:4: [Button0]: Action -1 without Visibility=0: the engine drops this caption button and reads none "
          "of its keys",
          "close.bmp: not named by the description; the engine never loads it"},
         1},
        {"an image on the window-icon button",
         kBase + "[Button0]\r\nAction=3\r\nButtonImage=icon.bmp\r\n",
         {{"icon.bmp", Bmp(54, 18)}},
         {"skin.ini:6: [Button0] ButtonImage: the window-icon button (Action 3 or 11) without a frame count draws the "
          "window's own icon; the engine drops this image"},
         1},
        {"a negative caption-button frame count",
         kBase + "[Button0]\r\nButtonImage=close.bmp\r\nframe=-2\r\n",
         {{"close.bmp", Bmp(54, 18)}},
         {"skin.ini:6: [Button0] frame: -2 is below 0; the engine counts the frames itself and uses 3"},
         2},
        {"a section without its image",
         kBase + "[GroupBox]\r\nLeftWidth=3\r\n",
         {},
         {"skin.ini:4: [GroupBox]: no Image: the engine leaves this element to the system and reads none of its keys"},
         1},
        {"a thumb frame count of 0",
         kBase + "[HorzScrollThumb]\r\nImage=thumb.bmp\r\nFrameCount=0\r\n",
         {{"thumb.bmp", Bmp(30, 16)}},
         {"skin.ini:6: [HorzScrollThumb] FrameCount: 0 is below 1; the engine uses 3"},
         2},
        {"a position out of range",
         kBase + "[Button0]\r\nButtonImage=close.bmp\r\nXcoord=999999999\r\n",
         {{"close.bmp", Bmp(54, 18)}},
         {"skin.ini:6: [Button0] Xcoord: 999999999 is out of the range the engine accepts; the engine uses 268435456"},
         2},
        {"MDI buttons that do not divide into twelve",
         kBase + "[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
         {{"mdi.bmp", Bmp(100, 16)}},
         {"skin.ini:5: [MDICONTROLS] Image: the image is 100 pixels wide, which 12 frames do not divide; the engine "
          "cuts frames of 8 pixels and never shows the last 4"},
         2},
        {"button text too faint",
         kBase + kButtons + "NormalColour2=200 200 200\r\n",
         kButtonFiles,
         {"skin.ini:6: [Buttons] NormalColour2: button text (200 200 200) on 240 240 240 has a contrast of 1.47:1, "
          "under 4.5:1"},
         1},
        {"hexadecimal numbers are read", kBase + kButtons + "LeftWidth=0x4\r\nRightWidth=$4\r\n", kButtonFiles, {}, 0},
        {"lines counted at CR, LF and CR LF",
         "[Personality]\rTop=top.bmp\nTopFrame=2\r\n\n\r[Fonts]\nFontHeight=x\n",
         {},
         {"skin.ini:7: [Fonts] FontHeight: \"x\" is not a number; the engine uses 14"},
         2},
        {"a folder without a description",
         "",
         {},
         {".: no skin description (*.ini) in \"@\"; the engine keeps the skin it has"},
         2},
    };
    return cases;
}

} // namespace

TEST(SkinCheckTable, EachMalformedSkinGivesItsLinesAndStatus) {
    ASSERT_GE(Cases().size(), 40u);
    int n = 0;
    for (const Case& c : Cases()) {
        const std::string dir = MakeFolder(std::to_string(n++), c);
        const std::vector<TSkinProblem> problems = CheckSkinFolder(dir);
        std::vector<std::string> expected = c.expected;
        for (std::string& e : expected) {
            const size_t at = e.find("\"@\""); // the folder; larger images' names hold "@" too
            if (at != std::string::npos) e.replace(at + 1, 1, dir);
        }
        EXPECT_EQ(Lines(problems, dir), expected) << c.what;
        EXPECT_EQ(SkinCheckStatus(problems), c.status) << c.what;
        EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + dir + "\" >/dev/null 2>&1"), c.status) << c.what;
    }
}

TEST(SkinCheckTable, PackagesNameTheirEntries) {
    TSkinWriter writer;
    writer.Add("Dark.ini", kBase + "[Fonts]\r\nFontHeight=big\r\n");
    writer.Add("top.bmp", kTop);
    writer.Add("unused.bmp", Bmp(2, 2));
    const std::vector<TSkinProblem> problems = CheckSkinPackage(writer.Pack(), "dark.skn");
    EXPECT_EQ(Lines(problems, "-"),
              (std::vector<std::string>{"Dark.ini:5: [Fonts] FontHeight: \"big\" is not a number; the engine uses 14",
                                        "unused.bmp: not named by the description; the engine never loads it"}));
    EXPECT_EQ(SkinCheckStatus(problems), 2);

    EXPECT_EQ(Lines(CheckSkinPackage("not a package", "x.skn"), "-"),
              std::vector<std::string>{"x.skn: not a skin package: the compressed data is damaged or truncated; the "
                                       "engine keeps the skin it has"});
    TSkinWriter bare;
    bare.Add("top.bmp", kTop);
    EXPECT_EQ(Lines(CheckSkinPackage(bare.Pack(), "x.skn"), "-"),
              std::vector<std::string>{"x.skn: no description (an entry whose name holds \".ini\"); the engine reads "
                                       "no keys and leaves every element out"});

    const std::string file = ::testing::TempDir() + "skincheck_package.skn";
    WriteFileBytes(file, writer.Pack());
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + file + "\" >/dev/null 2>&1"), 2);
    EXPECT_EQ(ExitStatus("\"" SKINPACK_EXE "\" check \"" + file + ".none\" >/dev/null 2>&1"), 2);
}

// A description file given by name is the description, whatever other .ini files lie beside it.
TEST(SkinCheckTable, ADescriptionFileNamesTheDescription) {
    Case c{"", kBase, {{"a.ini", "[Nonsense]\r\n"}}, {}, 0};
    const std::string dir = MakeFolder("named", c);
    EXPECT_EQ(Lines(CheckSkinPath(dir + "/skin.ini"), dir),
              std::vector<std::string>{"a.ini: a second description; the engine reads only skin.ini"});
    // The folder alone: the first description by name.
    EXPECT_EQ(Lines(CheckSkinPath(dir), dir),
              (std::vector<std::string>{
                  "a.ini: [Personality] Top: there is no caption image (Top), under the 8 pixels the engine needs; "
                  "Tellit refuses this skin and keeps the one it has",
                  "a.ini:1: [Nonsense]: not a section the engine reads",
                  "skin.ini: a second description; the engine reads only a.ini",
                  "top.bmp: not named by the description; the engine never loads it"}));
}

// The check's line split keeps exactly the lines TQuickIni keeps, on texts of every kind of line end,
// blank, comment, zero byte and high byte (fixed seed).
TEST(SkinCheckTable, LineSplitMatchesTheEngine) {
    std::mt19937 random(21);
    const std::string pieces[] = {"\r",      "\n", "\r\n", "\n\r",     " ",
                                  "\t",      ";c", "[S]",  "[ S ]",    "k=v",
                                  " k = v ", "=",  "x",    "\xC3\xA9", std::string(1, '\0'),
                                  "\x01",    "]",  "["};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = int(random() % 24);
        for (int i = 0; i < n; ++i)
            text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        TMemoryStream stream;
        stream.Assign(text);
        TQuickIni ini;
        ini.LoadFromStream(&stream);
        std::vector<std::string> engine(ini.Lines().begin(), ini.Lines().end());
        ASSERT_EQ(ParseDescription(text).Stored, engine) << round;
    }
}
