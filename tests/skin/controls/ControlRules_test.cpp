// The portable rules of control skinning: caption and arrow placement, discovery tables, and
// reading published properties by name.
#include "skin/controls/ControlText.h"
#include "skin/controls/Discovery.h"
#include "skin/controls/SkinProps.h"

#include <gtest/gtest.h>

namespace {
TEST(ControlText, CaptionPlacement) {
    const TRect r{10, 20, 110, 40}; // 100 x 20
    // One pixel above the centre: (20 - 13) / 2 - 1 = 2.
    EXPECT_EQ(CaptionRect(r, 30, 13, kAlignLeft), (TRect{10, 22, 110, 35}));
    EXPECT_EQ(CaptionRect(r, 30, 13, kAlignRight), (TRect{10, 22, 110, 35}));
    EXPECT_EQ(CaptionRect(r, 30, 13, kAlignCenter), (TRect{45, 22, 75, 35}));
    // Truncation toward zero when the text is taller than the rectangle: (20 - 25) / 2 - 1 = -3.
    EXPECT_EQ(CaptionRect(r, 30, 25, kAlignCenter).Top, 17);
    // Centred both ways whatever the alignment.
    EXPECT_EQ(CenteredCaptionRect(r, 30, 13), (TRect{45, 23, 75, 36}));
}

TEST(ControlText, ImageAndCaption) {
    const TRect r{0, 0, 100, 24};
    struct Case {
        bool image;
        int iw, ih, tw, th, align;
        bool shown;
        TRect imageCell, text;
    } cases[] = {
        // No image: the text starts at 2 + 1.
        {false, 16, 16, 40, 13, kAlignLeft, false, {}, {3, 5, 43, 18}},
        {true, 16, 16, 40, 13, kAlignLeft, true, {2, 4, 18, 20}, {19, 5, 59, 18}},
        // Centred: (100 - 16 - 40) / 2 = 22.
        {true, 16, 16, 40, 13, kAlignCenter, true, {22, 4, 38, 20}, {39, 5, 79, 18}},
        // Right: 100 - 16 - 40 - 2 = 42.
        {true, 16, 16, 40, 13, kAlignRight, true, {42, 4, 58, 20}, {59, 5, 99, 18}},
        // An image as wide as the rectangle is not drawn.
        {true, 100, 16, 40, 13, kAlignLeft, false, {}, {3, 5, 43, 18}},
        // Text wider than the room: clipped to the rectangle; start at least 2.
        {true, 16, 16, 120, 13, kAlignRight, true, {2, 4, 18, 20}, {19, 5, 100, 18}},
        // No text: a zero-wide block the rectangle's height.
        {true, 16, 16, 0, 0, kAlignLeft, true, {2, 4, 18, 20}, {19, 0, 19, 24}},
    };
    for (const Case& c : cases) {
        const TImgCaptionLayout l = ImgCaptionLayout(r, c.image, c.iw, c.ih, c.tw, c.th, c.align);
        EXPECT_EQ(l.ShowImage, c.shown) << c.iw << " " << c.align;
        if (c.shown) {
            EXPECT_EQ(l.Image, c.imageCell) << c.align;
        }
        EXPECT_EQ(l.Text, c.text) << c.tw << " " << c.align;
    }
}

TEST(ControlText, Arrows) {
    const auto up = ArrowStrokes(10, 10, 0);
    ASSERT_EQ(up.size(), 7u);
    EXPECT_EQ(up[1][1].X, 14);
    EXPECT_EQ(up[1][1].Y, 14);
    const auto down = ArrowStrokes(10, 10, 1);
    EXPECT_EQ(down[0][0].Y, 13);
    const auto left = ArrowStrokes(5, 5, 2);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].size(), 5u);
    EXPECT_EQ(left[0][3].X, 4);
    EXPECT_EQ(ArrowStrokes(5, 5, 3)[0][3].X, 6);
    EXPECT_TRUE(ArrowStrokes(5, 5, 4).empty());
}

TComponentFacts Facts(const char* name, std::uint32_t classes, long long tag = 0, std::uint32_t style = 0) {
    TComponentFacts f;
    f.ClassName = name;
    f.Classes = classes | fcWinControl;
    f.Tag = tag;
    f.Style = style;
    return f;
}

TEST(Discovery, ComponentTable) {
    const TStringList none;
    const TSkinControlTypes all = TSkinControlTypes::Default();
    TSkinControlTypes noBitBtn = all;
    noBitBtn.Exclude(xcBitBtn);
    TSkinControlTypes noScroll = all;
    noScroll.Exclude(xcScrollbar);
    struct Case {
        const char* what;
        TComponentFacts facts;
        TSkinControlTypes options;
        bool tabs;
        TSkinnerKind kind;
        TSkinStart start;
        int flag;
    } cases[] = {
        {"button", Facts("TButton", fcButton), all, true, skButton, ssInit, 0},
        // A bit button is a button too, but its own row decides, option or not.
        {"bitbtn", Facts("TBitBtn", fcBitBtn | fcButton), all, true, skBitButton, ssInit, 0},
        {"bitbtn off", Facts("TBitBtn", fcBitBtn | fcButton), noBitBtn, true, skNone, ssInit, 0},
        {"memo", Facts("TMemo", fcCustomMemo | fcCustomEdit), all, true, skScrollbar, ssInitScrollbar, 1},
        // Without the scroll bar option a memo falls through to the edit row.
        {"memo no scroll", Facts("TMemo", fcCustomMemo | fcCustomEdit), noScroll, true, skEdit, ssInithwnd, 0},
        {"edit", Facts("TEdit", fcCustomEdit), all, true, skEdit, ssInithwnd, 0},
        // Tag 55 makes a scroll control only after the earlier rows: an edit with tag 55 and a plain
        // control with tag 55.
        {"edit 55", Facts("TEdit", fcCustomEdit, 55), all, true, skScrollbar, ssInitScrollbar, 1},
        {"plain 55", Facts("TFoo", 0, 55), all, true, skScrollbar, ssInitScrollbar, 1},
        {"vscroll", Facts("TFoo", 0, 0, 0x00200000), all, true, skScrollbar, ssInitScrollbar, 1},
        {"check", Facts("TCheckBox", fcCustomCheckBox), all, true, skCheckBox, ssInit, 0},
        {"group", Facts("TGroupBox", fcCustomGroupBox), all, true, skGroupBox, ssInit, 1},
        {"page tabs", Facts("TPageControl", fcPageControl), all, true, skTab, ssInithwnd, 0},
        {"page no tab skin", Facts("TPageControl", fcPageControl), all, false, skNone, ssInit, 0},
        {"trackbar by name", Facts("TTrackBar", 0), all, true, skTrackBar, ssInit, 0},
        {"list view", Facts("TListView", fcCustomListView), all, true, skListView, ssInitScrollbar, 0},
        {"speed", Facts("TSpeedButton", fcSpeedButton), all, true, skSpeedButton, ssInitGraphic, 0},
        {"never", Facts("TQRPreview", fcButton), all, true, skNone, ssInit, 0},
        {"unknown", Facts("TLabel", 0), all, true, skNone, ssInit, 0},
    };
    for (const Case& c : cases) {
        const TDiscovery d = DiscoverComponent(c.facts, none, c.options, c.tabs);
        EXPECT_EQ(d.Kind, c.kind) << c.what;
        if (c.kind != skNone) {
            EXPECT_EQ(d.Start, c.start) << c.what;
            EXPECT_EQ(d.Flag, c.flag) << c.what;
        }
    }
    const TDiscovery radio = DiscoverComponent(Facts("TRadioGroup", fcCustomRadioGroup), none, all, true);
    EXPECT_EQ(radio.ChildKind, skRadioButton);
    EXPECT_EQ(radio.Kind, skGroupBox);
    const TDiscovery bar = DiscoverComponent(Facts("TToolBar", fcToolBar), none, all, true);
    EXPECT_TRUE(bar.SetFlat && bar.SetTransparent && bar.ToolBarSkin);
    EXPECT_TRUE(DiscoverComponent(Facts("TStatusBar", fcStatusBar), none, all, true).NoSizeGrip);
    EXPECT_TRUE(DiscoverComponent(Facts("TPanel", fcCustomPanel), none, all, true).WalkComponents);
}

// What discovery asks for beyond the skinner, row by row, for classes of the framework and for
// classes that declare the framework class they stand for.
TEST(Discovery, DecisionsBeyondTheSkinner) {
    const TStringList none;
    const TSkinControlTypes all = TSkinControlTypes::Default();
    TSkinControlTypes noMenus = all;
    noMenus.Exclude(xcMainMenu);
    TComponentFacts upDownPicker = Facts("TDateTimePicker", 0);
    upDownPicker.DateTimeUpDown = true;
    struct Case {
        const char* what;
        TComponentFacts facts;
        TSkinControlTypes options;
        TSkinnerKind kind;
        bool walk, flat, transparent, noGrip, fixedFace, toolBar, toolButtonMenu;
    } cases[] = {
        {"tool bar", Facts("TToolBar", fcToolBar), all, skBox, false, true, true, false, false, true, false},
        {"tool button", Facts("TToolButton", ClassesOfNames({"TToolButton"})), all, skNone, false, false, false, false,
         false, false, true},
        // Without the main menu option a tool button's menu keeps its own look.
        {"tool button, no menus", Facts("TToolButton", fcToolButton), noMenus, skNone, false, false, false, false,
         false, false, false},
        {"status bar", Facts("TStatusBar", fcStatusBar), all, skStatusBar, false, false, false, true, false, false,
         false},
        {"grid", Facts("TStringGrid", ClassesOfNames({"TCustomGrid"})), all, skScrollbar, false, false, false, false,
         true, false, false},
        {"frame", Facts("TFrame1", ClassesOfNames({"tcustomframe"})), all, skNone, true, false, false, false, false,
         false, false},
        {"picker", Facts("TDateTimePicker", 0), all, skComBox, false, false, false, false, false, false, false},
        {"picker, up-down", upDownPicker, all, skEdit, false, false, false, false, false, false, false},
        // A tree view or scroll box is a scroll control by its class alone.
        {"tree", Facts("TMyTree", ClassesOfNames({"TCustomTreeView"})), all, skScrollbar, false, false, false, false,
         false, false, false},
        {"scroll box", Facts("TScrollBox", ClassesOfNames({"TScrollBox"})), all, skScrollbar, false, false, false,
         false, false, false, false},
    };
    for (const Case& c : cases) {
        const TDiscovery d = DiscoverComponent(c.facts, none, c.options, true);
        EXPECT_EQ(d.Kind, c.kind) << c.what;
        EXPECT_EQ(d.WalkComponents, c.walk) << c.what;
        EXPECT_EQ(d.SetFlat, c.flat) << c.what;
        EXPECT_EQ(d.SetTransparent, c.transparent) << c.what;
        EXPECT_EQ(d.NoSizeGrip, c.noGrip) << c.what;
        EXPECT_EQ(d.FixedColorFace, c.fixedFace) << c.what;
        EXPECT_EQ(d.ToolBarSkin, c.toolBar) << c.what;
        EXPECT_EQ(d.ToolButtonMenu, c.toolButtonMenu) << c.what;
    }
    // A declared radio group: its children get radio skinners, the group a group box.
    const TDiscovery radio =
        DiscoverComponent(Facts("TMyRadioGroup", ClassesOfNames({"TCustomRadioGroup"})), none, all, true);
    EXPECT_EQ(radio.Kind, skGroupBox);
    EXPECT_EQ(radio.ChildKind, skRadioButton);

    // Names in any case; unknown ones add nothing.
    EXPECT_EQ(ClassesOfNames({"TCUSTOMGRID", "TScrollBox", "TNoSuchClass"}), fcCustomGrid | fcScrollBox);
    EXPECT_EQ(ClassesOfNames({}), 0u);
    for (const char* preview : {"TQRStandardPreview", "TppPrintPreview", "TdxfmStdPreview", "ReportPREVIEWForm"})
        EXPECT_TRUE(IsPrintPreviewForm(preview)) << preview;
    for (const char* other : {"TForm1", "TPrevForm", ""})
        EXPECT_FALSE(IsPrintPreviewForm(other)) << other;
}

TEST(Discovery, Skin3rdLines) {
    TStringList lines;
    lines.Add("TMyGrid=nil");
    lines.Add("tfancybutton=Button");
    lines.Add("TOddThing=unheard-of");
    lines.Add("TMyPanel=panel");
    lines.Add("TMyGroup=checkgroup");
    const TSkinControlTypes all = TSkinControlTypes::Default();
    // A grid descendant mapped to "nil" stays unskinned, and so does a class of an unknown kind.
    EXPECT_EQ(DiscoverComponent(Facts("TMyGrid", fcCustomGrid), lines, all, true).Kind, skNone);
    EXPECT_TRUE(DiscoverComponent(Facts("TMyGrid", fcCustomGrid), lines, all, true).Matched);
    EXPECT_EQ(DiscoverComponent(Facts("TOddThing", fcButton), lines, all, true).Kind, skNone);
    EXPECT_EQ(DiscoverComponent(Facts("TFancyButton", 0), lines, all, true).Kind, skButton);
    EXPECT_TRUE(DiscoverComponent(Facts("TMyPanel", 0), lines, all, true).SetTransparent);
    TSkinControlTypes noGroup = all;
    noGroup.Exclude(xcGroupBox);
    const TDiscovery checks = DiscoverComponent(Facts("TMyGroup", 0), lines, noGroup, true);
    EXPECT_EQ(checks.ChildKind, skCheckBox);
    EXPECT_EQ(checks.Kind, skNone);
    // A prefix of a longer class name does not match.
    bool found = true;
    Find3rdControl(lines, "TMy", all, true, found);
    EXPECT_FALSE(found);
}

TEST(Discovery, PlainWindows) {
    struct Case {
        const char* cls;
        std::uint32_t style;
        bool child;
        TSkinnerKind kind;
    } cases[] = {
        {"Button", 0, false, skButton},        {"BUTTON", 1, false, skButton},       {"button", 8, false, skButton},
        {"button", 2, false, skCheckBox},      {"button", 3, false, skCheckBox},     {"button", 5, false, skCheckBox},
        {"button", 6, false, skCheckBox},      {"button", 4, false, skRadioButton},  {"button", 9, false, skRadioButton},
        {"button", 7, false, skNone},          {"button", 10, false, skButton},      {"button", 11, false, skNone},
        {"ComboBox", 2, false, skComBox},      {"ComboBox", 3, false, skComBox},     {"ComboBox", 1, false, skNone},
        {"ComboBoxEx32", 0, true, skComBox},   {"ComboBoxEx32", 0, false, skNone},   {"ScrollBar", 0, false, skNone},
        {"ScrollBar", 0x10, false, skSizer},   {"ScrollBar", 0x08, false, skSizer},  {"SysTabControl32", 0, false, skTab},
        {"SysTabControl32", 0x2000, false, skNone}, {"Edit", 0, false, skEdit},     {"Static", 0, false, skNone},
    };
    for (const Case& c : cases) {
        bool onChild = false;
        EXPECT_EQ(DiscoverWindow(c.cls, c.style, c.child, onChild), c.kind) << c.cls << " " << c.style;
    }
    bool onChild = false;
    DiscoverWindow("comboboxex32", 0, true, onChild);
    EXPECT_TRUE(onChild);
}

// A class publishing one property of each kind.
class TPublisher : public TComponent {
public:
    TPublisher() : TComponent(nullptr) {}
    bool GetPropValue(const std::string& name, TPropValue& v) const override {
        if (name == "Margin") {
            v.Kind = TPropValue::pkInteger;
            v.Int = -1;
        } else if (name == "Default") {
            v.Kind = TPropValue::pkEnum;
            v.Int = 1;
            v.Text = "True";
        } else if (name == "Caption") {
            v.Kind = TPropValue::pkString;
            v.Text = "Send";
        } else if (name == "Images") {
            v.Kind = TPropValue::pkObject;
            v.Object = const_cast<TPublisher*>(this);
        } else {
            return TComponent::GetPropValue(name, v);
        }
        return true;
    }
};

TEST(SkinProps, ReadByName) {
    TPublisher p;
    p.Tag = 98;
    EXPECT_EQ(GetIntProperty(&p, "Margin"), -1);
    EXPECT_EQ(GetIntProperty(&p, "Tag"), 98);
    EXPECT_EQ(GetIntProperty(&p, "Caption"), 0); // a string property
    EXPECT_EQ(GetIntProperty(&p, "Spacing"), 0); // missing
    EXPECT_EQ(GetIntProperty(nullptr, "Margin"), 0);
    EXPECT_EQ(GetEnumProperty(&p, "Default"), "True");
    EXPECT_EQ(GetEnumProperty(&p, "Caption"), "");
    EXPECT_EQ(GetStringProp(&p, "Caption"), "Send");
    EXPECT_EQ(GetObjProp<TPublisher>(&p, "Images"), &p);
    EXPECT_EQ(GetObjProp<TStringList>(&p, "Images"), nullptr); // another class
    EXPECT_EQ(p.ClassName(), "TPublisher");
}
} // namespace
