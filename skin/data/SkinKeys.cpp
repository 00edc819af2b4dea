#include "skin/data/SkinKeys.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <initializer_list>

namespace {

using Keys = std::initializer_list<const char*>;

const Keys kElementKeys = {"leftwidth", "rightwidth", "topheight", "bottomheight", "trans", "tile"};
const Keys kColourKeys = {"normalcolour",  "mouseovercolour",  "pressedcolour",
                          "normalcolour2", "mouseovercolour2", "pressedcolour2"};

bool In(const Keys& keys, const std::string& key) {
    return std::any_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; });
}
bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Sections and keys lower-cased.
TSkinKeyKind Kind(const std::string& s, const std::string& k) {
    constexpr TSkinKeyKind V = TSkinKeyKind::Value, I = TSkinKeyKind::Image, U = TSkinKeyKind::Unread;
    if (s == "titlebarskin") return k == "skinname" ? V : U;
    if (s == "fonts") return k == "fontheight" ? V : U;
    if (s == "mdicontrols") return k == "image" ? I : U;
    if (s == "personality") {
        for (const char* border : {"left", "right", "top", "bottom"}) {
            if (!StartsWith(k, border)) continue;
            const std::string rest = k.substr(std::string(border).size());
            if (rest.empty()) return I;
            if (In({"topheight", "botheight", "frame", "stretch", "trans"}, rest)) return V;
        }
        if (k == "menubar" || k == "textback") return I;
        return In({"tilemenu", "tileleftmenu", "tilerightmenu", "textshift", "textshiftvert", "textrightclip",
                   "textalignment", "textbackground", "txtbackleft", "txtbackright", "activetextr", "activetextg",
                   "activetextb", "inactivetextr", "inactivetextg", "inactivetextb"},
                  k)
                   ? V
                   : U;
    }
    if (s == "colours")
        return In({"windowtext", "buttonface", "scrollbar", "hilighttext", "hilight", "menubar", "menu", "menutext",
                   "buttontext", "buttonhilight", "buttonlight", "buttonshadow", "buttondkshadow", "menubartext",
                   "titletextactive", "titletextnoactive"},
                  k)
                   ? V
                   : U;
    if (StartsWith(s, "colour")) return k == "color" ? V : U;
    if (s == "buttons") {
        if (k == "bitmap" || k == "checkbutton" || k == "radiobutton") return I;
        return In(kElementKeys, k) || In(kColourKeys, k) || k == "radiobuttonframe" || k == "checkbuttonframe" ? V : U;
    }
    if (StartsWith(s, "button") && s != "button" && s != "button.radio" && s != "button.checkbox") {
        if (k == "buttonimage") return I;
        return In({"action", "align", "xcoord", "ycoord", "visibility", "visibility1", "combineop", "frame"}, k) ? V
                                                                                                                 : U;
    }
    if (s == "progress") {
        if (k == "bitmap" || k == "chunk") return I;
        return In(kElementKeys, k) || k == "style" ? V : U;
    }
    // The elements read with a second image and without Style.
    const bool tabs = s == "tabs", updown = s == "updown.horz" || s == "updown.vert", combo = s == "combobutton";
    if (tabs || updown || combo) {
        if (k == "image" || (tabs && k == "border") || (updown && k == "glyphimage")) return I;
        return In(kElementKeys, k) || In(kColourKeys, k) ? V : U;
    }
    static const Keys objects = {"groupboxedge",       "groupbox",           "toolbars",
                                 "statusbaredges",     "sunkedge",           "extraimages",
                                 "headerbar",          "menuitem",           "menubackground",
                                 "scrollbar",          "horzscroll",         "vertscroll",
                                 "horzscrollthumb",    "vertscrollthumb",    "trackbar.thumbhorz",
                                 "trackbar.thumbvert", "trackbar.thumbleft", "trackbar.thumbright",
                                 "trackbar.thumbup",   "trackbar.thumbdown"};
    if (In(objects, s)) {
        if (k == "image") return I;
        if (In(kElementKeys, k) || In(kColourKeys, k) || k == "style") return V;
        if (s == "groupbox" && In({"backgroundalignment", "backgroundleftshift", "backgroundrightshift"}, k)) return V;
        if ((s == "horzscrollthumb" || s == "vertscrollthumb") && k == "framecount") return V;
    }
    return U;
}

} // namespace

TSkinKeyKind SkinKeyKind(const std::string& section, const std::string& key) {
    return Kind(LowerCase(section), LowerCase(key));
}

bool IsSkinSection(const std::string& section) {
    // Every read section has an image or value key; "image", "bitmap" etc. probe the element kinds.
    for (const char* probe : {"image", "bitmap", "color", "action", "skinname", "fontheight", "windowtext", "left"})
        if (SkinKeyKind(section, probe) != TSkinKeyKind::Unread) return true;
    return false;
}
