// The geometry of a skinned window frame, free of any window system: frame metrics from the skin,
// the client rectangle inside the frame, the caption title's rectangle, the caption buttons'
// placement, visibility and faces, the refinement of hit-test answers, and the window region as a
// list of rectangles. Coordinates are window coordinates: origin at the window's top-left corner,
// frame included.
#pragma once

#include "skin/data/SkinModel.h"

#include <vector>

// Private window messages of the skin engine.
constexpr unsigned WM_SKIN_UPDATENC = 13570; // repaint the frame; posted to defer a repaint
constexpr unsigned WM_SKIN_ACTIVE = 13571;   // finish skinning (posted after the skinner is made, lParam 1000)
constexpr unsigned WM_SKIN_QUERY = 13572;    // answered 1 by every skinned window
constexpr unsigned WM_SKIN_BUTTON = 13588;   // a caption button with an action of the application's; wParam: action
constexpr unsigned WM_SKIN_CHANGE = 13313;   // asks a framework form to take up a changed skin

enum TSkinFormStyle { sfsNormal, sfsMDIform, sfsMDIChild };
enum TSkinFormBorder { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum TSkinWindowState { swsNormal, swsMax, swsMin };
enum TSkinFormIcon : unsigned { sbiMax = 1, sbiMin = 2, sbiHelp = 4, sbisystem = 8, sbicaption = 16 };
using TSkinFormIcons = unsigned; // a set of TSkinFormIcon bits

// Hit-test codes the frame answers with.
constexpr int kHitNowhere = 0;
constexpr int kHitCaption = 2;
constexpr int kHitMenu = 5;

// Widths of the skin's frame around the client area, in pixels.
struct TFrameMetrics {
    int Left = 0;
    int Caption = 0; // the top border
    int Right = 0;
    int Bottom = 0;
    int MenuBar = 0; // the menu bar row under the caption; 0 without one
};

// The thickest a frame piece is drawn: 256 pixels.
constexpr int kMaxFrameThickness = 256;
// Frame metrics of a window with the given border: each border's image size along its thickness
// divided by its frame count (a count below 1 reads as 1), at most kMaxFrameThickness. A
// borderless window has none at all.
TFrameMetrics FrameMetricsOf(const TSkinModel& skin, TSkinFormBorder border, int menuBarHeight);

// The client rectangle of a window at `window` (screen or parent coordinates) inside the skin's
// frame. A window smaller than its frame gets an empty client area at the frame's inner corner.
TRect SkinClientRect(const TRect& window, const TFrameMetrics& m);

// The frame of a border image to draw: 1 while the window is active, 2 while it is not, within the
// image's frame count.
int BorderFrame(const TDataSkinObject& border, bool active);

// Renders border n (1 left, 2 right, 3 top, 4 bottom) at the size of dest: its margins, its frame
// for the active state, tiled middle unless the border stretches, frames stacked for top and bottom.
TBitmap32 RenderBorder(const TSkinModel& skin, int n, const TRect& dest, bool active);

// What the caption buttons' placement and visibility depend on.
struct TCaptionState {
    TSkinFormIcons Icons = 0;
    TSkinWindowState State = swsNormal;
    TSkinFormBorder Border = sbsSingle;
    bool Active = true;
    bool MDIChildMaximized = false; // a maximized MDI child shows its buttons in this window's menu bar
    bool RightToLeft = false;
    int Width = 0; // of the window
    TFrameMetrics Metrics;
    TRect TextRect;       // the caption text rectangle of the last paint
    int MenuTileLeft = 0; // the menu bar image's left margin, 0 without a menu bar image
};

// Whether a caption button shows: both visibility conditions and the rule of its action.
bool SysButtonVisible(const TDataSkinSysButton& b, const TCaptionState& s);

// A caption button's rectangle (its frame's size) placed by its alignment; (0, 0) for alignments
// the layout does not know. Empty for a button without an image.
TRect SysButtonRect(const TDataSkinSysButton& b, const TCaptionState& s);

// The smallest left edge of the visible right-anchored (Align 1) buttons; 0 when there is none.
int RightButtonsLeft(const std::vector<const TDataSkinSysButton*>& buttons, const TCaptionState& s);

// Button states of the non-client objects.
constexpr int kStateNormal = 1;
constexpr int kStatePressed = 2;
constexpr int kStateHot = 3;

// The frame of a caption button's image for a state: normal is frame 1 (frame 4 while the window is
// inactive and the image has four frames), pressed 2, hot 3 (4 for the buttons of a maximized MDI
// child), always within the image's frame count.
int SysButtonFrame(const TDataSkinSysButton& b, int state, bool active);

// Where the caption title goes. The text rectangle is what the caption text is drawn in; Back is
// the rectangle of the title background image; Stored is what later layouts align buttons to.
struct TTitleLayout {
    TRect Stored;
    TRect Back;
    TRect Text;
};
struct TTitleInput {
    TRect Caption;     // the caption strip between the side borders
    int TextWidth = 0; // the measured caption text
    int TextHeight = 0;
    bool RightToLeft = false;
    bool Popup = false;       // a WS_POPUP window
    int RightButtonsLeft = 0; // RightButtonsLeft of the current layout
    TSkinFormBorder Border = sbsSingle;
};
TTitleLayout TitleLayout(const TDataSkinTitle& title, const TTitleInput& in);

// Refines the system's hit-test answer for a point of the frame (window coordinates): only
// "nowhere" and "caption" are refined, to caption below the top 3 rows and to menu below the caption.
int RefineHitTest(int code, int y, const TFrameMetrics& m);

// The window width a standard dialog or message box needs for its caption of captionLength
// characters, with blankWidth the width of a blank in the caption font.
int DialogMinWidth(int captionLength, int blankWidth, const TFrameMetrics& m, const TDataSkinTitle& title);

// The window region of a W x H skinned window as rectangles. Borders with transparency set and a
// thickness above one pixel contribute their non-key pixels, the others their whole rectangle; the
// top border is taken from captionStrip (W x caption height, as painted) when it is given at W, else
// rendered alone. `whole` is set (and nothing returned) when no border is transparent: the region
// is then the whole window.
std::vector<TRect> FrameRegionRects(const TSkinModel& skin, const TFrameMetrics& m, int W, int H, bool borderless,
                                    bool active, const TBitmap32* captionStrip, bool& whole);

// A clickable object of the non-client area (a caption button, a menu bar button). Its host holds
// the one object that shows a hot or pressed face. An invisible object ignores every event.
class TNCObject;
class TNCHost {
public:
    virtual ~TNCHost() = default;
    TNCObject* HotObject = nullptr;
};

class TNCObject {
public:
    explicit TNCObject(TNCHost* owner) : Owner(owner) {}
    // Leaves the host's hot object pointing at nothing freed.
    virtual ~TNCObject();
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Paints the current state; the base paints nothing.
    virtual void Draw() {}

    TNCHost* const Owner;
    TRect Rect; // window coordinates
    bool Visible = true;
    int State = kStateNormal;

private:
    void Become(int state, bool hot);
};
