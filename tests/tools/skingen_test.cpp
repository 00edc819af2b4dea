// The skin Tellit ships, checked as the engine will meet it: the package the build made from
// skingen's output, opened with the package reader and read through TQuickIni.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skingen/Paint.h"
#include "tools/skingen/Preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

namespace {

struct Skin {
    std::string package, stream;
    TSkinReader reader;
    TQuickIni ini;
    std::string iniName;
};

// The skin the tests below read: the shipped light one, unless a test switches to another package.
std::string gSkin = "tellit";

const Skin& Shipped() {
    static auto* skins = new std::map<std::string, Skin*>; // kept for the whole run
    Skin*& skin = (*skins)[gSkin];
    if (!skin)
        skin = [] {
            auto* s = new Skin;
            s->package = ReadFileBytes(TELLIT_SKIN_DIR "/" + gSkin + ".skn");
            if (gSkin == "tellit") s->stream = ReadFileBytes(TELLIT_SKIN_DIR "/tellit.skinstream");
            TMemoryStream in;
            in.Assign(s->package);
            if (s->reader.Loadfromstream(in)) {
                TMemoryStream text;
                s->reader.readIni(".ini", text, s->iniName);
                s->ini.LoadFromStream(&text);
            }
            return s;
        }();
    return *skin;
}

// Runs body for the light skin and the dark one, each read as Shipped().
template <class Body> void ForEachSkin(Body body) {
    for (const char* name : {"tellit", "dark"}) {
        gSkin = name;
        SCOPED_TRACE(name);
        body();
    }
    gSkin = "tellit";
}

std::string Value(const std::string& section, const std::string& key) {
    return Shipped().ini.ReadString(section, key, "");
}
int Int(const std::string& section, const std::string& key) {
    return Shipped().ini.ReadInteger(section, key, -9999);
}

std::string EntryBytes(const std::string& name) {
    TMemoryStream s;
    Shipped().reader.readfile(name, s);
    return s.Bytes();
}
TBitmap32 Image(const std::string& section, const std::string& key) {
    return ReadBmp(EntryBytes(Value(section, key)));
}

// Three decimal numbers, red first, as the description writes colours.
TPixel Colour(const std::string& text) {
    int rgb[3] = {-1, -1, -1};
    EXPECT_EQ(std::sscanf(text.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]), 3) << "colour \"" << text << "\"";
    return PixelRGB(std::uint8_t(rgb[0]), std::uint8_t(rgb[1]), std::uint8_t(rgb[2]));
}

// Contrast ratio of two colours by relative luminance (sRGB), 1 to 21.
double Luminance(TPixel p) {
    auto lin = [](int c) {
        double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(PixelR(p)) + 0.7152 * lin(PixelG(p)) + 0.0722 * lin(PixelB(p));
}
double Contrast(TPixel a, TPixel b) {
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Frame i (from 1) of an n-frame strip.
TRect Frame(const TBitmap32& image, int i, int n, bool vertical) {
    if (vertical) return Bounds(0, (i - 1) * (image.Height() / n), image.Width(), image.Height() / n);
    return Bounds((i - 1) * (image.Width() / n), 0, image.Width() / n, image.Height());
}

bool HasKey(const TBitmap32& image, const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (PixelIs(image.Pixel(x, y), clSkinKey)) return true;
    return false;
}

// The lowest contrast between text and any drawn (not key-coloured) pixel of the area.
double WorstContrast(TPixel text, const TBitmap32& image, const TRect& area) {
    double worst = 21;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (!PixelIs(image.Pixel(x, y), clSkinKey)) worst = std::min(worst, Contrast(text, image.Pixel(x, y)));
    return worst;
}

TRect Shrink(const TRect& r, int l, int t, int rr, int b) {
    return Rect(r.Left + l, r.Top + t, r.Right - rr, r.Bottom - b);
}

// Sections whose name starts with "Button" other than the ones the engine reads otherwise: the
// caption buttons.
std::vector<std::string> CaptionButtonSections() {
    TStringList sections;
    Shipped().ini.ReadSections(sections);
    std::vector<std::string> out;
    for (const std::string& s : sections) {
        std::string upper = s;
        for (char& c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (upper.rfind("BUTTON", 0) == 0 && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
            upper != "BUTTON.CHECKBOX" && upper != "BUTTON")
            out.push_back(s);
    }
    return out;
}

const char* const kElementSections[] = {
    "GroupBoxEdge",       "GroupBox",           "Toolbars",           "Tabs",
    "StatusBarEdges",     "ComboButton",        "SunkEdge",           "ExtraImages",
    "Headerbar",          "MenuItem",           "MenuBackground",     "Scrollbar",
    "HorzScroll",         "VertScroll",         "HorzScrollThumb",    "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
    "Trackbar.ThumbUp",   "Trackbar.ThumbDown", "UpDown.Horz",        "UpDown.Vert"};

TEST(ContrastHelper, KnownRatios) {
    EXPECT_NEAR(Contrast(PixelRGB(0, 0, 0), PixelRGB(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(Contrast(PixelRGB(119, 119, 119), PixelRGB(255, 255, 255)), 4.48, 0.01);
    EXPECT_DOUBLE_EQ(Contrast(PixelRGB(10, 200, 30), PixelRGB(10, 200, 30)), 1.0);
}

TEST(ShippedSkin, PackageHoldsTheDescriptionAndOnly24BitImages) {
    const Skin& skin = Shipped();
    ASSERT_EQ(skin.reader.Status(), TSkinReadStatus::Ok);
    EXPECT_EQ(skin.iniName, "tellit.ini");
    EXPECT_EQ(Value("TitlebarSkin", "SkinName"), "Tellit");
    int images = 0;
    for (int i = 0; i < skin.reader.Count(); ++i) {
        const std::string& name = skin.reader.Names()[i];
        if (name == skin.iniName) continue;
        std::string bytes = EntryBytes(name);
        ASSERT_GT(bytes.size(), 54u) << name;
        EXPECT_EQ(bytes.substr(0, 2), "BM") << name;
        EXPECT_EQ(std::uint8_t(bytes[28]) | std::uint8_t(bytes[29]) << 8, 24) << name << " is not 24-bit";
        EXPECT_FALSE(ReadBmp(bytes).Empty()) << name;
        ++images;
    }
    EXPECT_GE(images, 40);
}

TEST(ShippedSkin, SkinStreamIsThePackageAfterItsSize) {
    const Skin& skin = Shipped();
    ASSERT_EQ(skin.stream.size(), skin.package.size() + 4);
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i)
        size |= std::uint32_t(std::uint8_t(skin.stream[size_t(i)])) << (8 * i);
    EXPECT_EQ(size, skin.package.size());
    EXPECT_EQ(skin.stream.substr(4), skin.package);
}

TEST(ShippedSkin, EveryKeyTheEngineReadsIsGiven) {
    const std::map<std::string, std::vector<std::string>> keys = {
        {"Personality",
         {"menuBar", "TileMenu", "TileLeftMenu", "TileRightMenu", "TextBack", "TextShift", "TextShiftVert",
          "TextRightClip", "TextAlignment", "Textbackground", "TXTBackleft", "TXTBackRight", "ActiveTextR",
          "ActiveTextG", "ActiveTextB", "InActiveTextR", "InActiveTextG", "InActiveTextB"}},
        {"Fonts", {"FontHeight"}},
        {"Colours",
         {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu", "MenuText",
          "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText",
          "TitleTextActive", "TitleTextNoActive"}},
        {"Colour0", {"color"}},
        {"MDICONTROLS", {"Image"}},
        {"Buttons",
         {"Bitmap", "CheckButton", "RadioButton", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans",
          "Tile", "NormalColour", "MouseOverColour", "PressedColour", "NormalColour2", "MouseOverColour2",
          "PressedColour2", "RadioButtonFrame", "CheckButtonFrame"}},
        {"Progress",
         {"Bitmap", "Chunk", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"}},
        {"GroupBox", {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"}},
        {"Tabs", {"Border"}},
        {"UpDown.Horz", {"GlyphImage"}},
        {"UpDown.Vert", {"GlyphImage"}},
        {"HorzScrollThumb", {"FrameCount"}},
        {"VertScrollThumb", {"FrameCount"}},
    };
    for (const auto& [section, names] : keys)
        for (const std::string& key : names)
            EXPECT_NE(Value(section, key), "") << "[" << section << "] " << key;
    for (const char* border : {"Left", "Right", "Top", "Bottom"})
        for (const char* suffix : {"", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
            EXPECT_NE(Value("Personality", std::string(border) + suffix), "") << border << suffix;
    std::vector<std::string> buttons = CaptionButtonSections();
    EXPECT_GE(buttons.size(), 5u);
    for (const std::string& b : buttons)
        for (const char* key :
             {"Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp", "frame", "ButtonImage"})
            EXPECT_NE(Value(b, key), "") << "[" << b << "] " << key;
    const std::set<std::string> noStyle = {"Tabs", "ComboButton", "UpDown.Horz", "UpDown.Vert"};
    for (const char* section : kElementSections)
        for (const char* key :
             {"Image", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile", "NormalColour",
              "MouseOverColour", "PressedColour", "NormalColour2", "MouseOverColour2", "PressedColour2"})
            if (std::string(key) != "Style" || !noStyle.count(section)) {
                EXPECT_NE(Value(section, key), "") << "[" << section << "] " << key;
            }
}

TEST(ShippedSkin, EveryImageNameResolvesAndEveryImageIsNamed) {
    std::set<std::string> named;
    for (const std::string& line : Shipped().ini.Lines()) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string value = line.substr(eq + 1);
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        if (value.size() < 4 || LowerCase(value.substr(value.size() - 4)) != ".bmp") continue;
        // The engine matches the extension exactly in lower case and ignores any folder part.
        EXPECT_EQ(value.substr(value.size() - 4), ".bmp") << line;
        EXPECT_EQ(value.find_first_of("/\\"), std::string::npos) << line;
        EXPECT_FALSE(ReadBmp(EntryBytes(value)).Empty()) << line << ": no such image in the package";
        named.insert(LowerCase(value));
    }
    for (const std::string& name : Shipped().reader.Names())
        if (name != Shipped().iniName) {
            EXPECT_TRUE(named.count(name)) << name << " is packed but never named";
        }
}

struct StripSpec {
    std::string section, key;
    int frames;
    bool vertical;
};

std::vector<StripSpec> Strips() {
    std::vector<StripSpec> s = {
        {"Personality", "Left", Int("Personality", "LeftFrame"), false},
        {"Personality", "Right", Int("Personality", "RightFrame"), false},
        {"Personality", "Top", Int("Personality", "TopFrame"), true},
        {"Personality", "Bottom", Int("Personality", "BottomFrame"), true},
        {"Personality", "menuBar", 2, true},
        {"Personality", "TextBack", 2, true},
        {"MDICONTROLS", "Image", 12, false},
        {"Buttons", "Bitmap", 5, false},
        {"Buttons", "CheckButton", Int("Buttons", "CheckButtonFrame"), false},
        {"Buttons", "RadioButton", Int("Buttons", "RadioButtonFrame"), false},
        {"Progress", "Bitmap", 2, false},
        {"Tabs", "Border", 1, false},
        {"UpDown.Horz", "GlyphImage", 8, false},
        {"UpDown.Vert", "GlyphImage", 8, false},
    };
    const std::map<std::string, int> counts = {{"GroupBoxEdge", 2},       {"GroupBox", 1},
                                               {"Toolbars", 5},           {"Tabs", 5},
                                               {"StatusBarEdges", 3},     {"ComboButton", 4},
                                               {"SunkEdge", 4},           {"ExtraImages", 5},
                                               {"Headerbar", 5},          {"MenuItem", 5},
                                               {"MenuBackground", 1},     {"Scrollbar", 23},
                                               {"HorzScroll", 4},         {"VertScroll", 4},
                                               {"Trackbar.ThumbHorz", 5}, {"Trackbar.ThumbVert", 5},
                                               {"Trackbar.ThumbLeft", 5}, {"Trackbar.ThumbRight", 5},
                                               {"Trackbar.ThumbUp", 5},   {"Trackbar.ThumbDown", 5},
                                               {"UpDown.Horz", 8},        {"UpDown.Vert", 8}};
    for (const auto& [section, n] : counts)
        s.push_back({section, "Image", n, false});
    s.push_back({"HorzScrollThumb", "Image", Int("HorzScrollThumb", "FrameCount"), false});
    s.push_back({"VertScrollThumb", "Image", Int("VertScrollThumb", "FrameCount"), false});
    for (const std::string& b : CaptionButtonSections())
        s.push_back({b, "ButtonImage", Int(b, "frame"), false});
    return s;
}

TEST(ShippedSkin, StripsDivideIntoTheirFramesAndMarginsFit) {
    for (const StripSpec& s : Strips()) {
        SCOPED_TRACE("[" + s.section + "] " + s.key);
        TBitmap32 image = Image(s.section, s.key);
        ASSERT_FALSE(image.Empty());
        ASSERT_GE(s.frames, 1);
        int length = s.vertical ? image.Height() : image.Width();
        EXPECT_EQ(length % s.frames, 0) << length << " pixels for " << s.frames << " frames";
        if (s.key != "Image") continue;
        // Fixed edges must leave something of the frame to stretch.
        TRect f = Frame(image, 1, s.frames, false);
        EXPECT_LT(Int(s.section, "LeftWidth") + Int(s.section, "RightWidth"), f.Width());
        EXPECT_LT(Int(s.section, "TopHeight") + Int(s.section, "BottomHeight"), f.Height());
    }
}

// The frame pieces must meet: the side borders' fixed top part is the caption, the caption buttons
// sit inside it, and the fixed ends fit their images.
TEST(ShippedSkin, FrameGeometryAddsUp) {
    TBitmap32 left = Image("Personality", "Left"), right = Image("Personality", "Right");
    TBitmap32 top = Image("Personality", "Top"), bottom = Image("Personality", "Bottom");
    int caption = top.Height() / Int("Personality", "TopFrame");
    EXPECT_GE(caption, 18);
    EXPECT_EQ(Int("Personality", "LeftTopHeight"), caption);
    EXPECT_EQ(Int("Personality", "RightTopHeight"), caption);
    int bottomHeight = bottom.Height() / Int("Personality", "BottomFrame");
    EXPECT_EQ(Int("Personality", "LeftBotHeight"), bottomHeight);
    EXPECT_EQ(Int("Personality", "RightBotHeight"), bottomHeight);
    EXPECT_LT(caption + bottomHeight, left.Height());
    EXPECT_EQ(left.Width() / Int("Personality", "LeftFrame"), right.Width() / Int("Personality", "RightFrame"));
    EXPECT_LT(Int("Personality", "TopTopHeight") + Int("Personality", "TopBotHeight"), top.Width());
    EXPECT_EQ(Image("Personality", "TextBack").Height() / 2, caption);
    // Caption buttons sit inside the caption, right-anchored ones (Align 1, left edge Xcoord from
    // the right) do not overlap unless they share a place, and the title stays clear of them and
    // of the window icon at the left.
    int lw = left.Width() / Int("Personality", "LeftFrame"), rw = right.Width() / Int("Personality", "RightFrame");
    std::map<int, int> rightAnchored; // Xcoord -> frame width
    for (const std::string& b : CaptionButtonSections()) {
        SCOPED_TRACE(b);
        TBitmap32 face = Image(b, "ButtonImage");
        int fw = face.Width() / Int(b, "frame"), x = Int(b, "Xcoord");
        EXPECT_GE(Int(b, "Ycoord"), 0);
        EXPECT_LE(Int(b, "Ycoord") + face.Height(), caption);
        if (Int(b, "Align") == 1) {
            EXPECT_GE(x - fw, rw) << "runs into the right border";
            rightAnchored[x] = fw;
        } else if (Int(b, "Align") == 0) {
            EXPECT_GE(x, lw);
            EXPECT_LE(x + fw, lw + Int("Personality", "TextShift")) << "under the title";
        }
    }
    ASSERT_FALSE(rightAnchored.empty());
    for (auto it = rightAnchored.begin(); std::next(it) != rightAnchored.end(); ++it)
        EXPECT_LE(it->first, std::next(it)->first - std::next(it)->second) << "buttons at " << it->first << " overlap";
    EXPECT_GE(Int("Personality", "TextRightClip") + rw, rightAnchored.rbegin()->first) << "title under a button";
    // Glyph strips state their frame counts; they agree with what the engine would derive from
    // the cell size (13 pixels below 16 high, else 16).
    for (const char* key : {"CheckButton", "RadioButton"}) {
        TBitmap32 strip = Image("Buttons", key);
        int cell = strip.Height() < 16 ? 13 : 16;
        EXPECT_EQ(Int("Buttons", std::string(key) + "Frame"), std::max(4, strip.Width() / cell)) << key;
    }
}

TEST(ShippedSkin, KeyColourShapesOnlyWhereItShould) {
    // Rounded top corners: the outer corner pixels of the side borders are key-coloured, and the
    // side borders say so (Trans 1) so that the window region leaves them out.
    TBitmap32 left = Image("Personality", "Left"), right = Image("Personality", "Right");
    int n = Int("Personality", "LeftFrame"), caption = Int("Personality", "LeftTopHeight");
    for (int i = 1; i <= n; ++i) {
        TRect l = Frame(left, i, n, false), r = Frame(right, i, n, false);
        EXPECT_TRUE(PixelIs(left.Pixel(l.Left, 0), clSkinKey)) << "left frame " << i;
        EXPECT_TRUE(PixelIs(right.Pixel(r.Right - 1, 0), clSkinKey)) << "right frame " << i;
        // No holes below the caption: the region keeps the whole frame there.
        EXPECT_FALSE(HasKey(left, Rect(l.Left, caption, l.Right, l.Bottom))) << "left frame " << i;
        EXPECT_FALSE(HasKey(right, Rect(r.Left, caption, r.Right, r.Bottom))) << "right frame " << i;
    }
    EXPECT_EQ(Int("Personality", "LeftTrans"), 1);
    EXPECT_EQ(Int("Personality", "RightTrans"), 1);
    TBitmap32 top = Image("Personality", "Top");
    EXPECT_TRUE(HasKey(top, Frame(top, 1, 2, true))) << "the caption's corner curve";
    EXPECT_EQ(Int("Personality", "TopTrans"), 1);
    // The caption's middle, under the title, is solid.
    int fixed = Int("Personality", "TopTopHeight");
    EXPECT_FALSE(HasKey(top, Rect(fixed, 0, top.Width() - fixed, top.Height())));
    EXPECT_FALSE(HasKey(Image("Personality", "Bottom"), Image("Personality", "Bottom").BoundsRect()));

    // Rounded controls leave their corners to the background.
    for (auto [section, key] :
         {std::pair{"Buttons", "Bitmap"}, {"Buttons", "CheckButton"}, {"Buttons", "RadioButton"}, {"Tabs", "Image"}}) {
        TBitmap32 image = Image(section, key);
        EXPECT_TRUE(PixelIs(image.Pixel(0, 0), clSkinKey)) << section << " " << key;
    }
    // Elements drawn through their Trans switch must switch it on when they hold the key colour;
    // the menu background and the menu bar are always copied opaque, so they may not hold it.
    for (const char* section : kElementSections) {
        TBitmap32 image = Image(section, "Image");
        if (HasKey(image, image.BoundsRect()) && std::string(section) != "ExtraImages" &&
            std::string(section) != "ComboButton" && std::string(section).rfind("UpDown", 0) != 0 &&
            std::string(section).rfind("Trackbar", 0) != 0) {
            EXPECT_EQ(Int(section, "Trans"), 1) << section;
        }
    }
    EXPECT_EQ(Int("Buttons", "Trans"), 1);
    EXPECT_FALSE(HasKey(Image("MenuBackground", "Image"), Image("MenuBackground", "Image").BoundsRect()));
    EXPECT_FALSE(HasKey(Image("Personality", "menuBar"), Image("Personality", "menuBar").BoundsRect()));
}

struct TextOn {
    std::string what;
    TPixel text;
    TBitmap32 image; // empty: a plain colour
    TRect area;
    TPixel plain = 0;
};

void TextIsReadable() {
    auto col = [](const char* section, const char* key) { return Colour(Value(section, key)); };
    std::vector<TextOn> pairs;
    auto onImage = [&](std::string what, TPixel text, const TBitmap32& image, TRect area) {
        pairs.push_back({std::move(what), text, image, area});
    };
    auto onColour = [&](std::string what, TPixel text, TPixel background) {
        pairs.push_back({std::move(what), text, {}, {}, background});
    };
    // An element's frame without its fixed edges, where text goes.
    auto middle = [](const char* section, const TBitmap32& image, int frame, int frames) {
        TRect f = Frame(image, frame, frames, false);
        return Shrink(f, std::max(1, Int(section, "LeftWidth")), std::max(1, Int(section, "TopHeight")),
                      std::max(1, Int(section, "RightWidth")), std::max(1, Int(section, "BottomHeight")));
    };

    // Caption: the title sits in the vertical middle of the caption, over the caption image and
    // the title backdrop; rows near the caption's top and bottom edges hold no text.
    TBitmap32 top = Image("Personality", "Top"), back = Image("Personality", "TextBack");
    int caption = top.Height() / 2, fixed = Int("Personality", "TopTopHeight");
    auto readRGB = [](const char* prefix) {
        return PixelRGB(std::uint8_t(Int("Personality", std::string(prefix) + "R")),
                        std::uint8_t(Int("Personality", std::string(prefix) + "G")),
                        std::uint8_t(Int("Personality", std::string(prefix) + "B")));
    };
    for (int frame = 1; frame <= 2; ++frame) {
        TPixel colours[] = {frame == 1 ? col("Colours", "TitleTextActive") : col("Colours", "TitleTextNoActive"),
                            readRGB(frame == 1 ? "ActiveText" : "InActiveText")};
        for (TPixel text : colours) {
            int y0 = (frame - 1) * caption;
            onImage("caption frame " + std::to_string(frame), text, top,
                    Rect(fixed, y0 + 4, top.Width() - fixed, y0 + caption - 4));
            onImage("title backdrop frame " + std::to_string(frame), text, back,
                    Rect(0, y0 + 4, back.Width(), y0 + caption - 4));
        }
    }

    TBitmap32 button = Image("Buttons", "Bitmap");
    onImage("button normal", col("Buttons", "NormalColour2"), button, middle("Buttons", button, 1, 5));
    onImage("button pressed", col("Buttons", "PressedColour2"), button, middle("Buttons", button, 2, 5));
    onImage("button hot", col("Buttons", "MouseOverColour2"), button, middle("Buttons", button, 4, 5));
    onImage("button default", col("Colours", "ButtonText"), button, middle("Buttons", button, 5, 5));
    onColour("button text on the face", col("Colours", "ButtonText"), col("Colours", "ButtonFace"));
    onColour("window text on the face", col("Colours", "WindowText"), col("Colours", "ButtonFace"));
    onColour("selection", col("Colours", "HilightText"), col("Colours", "Hilight"));

    TBitmap32 bar = Image("Personality", "menuBar");
    onImage("menu bar", col("Colours", "MenuBarText"), bar, Rect(0, 2, bar.Width(), bar.Height() - 2));
    onColour("menu bar colour", col("Colours", "MenuBarText"), col("Colours", "Menubar"));
    TBitmap32 menu = Image("MenuBackground", "Image");
    onImage("menu", col("Colours", "MenuText"), menu, Shrink(menu.BoundsRect(), 3, 3, 3, 3));
    onColour("menu colour", col("Colours", "MenuText"), col("Colours", "Menu"));
    TBitmap32 item = Image("MenuItem", "Image");
    onImage("selected menu item", col("Colours", "HilightText"), item, middle("MenuItem", item, 4, 5));

    TBitmap32 tabs = Image("Tabs", "Image");
    onImage("tab", col("Tabs", "NormalColour2"), tabs, middle("Tabs", tabs, 1, 5));
    onImage("selected tab", col("Tabs", "MouseOverColour2"), tabs, middle("Tabs", tabs, 2, 5));
    TBitmap32 status = Image("StatusBarEdges", "Image");
    for (int frame = 1; frame <= 3; ++frame)
        onImage("status panel " + std::to_string(frame), col("StatusBarEdges", "NormalColour2"), status,
                middle("StatusBarEdges", status, frame, 3));
    TBitmap32 header = Image("Headerbar", "Image");
    onImage("header", col("Colours", "ButtonText"), header, middle("Headerbar", header, 1, 5));

    for (const TextOn& p : pairs) {
        double ratio = p.image.Empty() ? Contrast(p.text, p.plain) : WorstContrast(p.text, p.image, p.area);
        EXPECT_GE(ratio, 4.5) << p.what;
        if (!p.image.Empty()) {
            EXPECT_FALSE(p.area.IsEmpty()) << p.what;
        }
    }
}

TEST(ShippedSkin, TextIsReadableOnItsBackground) {
    ForEachSkin([] { TextIsReadable(); });
}

// The generator's drawing helpers: the shapes the skin's key colour depends on.
TEST(SkingenPaint, RoundedBoxKeysItsCornersOnly) {
    TBitmap32 b = Canvas(12, 10, Hex(0x123456));
    Box(b, Rect(0, 0, 12, 10), {Hex(0x000000), Hex(0xFFFFFF), Hex(0xFFFFFF), 4, kTopLeft | kTopRight});
    EXPECT_EQ(b.Pixel(0, 0), kKey);
    EXPECT_EQ(b.Pixel(11, 0), kKey);
    EXPECT_EQ(b.Pixel(0, 9), Hex(0x000000)) << "square bottom corners keep their border";
    EXPECT_EQ(b.Pixel(11, 9), Hex(0x000000));
    EXPECT_EQ(b.Pixel(6, 0), Hex(0x000000));
    EXPECT_EQ(b.Pixel(6, 5), Hex(0xFFFFFF));
    // Each key pixel lies outside the curve, so the outline stays closed: every keyed pixel of a
    // row sits left of (or right of) every drawn one.
    for (int y = 0; y < 4; ++y) {
        int firstDrawn = 0;
        while (b.Pixel(firstDrawn, y) == kKey)
            ++firstDrawn;
        EXPECT_EQ(b.Pixel(firstDrawn, y), Hex(0x000000)) << "row " << y;
        EXPECT_EQ(b.Pixel(11 - firstDrawn, y), Hex(0x000000)) << "row " << y;
    }
}

TEST(SkingenPaint, StripsAndSlices) {
    TBitmap32 a = Canvas(3, 2, Hex(0x010203)), c = Canvas(3, 2, Hex(0x0A0B0C));
    TBitmap32 across = Strip({a, c}), down = Strip({a, c}, true);
    EXPECT_EQ(across.Width(), 6);
    EXPECT_EQ(across.Height(), 2);
    EXPECT_EQ(across.Pixel(3, 1), Hex(0x0A0B0C));
    EXPECT_EQ(down.Height(), 4);
    EXPECT_EQ(down.Pixel(2, 1), Hex(0x010203));
    EXPECT_EQ(down.Pixel(2, 2), Hex(0x0A0B0C));
    EXPECT_THROW(Strip({a, Canvas(2, 2)}), std::logic_error);
    EXPECT_EQ(Columns(across, 3, 3), c);
    EXPECT_EQ(Rows(down, 2, 2), c);
    EXPECT_TRUE(Strip({}).Empty());
}

TEST(SkingenPaint, ArrowPointsWhereItSays) {
    TBitmap32 b = Canvas(9, 9);
    Arrow(b, 4, 4, 4, Dir::Up, Hex(0xFFFFFF));
    // Tip one pixel wide at the top, base seven pixels wide at the bottom.
    EXPECT_EQ(b.Pixel(4, 2), Hex(0xFFFFFF));
    EXPECT_EQ(b.Pixel(3, 2), kKey);
    EXPECT_EQ(b.Pixel(1, 5), Hex(0xFFFFFF));
    EXPECT_EQ(b.Pixel(7, 5), Hex(0xFFFFFF));
    EXPECT_EQ(b.Pixel(4, 6), kKey);
}

// The preview draws the generated folder with the engine's primitives: the rounded corner must
// show what lies behind the window, the caption must be the caption.
TEST(ShippedSkin, PreviewShowsTheShapedFrame) {
    TBitmap32 p = RenderPreview(TELLIT_SKIN_DIR "/tellit");
    ASSERT_FALSE(p.Empty());
    // The active window sits at (16, 20) on a desktop of two greens.
    auto desktop = [](TPixel px) { return PixelG(px) == 0x7F || PixelG(px) == 0x89; };
    EXPECT_TRUE(desktop(p.Pixel(16, 20))) << "the rounded top-left corner is cut away";
    EXPECT_TRUE(desktop(p.Pixel(16 + 449, 20))) << "the rounded top-right corner is cut away";
    EXPECT_FALSE(desktop(p.Pixel(16, 20 + 359))) << "the bottom corners are square";
    TPixel caption = p.Pixel(16 + 200, 20 + 12);
    EXPECT_LT(Luminance(caption), 0.2) << "a deep caption";
    EXPECT_GT(PixelB(caption), PixelR(caption)) << "a blue caption";
    EXPECT_EQ(p.Pixel(16 + 440, 20 + 300), Colour(Value("Colours", "ButtonFace"))) << "the client area is the face";
}

// skins/tellit and skins/dark in the source tree are the generated folders, kept for reading; they
// must not go stale.
TEST(ShippedSkin, CommittedCopyMatchesTheGenerator) {
    namespace fs = std::filesystem;
    for (const char* name : {"tellit", "dark"}) {
        std::map<std::string, std::string> generated, committed;
        for (const auto& e : fs::directory_iterator(std::string(TELLIT_SKIN_DIR "/") + name))
            generated[e.path().filename().string()] = ReadFileBytes(e.path().string());
        for (const auto& e : fs::directory_iterator(std::string(TELLIT_SKIN_SOURCES "/../") + name))
            committed[e.path().filename().string()] = ReadFileBytes(e.path().string());
        EXPECT_FALSE(generated.empty()) << name;
        EXPECT_TRUE(generated == committed) << "skins/" << name << " is stale: build the tellit_skin_sources target";
    }
}

} // namespace
