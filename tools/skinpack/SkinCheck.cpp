#include "tools/skinpack/SkinCheck.h"

#include "framework/SysUtils.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinKeys.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

namespace {

using Problems = std::vector<std::string>;

std::string Where(const std::string& section, const std::string& key) {
    return "[" + section + "] " + key;
}

// Image keys: the entry must exist under the name the model looks up, be a BMP and decode.
void CheckImageKey(const TSkinReader& package, const std::string& section, const std::string& key,
                   const std::string& value, Problems& out) {
    const size_t slash = value.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0) {
        out.push_back(Where(section, key) + ": \"" + value + "\" is not a .bmp entry (the engine loads no image)");
        return;
    }
    TMemoryStream entry;
    package.readfile(name, entry);
    if (entry.Size() == 0) {
        out.push_back(Where(section, key) + ": \"" + value + "\" names no entry of the package");
        return;
    }
    if (ReadBmp(entry.Bytes()).Empty())
        out.push_back(Where(section, key) + ": \"" + value + "\" is not a BMP that decodes");
}

// Every line of the description: unread sections and keys, and image keys.
void CheckDescription(const TQuickIni& ini, const TSkinReader& package, Problems& out) {
    TStringList sections;
    ini.ReadSections(sections);
    std::set<std::string> seenSections;
    for (const std::string& section : sections) {
        // The first of equal sections, and of equal keys in a section, is the one read.
        if (!seenSections.insert(LowerCase(section)).second) {
            out.push_back("[" + section + "]: repeated section, only the first is read");
            continue;
        }
        if (!IsSkinSection(section)) {
            out.push_back("[" + section + "]: section not read by the engine");
            continue;
        }
        TStringList lines;
        ini.ReadSectionValues(section, lines);
        std::set<std::string> seenKeys;
        for (const std::string& line : lines) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos) {
                out.push_back("[" + section + "] \"" + line + "\": not a key=value line");
                continue;
            }
            const std::string key = TQuickIni::GetName(line);
            const std::string value = TQuickIni::GetValue(line, key);
            if (!seenKeys.insert(key).second) {
                out.push_back(Where(section, key) + ": repeated key, only the first is read");
                continue;
            }
            switch (SkinKeyKind(section, key)) {
            case TSkinKeyKind::Unread:
                out.push_back(Where(section, key) + ": key not read by the engine");
                break;
            case TSkinKeyKind::Image:
                if (!value.empty()) CheckImageKey(package, section, key, value, out);
                break;
            case TSkinKeyKind::Value:
                break;
            }
        }
    }
}

// Frames lie side by side (horizontal strip) or stacked; the strip's length must be a multiple.
void CheckFrames(const std::string& what, const TBitmap32& image, int frames, bool stacked, Problems& out) {
    if (image.Empty() || frames < 1) return;
    const int length = stacked ? image.Height() : image.Width();
    if (length % frames == 0) return;
    char text[160];
    std::snprintf(text, sizeof text, ": %d frames do not divide the image's %s of %d pixels", frames,
                  stacked ? "height" : "width", length);
    out.push_back(what + text);
}

void CheckAllFrames(const TSkinModel& m, const TSkinDescription& d, Problems& out) {
    for (const TDataSkinBorder* b : {&m.BorderLeft, &m.BorderRight, &m.BorderTop, &m.BorderBottom})
        CheckFrames("[Personality] " + b->Name, b->Bitmap, b->FrameCount, b == &m.BorderTop || b == &m.BorderBottom,
                    out);
    CheckFrames("[Personality] TextBack", m.Title.Bitmap, m.Title.FrameCount, true, out);
    if (m.MenuBar) CheckFrames("[Personality] menuBar", m.MenuBar->Bitmap, m.MenuBar->FrameCount, true, out);
    CheckFrames("[Buttons] Bitmap", m.Buttons.Bitmap, m.Buttons.FrameCount, false, out);
    CheckFrames("[Buttons] CheckButton", m.Buttons.CheckBitmap, m.Buttons.CheckButtonFrame, false, out);
    CheckFrames("[Buttons] RadioButton", m.Buttons.RadioBitmap, m.Buttons.RadioButtonFrame, false, out);
    for (const TDataSkinSysButton& b : m.SysButtons)
        if (!b.Name.empty()) CheckFrames("[" + b.Name + "] ButtonImage", b.Bitmap, b.FrameCount, false, out);
    // Three MDI buttons of four states each.
    CheckFrames("[MDICONTROLS] Image", d.ReadImage("MDICONTROLS", "Image"), 12, false, out);
    const TDataSkinObject* slots[] = {
        m.GroupBoxEdge.get(),      m.GroupBox.get(),          m.Toolbars.get(),          m.Tabs.get(),
        m.StatusBarEdges.get(),    m.ComboButton.get(),       m.SunkEdge.get(),          m.ExtraImages.get(),
        m.Headerbar.get(),         m.MenuItem.get(),          m.MenuBackground.get(),    m.Scrollbar.get(),
        m.HorzScroll.get(),        m.VertScroll.get(),        m.HorzScrollThumb.get(),   m.VertScrollThumb.get(),
        m.TrackbarThumbHorz.get(), m.TrackbarThumbVert.get(), m.TrackbarThumbLeft.get(), m.TrackbarThumbRight.get(),
        m.TrackbarThumbUp.get(),   m.TrackbarThumbDown.get(), m.UpDownHorz.get(),        m.UpDownVert.get(),
        m.Progress.get()};
    for (const TDataSkinObject* o : slots)
        if (o)
            CheckFrames("[" + o->Name + "] " + (o == m.Progress.get() ? "Bitmap" : "Image"), o->Bitmap, o->FrameCount,
                        false, out);
}

double Luminance(unsigned colour) {
    auto channel = [](unsigned v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF) +
           0.0722 * channel((colour >> 16) & 0xFF);
}

// The mean colour of frame `frame` (from 1) of `frames` inside the margins, where text is drawn;
// key-coloured (magenta) pixels are left out. clNone when no more than minCover of the pixels are left.
TColor BackgroundColour(const TBitmap32& image, int frame, int frames, bool stacked, const TRect& margins,
                        double minCover = 0) {
    if (image.Empty() || frames < 1 || frame > frames) return clNone;
    const int fw = stacked ? image.Width() : image.Width() / frames;
    const int fh = stacked ? image.Height() / frames : image.Height();
    const int x0 = stacked ? 0 : fw * (frame - 1), y0 = stacked ? fh * (frame - 1) : 0;
    TRect inner = Rect(x0 + margins.Left, y0 + margins.Top, x0 + fw - margins.Right, y0 + fh - margins.Bottom);
    if (inner.IsEmpty()) inner = Rect(x0, y0, x0 + fw, y0 + fh);
    double r = 0, g = 0, b = 0;
    long count = 0;
    for (int y = inner.Top; y < inner.Bottom; ++y)
        for (int x = inner.Left; x < inner.Right; ++x) {
            const TPixel p = image.ScanLine(y)[x];
            if ((p & 0xFFFFFF) == 0xFF00FF) continue;
            r += (p >> 16) & 0xFF;
            g += (p >> 8) & 0xFF;
            b += p & 0xFF;
            ++count;
        }
    if (count == 0 || count <= minCover * double(inner.Width()) * double(inner.Height())) return clNone;
    return RGBColor(std::uint8_t(std::lround(r / count)), std::uint8_t(std::lround(g / count)),
                    std::uint8_t(std::lround(b / count)));
}

void CheckContrast(const std::string& what, TColor text, const TBitmap32& image, int frame, int frames, bool stacked,
                   const TRect& margins, Problems& out, double minCover = 0) {
    if (text == clNone || IsSystemColor(text)) return; // only the running system knows that colour
    const TColor back = BackgroundColour(image, frame, frames, stacked, margins, minCover);
    if (back == clNone) return;
    const double ratio = ContrastRatio(text, back);
    if (ratio >= kMinTextContrast) return;
    char text_[200];
    std::snprintf(text_, sizeof text_, ": contrast %.2f:1 below %.1f:1 (text %d %d %d on %d %d %d, frame %d)", ratio,
                  kMinTextContrast, GetRValue(text), GetGValue(text), GetBValue(text), GetRValue(back), GetGValue(back),
                  GetBValue(back), frame);
    out.push_back(what + text_);
}

void CheckAllContrast(const TSkinModel& m, Problems& out) {
    // Caption text on the caption image: frame 1 active, 2 inactive; the title's own colours win.
    const TColor active = m.Title.ActiveText != clNone ? m.Title.ActiveText : m.Colors[csTitleTextActive];
    const TColor inactive = m.Title.InActiveText != clNone ? m.Title.InActiveText : m.Colors[csTitleTextNoActive];
    // The caption bar is the middle of the top border; a text back image that is mostly transparent
    // (an underline, a frame) leaves it showing, so the text back counts only where it is mostly opaque.
    const TDataSkinBorder& top = m.BorderTop;
    const TRect bar = Rect(top.Margins.Left, 0, top.Margins.Right, 0);
    CheckContrast("caption text (active) on [Personality] Top", active, top.Bitmap, 1, top.FrameCount, true, bar, out);
    CheckContrast("caption text (inactive) on [Personality] Top", inactive, top.Bitmap, std::min(2, top.FrameCount),
                  top.FrameCount, true, bar, out);
    const TRect back = Rect(m.Title.TXTBackleft, 0, m.Title.TXTBackRight, 0);
    CheckContrast("caption text (active) on [Personality] TextBack", active, m.Title.Bitmap, 1, 2, true, back, out,
                  0.5);
    CheckContrast("caption text (inactive) on [Personality] TextBack", inactive, m.Title.Bitmap, 2, 2, true, back, out,
                  0.5);
    // Push buttons: frame 1 normal, 4 hot, 2 pressed.
    const TDataSkinButton& b = m.Buttons;
    CheckContrast("[Buttons] NormalColour2", b.NormalColour2, b.Bitmap, 1, 5, false, b.Margins, out);
    CheckContrast("[Buttons] MouseOverColour2", b.MouseOverColour2, b.Bitmap, 4, 5, false, b.Margins, out);
    CheckContrast("[Buttons] PressedColour2", b.PressedColour2, b.Bitmap, 2, 5, false, b.Margins, out);
    // Menus: item text on the item (frame 1 normal, 4 selected) and on the popup background.
    if (m.MenuItem) {
        CheckContrast("menu text on [MenuItem]", m.Colors[csMenuText], m.MenuItem->Bitmap, 1, 5, false,
                      m.MenuItem->Margins, out);
        CheckContrast("selected menu text on [MenuItem]", m.Colors[csHilightText], m.MenuItem->Bitmap, 4, 5, false,
                      m.MenuItem->Margins, out);
    }
    if (m.MenuBackground)
        CheckContrast("menu text on [MenuBackground]", m.Colors[csMenuText], m.MenuBackground->Bitmap, 1, 1, false,
                      m.MenuBackground->Margins, out);
    if (m.MenuBar)
        CheckContrast("menu bar text on [Personality] menuBar", m.Colors[csMenuBarText], m.MenuBar->Bitmap, 1, 2, true,
                      m.MenuBar->Margins, out);
}

} // namespace

double ContrastRatio(unsigned colourA, unsigned colourB) {
    const double a = Luminance(colourA), b = Luminance(colourB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::vector<std::string> CheckSkinPackage(const std::string& packageBytes) {
    Problems out;
    TSkinReader package;
    TMemoryStream in;
    in.Assign(packageBytes);
    if (!package.Loadfromstream(in)) {
        out.push_back(std::string("package refused: ") + SkinReadStatusText(package.Status()));
        return out;
    }
    TMemoryStream text;
    std::string iniName;
    package.readIni(".ini", text, iniName);
    if (iniName.empty()) {
        out.push_back("no description (.ini entry): the engine loads the default skin");
        return out;
    }
    text.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(&text);
    auto model = std::make_unique<TSkinModel>();
    model->LoadFromIni(ini, &package);
    const TSkinDescription d{ini, &package};
    CheckDescription(ini, package, out);
    CheckAllFrames(*model, d, out);
    CheckAllContrast(*model, out);
    return out;
}
