#include "skin/controls/Discovery.h"

#include "framework/SysUtils.h"

#include <algorithm>

namespace {
TDiscovery Take(TSkinnerKind kind, TSkinStart start = ssInit, int flag = 0) {
    TDiscovery d;
    d.Matched = true;
    d.Kind = kind;
    d.Start = start;
    d.Flag = flag;
    return d;
}

constexpr std::uint32_t kVScroll = 0x00200000, kHScroll = 0x00100000;
} // namespace

std::uint32_t ClassesOfNames(const std::vector<std::string>& names) {
    static const struct {
        const char* name;
        std::uint32_t bit;
    } table[] = {
        {"ttabcontrol", fcTabControl},
        {"ttoolbutton", fcToolButton},
        {"tpagecontrol", fcPageControl},
        {"tcustomcheckbox", fcCustomCheckBox},
        {"tcustomradiogroup", fcCustomRadioGroup},
        {"tcustomgroupbox", fcCustomGroupBox},
        {"tradiobutton", fcRadioButton},
        {"ttoolbar", fcToolBar},
        {"tstatusbar", fcStatusBar},
        {"tprogressbar", fcProgressBar},
        {"tscrollbar", fcScrollBar},
        {"tcustomcombobox", fcCustomComboBox},
        {"tbitbtn", fcBitBtn},
        {"tspeedbutton", fcSpeedButton},
        {"tcustompanel", fcCustomPanel},
        {"tcustomlistview", fcCustomListView},
        {"tcustommemo", fcCustomMemo},
        {"tcustomgrid", fcCustomGrid},
        {"tbutton", fcButton},
        {"tcustomedit", fcCustomEdit},
        {"tcustomframe", fcCustomFrame},
        {"tcustomform", fcCustomForm},
        {"twincontrol", fcWinControl},
        {"tlistbox", fcListBox},
        {"tcustomlistbox", fcListBox},
        {"tcustomtreeview", fcCustomTreeView},
        {"tscrollbox", fcScrollBox},
        {"tmemo", fcCustomMemo},
    };
    std::uint32_t bits = 0;
    for (const std::string& n : names) {
        const std::string lower = LowerCase(n);
        for (const auto& t : table)
            if (lower == t.name) bits |= t.bit;
    }
    return bits;
}

bool IsPrintPreviewForm(const std::string& name) {
    // The report tools' preview forms (TQRStandardPreview, TppPrintPreview...) all say so too.
    return LowerCase(name).find("preview") != std::string::npos;
}

bool IsScrollControl(const TComponentFacts& c) {
    return (c.Style & (kVScroll | kHScroll)) != 0 ||
           (c.Classes & (fcListBox | fcCustomMemo | fcCustomTreeView | fcScrollBox)) != 0 || c.Tag == 55;
}

TDiscovery Find3rdControl(const TStringList& skin3rd, const std::string& className, TSkinControlTypes options,
                          bool hasTabSkin, bool& found) {
    found = false;
    const std::string prefix = LowerCase(className) + "=";
    std::string kind;
    for (const std::string& line : skin3rd)
        if (LowerCase(line).compare(0, prefix.size(), prefix) == 0) {
            found = true;
            kind = LowerCase(line.substr(prefix.size(), 50));
            break;
        }
    TDiscovery none;
    none.Matched = found;
    if (!found) return none;
    auto has = [&options](TSkinControlType t) { return options.Contains(t); };
    TDiscovery d = none;
    if (kind == "combobox" && has(xcCombo)) d = Take(skComBox);
    if (kind == "edit" && has(xcEdit)) d = Take(skEdit, ssInithwnd);
    if (kind == "radiobutton" && has(xcRadioButton)) d = Take(skRadioButton);
    if (kind == "panel" && has(xcPanel)) {
        d = Take(skBox, ssInit, 1);
        d.SetTransparent = true;
    }
    if (kind == "trackbar" && has(xcButton)) {
        d = Take(skTrackBar);
        d.SetTransparent = true;
    }
    if (kind == "button" && has(xcButton)) d = Take(skButton);
    if (kind == "bitbtn" && has(xcButton)) d = Take(skBitButton);
    if (kind == "tab" && has(xcTab) && hasTabSkin) d = Take(skTab, ssInithwnd);
    if (kind == "progress" && has(xcProgress)) d = Take(skProgress);
    if (kind == "scrollbar" && has(xcScrollbar)) {
        d = Take(skScrollbar, ssInitScrollbar, 1);
        d.WalkComponents = true;
    }
    if (kind == "groupbox" && has(xcGroupBox)) d = Take(skGroupBox, ssInit, 1);
    if (kind == "radiogroup" && has(xcGroupBox)) {
        d = Take(skGroupBox, ssInit, 1);
        if (has(xcRadioButton)) d.ChildKind = skRadioButton;
    }
    if (kind == "checkgroup" && has(xcPanel)) {
        d = has(xcGroupBox) ? Take(skGroupBox, ssInit, 1) : none;
        if (has(xcCheckBox)) d.ChildKind = skCheckBox;
    }
    if (kind == "checkbox" && has(xcCheckBox)) d = Take(skCheckBox);
    d.Matched = true;
    return d;
}

TDiscovery DiscoverComponent(const TComponentFacts& c, const TStringList& skin3rd, TSkinControlTypes options,
                             bool hasTabSkin) {
    bool found = false;
    TDiscovery third = Find3rdControl(skin3rd, c.ClassName, options, hasTabSkin, found);
    if (found) return third;
    const std::string name = UpperCase(c.ClassName);
    TDiscovery none;
    none.Matched = true;
    for (const char* never : {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"})
        if (name == never) return none;

    auto is = [&c](std::uint32_t cls) { return (c.Classes & cls) != 0; };
    auto has = [&options](TSkinControlType t) { return options.Contains(t); };
    const bool tabs = has(xcTab) && hasTabSkin;
    TDiscovery d;

    if (is(fcTabControl) && tabs) return Take(skTab, ssInithwnd);
    if (is(fcToolButton) && has(xcMainMenu)) {
        d = none;
        d.ToolButtonMenu = true;
        return d;
    }
    if (name == "TTABSET" && tabs) return Take(skTab31);
    if (name == "TTABBEDNOTEBOOK" && tabs) return Take(skTab, ssInithwnd);
    if (name == "TMVCPANEL") {
        d = none;
        d.WalkComponents = true;
        return d;
    }
    if (is(fcPageControl) && tabs) return Take(skTab, ssInithwnd);
    if (is(fcCustomCheckBox) && has(xcCheckBox)) return Take(skCheckBox);
    if (name == "TTRACKBAR" && has(xcButton)) return Take(skTrackBar);
    if (name == "TUPDOWN" && has(xcButton)) return Take(skUpDown);
    if (is(fcCustomRadioGroup) && has(xcRadioButton)) {
        d = Take(skGroupBox, ssInit, 1);
        d.ChildKind = skRadioButton;
        return d;
    }
    if (name == "TDBNAVIGATOR" && has(xcPanel)) {
        d = Take(skBox, ssInit, 1);
        d.SetFlat = true;
        return d;
    }
    if (is(fcCustomGroupBox) && has(xcPanel)) {
        d = Take(skGroupBox, ssInit, 1);
        d.WalkComponents = true;
        return d;
    }
    if (is(fcRadioButton) && has(xcRadioButton)) return Take(skRadioButton);
    if (is(fcToolBar) && has(xcToolbar)) {
        d = Take(skBox, ssInit, 1);
        d.SetFlat = d.SetTransparent = d.ToolBarSkin = true;
        return d;
    }
    if (is(fcStatusBar) && has(xcStatusBar)) {
        d = Take(skStatusBar);
        d.NoSizeGrip = true;
        return d;
    }
    if (is(fcProgressBar) && has(xcProgress)) return Take(skProgress);
    if (is(fcScrollBar) && has(xcScrollbar)) return Take(skScControl);
    if (is(fcCustomComboBox) && has(xcCombo)) return Take(skComBox);
    if (name == "TDATETIMEPICKER" && has(xcEdit)) return Take(c.DateTimeUpDown ? skEdit : skComBox);
    if (name == "TRICHEDIT" && has(xcScrollbar)) return Take(skScrollbar, ssInitScrollbar, 1);
    if ((name == "TWWDBRICHEDIT" || name == "TDXDBMEMO") && has(xcScrollbar))
        return Take(skScrollbar, ssInitScrollbar, 1);
    if (is(fcBitBtn)) return has(xcBitBtn) ? Take(skBitButton) : none;
    if (is(fcSpeedButton) && has(xcSpeedButton)) return Take(skSpeedButton, ssInitGraphic);
    if (is(fcCustomPanel) && has(xcPanel)) {
        d = Take(skBox, ssInit, 1);
        d.WalkComponents = true;
        return d;
    }
    if ((name == "TDXTREELIST" || name == "TDXDBTREELIST" || name == "TDXDBGRID") && has(xcScrollbar))
        return Take(skScrollbar, ssInitScrollbar, 0);
    if (is(fcCustomListView) && has(xcScrollbar)) return Take(skListView, ssInitScrollbar, 0);
    if (is(fcCustomMemo) && has(xcScrollbar)) return Take(skScrollbar, ssInitScrollbar, 1);
    if (is(fcCustomGrid) && has(xcScrollbar)) {
        d = Take(skScrollbar, ssInitScrollbar, 1);
        d.FixedColorFace = true;
        return d;
    }
    if (is(fcWinControl) && IsScrollControl(c) && has(xcScrollbar)) return Take(skScrollbar, ssInitScrollbar, 1);
    if (is(fcButton) && has(xcButton)) return Take(skButton);
    if (is(fcCustomEdit) && has(xcEdit)) return Take(skEdit, ssInithwnd);
    if (is(fcCustomFrame)) {
        d = none;
        d.WalkComponents = true;
        return d;
    }
    if (is(fcCustomForm)) {
        d = Take(skBox, ssInit, 1);
        d.WalkComponents = true;
        return d;
    }
    return TDiscovery{};
}

TSkinnerKind DiscoverWindow(const std::string& className, std::uint32_t style, bool hasChild, bool& onFirstChild) {
    onFirstChild = false;
    const std::string name = LowerCase(className);
    if (name == "button") {
        // Owner-drawn buttons are their owner's to paint; a push box is a push button (the bit
        // tests below would give both a check box face).
        if ((style & 0xF) == 11) return skNone;
        if ((style & 0xF) == 10) return skButton;
        if ((style & 7) == 7) return skNone;
        if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) return skCheckBox;
        if ((style & 9) == 9 || (style & 4) != 0) return skRadioButton;
        return skButton;
    }
    if (name == "combobox") return (style & 3) != 1 ? skComBox : skNone;
    if (name == "comboboxex32") {
        onFirstChild = hasChild;
        return hasChild ? skComBox : skNone;
    }
    // Only size boxes and grips get the sizer; other scroll bars keep working as they are.
    if (name == "scrollbar") return (style & 0x18) != 0 ? skSizer : skNone;
    if (name == "systabcontrol32") return (style & 0x2000) == 0 ? skTab : skNone;
    if (name == "edit") return skEdit;
    return skNone;
}
