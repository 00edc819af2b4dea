// The controls: push buttons, check and radio glyphs, scroll bars, progress bar, combo box, edges,
// header, tabs, status bar, up-down and track bar, group box and tool bar buttons.
#include "tools/skingen/Design.h"

#include <cstdlib>
#include <functional>

using namespace design;

namespace {

// The four faces most controls share, in the order normal, pressed, disabled, hot.
BoxStyle NormalFace(int radius) {
    return {kShadow, kFaceLight, kFaceDark, radius};
}
BoxStyle PressedFace(int radius) {
    return {Tone(0x6F7B8E), kPressedFace, Tone(0xD8DEE7), radius};
}
BoxStyle DisabledFace(int radius) {
    return {kDisabledBorder, kDisabledFace, kDisabledFace, radius};
}
BoxStyle HotFace(int radius) {
    return {kFocus, kWhite, kHotTint, radius};
}

TBitmap32 Face(int w, int h, const BoxStyle& style) {
    TBitmap32 f = Canvas(w, h);
    Box(f, Rect(0, 0, w, h), style);
    return f;
}

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
void AddButtons(SkinImages& images) {
    const int s = 20;
    TBitmap32 def = Face(s, s, NormalFace(3));
    Box(def, Rect(0, 0, s, s), {Tone(0x21457F), kKey, kKey, 3});
    Outline(def, Rect(1, 1, s - 1, s - 1), Tone(0x8FAAD6));
    CutCorners(def, Rect(0, 0, s, s), 3, kAllCorners);
    images.push_back({"button.bmp", Strip({Face(s, s, NormalFace(3)), Face(s, s, PressedFace(3)),
                                           Face(s, s, DisabledFace(3)), Face(s, s, HotFace(3)), def})});
}

// Check box glyphs: unchecked, checked, unchecked disabled, checked disabled.
void AddCheck(SkinImages& images) {
    const int s = 13;
    auto frame = [](bool checked, bool enabled) {
        TBitmap32 f = Face(s, s, enabled ? BoxStyle{kShadow, kWhite, Tone(0xEEF1F5), 2} : DisabledFace(2));
        if (checked) {
            TPixel ink = enabled ? kHilight : kDisabled;
            Line(f, 3.2, 6.6, 5.6, 9.2, 1.8, ink);
            Line(f, 5.6, 9.2, 9.8, 3.6, 1.8, ink);
        }
        return f;
    };
    images.push_back(
        {"check.bmp", Strip({frame(false, true), frame(true, true), frame(false, false), frame(true, false)})});
}

// Radio glyphs in the same order.
void AddRadio(SkinImages& images) {
    const int s = 13;
    auto frame = [](bool checked, bool enabled) {
        TBitmap32 f = Canvas(s, s);
        Disc(f, 6.5, 6.5, 6.4, enabled ? kShadow : kDisabledBorder);
        Disc(f, 6.5, 6.5, 5.4, enabled ? kWhite : kDisabledFace);
        if (checked) Disc(f, 6.5, 6.5, 2.7, enabled ? kHilight : kDisabled);
        return f;
    };
    images.push_back(
        {"radio.bmp", Strip({frame(false, true), frame(true, true), frame(false, false), frame(true, false)})});
}

// Scroll bar arrows, 16 x 16 each: left, right, up, down, four faces each (normal, pressed, hot,
// disabled), then seven plain faces that fill the strip to its 23 frames.
void AddScrollbar(SkinImages& images) {
    const int s = 16;
    std::vector<TBitmap32> frames;
    BoxStyle base{Tone(0xA9B3C2), kFaceLight, kFaceDark, 2};
    for (Dir d : {Dir::Left, Dir::Right, Dir::Up, Dir::Down}) {
        frames.push_back(Face(s, s, base));
        Arrow(frames.back(), 8, 8, 4, d, kDkShadow);
        frames.push_back(Face(s, s, PressedFace(2)));
        Arrow(frames.back(), 9, 9, 4, d, kText);
        frames.push_back(Face(s, s, HotFace(2)));
        Arrow(frames.back(), 8, 8, 4, d, kFocus);
        frames.push_back(Face(s, s, DisabledFace(2)));
        Arrow(frames.back(), 8, 8, 4, d, kDisabled);
    }
    while (frames.size() < 23)
        frames.push_back(Face(s, s, base));
    images.push_back({"scrollbar.bmp", Strip(frames)});
}

// Tracks: 4 frames, the first is drawn. Thumbs: normal, dragged, hot.
void AddScrollTracks(SkinImages& images) {
    auto track = [](bool vertical, TPixel fill) {
        TBitmap32 f = vertical ? Canvas(16, 32, fill) : Canvas(32, 16, fill);
        if (vertical)
            VLine(f, 0, 0, 32, Tone(0xCDD3DC));
        else
            HLine(f, 0, 32, 0, Tone(0xCDD3DC));
        return f;
    };
    for (bool vertical : {false, true}) {
        std::vector<TBitmap32> frames{track(vertical, kScrollTrack), track(vertical, Tone(0xD3D9E2)),
                                      track(vertical, kScrollTrack), track(vertical, kScrollTrack)};
        images.push_back({vertical ? "vtrack.bmp" : "htrack.bmp", Strip(frames)});
    }
    auto thumb = [](bool vertical, const BoxStyle& style) {
        TBitmap32 f = vertical ? Canvas(16, 24) : Canvas(24, 16);
        Box(f, vertical ? Rect(2, 0, 14, 24) : Rect(0, 2, 24, 14), style);
        return f;
    };
    for (bool vertical : {false, true}) {
        std::vector<TBitmap32> frames{thumb(vertical, {Tone(0x8D9BB0), Tone(0xC9D2DF), Tone(0xB9C4D4), 4}),
                                      thumb(vertical, {kFocus, Tone(0x9DB3D6), Tone(0x8AA5CF), 4}),
                                      thumb(vertical, {Tone(0x7C8CA5), Tone(0xD3DCEA), Tone(0xB5C6E0), 4})};
        images.push_back({vertical ? "vthumb.bmp" : "hthumb.bmp", Strip(frames)});
    }
}

// Progress bar: 1 the empty trough, 2 the filled part; the chunk for the chunked style.
void AddProgress(SkinImages& images) {
    const int w = 24, h = 14;
    TBitmap32 empty = Face(w, h, {kShadow, Tone(0xDCE1E8), Tone(0xF3F5F8), 3});
    TBitmap32 full = Face(w, h, {Tone(0x21457F), Tone(0x5A86CC), kHilight, 3});
    HLine(full, 3, w - 3, 1, Tone(0x88A8DC));
    images.push_back({"progress.bmp", Strip({empty, full})});
    TBitmap32 chunk = Canvas(8, 10);
    VGradient(chunk, Rect(0, 0, 7, 10), Tone(0x5A86CC), kHilight);
    images.push_back({"chunk.bmp", chunk});
}

// Combo box: its drop-down button, the sunken edge round the control, and the extra glyphs (the
// drop-down arrow in four states, then the size grip in frame 5).
void AddCombo(SkinImages& images) {
    images.push_back({"combobutton.bmp", Strip({Face(18, 20, NormalFace(2)), Face(18, 20, PressedFace(2)),
                                                Face(18, 20, DisabledFace(2)), Face(18, 20, HotFace(2))})});
    auto edge = [](TPixel border, TPixel fill) {
        TBitmap32 f = Canvas(12, 12, fill);
        Outline(f, Rect(0, 0, 12, 12), border);
        Outline(f, Rect(1, 1, 11, 11), Mix(fill, kShadow, 0.12));
        return f;
    };
    images.push_back({"sunkedge.bmp", Strip({edge(kShadow, kWhite), edge(kFocus, kWhite),
                                             edge(kDisabledBorder, kDisabledFace), edge(kFocus, kWhite)})});
    std::vector<TBitmap32> extra;
    for (TPixel ink : {kDkShadow, kText, kDisabled, kFocus}) {
        TBitmap32 f = Canvas(12, 12);
        Line(f, 3, 4.5, 6, 7.5, 1.6, ink);
        Line(f, 6, 7.5, 9, 4.5, 1.6, ink);
        extra.push_back(f);
    }
    TBitmap32 grip = Canvas(12, 12);
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col) {
            int x = 2 + col * 3, y = 2 + row * 3 + 1;
            grip.FillRect(Bounds(x + 1, y + 1, 2, 2), kWhite);
            grip.FillRect(Bounds(x, y, 2, 2), kShadow);
        }
    extra.push_back(grip);
    images.push_back({"extra.bmp", Strip(extra)});
}

// Header items: normal, pressed, hot, disabled, unused; the engine draws frame 1.
void AddHeader(SkinImages& images) {
    auto frame = [](TPixel top, TPixel bottom) {
        TBitmap32 f = Canvas(20, 20);
        VGradient(f, Rect(0, 0, 20, 20), top, bottom);
        VLine(f, 0, 0, 19, kWhite);
        VLine(f, 19, 3, 17, Tone(0xC3CAD5));
        HLine(f, 0, 20, 19, kShadow);
        return f;
    };
    images.push_back(
        {"header.bmp", Strip({frame(kWhite, kFaceDark), frame(kPressedFace, kFaceDark), frame(kWhite, kHotTint),
                              frame(kDisabledFace, kDisabledFace), frame(kWhite, kFaceDark)})});
}

// Tabs: 1 unselected, 2 selected (open into the page below), 3 hot, 4 disabled, 5 selected; and
// the page border.
void AddTabs(SkinImages& images) {
    const int w = 24, h = 22;
    auto tab = [](TPixel top, TPixel bottom, TPixel border, bool open) {
        TBitmap32 f = Canvas(w, h);
        Box(f, Rect(0, 0, w, h), {border, top, bottom, 4, kTopLeft | kTopRight});
        if (open) HLine(f, 1, w - 1, h - 1, bottom);
        return f;
    };
    TBitmap32 selected = tab(kWhite, kFace, kShadow, true);
    images.push_back({"tabs.bmp", Strip({tab(Tone(0xE4E8EE), Tone(0xD6DCE5), kShadow, false), selected,
                                         tab(kWhite, kHotTint, kFocus, false),
                                         tab(kDisabledFace, kDisabledFace, kDisabledBorder, false), selected})});
    TBitmap32 border = Canvas(16, 16, kFace);
    Outline(border, Rect(0, 0, 16, 16), kShadow);
    HLine(border, 1, 15, 1, kWhite);
    VLine(border, 1, 1, 15, kWhite);
    images.push_back({"tabborder.bmp", border});
}

// Status bar panels: 1 lowered, 2 raised, 3 without bevel.
void AddStatusBar(SkinImages& images) {
    auto panel = [](TPixel light, TPixel dark) {
        TBitmap32 f = Canvas(12, 18, kFace);
        HLine(f, 0, 12, 0, dark);
        VLine(f, 0, 0, 18, dark);
        HLine(f, 0, 12, 17, light);
        VLine(f, 11, 0, 18, light);
        return f;
    };
    images.push_back({"statusbar.bmp", Strip({panel(kWhite, kShadow), panel(kShadow, kWhite), panel(kFace, kFace)})});
}

// Up-down buttons: frames 1-4 the first button (up or left), 5-8 the second; each normal,
// pressed, disabled, hot. The glyph strips follow the same order.
void AddUpDown(SkinImages& images) {
    for (bool horizontal : {false, true}) {
        int w = horizontal ? 10 : 16, h = horizontal ? 16 : 10;
        std::vector<TBitmap32> buttons, glyphs;
        for (Dir d : horizontal ? std::vector<Dir>{Dir::Left, Dir::Right} : std::vector<Dir>{Dir::Up, Dir::Down}) {
            buttons.push_back(Face(w, h, NormalFace(2)));
            buttons.push_back(Face(w, h, PressedFace(2)));
            buttons.push_back(Face(w, h, DisabledFace(2)));
            buttons.push_back(Face(w, h, HotFace(2)));
            for (TPixel ink : {kDkShadow, kText, kDisabled, kFocus}) {
                TBitmap32 g = horizontal ? Canvas(4, 7) : Canvas(7, 4);
                Arrow(g, horizontal ? 2 : 3, horizontal ? 3 : 2, 4, d, ink);
                glyphs.push_back(g);
            }
        }
        images.push_back({horizontal ? "updownh.bmp" : "updownv.bmp", Strip(buttons)});
        images.push_back({horizontal ? "updownhglyph.bmp" : "updownvglyph.bmp", Strip(glyphs)});
    }
}

// Track bar thumbs, five faces: 1 normal, 2 the face the engine draws, 3 disabled, 4 hot,
// 5 pressed. `inside` decides the shape in the thumb's own coordinates.
void AddTrackbarThumbs(SkinImages& images) {
    using Shape = std::function<bool(int x, int y)>;
    auto thumb = [](int w, int h, const Shape& inside, bool vertical) {
        std::vector<TBitmap32> frames;
        const TPixel borders[] = {kShadow, Tone(0x24477F), kDisabledBorder, kFocus, Tone(0x24477F)};
        const TPixel tops[] = {kFaceLight, Tone(0x6A92D2), kDisabledFace, kWhite, Tone(0x3A62A5)};
        const TPixel bottoms[] = {kFaceDark, kHilight, kDisabledFace, kHotTint, Tone(0x24477F)};
        for (int i = 0; i < 5; ++i) {
            TBitmap32 f = Canvas(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    if (!inside(x, y)) continue;
                    bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                    double t = vertical ? double(x) / (w - 1) : double(y) / (h - 1);
                    f.SetPixel(x, y, edge ? borders[i] : Mix(tops[i], bottoms[i], t));
                }
            frames.push_back(f);
        }
        return Strip(frames);
    };
    // Bars: rounded-off rectangles. Pointers: a rectangle ending in a 5-pixel point.
    auto inRect = [](int x, int y, int w, int h) { return x >= 0 && y >= 0 && x < w && y < h; };
    Shape horz = [&](int x, int y) { return inRect(x, y, 11, 20) && !((x == 0 || x == 10) && (y == 0 || y == 19)); };
    Shape vert = [&](int x, int y) { return horz(y, x); };
    Shape down = [&](int x, int y) { return inRect(x, y, 11, 20) && (y < 14 || std::abs(x - 5) <= 19 - y); };
    Shape up = [&](int x, int y) { return down(x, 19 - y); };
    Shape right = [&](int x, int y) { return down(y, x); };
    Shape left = [&](int x, int y) { return down(y, 19 - x); };
    images.push_back({"thumbhorz.bmp", thumb(11, 20, horz, false)});
    images.push_back({"thumbvert.bmp", thumb(20, 11, vert, true)});
    images.push_back({"thumbleft.bmp", thumb(20, 11, left, true)});
    images.push_back({"thumbright.bmp", thumb(20, 11, right, true)});
    images.push_back({"thumbup.bmp", thumb(11, 20, up, false)});
    images.push_back({"thumbdown.bmp", thumb(11, 20, down, false)});
}

// Group box: its rounded edge (enabled, disabled) and the plate behind its caption.
void AddGroupBox(SkinImages& images) {
    images.push_back({"groupedge.bmp",
                      Strip({Face(16, 16, {kShadow, kKey, kKey, 4}), Face(16, 16, {kDisabledBorder, kKey, kKey, 4})})});
    images.push_back({"grouplabel.bmp", Face(24, 18, {Tone(0xC9D0DA), kFaceLight, kFace, 4})});
}

// Tool bar buttons: normal (flat), pressed, disabled (flat), hot, checked.
void AddToolbars(SkinImages& images) {
    const int s = 22;
    TBitmap32 flat = Canvas(s, s);
    images.push_back({"toolbar.bmp", Strip({flat, Face(s, s, PressedFace(3)), flat, Face(s, s, HotFace(3)),
                                            Face(s, s, {kFocus, Tone(0xD6E2F3), Tone(0xC8D7EE), 3})})});
}

} // namespace

void AddControlArt(SkinImages& images) {
    AddButtons(images);
    AddCheck(images);
    AddRadio(images);
    AddScrollbar(images);
    AddScrollTracks(images);
    AddProgress(images);
    AddCombo(images);
    AddHeader(images);
    AddTabs(images);
    AddStatusBar(images);
    AddUpDown(images);
    AddTrackbarThumbs(images);
    AddGroupBox(images);
    AddToolbars(images);
}
