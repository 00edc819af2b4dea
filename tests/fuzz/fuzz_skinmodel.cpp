// The input is a skin description; the package beside it holds images of awkward sizes named 0.bmp
// to 7.bmp. Loading must give a model within the ranges the model promises, and drawing every element
// from it into a small target must stay inside the target and the images.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinWrite.h"
#include "skin/forms/WinSkinForm.h"

#include <cstdlib>

namespace {

const TSkinReader& Package() {
    static TSkinReader reader = [] {
        const int sizes[][2] = {{1, 1}, {2, 3}, {40, 12}, {9, 60}, {300, 1}, {1, 300}, {17, 17}, {64, 40}};
        TSkinWriter writer;
        int i = 0;
        for (const auto& s : sizes) {
            TBitmap32 b(s[0], s[1]);
            for (int y = 0; y < s[1]; ++y)
                for (int x = 0; x < s[0]; ++x)
                    b.SetPixel(x, y, (x + y) % 3 ? PixelRGB(uint8_t(x), uint8_t(y), 7) : PixelRGB(255, 0, 255));
            const std::vector<uint8_t> bmp = WriteBmp24(b);
            writer.Add(std::to_string(i++) + ".bmp", std::string(bmp.begin(), bmp.end()));
        }
        TMemoryStream stream;
        stream.Assign(writer.Pack());
        TSkinReader r;
        if (!r.Loadfromstream(stream)) std::abort();
        return r;
    }();
    return reader;
}

void Require(bool ok) {
    if (!ok) std::abort();
}

// Margins of an image lie inside it; frame counts are at least 1; then every way of drawing the
// element runs on a target smaller and larger than the image.
void Check(const TDataSkinObject& o, bool marginsOfImage) {
    const TBitmap32& b = o.Bitmap;
    if (marginsOfImage) {
        Require(o.Margins.Left >= 0 && o.Margins.Top >= 0 && o.Margins.Right >= 0 && o.Margins.Bottom >= 0);
        if (!b.Empty()) {
            Require(o.Margins.Left + o.Margins.Right <= b.Width());
            Require(o.Margins.Top + o.Margins.Bottom <= b.Height());
        }
    }
    Require(InCoordRange(o.Margins));
    Require(o.FrameCount >= 0);
    const int n = o.FrameCount;
    TBitmap32 target(23, 19);
    for (const TRect& dest : {TRect{2, 3, 21, 17}, TRect{-5, -4, 30, 27}}) {
        for (int frame : {1, n + 1}) {
            DrawRect2(target, dest, b, o.Margins, frame, n, o.Trans != 0, o.Tile != 0, false);
            DrawRect2(target, dest, b, o.Margins, frame, n, false, true, true);
            DrawBorder(target, dest, b, o.Margins, frame, n, frame % 2 == 0);
            DrawRectTile(target, dest, b, o.Margins, frame, n, o.Trans != 0, false);
            DrawRect1(target, dest, b, frame, n, true);
            DrawRect3(target, dest, b, frame, n, false);
            GetThumbMap(dest, b, o.Margins, frame, n, false);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream stream;
    stream.Assign(std::string(reinterpret_cast<const char*>(data), size));
    TQuickIni ini;
    ini.LoadFromStream(&stream);
    TSkinModel model;
    model.LoadFromIni(ini, &Package());

    for (const TDataSkinBorder* b : {&model.BorderLeft, &model.BorderRight, &model.BorderTop, &model.BorderBottom})
        Check(*b, true);
    Check(model.Title, false);
    Require(model.Title.TXTBackleft >= 0 && model.Title.TXTBackRight >= 0);
    Check(model.Buttons, true);
    for (const TDataSkinSysButton& s : model.SysButtons) {
        Check(s, true);
        Require(s.Xcoord >= -kCoordLimit && s.Xcoord <= kCoordLimit && s.Ycoord >= -kCoordLimit &&
                s.Ycoord <= kCoordLimit);
    }
    const TDataSkinObject* slots[] = {model.MenuBar.get(),
                                      model.GroupBoxEdge.get(),
                                      model.GroupBox.get(),
                                      model.Toolbars.get(),
                                      model.Tabs.get(),
                                      model.StatusBarEdges.get(),
                                      model.ComboButton.get(),
                                      model.SunkEdge.get(),
                                      model.ExtraImages.get(),
                                      model.Headerbar.get(),
                                      model.MenuItem.get(),
                                      model.MenuBackground.get(),
                                      model.Scrollbar.get(),
                                      model.HorzScroll.get(),
                                      model.VertScroll.get(),
                                      model.HorzScrollThumb.get(),
                                      model.VertScrollThumb.get(),
                                      model.TrackbarThumbHorz.get(),
                                      model.TrackbarThumbVert.get(),
                                      model.TrackbarThumbLeft.get(),
                                      model.TrackbarThumbRight.get(),
                                      model.TrackbarThumbUp.get(),
                                      model.TrackbarThumbDown.get(),
                                      model.UpDownHorz.get(),
                                      model.UpDownVert.get(),
                                      model.Progress.get()};
    for (const TDataSkinObject* o : slots)
        if (o) Check(*o, true);
    for (size_t i = 0; i < model.PreColors.size(); ++i) {
        TColor c = 0;
        Require(model.GetPrecolor(c, int(i)));
    }
    return 0;
}
