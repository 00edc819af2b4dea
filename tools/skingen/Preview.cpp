// A preview of a skin folder: two windows (active and inactive) and a popup menu put together from
// the description and the images with the engine's own drawing primitives, following the frame,
// caption, menu and control layouts the engine uses. Text is shown as bars in its colour, so its
// contrast can be judged without a font.
#include "tools/skingen/Preview.h"

#include "tools/skingen/Paint.h"

#include "skin/data/BmpCodec.h"
#include "skin/data/Streams.h"
#include "skin/data/WinSkinIni.h"
#include "skin/forms/WinSkinForm.h"

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

class SkinFolder {
public:
    explicit SkinFolder(const std::string& dir) : dir_(dir) {
        for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(dir)))
            if (e.path().extension() == ".ini") ini_.LoadFromFile(e.path().u8string());
    }
    int Int(const std::string& section, const std::string& key, int def = 0) const {
        return ini_.ReadInteger(section, key, def);
    }
    TPixel Colour(const std::string& section, const std::string& key) const {
        int r = 0, g = 0, b = 0;
        std::sscanf(ini_.ReadString(section, key, "0 0 0").c_str(), "%d %d %d", &r, &g, &b);
        return PixelRGB(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b));
    }
    const TBitmap32& Image(const std::string& section, const std::string& key) {
        std::string name = ini_.ReadString(section, key, "");
        auto it = images_.find(name);
        if (it == images_.end()) {
            std::string bytes;
            TBitmap32 bmp;
            if (!name.empty() && TryReadFileBytes(dir_ + "/" + name, bytes)) bmp = ReadBmp(bytes);
            it = images_.emplace(name, std::move(bmp)).first;
        }
        return it->second;
    }
    TRect Margins(const std::string& section) const {
        return Rect(Int(section, "LeftWidth"), Int(section, "TopHeight"), Int(section, "RightWidth"),
                    Int(section, "BottomHeight"));
    }
    const TQuickIni& Ini() const { return ini_; }

private:
    std::string dir_;
    TQuickIni ini_;
    std::map<std::string, TBitmap32> images_;
};

// Stand-in for a line of text: word-sized bars, x-height tall, vertically centred in r.
void TextBars(TBitmap32& b, const TRect& r, int width, TPixel p, bool centre = false) {
    const int h = 7, words[] = {18, 11, 24, 9, 16, 20};
    int x = centre ? r.Left + (r.Width() - width) / 2 : r.Left, y = r.Top + (r.Height() - h) / 2;
    int end = x + width;
    for (int i = 0; x < end; i = (i + 1) % 6) {
        b.FillRect(Rect(x, y, std::min(x + words[i], end), y + h), p);
        x += words[i] + 4;
    }
}

void DrawFrame(SkinFolder& s, TBitmap32& w, bool active, int menuHeight) {
    const std::string p = "Personality";
    int f = active ? 1 : 2, W = w.Width(), H = w.Height();
    const TBitmap32 &left = s.Image(p, "Left"), &right = s.Image(p, "Right");
    const TBitmap32 &top = s.Image(p, "Top"), &bottom = s.Image(p, "Bottom");
    int lw = left.Width() / s.Int(p, "LeftFrame", 1), rw = right.Width() / s.Int(p, "RightFrame", 1);
    int ch = top.Height() / s.Int(p, "TopFrame", 1), bh = bottom.Height() / s.Int(p, "BottomFrame", 1);
    auto border = [&](const char* name, const TRect& dest, const TBitmap32& image, bool vertical) {
        std::string n = name;
        TRect m = vertical ? Rect(s.Int(p, n + "TopHeight"), 0, s.Int(p, n + "BotHeight"), 0)
                           : Rect(0, s.Int(p, n + "TopHeight"), 0, s.Int(p, n + "BotHeight"));
        int count = s.Int(p, n + "Frame", 1);
        DrawRect2(w, dest, image, m, count == 1 ? 1 : f, count, false, s.Int(p, n + "Stretch", 1) != 1, vertical);
    };
    border("Left", Rect(0, 0, lw, H), left, false);
    border("Right", Rect(W - rw, 0, W, H), right, false);
    border("Bottom", Rect(lw, H - bh, W - rw, H), bottom, true);
    border("Top", Rect(lw, 0, W - rw, ch), top, true);

    // Title with its backdrop, then the caption buttons.
    TPixel text = s.Colour("Colours", active ? "TitleTextActive" : "TitleTextNoActive");
    int textWidth = 70, bl = s.Int(p, "TXTBackleft"), br = s.Int(p, "TXTBackRight");
    TRect t = Bounds(lw + s.Int(p, "TextShift"), 0, textWidth + bl + br, ch);
    DrawRectTile(w, t, s.Image(p, "TextBack"), Rect(bl, 0, br, 0), f, 2, true, true);
    TextBars(w, Rect(t.Left + bl, t.Top + s.Int(p, "TextShiftVert") / 2, t.Right - br, t.Bottom), textWidth, text);
    TStringList sections;
    s.Ini().ReadSections(sections);
    for (const std::string& sec : sections) {
        if (LowerCase(sec).rfind("button", 0) != 0 || LowerCase(sec) == "buttons") continue;
        if (s.Int(sec, "Visibility1") == 1) continue; // shown only while maximized
        const TBitmap32& face = s.Image(sec, "ButtonImage");
        int n = s.Int(sec, "frame", 1), x = s.Int(sec, "Xcoord"), y = s.Int(sec, "Ycoord");
        int left0 = s.Int(sec, "Align") == 1 ? W - x : x;
        DrawRect1(w, Bounds(left0, y, face.Width() / n, face.Height()), face, active ? 1 : 4, n, true);
    }

    // Menu bar with three items.
    if (menuHeight > 0) {
        TRect bar = Rect(lw, ch, W - rw, ch + menuHeight);
        DrawRectTile(w, bar, s.Image(p, "menuBar"),
                     Rect(s.Int(p, "TileLeftMenu", 1), 0, s.Int(p, "TileRightMenu", 1), 0), f, 2, false, true);
        int x = bar.Left + s.Int(p, "TileLeftMenu", 1) + 4;
        for (int width : {28, 40, 34}) {
            TextBars(w, Rect(x + 5, bar.Top, x + 5 + width, bar.Bottom - 1), width, s.Colour("Colours", "MenuBarText"));
            x += width + 10;
        }
    }
}

void DrawControls(SkinFolder& s, TBitmap32& w, const TRect& client) {
    TPixel face = s.Colour("Colours", "ButtonFace");
    int x = client.Left + 10, y = client.Top + 10;
    // Push buttons in each state: normal, hot, pressed, default, disabled.
    const TBitmap32& button = s.Image("Buttons", "Bitmap");
    struct State {
        int frame;
        const char* colour;
    };
    for (State st : {State{1, "NormalColour2"}, State{4, "MouseOverColour2"}, State{2, "PressedColour2"},
                     State{5, "NormalColour2"}, State{3, ""}}) {
        TRect r = Bounds(x, y, 64, 23);
        DrawRect2(w, r, button, s.Margins("Buttons"), st.frame, 5, s.Int("Buttons", "Trans") == 1,
                  s.Int("Buttons", "Tile") == 1, false);
        TextBars(w, Rect(r.Left, r.Top, r.Right, r.Bottom - 1), 36,
                 *st.colour ? s.Colour("Buttons", st.colour) : s.Colour("Colours", "ButtonShadow"), true);
        x += 70;
    }
    // Check boxes and radio buttons, unchecked and checked, with labels.
    y += 34;
    x = client.Left + 10;
    for (const char* key : {"CheckButton", "RadioButton"}) {
        const TBitmap32& glyph = s.Image("Buttons", key);
        int n = s.Int("Buttons", std::string(key) == "CheckButton" ? "CheckButtonFrame" : "RadioButtonFrame", 4);
        for (int frame : {1, 2, 4}) {
            DrawRect1(w, Bounds(x, y, glyph.Width() / n, glyph.Height()), glyph, frame, n, true);
            TextBars(w, Bounds(x + 18, y, 40, 13), 40, s.Colour("Colours", "WindowText"));
            x += 70;
        }
    }
    // Progress bar at 60 %, combo box, up-down.
    y += 26;
    x = client.Left + 10;
    TRect bar = Bounds(x, y, 150, 16);
    const TBitmap32& progress = s.Image("Progress", "Bitmap");
    DrawRect2(w, bar, progress, s.Margins("Progress"), 1, 2, true, false, false);
    DrawRect2(w, Bounds(x, y, 90, 16), progress, s.Margins("Progress"), 2, 2, true, false, false);
    TRect combo = Bounds(x + 170, y - 2, 130, 21);
    DrawRect2(w, combo, s.Image("SunkEdge", "Image"), s.Margins("SunkEdge"), 4, 4, false, false, false);
    TextBars(w, Rect(combo.Left + 5, combo.Top, combo.Right - 24, combo.Bottom), 60, s.Colour("Colours", "WindowText"));
    TRect cell = Rect(combo.Right - 19, combo.Top, combo.Right, combo.Bottom);
    DrawRect1(w, cell, s.Image("ComboButton", "Image"), 1, 4, true);
    DrawRect3(w, Rect(cell.Left, cell.Top, cell.Right - 2, cell.Bottom), s.Image("ExtraImages", "Image"), 1, 5, true);
    const TBitmap32& ud = s.Image("UpDown.Vert", "Image");
    const TBitmap32& udGlyph = s.Image("UpDown.Vert", "GlyphImage");
    TRect up = Bounds(combo.Right + 10, combo.Top, 16, 10), down = Bounds(combo.Right + 10, combo.Top + 10, 16, 11);
    DrawRect1(w, up, ud, 1, 8, true);
    DrawRect1(w, down, ud, 5, 8, true);
    DrawRect3(w, up, udGlyph, 1, 8, true);
    DrawRect3(w, down, udGlyph, 5, 8, true);

    // Tabs over a page, a memo with a vertical scroll bar, a track bar thumb.
    y += 30;
    x = client.Left + 10;
    const TBitmap32& tabs = s.Image("Tabs", "Image");
    TRect page = Rect(x, y + 21, x + 250, client.Bottom - 30);
    DrawBorder(w, page, s.Image("Tabs", "Border"), Rect(4, 5, 4, 4), 1, 1, false);
    DrawRect2(w, Bounds(x + 2, y + 2, 60, 20), tabs, s.Margins("Tabs"), 1, 5, true, false, false);
    TextBars(w, Bounds(x + 2, y + 2, 60, 20), 34, s.Colour("Tabs", "NormalColour2"), true);
    DrawRect2(w, Bounds(x + 62, y, 64, 22), tabs, s.Margins("Tabs"), 2, 5, true, false, false);
    TextBars(w, Bounds(x + 62, y, 64, 22), 38, s.Colour("Tabs", "MouseOverColour2"), true);
    TRect memo = Rect(page.Left + 10, page.Top + 10, page.Left + 150, page.Bottom - 10);
    w.FillRect(memo, PixelRGB(255, 255, 255));
    Outline(w, memo, s.Colour("Colours", "ButtonShadow"));
    for (int line = 0; line < 3; ++line)
        TextBars(w, Bounds(memo.Left + 5, memo.Top + 4 + line * 13, 100, 13), 90 - line * 20,
                 s.Colour("Colours", "WindowText"));
    // The scroll bar composed at 16 pixels across, as the engine does.
    TRect sb = Rect(memo.Right - 17, memo.Top + 1, memo.Right - 1, memo.Bottom - 1);
    w.FillRect(sb, s.Colour("Colours", "Scrollbar"));
    DrawRect2(w, Rect(sb.Left, sb.Top + 16, sb.Right, sb.Bottom - 16), s.Image("VertScroll", "Image"),
              s.Margins("VertScroll"), 1, 4, s.Int("VertScroll", "Trans") == 1, false, false);
    const TBitmap32& arrows = s.Image("Scrollbar", "Image");
    DrawRect1(w, Bounds(sb.Left, sb.Top, 16, 16), arrows, 9, 23, true);
    DrawRect1(w, Bounds(sb.Left, sb.Bottom - 16, 16, 16), arrows, 13, 23, true);
    DrawRect2(w, Bounds(sb.Left, sb.Top + 22, 16, 18), s.Image("VertScrollThumb", "Image"),
              s.Margins("VertScrollThumb"), 1, s.Int("VertScrollThumb", "FrameCount", 3), true, false, false);
    TRect track = Rect(page.Left + 165, page.Top + 25, page.Right - 12, page.Top + 29);
    w.FillRect(track, s.Colour("Colours", "ButtonShadow"));
    const TBitmap32& thumb = s.Image("Trackbar.ThumbHorz", "Image");
    DrawRect1(w, Bounds(track.Left + 20, track.Top - 8, thumb.Width() / 5, thumb.Height()), thumb, 2, 5, true);

    // Status bar with two panels and the size grip.
    TRect status = Rect(client.Left, client.Bottom - 20, client.Right, client.Bottom);
    w.FillRect(status, face);
    const TBitmap32& panels = s.Image("StatusBarEdges", "Image");
    TRect p1 = Rect(status.Left + 2, status.Top + 2, status.Left + 160, status.Bottom),
          p2 = Rect(p1.Right + 2, p1.Top, status.Right - 2, status.Bottom);
    for (TRect r : {p1, p2}) {
        DrawRect2(w, r, panels, s.Margins("StatusBarEdges"), 1, 3, false, false, false);
        TextBars(w, Rect(r.Left + 4, r.Top, r.Right, r.Bottom), 60, s.Colour("StatusBarEdges", "NormalColour2"));
    }
    const TBitmap32& extra = s.Image("ExtraImages", "Image");
    int gw = extra.Width() / 5, gh = extra.Height();
    DrawRect1(w, Rect(status.Right - 1 - gw, status.Bottom - 1 - gh, status.Right - 1, status.Bottom - 1), extra, 5, 5,
              true);
}

// A popup menu: background, three items (the second selected) and a separator.
TBitmap32 PopupMenu(SkinFolder& s) {
    const int W = 150, itemH = 22;
    TBitmap32 m(W, 3 * itemH + 8 + 6);
    DrawRect2(m, m.BoundsRect(), s.Image("MenuBackground", "Image"), s.Margins("MenuBackground"), 1, 1, false,
              s.Int("MenuBackground", "Tile") == 1, false);
    const TBitmap32& item = s.Image("MenuItem", "Image");
    int y = 3;
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            // The separator: the bottom 8 rows of frame 2.
            TRect f = FrameRect(item, 2, 5, false);
            TBitmap32 sep(f.Width(), 8);
            StretchCopy(sep, sep.BoundsRect(), item, Rect(f.Left, f.Bottom - 8, f.Right, f.Bottom));
            DrawRect2(m, Rect(3, y, W - 3, y + 8), sep,
                      Rect(s.Int("MenuItem", "LeftWidth"), 0, s.Int("MenuItem", "RightWidth"), 0), 1, 1, true, false,
                      false);
            y += 8;
            continue;
        }
        TRect r = Rect(3, y, W - 3, y + itemH);
        bool selected = i == 1;
        DrawRect2(m, r, item, s.Margins("MenuItem"), selected ? 4 : 1, 5, s.Int("MenuItem", "Trans") == 1, false,
                  false);
        TextBars(m, Rect(r.Left + 24, r.Top, r.Right, r.Bottom), 70,
                 s.Colour("Colours", selected ? "HilightText" : "MenuText"));
        y += itemH;
    }
    return m;
}

} // namespace

TBitmap32 RenderPreview(const std::string& skinDir) {
    SkinFolder s(skinDir);
    const std::string p = "Personality";
    int lw = s.Image(p, "Left").Width() / s.Int(p, "LeftFrame", 1);
    int rw = s.Image(p, "Right").Width() / s.Int(p, "RightFrame", 1);
    int ch = s.Image(p, "Top").Height() / s.Int(p, "TopFrame", 1);
    int bh = s.Image(p, "Bottom").Height() / s.Int(p, "BottomFrame", 1);
    const int menuHeight = 20;

    TBitmap32 desktop(760, 400);
    for (int y = 0; y < desktop.Height(); ++y)
        for (int x = 0; x < desktop.Width(); ++x)
            desktop.SetPixel(x, y, ((x / 8 + y / 8) % 2) ? PixelRGB(0x6E, 0x7F, 0x73) : PixelRGB(0x78, 0x89, 0x7D));

    // The inactive window behind, then the active one with its controls, then a popup menu.
    TBitmap32 back(260, 150);
    back.Fill(s.Colour("Colours", "ButtonFace"));
    DrawFrame(s, back, false, 0);
    DrawBitmapKeyed(desktop, 470, 30, back, clSkinKey);

    TBitmap32 win(450, 360);
    win.Fill(s.Colour("Colours", "ButtonFace"));
    DrawFrame(s, win, true, menuHeight);
    DrawControls(s, win, Rect(lw, ch + menuHeight, win.Width() - rw, win.Height() - bh));
    DrawBitmapKeyed(desktop, 16, 20, win, clSkinKey);

    TBitmap32 menu = PopupMenu(s);
    // As a context menu over the empty part of the client area, so it hides no control.
    DrawBitmap(desktop, 16 + 290, 20 + ch + menuHeight + 120, menu);
    return desktop;
}
