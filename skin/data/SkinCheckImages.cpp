// The skin check's image side: the files image keys name, files nobody names, strips that do not
// divide into their frames, margins wider than a frame, the caption's height, and the contrast of
// text on the images it is drawn over.
#include "framework/SysUtils.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinCheckParts.h"
#include "skin/data/SkinKeys.h"
#include "skin/data/SkinScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using L = TSkinProblemLevel;

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string Trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The sections the engine reads, each once: the first of equal headers, known, without blanks
// inside the brackets.
std::vector<const TDescSection*> ReadSections(const TCheckContext& c) {
    std::vector<const TDescSection*> out;
    std::set<std::string> seen;
    for (const TDescSection& s : c.Desc.Sections)
        if (seen.insert(LowerCase(s.Header)).second && IsSkinSection(s.Name) && Trimmed(s.Name) == s.Name)
            out.push_back(&s);
    return out;
}

bool IconButton(const TCheckContext& c, const std::string& section) {
    const TDataSkinObject* o = ModelRecord(c.Model, section);
    const std::string s = LowerCase(section);
    if (!o || s == "buttons" || s.rfind("button", 0) != 0) return false;
    const auto* b = static_cast<const TDataSkinSysButton*>(o);
    int frame = 0;
    const TDescKey* k = c.Key(section, "frame");
    if (k && !EngineInteger(k->Value, frame)) frame = 0;
    return ShowsWindowIcon(b->Action) && frame <= 0;
}

// The larger images beside an image (name@2x.bmp, name@1.5x.bmp) must be the image's size scaled
// to their DPI, each side rounded; the engine scales the image itself in place of one that is not.
void CheckLargerImages(TCheckContext& c, const TDescSection& s, const TDescKey& k, const std::string& stem,
                       const TBitmap32& image) {
    for (const TLargerImageSuffix& suffix : kLargerImageSuffixes) {
        const std::string name = stem + suffix.Suffix + ".bmp";
        TMemoryStream entry;
        c.Package.readfile(name, entry);
        if (entry.Size() == 0) continue;
        c.NamedEntries.insert(LowerCase(name));
        const TBitmap32 larger = ReadBmp(entry.Bytes());
        const int w = ScaleValue(image.Width(), suffix.Dpi), h = ScaleValue(image.Height(), suffix.Dpi);
        if (larger.Empty())
            c.Add(L::Error, k.Line, s.Name, k.Name,
                  Quoted(name) + " is not a BMP image the engine can read; it scales " + Quoted(stem + ".bmp") +
                      " instead");
        else if (larger.Width() != w || larger.Height() != h)
            c.Add(L::Error, k.Line, s.Name, k.Name,
                  Quoted(name) + " is " + std::to_string(larger.Width()) + " x " + std::to_string(larger.Height()) +
                      ", not " + std::to_string(w) + " x " + std::to_string(h) + " (the image at " +
                      std::to_string(suffix.Dpi) + " DPI); the engine scales " + Quoted(stem + ".bmp") + " instead");
    }
}

// One image key: the name must end in ".bmp" (lower case, as the engine compares it), the skin
// must hold the file, and the file must decode.
void CheckImageKey(TCheckContext& c, const TDescSection& s, const TDescKey& k) {
    const size_t slash = k.Value.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? k.Value : k.Value.substr(slash + 1);
    const size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    if (name.empty() || ext != ".bmp") {
        const bool caseOnly = LowerCase(ext) == ".bmp";
        c.Add(L::Error, k.Line, s.Name, k.Name,
              Quoted(k.Value) + (caseOnly ? ": the extension must be .bmp in lower case" : " is not a .bmp file") +
                  "; the engine loads no image");
        return;
    }
    c.NamedEntries.insert(LowerCase(name));
    TMemoryStream entry;
    c.Package.readfile(name, entry);
    if (entry.Size() == 0) {
        c.Add(L::Error, k.Line, s.Name, k.Name, "no file " + Quoted(name) + " in the skin; the engine loads no image");
        return;
    }
    if (ReadBmp(entry.Bytes()).Empty()) {
        c.Add(L::Error, k.Line, s.Name, k.Name,
              Quoted(name) + " is not a BMP image the engine can read; it loads no image");
        return;
    }
    CheckLargerImages(c, s, k, name.substr(0, dot), ReadBmp(entry.Bytes()));
    if (IconButton(c, s.Name))
        c.Add(L::Warning, k.Line, s.Name, k.Name,
              "the window-icon button (Action 3 or 11) without a frame count draws the window's own icon; the engine "
              "drops this image");
}

// A strip of `frames` states: its length along the strip must be a multiple.
void CheckStrip(TCheckContext& c, const std::string& section, const std::string& key, const TBitmap32* image,
                int frames, bool stacked) {
    if (!image || image->Empty() || frames < 1 || !c.Key(section, key)) return;
    const int length = stacked ? image->Height() : image->Width();
    if (length % frames == 0) return;
    c.AddKey(L::Error, section, key,
             "the image is " + std::to_string(length) + " pixels " + (stacked ? "high" : "wide") + ", which " +
                 std::to_string(frames) + " frames do not divide; the engine cuts frames of " +
                 std::to_string(length / frames) + " pixels and never shows the last " +
                 std::to_string(length % frames));
}

// Margins of an element drawn nine-slice from one frame of a horizontal strip.
void CheckFrameMargins(TCheckContext& c, const std::string& section, const TDataSkinObject& o) {
    if (o.Bitmap.Empty() || o.FrameCount < 1) return;
    const int fw = o.Bitmap.Width() / o.FrameCount, fh = o.Bitmap.Height();
    auto check = [&](const char* first, const char* second, int a, int b, int room, const char* what) {
        if (a + b <= room) return;
        const std::string key = c.Key(section, second) ? second : first;
        c.AddKey(L::Error, section, key,
                 std::string(first) + " " + std::to_string(a) + " and " + second + " " + std::to_string(b) +
                     " are together " + what + " than one frame (" + std::to_string(room) +
                     " pixels); the engine takes the edges' pixels from the neighbouring frames");
    };
    check("LeftWidth", "RightWidth", o.Margins.Left, o.Margins.Right, fw, "wider");
    check("TopHeight", "BottomHeight", o.Margins.Top, o.Margins.Bottom, fh, "higher");
}

void CheckFrames(TCheckContext& c) {
    const TSkinModel& m = c.Model;
    for (const TDataSkinBorder* b : {&m.BorderLeft, &m.BorderRight, &m.BorderTop, &m.BorderBottom})
        CheckStrip(c, "Personality", b->Name, &b->Bitmap, b->FrameCount, b == &m.BorderTop || b == &m.BorderBottom);
    CheckStrip(c, "Personality", "TextBack", &m.Title.Bitmap, 2, true);
    if (m.MenuBar) CheckStrip(c, "Personality", "menuBar", &m.MenuBar->Bitmap, 2, true);
    CheckStrip(c, "Buttons", "Bitmap", &m.Buttons.Bitmap, 5, false);
    CheckStrip(c, "Buttons", "CheckButton", &m.Buttons.CheckBitmap, m.Buttons.CheckButtonFrame, false);
    CheckStrip(c, "Buttons", "RadioButton", &m.Buttons.RadioBitmap, m.Buttons.RadioButtonFrame, false);
    CheckFrameMargins(c, "Buttons", m.Buttons);
    if (const TDescKey* k = c.Key("MDICONTROLS", "Image")) {
        // The model keeps only the three buttons cut from it: read the strip itself, as the engine does.
        const TQuickIni none;
        TBitmap32 strip;
        TSkinDescription{none, &c.Package}.Readbmp(strip, k->Value);
        CheckStrip(c, "MDICONTROLS", "Image", &strip, 12, false); // three buttons of four states
    }
    for (const TDescSection* s : ReadSections(c)) {
        const std::string name = LowerCase(s->Name);
        const TDataSkinObject* o = ModelRecord(m, s->Name);
        if (!o || name == "buttons") continue;
        const bool captionButton = name.rfind("button", 0) == 0;
        const std::string key = captionButton ? "ButtonImage" : name == "progress" ? "Bitmap" : "Image";
        CheckStrip(c, s->Name, key, &o->Bitmap, o->FrameCount, false);
        if (!captionButton) CheckFrameMargins(c, s->Name, *o);
    }
}

void CheckCaption(TCheckContext& c) {
    const TDataSkinBorder& top = c.Model.BorderTop;
    const int caption = top.Bitmap.Height() / std::max(top.FrameCount, 1);
    if (caption >= kMinSkinCaption) return;
    const std::string why = top.Bitmap.Empty() ? "there is no caption image (Top)"
                                               : "the caption is " + std::to_string(caption) + " pixels high";
    c.AddKey(L::Error, "Personality", "Top",
             why + ", under the " + std::to_string(kMinSkinCaption) +
                 " pixels the engine needs; Tellit refuses this skin and keeps the one it has");
}

} // namespace

void CheckImages(TCheckContext& c) {
    for (const TDescSection* s : ReadSections(c)) {
        if (!ModelRecord(c.Model, s->Name) && LowerCase(s->Name).rfind("button", 0) == 0 &&
            LowerCase(s->Name) != "buttons")
            continue; // a dropped caption button reads no image
        std::set<std::string> seen;
        for (const TDescKey& k : s->Keys)
            if (seen.insert(LowerCase(k.Name)).second && !k.Value.empty() &&
                SkinValueType(s->Name, k.Name) == TSkinValueType::Image)
                CheckImageKey(c, *s, k);
    }
    // Files no key names: packed and carried, never drawn.
    for (int i = 0; i < c.Package.Count(); ++i) {
        const std::string& lower = c.Package.Names()[i];
        if (c.NamedEntries.count(lower)) continue;
        c.NamedEntries.insert(lower); // a repeated name is reported once
        TSkinProblem p;
        p.Level = L::Warning;
        p.File = c.FileOf(c.Package.StoredNames()[i]);
        const bool ini = lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0;
        p.Message = ini ? "a second description; the engine reads only " + c.DescriptionName
                        : "not named by the description; the engine never loads it";
        c.Out.push_back(p);
    }
    CheckFrames(c);
    CheckCaption(c);
}

// ---- Contrast ----

namespace {

double Luminance(unsigned colour) {
    auto channel = [](unsigned v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
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

// Where a text colour is given: the first of the keys the description writes, else the image key.
struct Place {
    std::string section, key;
};
Place PlaceOf(const TCheckContext& c, std::initializer_list<Place> colourKeys, Place image) {
    for (const Place& p : colourKeys)
        if (c.Key(p.section, p.key)) return p;
    return image;
}

void Contrast(TCheckContext& c, const std::string& what, const Place& at, TColor text, const TBitmap32& image,
              int frame, int frames, bool stacked, const TRect& margins, double minCover = 0) {
    if (text == clNone || IsSystemColor(text)) return; // only the running system knows that colour
    const TColor back = BackgroundColour(image, frame, frames, stacked, margins, minCover);
    if (back == clNone) return;
    const double ratio = ContrastRatio(text, back);
    if (ratio >= kMinTextContrast) return;
    char figures[64];
    std::snprintf(figures, sizeof figures, "%.2f:1, under %.1f:1", ratio, kMinTextContrast);
    c.AddKey(L::Warning, at.section, at.key,
             what + " (" + ColourText(text) + ") on " + ColourText(back) + " has a contrast of " + figures);
}

} // namespace

double ContrastRatio(unsigned colourA, unsigned colourB) {
    const double a = Luminance(colourA), b = Luminance(colourB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void CheckContrast(TCheckContext& c) {
    const TSkinModel& m = c.Model;
    // Caption text on the caption image: frame 1 active, 2 inactive; the title's own colours win.
    const TColor active = m.Title.ActiveText != clNone ? m.Title.ActiveText : m.Colors[csTitleTextActive];
    const TColor inactive = m.Title.InActiveText != clNone ? m.Title.InActiveText : m.Colors[csTitleTextNoActive];
    const Place activeAt =
        PlaceOf(c, {{"Personality", "ActiveTextR"}, {"Colours", "TitleTextActive"}}, {"Personality", "Top"});
    const Place inactiveAt =
        PlaceOf(c, {{"Personality", "InActiveTextR"}, {"Colours", "TitleTextNoActive"}}, {"Personality", "Top"});
    // The caption bar is the middle of the top border; a text back image that is mostly transparent
    // (an underline, a frame) leaves it showing, so the text back counts only where it is mostly opaque.
    const TDataSkinBorder& top = m.BorderTop;
    const TRect bar = Rect(top.Margins.Left, 0, top.Margins.Right, 0);
    Contrast(c, "active caption text", activeAt, active, top.Bitmap, 1, top.FrameCount, true, bar);
    Contrast(c, "inactive caption text", inactiveAt, inactive, top.Bitmap, std::min(2, top.FrameCount), top.FrameCount,
             true, bar);
    const TRect back = Rect(m.Title.TXTBackleft, 0, m.Title.TXTBackRight, 0);
    Contrast(c, "active caption text on TextBack", activeAt, active, m.Title.Bitmap, 1, 2, true, back, 0.5);
    Contrast(c, "inactive caption text on TextBack", inactiveAt, inactive, m.Title.Bitmap, 2, 2, true, back, 0.5);
    // Push buttons: frame 1 normal, 4 hot, 2 pressed.
    const TDataSkinButton& b = m.Buttons;
    const struct {
        const char* key;
        TColor colour;
        int frame;
        const char* what;
    } buttons[] = {{"NormalColour2", b.NormalColour2, 1, "button text"},
                   {"MouseOverColour2", b.MouseOverColour2, 4, "hot button text"},
                   {"PressedColour2", b.PressedColour2, 2, "pressed button text"}};
    for (const auto& t : buttons)
        Contrast(c, t.what, PlaceOf(c, {{"Buttons", t.key}, {"Colours", "ButtonText"}}, {"Buttons", "Bitmap"}),
                 t.colour, b.Bitmap, t.frame, 5, false, b.Margins);
    // Menus: item text on the item (frame 1 normal, 4 selected) and on the popup background.
    if (m.MenuItem) {
        Contrast(c, "menu text", PlaceOf(c, {{"Colours", "MenuText"}}, {"MenuItem", "Image"}), m.Colors[csMenuText],
                 m.MenuItem->Bitmap, 1, 5, false, m.MenuItem->Margins);
        Contrast(c, "selected menu text", PlaceOf(c, {{"Colours", "HilightText"}}, {"MenuItem", "Image"}),
                 m.Colors[csHilightText], m.MenuItem->Bitmap, 4, 5, false, m.MenuItem->Margins);
    }
    if (m.MenuBackground)
        Contrast(c, "menu text", PlaceOf(c, {{"Colours", "MenuText"}}, {"MenuBackground", "Image"}),
                 m.Colors[csMenuText], m.MenuBackground->Bitmap, 1, 1, false, m.MenuBackground->Margins);
    if (m.MenuBar)
        Contrast(c, "menu bar text", PlaceOf(c, {{"Colours", "MenuBarText"}}, {"Personality", "menuBar"}),
                 m.Colors[csMenuBarText], m.MenuBar->Bitmap, 1, 2, true, m.MenuBar->Margins);
}
