// The window frame and everything drawn in it: borders with the caption, the title underline,
// caption buttons, menu bar, menu items, the popup menu background and the MDI child buttons.
#include "tools/skingen/Design.h"

using namespace design;

namespace {

// A small window frame drawn whole, in window coordinates, then cut into the four border images.
// Drawing it whole keeps the rounded corners continuous across the left, top and right pieces.
constexpr int kTemplateWidth = 80, kTemplateHeight = 64;

struct FrameColours {
    TPixel top, bottom, shine, rule, outline, body, inner;
};

TBitmap32 FrameTemplate(const FrameColours& c) {
    const int w = kTemplateWidth, h = kTemplateHeight;
    TBitmap32 t = Canvas(w, h, c.body);
    VGradient(t, Rect(0, 0, w, kCaption), c.top, c.bottom);
    HLine(t, 0, w, 1, c.shine);
    HLine(t, 0, w, kCaption - 1, c.rule);
    // A lighter line where the border meets the client area.
    VLine(t, kBorder - 1, kCaption, h - kBorder + 1, c.inner);
    VLine(t, w - kBorder, kCaption, h - kBorder + 1, c.inner);
    HLine(t, kBorder - 1, w - kBorder + 1, h - kBorder, c.inner);
    // Outline all round, rounded at the top; the key colour outside the curve shapes the window.
    Box(t, Rect(0, 0, w, h), {c.outline, kKey, kKey, kCornerRadius, kTopLeft | kTopRight});
    return t;
}

void AddBorders(SkinImages& images) {
    TBitmap32 on = FrameTemplate(
        {kCaptionTop, kCaptionBottom, kCaptionShine, kCaptionRule, kFrameOutline, kFrameBody, kFrameInner});
    TBitmap32 off = FrameTemplate({kCaptionTopOff, kCaptionBottomOff, kCaptionShineOff, kCaptionRuleOff,
                                   kFrameOutlineOff, kFrameBodyOff, kFrameInnerOff});
    const int inner = kTemplateWidth - 2 * kBorder;
    auto top = [&](const TBitmap32& t) { return Rows(Columns(t, kBorder, inner), 0, kCaption); };
    auto bottom = [&](const TBitmap32& t) {
        return Rows(Columns(t, kBorder, inner), kTemplateHeight - kBorder, kBorder);
    };
    auto left = [&](const TBitmap32& t) { return Columns(t, 0, kBorder); };
    auto right = [&](const TBitmap32& t) { return Columns(t, kTemplateWidth - kBorder, kBorder); };
    // Side borders hold their two frames side by side, top and bottom borders stacked.
    images.push_back({"left.bmp", Strip({left(on), left(off)})});
    images.push_back({"right.bmp", Strip({right(on), right(off)})});
    images.push_back({"top.bmp", Strip({top(on), top(off)}, true)});
    images.push_back({"bottom.bmp", Strip({bottom(on), bottom(off)}, true)});
}

// Drawn behind the caption text: a short underline below the text, transparent elsewhere.
void AddTitleBack(SkinImages& images) {
    auto frame = [](TPixel accent) {
        TBitmap32 f = Canvas(24, kCaption);
        HLine(f, 3, 21, kCaption - 4, accent);
        HLine(f, 4, 20, kCaption - 3, accent);
        return f;
    };
    images.push_back({"titleback.bmp", Strip({frame(kTitleAccent), frame(kTitleAccentOff)}, true)});
}

enum class Glyph { Close, Maximize, Restore, Minimize };

void DrawGlyph(TBitmap32& f, Glyph g, TPixel ink, TPixel paper, int size) {
    const double a = size * 0.30, b = size * 0.70; // the glyph's box
    const bool small = size < 16;                  // the MDI buttons: thinner strokes, roomier restore
    switch (g) {
    case Glyph::Close:
        Line(f, a, a, b, b, small ? 1.3 : 1.7, ink);
        Line(f, a, b, b, a, small ? 1.3 : 1.7, ink);
        break;
    case Glyph::Maximize: {
        TRect r = Rect(int(a), int(a), int(b) + 1, int(b) + 1);
        Outline(f, r, ink);
        HLine(f, r.Left, r.Right, r.Top + 1, ink);
        break;
    }
    case Glyph::Restore: {
        // Two overlapping windows, the front one hiding part of the back one.
        int s = int(b - a) + (small ? 1 : -1), x = int(a), y = int(a);
        TRect back = Bounds(x + 2, y - 1, s, s), front = Bounds(x - 1, y + 2, s, s);
        Outline(f, back, ink);
        HLine(f, back.Left, back.Right, back.Top + 1, ink);
        f.FillRect(front, paper);
        Outline(f, front, ink);
        HLine(f, front.Left, front.Right, front.Top + 1, ink);
        break;
    }
    case Glyph::Minimize:
        f.FillRect(Rect(int(a), int(b) - 1, int(b) + 1, int(b) + 1), ink);
        break;
    }
}

// Four faces: normal, pressed, hot, inactive window. The normal and inactive faces show only the
// glyph over the caption; hot and pressed faces get a rounded plate.
TBitmap32 CaptionButton(Glyph g) {
    const int s = kCapButton;
    bool close = g == Glyph::Close;
    TPixel hotTop = close ? Tone(0xD9503F) : Tone(0x4D76B9), hotBottom = close ? kCloseHot : Tone(0x3D66A9);
    TPixel downTop = close ? kCloseDown : Tone(0x183565), downBottom = close ? Tone(0xA83325) : Tone(0x1D3D70);
    std::vector<TBitmap32> frames;
    auto face = [&](const BoxStyle* plate, TPixel ink) {
        TBitmap32 f = Canvas(s, s);
        if (plate) Box(f, Rect(0, 0, s, s), *plate);
        DrawGlyph(f, g, ink, plate ? plate->bottom : kKey, s);
        frames.push_back(f);
    };
    BoxStyle hot{close ? Tone(0xE27A6D) : Tone(0x7195CF), hotTop, hotBottom, 3};
    BoxStyle down{close ? Tone(0x6E1F17) : kFrameOutline, downTop, downBottom, 3};
    face(nullptr, kCaptionGlyph);
    face(&down, kCaptionGlyph);
    face(&hot, kCaptionGlyph);
    face(nullptr, kCaptionGlyphOff);
    return Strip(frames);
}

// The window-icon button: the engine draws the window's own icon there; this face fixes its size
// and stands in for windows without an icon.
TBitmap32 IconButton() {
    std::vector<TBitmap32> frames;
    for (int i = 0; i < 4; ++i) {
        TBitmap32 f = Canvas(16, 16);
        TPixel paper = i == 3 ? Tone(0xD5DAE2) : kWhite, ink = i == 3 ? Tone(0x6A768A) : kHilight;
        Box(f, Rect(1, 3, 15, 13), {Tone(0xB9C6DA), paper, paper, 1});
        Line(f, 2, 4, 8, 9, 1.2, ink);
        Line(f, 14, 4, 8, 9, 1.2, ink);
        frames.push_back(f);
    }
    return Strip(frames);
}

void AddCaptionButtons(SkinImages& images) {
    images.push_back({"close.bmp", CaptionButton(Glyph::Close)});
    images.push_back({"maximize.bmp", CaptionButton(Glyph::Maximize)});
    images.push_back({"restore.bmp", CaptionButton(Glyph::Restore)});
    images.push_back({"minimize.bmp", CaptionButton(Glyph::Minimize)});
    images.push_back({"icon.bmp", IconButton()});
}

// Menu bar: frame 1 for an active window, 2 for an inactive one, stacked.
void AddMenuBar(SkinImages& images) {
    auto frame = [](TPixel top, TPixel bottom) {
        TBitmap32 f = Canvas(40, 20);
        VGradient(f, Rect(0, 0, 40, 19), top, bottom);
        HLine(f, 0, 40, 19, Tone(0xC2CAD6));
        return f;
    };
    images.push_back(
        {"menubar.bmp", Strip({frame(Tone(0xE6EAF1), kMenuBar), frame(Tone(0xE8EAEE), Tone(0xE0E3E8))}, true)});
}

// Menu items: 1 normal (transparent: the menu background shows), 2 separator (drawn from its
// bottom rows), 3 unused, 4 selected, 5 unused. Separators are 8 rows high.
void AddMenuItem(SkinImages& images) {
    const int w = 24, h = 22;
    TBitmap32 normal = Canvas(w, h);
    TBitmap32 separator = Canvas(w, h);
    HLine(separator, 2, w - 2, h - 5, Tone(0xC9D1DD));
    HLine(separator, 2, w - 2, h - 4, kWhite);
    TBitmap32 selected = Canvas(w, h);
    Box(selected, Rect(1, 1, w - 1, h - 1), {Tone(0x24477F), Tone(0x3A62A5), kHilight, 3});
    images.push_back({"menuitem.bmp", Strip({normal, separator, normal, selected, selected})});
}

// Popup menu background: a 3-pixel frame, an icon gutter on the left, a light page.
void AddMenuBackground(SkinImages& images) {
    TBitmap32 f = Canvas(40, 16, kMenuBg);
    f.FillRect(Rect(3, 3, 26, 13), kMenuGutter);
    VLine(f, 26, 3, 13, Tone(0xD5DCE6));
    Outline(f, Rect(0, 0, 40, 16), kMenuEdge);
    images.push_back({"menubg.bmp", f});
}

// MDI child buttons in the menu bar row: minimize, restore, close, four faces each (normal,
// pressed, unused, hot).
void AddMdiControls(SkinImages& images) {
    const int w = 16, h = 14;
    std::vector<TBitmap32> frames;
    for (Glyph g : {Glyph::Minimize, Glyph::Restore, Glyph::Close}) {
        const BoxStyle down{kShadow, kPressedFace, Tone(0xD8DEE7), 2};
        const BoxStyle hot{kFocus, kWhite, kHotTint, 2};
        for (const BoxStyle* plate : {static_cast<const BoxStyle*>(nullptr), &down, &hot, &hot}) {
            TBitmap32 f = Canvas(w, h);
            if (plate) Box(f, Rect(0, 0, w, h), *plate);
            TBitmap32 glyph = Canvas(h, h);
            DrawGlyph(glyph, g, kText, plate ? plate->bottom : kKey, h);
            DrawBitmapKeyed(f, (w - h) / 2, 0, glyph, clSkinKey);
            frames.push_back(f);
        }
    }
    images.push_back({"mdicontrols.bmp", Strip(frames)});
}

} // namespace

void AddFrameArt(SkinImages& images) {
    AddBorders(images);
    AddTitleBack(images);
    AddCaptionButtons(images);
    AddMenuBar(images);
    AddMenuItem(images);
    AddMenuBackground(images);
    AddMdiControls(images);
}
