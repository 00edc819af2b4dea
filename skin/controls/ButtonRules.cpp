#include "skin/controls/ButtonRules.h"

#include "framework/SysUtils.h"
#include "skin/data/SkinModel.h"

#include <algorithm>

namespace {
// Pressed over hot over the resting face; disabled over everything.
int WithMouseAndEnabled(int rest, const TButtonLook& look) {
    int s = rest;
    if (look.Down)
        s = kBtnPressed;
    else if (look.MouseIn)
        s = kBtnHot;
    return look.Enabled ? s : kBtnDisabled;
}
} // namespace

int ButtonFrame(const TButtonLook& look) {
    // The default style wins over focus.
    return WithMouseAndEnabled(look.Default ? kBtnDefault : look.Focused ? kBtnHot : kBtnNormal, look);
}

int BitButtonFrame(const TButtonLook& look) {
    // Focus wins over the default property.
    return WithMouseAndEnabled(look.Focused ? kBtnHot : look.Default ? kBtnDefault : kBtnNormal, look);
}

int SpeedButtonFrame(const TButtonLook& look) {
    return look.Latched ? kBtnPressed : WithMouseAndEnabled(kBtnNormal, look);
}

int GlyphIndex(int frame) {
    return frame == kBtnPressed ? 3 : frame == kBtnDisabled ? 2 : 1;
}

int GlyphFrame(int index, int numGlyphs) {
    return numGlyphs == 4 ? index : 1;
}

TColor ButtonTextColor(const TDataSkinButton& skin, int frame, bool enabled, bool framework, TColor buttonText) {
    // Framework controls keep their font's colour where the skin names none.
    TColor c = framework ? clNone : buttonText;
    if (frame == kBtnNormal && skin.HasNormalColour2) c = skin.NormalColour2;
    if (frame == kBtnHot && skin.HasMouseOverColour2) c = skin.MouseOverColour2;
    if (frame == kBtnPressed && skin.HasPressedColour2) c = skin.PressedColour2;
    if (!enabled) c = framework ? clBtnShadow : TColor(0x808080);
    return c;
}

int LayoutFromName(const std::string& name) {
    const std::string s = LowerCase(name);
    if (s == "blglyphright") return kGlyphRight;
    if (s == "blglyphtop") return kGlyphTop;
    if (s == "blglyphbottom") return kGlyphBottom;
    return kGlyphLeft;
}

TGlyphLayout LayoutGlyph(const TGlyphLayoutInput& in) {
    const bool vertical = in.Layout == kGlyphTop || in.Layout == kGlyphBottom;
    // Sizes along the layout's axis (a) and across it (c).
    auto along = [vertical](const TPoint& p) { return vertical ? p.Y : p.X; };
    auto across = [vertical](const TPoint& p) { return vertical ? p.X : p.Y; };
    const int client = along(in.Client), glyph = along(in.Glyph), text = along(in.Text);

    int margin = in.Margin, spacing = in.Spacing;
    if (in.Text.X == 0 || in.Glyph.X == 0) spacing = 0;
    if (margin == -1 || (in.AlignCenter && !in.Speed)) {
        if (spacing == -1) {
            margin = (client - glyph - text) / 3;
            spacing = margin;
        } else {
            margin = (client - (glyph + spacing + text)) / 2 + (in.Speed && margin == -1 ? 1 : 0);
        }
    } else if (spacing == -1) {
        spacing = ((client - (margin + glyph)) - text) / 2;
    }

    int glyphAt = 0, textAt = 0;
    TGlyphLayout out;
    switch (in.Layout) {
    case kGlyphRight:
        glyphAt = client - margin - glyph;
        textAt = glyphAt - spacing - text;
        out.TextFlags = 2;
        break;
    case kGlyphTop:
        glyphAt = margin;
        textAt = glyphAt + glyph + spacing;
        out.TextFlags = 1;
        break;
    case kGlyphBottom:
        glyphAt = client - margin - glyph;
        textAt = glyphAt - spacing - text;
        out.TextFlags = 1;
        break;
    default:
        glyphAt = margin;
        textAt = glyphAt + glyph + spacing;
        out.TextFlags = 0;
        break;
    }
    const int glyphAcross = (across(in.Client) - across(in.Glyph) + 1) / 2;
    const int textAcross = (across(in.Client) - across(in.Text) + 1) / 2;
    out.GlyphPos = vertical ? TPoint{glyphAcross, glyphAt} : TPoint{glyphAt, glyphAcross};
    out.TextPos = vertical ? TPoint{textAcross, textAt} : TPoint{textAt, textAcross};
    out.Margin = margin;
    out.Spacing = spacing;
    return out;
}

namespace {
// A state past the end of a short strip shows without its disabled look (two frames back), then
// the index stays inside the strip: a skin with fewer frames never makes a frame out of nothing.
int ClampToStrip(int index, int frameCount) {
    const int n = std::max(frameCount, 1);
    while (index > n && index > 2)
        index -= 2;
    return std::clamp(index, 1, n);
}
} // namespace

int CheckBoxFrame(bool checked, bool disabled, bool indeterminate, int frameCount) {
    int i = checked ? 2 : 1;
    if (disabled) i += 2;
    if (indeterminate) i = 4;
    if (frameCount == 12) {
        i = i == 2 ? 5 : i == 3 ? 4 : i == 4 ? 8 : i;
        if (indeterminate) i = disabled ? 12 : 9;
    }
    return ClampToStrip(i, frameCount);
}

int RadioButtonFrame(bool checked, bool disabled, int frameCount) {
    int i = (checked ? 2 : 1) + (disabled ? 2 : 0);
    if (frameCount == 8) i = i == 2 ? 5 : i == 3 ? 4 : i == 4 ? 8 : i;
    return ClampToStrip(i, frameCount);
}

TCheckPlace CheckPlace(const TRect& rect, int frameW, int frameH, int menuCheckW, bool boxRight, bool radio) {
    TCheckPlace p;
    p.Glyph.Top = rect.Top + (rect.Height() - frameH) / 2;
    p.Glyph.Bottom = p.Glyph.Top + frameH;
    const int inset = radio ? 0 : 2;
    if (!boxRight) {
        p.Glyph.Left = frameW > 14 ? rect.Left + inset : rect.Left + inset + (14 - frameW) / 2;
        p.Glyph.Right = p.Glyph.Left + frameW;
        p.Background = TRect{rect.Left, rect.Top, rect.Left + menuCheckW + 3, rect.Bottom};
    } else {
        p.Glyph.Right = frameW > 14 ? rect.Right - 1 : rect.Right - (14 - frameW) / 2;
        p.Glyph.Left = p.Glyph.Right - frameW;
        p.Background = TRect{rect.Right - menuCheckW - 3, rect.Top, rect.Right, rect.Bottom};
    }
    return p;
}

TGroupBoxFrame GroupBoxFrame(const TRect& rect, int textHeight) {
    TGroupBoxFrame g;
    g.LineY = textHeight / 2 - 1;
    g.Erase = TRect{0, g.LineY, rect.Right, rect.Bottom};
    g.Round = TRect{1, g.LineY, rect.Right - 1, rect.Bottom - 1};
    g.Caption = TRect{rect.Left + 9, rect.Top, rect.Right, rect.Bottom};
    return g;
}
