#include "skin/data/SkinOptions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

int CountOf(const TStringList& lines, const std::string& line) {
    int n = 0;
    for (const std::string& l : lines)
        n += l == line;
    return n;
}

} // namespace

TEST(SkinOptions, CreationDefaults) {
    TSkinOptions o;
    EXPECT_EQ(o.DisableTag, 99);
    EXPECT_EQ(o.SkinFormtype, sfMainform);
    EXPECT_TRUE(o.MenuUpdate);
    EXPECT_TRUE(o.Loading);
    EXPECT_TRUE(o.MainMenuUpdate);
    for (int t = xcMainMenu; t <= xcSystemMenu; ++t)
        EXPECT_TRUE(o.SkinControls.Contains(TSkinControlType(t))) << t;
    EXPECT_FALSE(o.SkinControls.Contains(xcFastReport));
    EXPECT_EQ(o.SkinControls.Bits(), 0x3FFFFu);

    const TStringList& lines = o.Skin3rd();
    ASSERT_EQ(lines.Count(), 96);
    EXPECT_EQ(lines[0], "TComboboxex=combobox");
    EXPECT_EQ(lines[25], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(lines[95], "TOVCDBNUMERICFIELD=Edit");
    // The three repeated lines are part of the list.
    EXPECT_EQ(CountOf(lines, "TDBCheckboxEh=Checkbox"), 2);
    EXPECT_EQ(CountOf(lines, "TLMDFontSizeCombobox=combobox"), 2);
    EXPECT_EQ(CountOf(lines, "TWWDBCombobox=Combobox"), 2);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 93u);
    for (const std::string& l : lines) {
        size_t eq = l.find('=');
        EXPECT_TRUE(eq != std::string::npos && eq > 0 && eq + 1 < l.size()) << l;
    }
}

TEST(SkinOptions, ControlListIsACopy) {
    TSkinOptions o;
    TStringList mine;
    mine.Add("TMyGrid=scrollbar");
    o.SetControlList(mine);
    mine.Add("TOther=Edit");
    ASSERT_EQ(o.Skin3rd().Count(), 1);
    EXPECT_EQ(o.Skin3rd()[0], "TMyGrid=scrollbar");
    o.SetControlList(o.Skin3rd()); // assigning its own lines keeps them
    EXPECT_EQ(o.Skin3rd().Count(), 1);
}

TEST(SkinOptions, FormSkinWithoutHandler) {
    TSkinOptions o;
    auto ask = [&](const std::string& name, bool start = true) {
        bool doSkin = start;
        o.DoFormSkin(name, doSkin);
        return doSkin;
    };
    EXPECT_FALSE(ask("SysMonthCal32"));
    EXPECT_TRUE(ask("TForm1"));
    EXPECT_FALSE(ask("TForm1", false)); // the flag is left as it came
    EXPECT_TRUE(ask("TfrPreviewForm"));
    o.SkinControls.Include(xcFastReport);
    EXPECT_FALSE(ask("TfrPreviewForm"));
    EXPECT_TRUE(ask("TFRPreviewForm"));
    EXPECT_TRUE(ask("Tf"));
}

TEST(SkinOptions, FormSkinHandlerAloneDecides) {
    TObject component;
    TSkinOptions o(&component);
    o.SkinControls.Include(xcFastReport);
    std::vector<std::string> asked;
    o.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
        EXPECT_EQ(sender, &component);
        asked.push_back(name);
        if (name == "TNoSkin") doSkin = false;
    };
    for (const char* name : {"SysMonthCal32", "TfrDesigner", "TForm1"}) {
        bool doSkin = true;
        o.DoFormSkin(name, doSkin);
        EXPECT_TRUE(doSkin) << name;
    }
    bool doSkin = true;
    o.DoFormSkin("TNoSkin", doSkin);
    EXPECT_FALSE(doSkin);
    EXPECT_EQ(asked.size(), 4u);
}

TEST(SkinOptions, DisableTag) {
    TSkinOptions o;
    EXPECT_TRUE(o.TagDisabled(199));
    EXPECT_TRUE(o.TagDisabled(99));
    EXPECT_FALSE(o.TagDisabled(98));
    EXPECT_FALSE(o.TagDisabled(0));
    EXPECT_FALSE(o.TagDisabled(-99)); // the remainder keeps the sign
    o.DisableTag = 0;
    EXPECT_TRUE(o.TagDisabled(300));
    EXPECT_FALSE(o.TagDisabled(199));
}

TEST(SkinOptions, SkinChangedReachesTheHandler) {
    TObject component;
    TSkinOptions o(&component);
    o.DoSkinChanged(); // nothing assigned: nothing happens
    TObject* seen = nullptr;
    o.OnSkinChanged = [&](TObject* sender) { seen = sender; };
    o.DoSkinChanged();
    EXPECT_EQ(seen, &component);
}

TEST(SkinOptions, ControlTypeSets) {
    TSkinControlTypes s{xcEdit, xcTab};
    EXPECT_EQ(s.Bits(), (1u << xcEdit) | (1u << xcTab));
    s.Exclude(xcEdit);
    EXPECT_FALSE(s.Contains(xcEdit));
    EXPECT_TRUE(s.Contains(xcTab));
    EXPECT_EQ(TSkinControlTypes::FromBits(0xFFFFFFFF).Bits(), 0x7FFFFu); // no members past xcFastReport
}

// The options by name: what a component editor or a form reader sets and reads back, and texts
// that are no value of the property, which change nothing.
TEST(SkinOptions, SetAndReadByName) {
    TSkinOptions o;
    const struct {
        const char* name;
        const char* value;
        bool accepted;
        const char* readBack; // nullptr: as before
    } cases[] = {
        {"DisableTag", "42", true, nullptr},
        {"disabletag", " 7 ", true, nullptr},
        {"DisableTag", "7x", false, nullptr},
        {"DisableTag", "", false, nullptr},
        {"DisableTag", "99999999999", false, nullptr},
        {"SkinControls", "[xcEdit, xcTab]", true, "[xcEdit,xcTab]"},
        {"SkinControls", "[XCBUTTON,xcMainMenu]", true, "[xcMainMenu,xcButton]"},
        {"SkinControls", "[]", true, "[]"},
        {"SkinControls", "[xcEdit,xcNothing]", false, nullptr},
        {"SkinControls", "xcEdit", false, nullptr},
        {"SkinFormtype", "sfDialog", true, "sfDialog"},
        {"SkinFormtype", "sfonlythisform", true, "sfOnlyThisForm"},
        {"SkinFormtype", "sfSomething", false, nullptr},
        {"MenuUpdate", "False", true, "False"},
        {"MenuUpdate", "maybe", false, nullptr},
        {"NoSuchOption", "1", false, nullptr},
    };
    for (const auto& c : cases) {
        TPropValue before;
        const bool known = o.GetOption(c.name, before);
        EXPECT_EQ(o.SetOption(c.name, c.value), c.accepted) << c.name << " " << c.value;
        TPropValue after;
        EXPECT_EQ(o.GetOption(c.name, after), known) << c.name;
        if (!known) continue;
        const std::string text = after.Kind == TPropValue::pkInteger ? std::to_string(after.Int) : after.Text;
        const std::string was = before.Kind == TPropValue::pkInteger ? std::to_string(before.Int) : before.Text;
        const std::string wanted = !c.accepted ? was : c.readBack ? c.readBack : text;
        EXPECT_EQ(text, wanted) << c.name << " " << c.value;
    }
    EXPECT_EQ(o.DisableTag, 7);
    EXPECT_TRUE(o.SkinControls.Bits() == 0);
    EXPECT_EQ(o.SkinFormtype, sfOnlyThisForm);
    EXPECT_FALSE(o.MenuUpdate);
    // The default set as text, and the lines of Skin3rd replaced by text.
    EXPECT_EQ(SkinControlsText(TSkinControlTypes::Default()).find("xcFastReport"), std::string::npos);
    TSkinControlTypes back;
    ASSERT_TRUE(SkinControlsFromText(SkinControlsText(TSkinControlTypes::Default()), back));
    EXPECT_EQ(back, TSkinControlTypes::Default());
    ASSERT_TRUE(o.SetOption("Skin3rd", "TMyGrid=nil\r\nTMyEdit=edit\r\n"));
    EXPECT_EQ(o.Skin3rd().Count(), 2);
    EXPECT_EQ(o.Skin3rd()[1], "TMyEdit=edit");
}

TEST(SkinOptions, MenuGlyphsAreFourMonochromeGlyphs) {
    TSkinOptions o;
    const TBitmap32& g = o.MenuGlyphs;
    ASSERT_EQ(g.Width(), 64);
    ASSERT_EQ(g.Height(), 16);
    const TPixel white = PixelRGB(255, 255, 255), black = PixelRGB(0, 0, 0);
    std::vector<std::vector<TPixel>> cells(4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            TPixel p = g.Pixel(x, y);
            ASSERT_TRUE(p == white || p == black) << x << "," << y;
            cells[size_t(x / 16)].push_back(p);
        }
    for (int i = 0; i < 4; ++i) {
        int ink = 0;
        for (TPixel p : cells[size_t(i)])
            ink += p == black;
        EXPECT_GT(ink, 8) << i;
        EXPECT_LT(ink, 128) << i; // glyphs, not blots
        for (int j = 0; j < i; ++j)
            EXPECT_NE(cells[size_t(i)], cells[size_t(j)]) << i << " " << j;
    }
    // The glyphs stay inside their cells: a white border column at each cell's edges.
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(g.Pixel(16 * i, y), white);
            EXPECT_EQ(g.Pixel(16 * i + 15, y), white);
        }
}
