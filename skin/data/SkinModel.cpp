#include "skin/data/SkinModel.h"

#include "framework/SysUtils.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <cstdint>

namespace {

int ClampCoord(int v) {
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}
int ClampWidth(int v) {
    return std::clamp(v, 0, kCoordLimit);
}

// Margins of an image: never negative and, against a non-empty image, no wider or higher than it
// (the first margin of each pair keeps its value, the second gives way).
void FitMargins(TRect& m, const TBitmap32& image) {
    m.Left = ClampWidth(m.Left);
    m.Top = ClampWidth(m.Top);
    m.Right = ClampWidth(m.Right);
    m.Bottom = ClampWidth(m.Bottom);
    if (image.Empty()) return;
    m.Left = std::min(m.Left, image.Width());
    m.Right = std::min(m.Right, image.Width() - m.Left);
    m.Top = std::min(m.Top, image.Height());
    m.Bottom = std::min(m.Bottom, image.Height() - m.Top);
}

// A frame count the description gives: below 1 it counts as not given (def), and no strip of
// `length` pixels holds more frames than pixels. length 0 (no image) sets no upper bound.
int FitFrameCount(int n, int def, int length) {
    if (n < 1) n = def;
    if (length > 0) n = std::min(n, length);
    return std::max(n, 1);
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Steps shared by the element readers after the image: the margins, Trans and Tile, optionally
// Style, the colour indexes and the direct colours (text colour defaulting to `textColour`).
void ReadElementKeys(const TSkinDescription& d, TDataSkinObject& o, const std::string& section, bool readStyle,
                     bool readColours, TColor textColour) {
    if (readStyle) o.Style = d.ReadInteger(section, "Style", 0);
    o.Margins.Left = d.ReadInteger(section, "LeftWidth", 0);
    o.Margins.Right = d.ReadInteger(section, "RightWidth", 0);
    o.Margins.Top = d.ReadInteger(section, "TopHeight", 0);
    o.Margins.Bottom = d.ReadInteger(section, "BottomHeight", 0);
    FitMargins(o.Margins, o.Bitmap);
    o.Trans = d.ReadInteger(section, "Trans", 0);
    o.Tile = d.ReadInteger(section, "Tile", 0);
    if (!readColours) return;
    o.NormalColour = d.ReadInteger(section, "NormalColour", -1);
    o.MouseOverColour = d.ReadInteger(section, "MouseOverColour", -1);
    o.PressedColour = d.ReadInteger(section, "PressedColour", -1);
    o.NormalColour2 = GetColor(d.ReadString(section, "NormalColour2"), textColour);
    o.MouseOverColour2 = GetColor(d.ReadString(section, "MouseOverColour2"), textColour);
    o.PressedColour2 = GetColor(d.ReadString(section, "PressedColour2"), textColour);
}

// Starts a slot's record when the section names its image; the slot is left empty otherwise.
template <class Record, class Slot>
Record* NewElement(const TSkinDescription& d, Slot& slot, const std::string& section, const std::string& imageKey) {
    slot.reset();
    const std::string image = d.ReadString(section, imageKey);
    if (image.empty()) return nullptr;
    auto record = std::make_unique<Record>(section);
    Record* r = record.get();
    d.Readbmp(r->Bitmap, image);
    slot = std::move(record);
    return r;
}

// A permanent record back to its state at creation, keeping its name.
template <class Record> void Renew(Record& r) {
    std::string name = std::move(r.Name);
    r = Record(std::move(name));
}

} // namespace

int TSkinDescription::ReadInteger(const std::string& section, const std::string& key, int def) const {
    // The framework's conversion negates a hexadecimal value in signed arithmetic, which overflows
    // for "-$80000000"; negative hexadecimal is negated here, wrapping as the conversion means to.
    const std::string s = ReadString(section, key);
    if (s.size() > 2 && s[0] == '-' && (s[1] == '$' || (s[1] == '0' && (s[2] == 'x' || s[2] == 'X')))) {
        int bits = 0;
        return TryStrToInt(s.substr(1), bits) ? int(0u - unsigned(bits)) : def;
    }
    return Ini.ReadInteger(section, key, def);
}

void TSkinDescription::Readbmp(TBitmap32& bitmap, const std::string& fileName) const {
    bitmap = TBitmap32();
    const size_t slash = fileName.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0) return;
    if (!Package) return;
    TMemoryStream entry;
    Package->readfile(name, entry);
    if (entry.Size() > 0) bitmap = ReadBmp(entry.Bytes());
    if (!Larger || bitmap.Empty()) return;
    for (const TLargerImageSuffix& s : kLargerImageSuffixes) {
        TMemoryStream big;
        Package->readfile(name.substr(0, dot) + s.Suffix + ".bmp", big);
        if (big.Size() == 0) continue;
        TBitmap32 image = ReadBmp(big.Bytes());
        if (!image.Empty()) Larger->push_back(TLargerImage{bitmap, s.Dpi, std::move(image)});
    }
}

TBitmap32 TSkinDescription::ReadImage(const std::string& section, const std::string& key) const {
    TBitmap32 bitmap;
    Readbmp(bitmap, ReadString(section, key));
    return bitmap;
}

TSkinModel::TSkinModel() : Colors(DefaultShemeColors()) {}

void TSkinModel::LoadFromIni(const TQuickIni& ini, const TSkinReader* package) {
    scaled_.clear();
    LargerImages.clear();
    const TSkinDescription d{ini, package, &LargerImages};
    SkinName = d.ReadString("TitlebarSkin", "SkinName");

    ReadBord(d);
    ReadColor(d);
    ReadSysButton(d);
    ReadButton(d);

    ReadTitle(d, Title, "Personality");
    ReadProgress(d, Progress, "Progress");
    ReadMenuBar(d, MenuBar, "Personality");

    ReadObject(d, GroupBoxEdge, "GroupBoxEdge");
    ReadBoxLabel(d, GroupBox, "GroupBox");
    ReadObject(d, Toolbars, "Toolbars");
    ReadObject2(d, Tabs, "Tabs", "Border");
    ReadObject(d, StatusBarEdges, "StatusBarEdges");
    // The combo button's second image is always its own mirror; "****" is a key no description uses.
    ReadObject2(d, ComboButton, "ComboButton", "****");
    if (ComboButton && !ComboButton->Bitmap.Empty()) {
        TBitmap32 mirror = ComboButton->Bitmap;
        // A 24-bit copy: no alpha survives.
        for (int y = 0; y < mirror.Height(); ++y) {
            TPixel* row = mirror.ScanLine(y);
            for (int x = 0; x < mirror.Width(); ++x)
                row[x] |= 0xFF000000u;
        }
        SpiegelnHorizontal(mirror);
        ComboButton->Bitmap2 = std::move(mirror);
    }

    ReadObject(d, SunkEdge, "SunkEdge");
    ReadObject(d, ExtraImages, "ExtraImages");
    ReadObject(d, Headerbar, "Headerbar");
    ReadObject(d, MenuItem, "MenuItem");
    ReadObject(d, MenuBackground, "MenuBackground");
    ReadObject(d, Scrollbar, "Scrollbar");
    ReadObject(d, HorzScroll, "HorzScroll");
    ReadObject(d, VertScroll, "VertScroll");
    ReadObject(d, HorzScrollThumb, "HorzScrollThumb");
    ReadObject(d, VertScrollThumb, "VertScrollThumb");
    ReadObject(d, TrackbarThumbHorz, "Trackbar.ThumbHorz");
    ReadObject(d, TrackbarThumbVert, "Trackbar.ThumbVert");
    ReadObject(d, TrackbarThumbLeft, "Trackbar.ThumbLeft");
    ReadObject(d, TrackbarThumbRight, "Trackbar.ThumbRight");
    ReadObject(d, TrackbarThumbUp, "Trackbar.ThumbUp");
    ReadObject(d, TrackbarThumbDown, "Trackbar.ThumbDown");

    ReadObject2(d, UpDownHorz, "UpDown.Horz", "GlyphImage");
    ReadObject2(d, UpDownVert, "UpDown.Vert", "GlyphImage");

    SetFrame(d);

    FaceBrush.Exists = true;
    FaceBrush.Color = Colors[csButtonFace];
}

void TSkinModel::ReadBord(const TSkinDescription& d) {
    const std::string section = "Personality";
    for (TDataSkinBorder* b : {&BorderLeft, &BorderRight, &BorderTop, &BorderBottom}) {
        Renew(*b);
        const std::string& name = b->Name;
        const bool vertical = b == &BorderLeft || b == &BorderRight;
        const int first = d.ReadInteger(section, name + "TopHeight", 0);
        const int second = d.ReadInteger(section, name + "BotHeight", 0);
        // A vertical border keeps fixed top and bottom parts, a horizontal one fixed left and right parts.
        b->Margins = vertical ? Rect(0, first, 0, second) : Rect(first, 0, second, 0);
        d.Readbmp(b->Bitmap, d.ReadString(section, name));
        FitMargins(b->Margins, b->Bitmap);
        // Left and right borders hold their frames side by side, top and bottom ones stacked.
        b->FrameCount = FitFrameCount(d.ReadInteger(section, name + "Frame", 1), 1,
                                      vertical ? b->Bitmap.Width() : b->Bitmap.Height());
        b->Tile = d.ReadInteger(section, name + "Stretch", 1);
        b->Trans = d.ReadInteger(section, name + "Trans", 1);
    }
}

void TSkinModel::ReadColor(const TSkinDescription& d) {
    struct Key {
        const char* name;
        TShemeColor index;
        TColor def;
    };
    // The order matters: Menubar defaults to the ButtonFace value read before it.
    static const Key keys[] = {
        {"WindowText", csText, clWindowText},
        {"ButtonFace", csButtonFace, clBtnFace},
        {"Scrollbar", csScrollbar, clScrollBar},
        {"HilightText", csHilightText, clHighlightText},
        {"Hilight", csHilight, clHighlight},
        {"Menubar", csMenuBar, clNone}, // default: Colors[csButtonFace]
        {"Menu", csMenubg, clMenu},
        {"MenuText", csMenuText, clMenuText},
        {"ButtonText", csButtonText, clBtnText},
        {"ButtonHilight", csButtonHilight, clBtnHighlight},
        {"Buttonlight", csButtonlight, clBtnHighlight},
        {"ButtonShadow", csButtonShadow, clBtnShadow},
        {"ButtonDkShadow", csButtonDkshadow, cl3DDkShadow},
        {"MenuBarText", csMenuBarText, clMenuText},
        {"TitleTextActive", csTitleTextActive, clCaptionText},
        {"TitleTextNoActive", csTitleTextNoActive, clInactiveCaptionText},
    };
    for (const Key& k : keys) {
        const TColor def = k.index == csMenuBar ? Colors[csButtonFace] : k.def;
        Colors[k.index] = GetColor(d.ReadString("Colours", k.name), def);
    }

    // One predefined colour per section Colour..., numbered by position in the file.
    PreColors.clear();
    TStringList sections;
    d.Ini.ReadSections(sections);
    for (const std::string& s : sections) {
        const std::string up = UpperCase(s);
        if (!StartsWith(up, "COLOUR") || up == "COLOURS") continue;
        PreColors.push_back(GetColor(d.ReadString(s, "color"), clWindowText));
    }
}

void TSkinModel::ReadSysButton(const TSkinDescription& d) {
    SysButtons.clear();
    TStringList sections;
    d.Ini.ReadSections(sections);
    std::vector<std::string> kept;
    for (const std::string& s : sections) {
        const std::string up = UpperCase(s);
        if (!StartsWith(up, "BUTTON") || up == "BUTTONS" || up == "BUTTON.RADIO" || up == "BUTTON.CHECKBOX" ||
            up == "BUTTON")
            continue;
        // A button without an action is kept only when it is never shown by visibility.
        if (d.ReadInteger(s, "Action", 0) == -1 && d.ReadInteger(s, "Visibility", -1) != 0) continue;
        kept.push_back(s);
    }

    const int n = int(kept.size());
    SysButtons.reserve(kept.size() + 3);
    for (const std::string& s : kept) {
        TDataSkinSysButton b(UpperCase(s));
        b.Action = d.ReadInteger(s, "Action", 0);
        b.Align = d.ReadInteger(s, "Align", 0);
        b.Xcoord = ClampCoord(d.ReadInteger(s, "Xcoord", 0));
        b.Ycoord = ClampCoord(d.ReadInteger(s, "Ycoord", 0));
        b.Visibility = d.ReadInteger(s, "Visibility", 0);
        b.Visibility1 = d.ReadInteger(s, "Visibility1", b.Action == -1 ? -1 : 0);
        b.CombineOp = d.ReadInteger(s, "CombineOp", -1);
        int frames = std::max(d.ReadInteger(s, "frame", 0), 0); // below 0 counts as not given
        d.Readbmp(b.Bitmap, d.ReadString(s, "ButtonImage"));
        if (frames == 0) {
            // A strip no wider than 3.8 times its height holds three states, a wider one six. Compared
            // in integers: in floating point a ratio of exactly 3.8 lands on either side of the
            // constant depending on the precision the compiler keeps (the 32-bit build's x87 keeps more).
            frames = 6;
            if (!b.Bitmap.Empty())
                frames = int64_t(b.Bitmap.Width()) * 10 <= int64_t(b.Bitmap.Height()) * 38 ? 3 : 6;
            if (b.Action < 0) frames = 6;
            // The window-icon button is drawn from the window's own icon.
            if (ShowsWindowIcon(b.Action)) b.Bitmap = TBitmap32();
        }
        b.FrameCount = FitFrameCount(frames, 6, b.Bitmap.Width());
        SysButtons.push_back(std::move(b));
    }

    // The MDI child's restore, minimize and close buttons, shown in the menu bar.
    for (int action : {sbaMDIMinimize, sbaMDIRestore, sbaMDIClose}) {
        TDataSkinSysButton b;
        b.Action = action;
        b.Align = b.Visibility = b.Visibility1 = 100;
        b.FrameCount = 4;
        SysButtons.push_back(std::move(b));
    }
    CreateMdibtn(d, n);
}

void TSkinModel::CreateMdibtn(const TSkinDescription& d, int n) {
    const TBitmap32 source = d.ReadImage("MDICONTROLS", "Image");
    if (source.Empty()) return;
    // Three buttons of four states each, left to right.
    const int w = source.Width() / 12, h = source.Height();
    for (int i = 0; i < 3; ++i) {
        if (n < 0 || size_t(n) + size_t(i) >= SysButtons.size()) return;
        TDataSkinSysButton& b = SysButtons[size_t(n + i)];
        b.Bitmap = TBitmap32(4 * w, h);
        DrawBitmap(b.Bitmap, -4 * w * i, 0, source);
        b.Xcoord = (w + 4) * (3 - i);
    }
}

void TSkinModel::ReadButton(const TSkinDescription& d) {
    const std::string section = "Buttons";
    Renew(Buttons);
    TDataSkinButton& b = Buttons;
    d.Readbmp(b.Bitmap, d.ReadString(section, "Bitmap"));
    b.Margins = Rect(d.ReadInteger(section, "LeftWidth", 0), d.ReadInteger(section, "TopHeight", 0),
                     d.ReadInteger(section, "RightWidth", 0), d.ReadInteger(section, "BottomHeight", 0));
    FitMargins(b.Margins, b.Bitmap);
    b.Trans = d.ReadInteger(section, "Trans", 0);
    b.Tile = d.ReadInteger(section, "Tile", 0);
    d.Readbmp(b.CheckBitmap, d.ReadString(section, "CheckButton"));
    d.Readbmp(b.RadioBitmap, d.ReadString(section, "RadioButton"));
    b.NormalColour = d.ReadInteger(section, "NormalColour", -1);
    b.MouseOverColour = d.ReadInteger(section, "MouseOverColour", -1);
    b.PressedColour = d.ReadInteger(section, "PressedColour", -1);
    // Below 0 counts as not given: SetFrame derives the count from the strip.
    b.RadioButtonFrame = std::max(d.ReadInteger(section, "RadioButtonFrame", 0), 0);
    b.CheckButtonFrame = std::max(d.ReadInteger(section, "CheckButtonFrame", 0), 0);
    const std::string normal = d.ReadString(section, "NormalColour2");
    const std::string over = d.ReadString(section, "MouseOverColour2");
    const std::string pressed = d.ReadString(section, "PressedColour2");
    b.HasNormalColour2 = !normal.empty();
    b.HasMouseOverColour2 = !over.empty();
    b.HasPressedColour2 = !pressed.empty();
    b.NormalColour2 = GetColor(normal, Colors[csButtonText]);
    b.MouseOverColour2 = GetColor(over, Colors[csButtonText]);
    b.PressedColour2 = GetColor(pressed, Colors[csButtonText]);
}

void TSkinModel::ReadTitle(const TSkinDescription& d, TDataSkinTitle& title, const std::string& section) {
    Renew(title);
    d.Readbmp(title.Bitmap, d.ReadString(section, "TextBack"));
    title.Margins =
        Rect(ClampCoord(d.ReadInteger(section, "TextShift", 0)), ClampCoord(d.ReadInteger(section, "TextShiftVert", 0)),
             ClampCoord(d.ReadInteger(section, "TextRightClip", 0)), 0);
    title.TextAlignment = d.ReadInteger(section, "TextAlignment", 0);
    title.Textbackground = d.ReadInteger(section, "Textbackground", 0);
    // Widths added around the caption text, and the text back image's margins.
    title.TXTBackleft = ClampWidth(d.ReadInteger(section, "TXTBackleft", 0));
    title.TXTBackRight = ClampWidth(d.ReadInteger(section, "TXTBackRight", 0));
    title.FontHeight = ClampCoord(d.ReadInteger("Fonts", "FontHeight", 14));
    title.ActiveText = clNone;
    title.InActiveText = clNone;
    ReadRGB(d, section, "ActiveText", title.ActiveText);
    ReadRGB(d, section, "InActiveText", title.InActiveText);
}

void TSkinModel::ReadMenuBar(const TSkinDescription& d, std::unique_ptr<TDataSkinObject>& slot,
                             const std::string& section) {
    TDataSkinObject* o = NewElement<TDataSkinObject>(d, slot, section, "menuBar");
    if (!o) return;
    o->Margins = Rect(d.ReadInteger(section, "TileLeftMenu", 1), 0, d.ReadInteger(section, "TileRightMenu", 1), 0);
    FitMargins(o->Margins, o->Bitmap);
    o->Tile = d.ReadInteger(section, "TileMenu", 0);
}

void TSkinModel::ReadObject(const TSkinDescription& d, std::unique_ptr<TDataSkinObject>& slot,
                            const std::string& section) {
    TDataSkinObject* o = NewElement<TDataSkinObject>(d, slot, section, "Image");
    if (!o) return;
    ReadElementKeys(d, *o, section, true, true, Colors[csButtonText]);
    if (o->Tile > 1) o->Tile = 0;
}

void TSkinModel::ReadObject2(const TSkinDescription& d, std::unique_ptr<TDataSkinBorder>& slot,
                             const std::string& section, const std::string& secondKey) {
    TDataSkinBorder* o = NewElement<TDataSkinBorder>(d, slot, section, "Image");
    if (!o) return;
    const std::string second = d.ReadString(section, secondKey);
    if (!second.empty()) d.Readbmp(o->Bitmap2, second);
    ReadElementKeys(d, *o, section, false, true, Colors[csButtonText]);
    if (o->Tile > 1) o->Tile = 0;
}

void TSkinModel::ReadProgress(const TSkinDescription& d, std::unique_ptr<TDataSkinBorder>& slot,
                              const std::string& section) {
    TDataSkinBorder* o = NewElement<TDataSkinBorder>(d, slot, section, "Bitmap");
    if (!o) return;
    const std::string chunk = d.ReadString(section, "Chunk");
    if (!chunk.empty()) d.Readbmp(o->Bitmap2, chunk);
    ReadElementKeys(d, *o, section, true, false, 0);
}

void TSkinModel::ReadBoxLabel(const TSkinDescription& d, std::unique_ptr<TDataSkinBoxLabel>& slot,
                              const std::string& section) {
    TDataSkinBoxLabel* o = NewElement<TDataSkinBoxLabel>(d, slot, section, "Image");
    if (!o) return;
    ReadElementKeys(d, *o, section, true, true, Colors[csButtonText]);
    if (o->Tile > 1) o->Tile = 0;
    o->BackgroundAlignment = d.ReadInteger(section, "BackgroundAlignment", 0);
    o->BackgroundLeftShift = ClampCoord(d.ReadInteger(section, "BackgroundLeftShift", 0));
    o->BackgroundRightShift = ClampCoord(d.ReadInteger(section, "BackgroundRightShift", 0));
}

void TSkinModel::SetFrame(const TSkinDescription& d) {
    Buttons.FrameCount = 5;
    // Glyph strips without a stated count: cells of 13 pixels in a strip lower than 16, else 16.
    auto glyphs = [](int given, const TBitmap32& strip) {
        if (given == 0) given = std::max(strip.Width() / (strip.Height() < 16 ? 13 : 16), 4);
        return FitFrameCount(given, 4, strip.Width());
    };
    Buttons.RadioButtonFrame = glyphs(Buttons.RadioButtonFrame, Buttons.RadioBitmap);
    Buttons.CheckButtonFrame = glyphs(Buttons.CheckButtonFrame, Buttons.CheckBitmap);

    auto set = [](TDataSkinObject* o, int frames) {
        if (o) o->FrameCount = frames;
    };
    set(MenuBar.get(), 2);
    set(GroupBoxEdge.get(), 2);
    set(GroupBox.get(), 1);
    set(Toolbars.get(), 5);
    set(Tabs.get(), 5);
    set(StatusBarEdges.get(), 3);
    set(ComboButton.get(), 4);
    set(SunkEdge.get(), 4);
    set(ExtraImages.get(), 5);
    set(Headerbar.get(), 5);
    set(MenuItem.get(), 5);
    set(MenuBackground.get(), 1);
    set(Scrollbar.get(), 23);
    set(HorzScroll.get(), 4);
    set(VertScroll.get(), 4);
    set(TrackbarThumbHorz.get(), 5);
    set(TrackbarThumbVert.get(), 5);
    set(TrackbarThumbLeft.get(), 5);
    set(TrackbarThumbRight.get(), 5);
    set(TrackbarThumbUp.get(), 5);
    set(TrackbarThumbDown.get(), 5);
    set(UpDownHorz.get(), 8);
    set(UpDownVert.get(), 8);
    set(Progress.get(), 2);
    // Thumbs are horizontal strips whose count the skin states.
    for (TDataSkinObject* thumb : {HorzScrollThumb.get(), VertScrollThumb.get()})
        if (thumb)
            thumb->FrameCount = FitFrameCount(d.ReadInteger(thumb->Name, "FrameCount", 3), 3, thumb->Bitmap.Width());
    Title.FrameCount = 2;
}

void TSkinModel::ReadRGB(const TSkinDescription& d, const std::string& section, const std::string& prefix,
                         TColor& colour) {
    const int r = d.ReadInteger(section, prefix + "R", -1);
    const int g = d.ReadInteger(section, prefix + "G", -1);
    const int b = d.ReadInteger(section, prefix + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) colour = RGBToColor(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b));
}

int TSkinModel::GetSectionNum(const TSkinDescription& d, const std::string& prefix, const std::string& key) {
    int n = 0;
    while (!d.ReadString(prefix + std::to_string(n), key).empty())
        ++n;
    return n;
}

bool TSkinModel::GetPrecolor(TColor& colour, int index) const {
    if (index < 0 || size_t(index) >= PreColors.size()) return false;
    colour = PreColors[size_t(index)];
    return true;
}
