// The skin model: what the window and control skinners draw from. It is built from a skin
// description (an INI text read through TQuickIni) and the bitmaps of the same skin package, and
// holds one element record per skinned element, the scheme colour table and the caption buttons.
// Skinners only read it; each load rebuilds it completely and keeps nothing of the package.
#pragma once

#include "skin/data/Bitmap.h"
#include "skin/data/RasterTypes.h"
#include "skin/data/SkinColors.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// One skinned element: its image, holding FrameCount state images, and how to cut and colour it.
// Fields a reader does not set stay 0.
class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name = std::string()) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = default;
    TDataSkinObject& operator=(const TDataSkinObject&) = default;
    TDataSkinObject(TDataSkinObject&&) = default;
    TDataSkinObject& operator=(TDataSkinObject&&) = default;

    // Widths of the fixed edges: Left, Top, Right, Bottom (some elements use them otherwise).
    TRect Margins;
    TBitmap32 Bitmap;
    int Trans = 0;
    // 1: the middle is tiled, 0: stretched. Frame borders keep their Stretch key here.
    int Tile = 0;
    std::string Name; // the section the element was read from
    int FrameCount = 0;
    int Style = 0;
    // Indexes into PreColors for the normal, hot and pressed states; -1: none.
    int NormalColour = 0;
    int MouseOverColour = 0;
    int PressedColour = 0;
    // Direct text colours for the three states.
    TColor NormalColour2 = 0;
    TColor MouseOverColour2 = 0;
    TColor PressedColour2 = 0;
};

// An element with a second image (tab border, progress chunk, up-down glyphs, mirrored combo
// button); empty for the frame borders.
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap32 Bitmap2;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};

// The caption. Its Margins are text offsets: TextShift, TextShiftVert, TextRightClip, 0.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int TextAlignment = 0;
    int Textbackground = 0;
    int FontHeight = 0;
    int TXTBackleft = 0;
    int TXTBackRight = 0;
    TColor ActiveText = clNone; // caption text colours; clNone when the description gives none
    TColor InActiveText = clNone;
};

// Push buttons, with the check box and radio button glyph strips.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap32 CheckBitmap;
    TBitmap32 RadioBitmap;
    int RadioButtonFrame = 0; // glyphs in each strip
    int CheckButtonFrame = 0;
    // Whether the description gave NormalColour2, MouseOverColour2, PressedColour2.
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// One caption button; the values of the keys of the same names, interpreted by the frame skinner.
// What a caption button does ("Action"). Each effect has two numbers, the second for skins that
// place a second button of the kind; other non-negative numbers are posted to the window as
// WM_SKIN_BUTTON, and negative ones are pictures the mouse never hits.
enum TSysButtonAction : int {
    sbaClose = 0,
    sbaMaximize = 1,
    sbaMinimize = 2,
    sbaIcon = 3, // shows the window's own icon and opens the system menu
    sbaMDIMinimize = 7,
    sbaMDIRestore = 8,
    sbaMDIClose = 9,
    sbaIcon2 = 11,
    sbaSysMenu = 12,
    sbaMaximize2 = 22,
    sbaMinimize2 = 23,
    sbaMDIMinimize2 = 60,
    sbaMDIRestore2 = 61,
    sbaMDIClose2 = 62,
};

// Whether a caption button of this action shows the window's own icon rather than a skin image.
inline bool ShowsWindowIcon(int action) {
    return action == sbaIcon || action == sbaIcon2;
}

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int Action = 0;
    int Align = 0;
    int Xcoord = 0;
    int Ycoord = 0;
    int CombineOp = 0;
    int Visibility = 0;
    int Visibility1 = 0;
};

// The solid brush of the button face, as a description: the Windows side makes the brush from it
// after every load. A system-colour code stands for the system's current colour of that index at
// the time the brush is made.
struct TFaceBrush {
    bool Exists = false;
    TColor Color = clBtnFace;
};

// A larger image a package carries beside one of its images, for one DPI: "name@2x.bmp" (192 DPI)
// or "name@1.5x.bmp" (144 DPI) beside "name.bmp". Base is the image it stands for, as read.
struct TLargerImage {
    TBitmap32 Base;
    int Dpi = 0;
    TBitmap32 Image;
};

// The suffixes of larger images and their DPIs, as the package names them.
struct TLargerImageSuffix {
    const char* Suffix;
    int Dpi;
};
constexpr TLargerImageSuffix kLargerImageSuffixes[] = {{"@1.5x", 144}, {"@2x", 192}};

// The open description and package of one load. A null package makes every image empty.
struct TSkinDescription {
    const TQuickIni& Ini;
    const TSkinReader* Package = nullptr;
    // Where Readbmp puts the larger images it finds beside the ones it reads; null: not looked for.
    std::vector<TLargerImage>* Larger = nullptr;

    std::string ReadString(const std::string& section, const std::string& key) const {
        return Ini.ReadString(section, key, std::string());
    }
    // Decimal, or hexadecimal after "$" or "0x"; def when absent or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Loads one bitmap of the skin by the file name the description gives: any directory part is
    // dropped, the extension must be exactly ".bmp", and the package entry is looked up without
    // regard to case. Anything missing or undecodable gives the empty bitmap.
    void Readbmp(TBitmap32& bitmap, const std::string& fileName) const;
    TBitmap32 ReadImage(const std::string& section, const std::string& key) const;
};

// Values a description writes that no skin could mean are brought into range as the model is
// read, so that nothing that draws from it divides by zero, overflows or cuts outside an image:
// - margins of an image (every element's but the title's, whose Margins are text offsets) are at
//   least 0; against a non-empty image, Left and Right fit its width together (Right gives way
//   first), Top and Bottom its height;
// - frame counts the description gives are at least 1 (a value below 1 counts as not given) and,
//   for a non-empty image, no more than the image's length along its strip (the counts the
//   engine fixes per element are kept as they are);
// - positions and text offsets lie within +-kCoordLimit, and widths around the caption text are
//   at least 0.
class TSkinModel {
public:
    TSkinModel();
    virtual ~TSkinModel() = default;
    TSkinModel(const TSkinModel&) = delete;
    TSkinModel& operator=(const TSkinModel&) = delete;

    // Reads the whole description into the model, in the order the readers depend on: the colour
    // table exists before the element readers take csButtonText as their default text colour.
    // Any content is accepted; missing or bad values give defaults, missing images absent slots.
    virtual void LoadFromIni(const TQuickIni& ini, const TSkinReader* package);

    // The readers LoadFromIni runs, public so that each can be used and checked alone.
    void ReadBord(const TSkinDescription& d);
    void ReadColor(const TSkinDescription& d);
    // SysButtons from the description's caption-button sections, then the three MDI buttons.
    void ReadSysButton(const TSkinDescription& d);
    void CreateMdibtn(const TSkinDescription& d, int n);
    void ReadButton(const TSkinDescription& d);
    void ReadTitle(const TSkinDescription& d, TDataSkinTitle& title, const std::string& section);
    void ReadMenuBar(const TSkinDescription& d, std::unique_ptr<TDataSkinObject>& slot, const std::string& section);
    void ReadObject(const TSkinDescription& d, std::unique_ptr<TDataSkinObject>& slot, const std::string& section);
    void ReadObject2(const TSkinDescription& d, std::unique_ptr<TDataSkinBorder>& slot, const std::string& section,
                     const std::string& secondKey);
    void ReadProgress(const TSkinDescription& d, std::unique_ptr<TDataSkinBorder>& slot, const std::string& section);
    void ReadBoxLabel(const TSkinDescription& d, std::unique_ptr<TDataSkinBoxLabel>& slot, const std::string& section);
    // Frame counts of everything read, and the glyph counts of the check and radio strips.
    void SetFrame(const TSkinDescription& d);

    // Sets colour from the integer keys prefix + "R", "G", "B" when all three are 0 or more (their
    // low bytes are used); otherwise colour keeps its value.
    static void ReadRGB(const TSkinDescription& d, const std::string& section, const std::string& prefix,
                        TColor& colour);
    // The number of consecutive sections prefix0, prefix1, ... whose key has a value.
    static int GetSectionNum(const TSkinDescription& d, const std::string& prefix, const std::string& key);
    // colour := PreColors[index] and true; false, colour unchanged, when index is outside PreColors.
    bool GetPrecolor(TColor& colour, int index) const;

    std::string SkinName;
    TShemeColors Colors;
    std::vector<TColor> PreColors; // from the sections Colour..., in file order
    // The description's caption buttons, then three MDI child buttons (actions 7, 8, 9).
    std::vector<TDataSkinSysButton> SysButtons;

    // Permanent records, refilled by every load.
    TDataSkinBorder BorderLeft{"Left"};
    TDataSkinBorder BorderRight{"Right"};
    TDataSkinBorder BorderTop{"Top"};
    TDataSkinBorder BorderBottom{"Bottom"};
    TDataSkinTitle Title{"Title"};
    TDataSkinButton Buttons{"Buttons"};

    // Element slots: null when the description gives the element no image.
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinBorder> Progress;

    TFaceBrush FaceBrush; // made anew from Colors[csButtonFace] at the end of every load

    // The package's larger images of this load (see TLargerImage).
    std::vector<TLargerImage> LargerImages;

    // The model for windows at `dpi`: this one at 96 DPI (or a dpi below 1), else a copy with every
    // image and length scaled by dpi / 96 (see ScaledSkinModel), made at the first request and
    // kept until the next load or the model's end. The reference stays valid until then.
    const TSkinModel& AtDpi(int dpi) const;

private:
    mutable std::map<int, std::unique_ptr<TSkinModel>> scaled_;
};
