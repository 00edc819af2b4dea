// Where the model keeps each key's value (the readers in SkinModel.cpp put it there), so that the
// check can say what the engine uses instead of what is written.
#include "framework/SysUtils.h"
#include "skin/data/SkinCheckParts.h"

namespace {

std::string Lower(const std::string& s) {
    // Section names as ReadSections gives them: blanks inside the brackets are gone.
    std::string t = LowerCase(s);
    const size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : t.substr(b, e - b + 1);
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

bool IsCaptionButton(const std::string& s) {
    return StartsWith(s, "button") && s != "buttons" && s != "button" && s != "button.radio" && s != "button.checkbox";
}

const TDataSkinObject* Slot(const TSkinModel& m, const std::string& s) {
    struct Entry {
        const char* name;
        const TDataSkinObject* record;
    };
    const Entry slots[] = {{"groupboxedge", m.GroupBoxEdge.get()},
                           {"groupbox", m.GroupBox.get()},
                           {"toolbars", m.Toolbars.get()},
                           {"tabs", m.Tabs.get()},
                           {"statusbaredges", m.StatusBarEdges.get()},
                           {"combobutton", m.ComboButton.get()},
                           {"sunkedge", m.SunkEdge.get()},
                           {"extraimages", m.ExtraImages.get()},
                           {"headerbar", m.Headerbar.get()},
                           {"menuitem", m.MenuItem.get()},
                           {"menubackground", m.MenuBackground.get()},
                           {"scrollbar", m.Scrollbar.get()},
                           {"horzscroll", m.HorzScroll.get()},
                           {"vertscroll", m.VertScroll.get()},
                           {"horzscrollthumb", m.HorzScrollThumb.get()},
                           {"vertscrollthumb", m.VertScrollThumb.get()},
                           {"trackbar.thumbhorz", m.TrackbarThumbHorz.get()},
                           {"trackbar.thumbvert", m.TrackbarThumbVert.get()},
                           {"trackbar.thumbleft", m.TrackbarThumbLeft.get()},
                           {"trackbar.thumbright", m.TrackbarThumbRight.get()},
                           {"trackbar.thumbup", m.TrackbarThumbUp.get()},
                           {"trackbar.thumbdown", m.TrackbarThumbDown.get()},
                           {"updown.horz", m.UpDownHorz.get()},
                           {"updown.vert", m.UpDownVert.get()},
                           {"progress", m.Progress.get()}};
    for (const Entry& e : slots)
        if (s == e.name) return e.record;
    return nullptr;
}

// The fields every element record shares.
bool ElementInteger(const TDataSkinObject& o, const std::string& k, int& out) {
    const struct {
        const char* key;
        int value;
    } fields[] = {{"leftwidth", o.Margins.Left},
                  {"topheight", o.Margins.Top},
                  {"rightwidth", o.Margins.Right},
                  {"bottomheight", o.Margins.Bottom},
                  {"trans", o.Trans},
                  {"tile", o.Tile},
                  {"style", o.Style},
                  {"normalcolour", o.NormalColour},
                  {"mouseovercolour", o.MouseOverColour},
                  {"pressedcolour", o.PressedColour}};
    for (const auto& f : fields)
        if (k == f.key) {
            out = f.value;
            return true;
        }
    return false;
}

bool ElementColour(const TDataSkinObject& o, const std::string& k, TColor& out) {
    if (k == "normalcolour2")
        out = o.NormalColour2;
    else if (k == "mouseovercolour2")
        out = o.MouseOverColour2;
    else if (k == "pressedcolour2")
        out = o.PressedColour2;
    else
        return false;
    return true;
}

} // namespace

const TDataSkinObject* ModelRecord(const TSkinModel& m, const std::string& section) {
    const std::string s = Lower(section);
    if (s == "buttons") return &m.Buttons;
    if (IsCaptionButton(s)) {
        const std::string up = UpperCase(s);
        for (const TDataSkinSysButton& b : m.SysButtons)
            if (b.Name == up) return &b;
        return nullptr;
    }
    return Slot(m, s);
}

bool ModelInteger(const TSkinModel& m, const std::string& section, const std::string& key, int& out) {
    const std::string s = Lower(section), k = LowerCase(key);
    if (s == "fonts" && k == "fontheight") {
        out = m.Title.FontHeight;
        return true;
    }
    if (s == "personality") {
        for (const TDataSkinBorder* b : {&m.BorderLeft, &m.BorderRight, &m.BorderTop, &m.BorderBottom}) {
            const std::string name = LowerCase(b->Name);
            if (!StartsWith(k, name.c_str())) continue;
            const std::string rest = k.substr(name.size());
            const bool vertical = b == &m.BorderLeft || b == &m.BorderRight;
            if (rest == "topheight")
                out = vertical ? b->Margins.Top : b->Margins.Left;
            else if (rest == "botheight")
                out = vertical ? b->Margins.Bottom : b->Margins.Right;
            else if (rest == "frame")
                out = b->FrameCount;
            else if (rest == "stretch")
                out = b->Tile;
            else if (rest == "trans")
                out = b->Trans;
            else
                continue;
            return true;
        }
        if (m.MenuBar && (k == "tileleftmenu" || k == "tilerightmenu" || k == "tilemenu")) {
            out = k == "tileleftmenu"    ? m.MenuBar->Margins.Left
                  : k == "tilerightmenu" ? m.MenuBar->Margins.Right
                                         : m.MenuBar->Tile;
            return true;
        }
        const TDataSkinTitle& t = m.Title;
        const struct {
            const char* key;
            int value;
        } title[] = {{"textshift", t.Margins.Left},        {"textshiftvert", t.Margins.Top},
                     {"textrightclip", t.Margins.Right},   {"textalignment", t.TextAlignment},
                     {"textbackground", t.Textbackground}, {"txtbackleft", t.TXTBackleft},
                     {"txtbackright", t.TXTBackRight}};
        for (const auto& f : title)
            if (k == f.key) {
                out = f.value;
                return true;
            }
        return false;
    }
    if (s == "buttons") {
        if (k == "radiobuttonframe" || k == "checkbuttonframe") {
            out = k == "radiobuttonframe" ? m.Buttons.RadioButtonFrame : m.Buttons.CheckButtonFrame;
            return true;
        }
        return k != "style" && ElementInteger(m.Buttons, k, out);
    }
    if (IsCaptionButton(s)) {
        const auto* b = static_cast<const TDataSkinSysButton*>(ModelRecord(m, section));
        if (!b) return false;
        const struct {
            const char* key;
            int value;
        } fields[] = {{"action", b->Action},       {"align", b->Align},           {"xcoord", b->Xcoord},
                      {"ycoord", b->Ycoord},       {"visibility", b->Visibility}, {"visibility1", b->Visibility1},
                      {"combineop", b->CombineOp}, {"frame", b->FrameCount}};
        for (const auto& f : fields)
            if (k == f.key) {
                out = f.value;
                return true;
            }
        return false;
    }
    const TDataSkinObject* o = Slot(m, s);
    if (!o) return false;
    if (k == "framecount" && (s == "horzscrollthumb" || s == "vertscrollthumb")) {
        out = o->FrameCount;
        return true;
    }
    if (s == "groupbox") {
        const auto* g = static_cast<const TDataSkinBoxLabel*>(o);
        if (k == "backgroundalignment")
            out = g->BackgroundAlignment;
        else if (k == "backgroundleftshift")
            out = g->BackgroundLeftShift;
        else if (k == "backgroundrightshift")
            out = g->BackgroundRightShift;
        else
            return ElementInteger(*o, k, out);
        return true;
    }
    return ElementInteger(*o, k, out);
}

bool ModelColour(const TSkinModel& m, const std::string& section, const std::string& key, int position, TColor& out) {
    const std::string s = Lower(section), k = LowerCase(key);
    if (s == "colours") {
        const struct {
            const char* key;
            TShemeColor index;
        } keys[] = {{"windowtext", csText},
                    {"buttonface", csButtonFace},
                    {"scrollbar", csScrollbar},
                    {"hilighttext", csHilightText},
                    {"hilight", csHilight},
                    {"menubar", csMenuBar},
                    {"menu", csMenubg},
                    {"menutext", csMenuText},
                    {"buttontext", csButtonText},
                    {"buttonhilight", csButtonHilight},
                    {"buttonlight", csButtonlight},
                    {"buttonshadow", csButtonShadow},
                    {"buttondkshadow", csButtonDkshadow},
                    {"menubartext", csMenuBarText},
                    {"titletextactive", csTitleTextActive},
                    {"titletextnoactive", csTitleTextNoActive}};
        for (const auto& e : keys)
            if (k == e.key) {
                out = m.Colors[e.index];
                return true;
            }
        return false;
    }
    if (StartsWith(s, "colour")) {
        if (k != "color" || position < 0 || size_t(position) >= m.PreColors.size()) return false;
        out = m.PreColors[size_t(position)];
        return true;
    }
    const TDataSkinObject* o = ModelRecord(m, section);
    return o && ElementColour(*o, k, out);
}

const TBitmap32* ModelImage(const TSkinModel& m, const std::string& section, const std::string& key) {
    const std::string s = Lower(section), k = LowerCase(key);
    if (s == "personality") {
        for (const TDataSkinBorder* b : {&m.BorderLeft, &m.BorderRight, &m.BorderTop, &m.BorderBottom})
            if (k == LowerCase(b->Name)) return &b->Bitmap;
        if (k == "textback") return &m.Title.Bitmap;
        if (k == "menubar") return m.MenuBar ? &m.MenuBar->Bitmap : nullptr;
        return nullptr;
    }
    if (s == "buttons") {
        if (k == "bitmap") return &m.Buttons.Bitmap;
        if (k == "checkbutton") return &m.Buttons.CheckBitmap;
        if (k == "radiobutton") return &m.Buttons.RadioBitmap;
        return nullptr;
    }
    const TDataSkinObject* o = ModelRecord(m, section);
    if (!o) return nullptr;
    if (k == "image" || k == "buttonimage" || (s == "progress" && k == "bitmap")) return &o->Bitmap;
    return nullptr;
}
