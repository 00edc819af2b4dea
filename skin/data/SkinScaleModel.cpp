#include "skin/data/SkinScaleModel.h"

#include "skin/data/SkinScale.h"

namespace {

class TModelScaler {
public:
    TModelScaler(const TSkinModel& base, int dpi) : base_(base), dpi_(dpi) {}

    // One image of `frames` frames, cut by `margins`; the margins become the scaled ones.
    void Image(TBitmap32& image, TRect& margins, int frames, bool vertical) const {
        const TRect given = margins;
        TScaledImage s = ScaleSkinImage(image, dpi_, given, frames, vertical);
        if (const TBitmap32* larger = Larger(image)) s.Bitmap = *larger;
        image = std::move(s.Bitmap);
        margins = s.Margins;
    }
    // An image whose margins are not needed afterwards (or are the element's, already scaled).
    void Image(TBitmap32& image, const TRect& margins, int frames, bool vertical) const {
        TRect m = margins;
        Image(image, m, frames, vertical);
    }
    int Value(int v) const { return ScaleValue(v, dpi_); }

    void Object(TDataSkinObject& o, bool vertical = false) const {
        Image(o.Bitmap, o.Margins, o.FrameCount, vertical);
    }

private:
    // The package's larger image for this DPI that stands for `image`, if it is the image's size
    // scaled side by side (the rule skinpack check applies).
    const TBitmap32* Larger(const TBitmap32& image) const {
        for (const TLargerImage& l : base_.LargerImages)
            if (l.Dpi == dpi_ && l.Image.Width() == ScaleValue(image.Width(), dpi_) &&
                l.Image.Height() == ScaleValue(image.Height(), dpi_) && l.Base == image)
                return &l.Image;
        return nullptr;
    }

    const TSkinModel& base_;
    int dpi_;
};

template <class T>
std::unique_ptr<T> Copy(const std::unique_ptr<T>& p) {
    return p ? std::make_unique<T>(*p) : nullptr;
}

} // namespace

std::unique_ptr<TSkinModel> ScaledSkinModel(const TSkinModel& base, int dpi) {
    auto m = std::make_unique<TSkinModel>();
    const TModelScaler s(base, dpi);
    m->SkinName = base.SkinName;
    m->Colors = base.Colors;
    m->PreColors = base.PreColors;
    m->FaceBrush = base.FaceBrush;

    // Left and right borders hold their frames side by side, top and bottom ones stacked.
    m->BorderLeft = base.BorderLeft;
    m->BorderRight = base.BorderRight;
    m->BorderTop = base.BorderTop;
    m->BorderBottom = base.BorderBottom;
    s.Object(m->BorderLeft);
    s.Object(m->BorderRight);
    s.Object(m->BorderTop, true);
    s.Object(m->BorderBottom, true);

    // The caption's image is a stack of two frames cut at the widths around the text; its Margins
    // are text offsets.
    m->Title = base.Title;
    TDataSkinTitle& t = m->Title;
    TRect back{t.TXTBackleft, 0, t.TXTBackRight, 0};
    s.Image(t.Bitmap, back, 2, true);
    t.TXTBackleft = back.Left;
    t.TXTBackRight = back.Right;
    t.Margins = TRect{s.Value(t.Margins.Left), s.Value(t.Margins.Top), s.Value(t.Margins.Right),
                      s.Value(t.Margins.Bottom)};
    t.FontHeight = s.Value(t.FontHeight);

    m->Buttons = base.Buttons;
    s.Object(m->Buttons);
    s.Image(m->Buttons.CheckBitmap, TRect{}, m->Buttons.CheckButtonFrame, false);
    s.Image(m->Buttons.RadioBitmap, TRect{}, m->Buttons.RadioButtonFrame, false);

    m->SysButtons = base.SysButtons;
    for (TDataSkinSysButton& b : m->SysButtons) {
        s.Object(b);
        b.Xcoord = s.Value(b.Xcoord);
        b.Ycoord = s.Value(b.Ycoord);
    }

    m->MenuBar = Copy(base.MenuBar);
    if (m->MenuBar) s.Object(*m->MenuBar, true);
    m->GroupBox = Copy(base.GroupBox);
    if (m->GroupBox) {
        s.Object(*m->GroupBox);
        m->GroupBox->BackgroundLeftShift = s.Value(m->GroupBox->BackgroundLeftShift);
        m->GroupBox->BackgroundRightShift = s.Value(m->GroupBox->BackgroundRightShift);
    }
    for (auto slot : {&TSkinModel::GroupBoxEdge, &TSkinModel::Toolbars, &TSkinModel::StatusBarEdges,
                      &TSkinModel::SunkEdge, &TSkinModel::ExtraImages, &TSkinModel::Headerbar, &TSkinModel::MenuItem,
                      &TSkinModel::MenuBackground, &TSkinModel::Scrollbar, &TSkinModel::HorzScroll,
                      &TSkinModel::VertScroll, &TSkinModel::HorzScrollThumb, &TSkinModel::VertScrollThumb,
                      &TSkinModel::TrackbarThumbHorz, &TSkinModel::TrackbarThumbVert, &TSkinModel::TrackbarThumbLeft,
                      &TSkinModel::TrackbarThumbRight, &TSkinModel::TrackbarThumbUp, &TSkinModel::TrackbarThumbDown}) {
        m.get()->*slot = Copy(base.*slot);
        if (m.get()->*slot) s.Object(*(m.get()->*slot));
    }
    // Second images: the combo's mirrored button is cut as the first, the up-down glyphs are a strip
    // of eight, the tab border and the progress chunk are single pictures.
    for (auto slot : {&TSkinModel::Tabs, &TSkinModel::ComboButton, &TSkinModel::UpDownHorz, &TSkinModel::UpDownVert,
                      &TSkinModel::Progress}) {
        m.get()->*slot = Copy(base.*slot);
        TDataSkinBorder* o = (m.get()->*slot).get();
        if (!o) continue;
        const TRect given = o->Margins;
        s.Object(*o);
        if (slot == &TSkinModel::ComboButton)
            s.Image(o->Bitmap2, given, o->FrameCount, false);
        else if (slot == &TSkinModel::UpDownHorz || slot == &TSkinModel::UpDownVert)
            s.Image(o->Bitmap2, TRect{}, 8, false);
        else if (slot == &TSkinModel::Tabs)
            s.Image(o->Bitmap2, given, 1, false);
        else
            s.Image(o->Bitmap2, TRect{}, 1, false);
    }
    return m;
}

const TSkinModel& TSkinModel::AtDpi(int dpi) const {
    if (dpi < 1 || dpi == kBaseDpi) return *this;
    std::unique_ptr<TSkinModel>& slot = scaled_[dpi];
    if (!slot) slot = ScaledSkinModel(*this, dpi);
    return *slot;
}
