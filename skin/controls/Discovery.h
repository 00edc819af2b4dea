// Which skinner a control gets: the decision tables of control discovery, free of any window
// system. A framework component is described by its class name and the framework classes it
// belongs to; a plain window by its class name and style bits.
#pragma once

#include "framework/Classes.h"
#include "skin/data/SkinOptions.h"

#include <cstdint>
#include <string>
#include <vector>

// The skinner classes.
enum TSkinnerKind {
    skNone,
    skButton,
    skBitButton,
    skSpeedButton,
    skCheckBox,
    skRadioButton,
    skGroupBox,
    skBox,
    skScrollbar,
    skScControl,
    skEdit,
    skComBox,
    skUpDown,
    skProgress,
    skTrackBar,
    skTab,
    skTab31,
    skHeader,
    skListView,
    skStatusBar,
    skSizer,
};

// How a skinner is started on its control.
enum TSkinStart { ssInit, ssInithwnd, ssInitScrollbar, ssInitGraphic };

// Framework classes the discovery tests membership of (descendants included), as bits.
enum TFrameworkClass : std::uint32_t {
    fcTabControl = 1u << 0,
    fcToolButton = 1u << 1,
    fcPageControl = 1u << 2,
    fcCustomCheckBox = 1u << 3,
    fcCustomRadioGroup = 1u << 4,
    fcCustomGroupBox = 1u << 5,
    fcRadioButton = 1u << 6,
    fcToolBar = 1u << 7,
    fcStatusBar = 1u << 8,
    fcProgressBar = 1u << 9,
    fcScrollBar = 1u << 10,
    fcCustomComboBox = 1u << 11,
    fcBitBtn = 1u << 12,
    fcSpeedButton = 1u << 13,
    fcCustomPanel = 1u << 14,
    fcCustomListView = 1u << 15,
    fcCustomMemo = 1u << 16,
    fcCustomGrid = 1u << 17,
    fcButton = 1u << 18,
    fcCustomEdit = 1u << 19,
    fcCustomFrame = 1u << 20,
    fcCustomForm = 1u << 21,
    fcWinControl = 1u << 22,
    // The classes that make a scroll control by themselves.
    fcListBox = 1u << 23,
    fcCustomTreeView = 1u << 24,
    fcScrollBox = 1u << 25,
};

// The bits of framework classes given by name ("TCustomGrid", any case), as a class of the
// program declares what it counts as; names of no class the table tests add nothing.
std::uint32_t ClassesOfNames(const std::vector<std::string>& names);

// A print-preview form, by its name or class name: one containing "preview" in any case. Its
// controls without a window are left alone.
bool IsPrintPreviewForm(const std::string& name);

struct TComponentFacts {
    std::string ClassName; // as the class names itself ("TButton")
    std::uint32_t Classes = 0;
    std::uint32_t Style = 0; // window style bits, for windowed controls
    long long Tag = 0;
    bool DateTimeUpDown = false; // a date-time picker in up-down mode
};

// What discovery does with one component.
struct TDiscovery {
    bool Matched = false; // a row (or a "Skin3rd" line) took the component: look no further
    TSkinnerKind Kind = skNone;
    TSkinStart Start = ssInit;
    int Flag = 0;
    TSkinnerKind ChildKind = skNone; // every child control first gets one of these
    bool WalkComponents = false;     // then the component's own components are walked
    bool SetFlat = false;            // published "Flat" := "True"
    bool SetTransparent = false;     // published "Transparent" := "True"
    bool NoSizeGrip = false;         // status bars
    bool FixedColorFace = false;     // grids: fixed colour := the skin's button face
    bool ToolBarSkin = false;        // tool bars: button drawing and owner-drawn menus
    bool ToolButtonMenu = false;     // tool buttons: their drop-down menu owner-drawn
};

// A control with scroll bars of its own: WS_VSCROLL or WS_HSCROLL, one of the list, memo, tree
// and scroll box classes, or tag 55.
bool IsScrollControl(const TComponentFacts& c);

// The "Skin3rd" line for a class: the first line starting, in any case, with the class name and
// "="; found tells whether there is one (and so the class is handled, whatever its kind).
TDiscovery Find3rdControl(const TStringList& skin3rd, const std::string& className, TSkinControlTypes options,
                          bool hasTabSkin, bool& found);

// The decision for a framework component after the tag and already-skinned checks: the
// "Skin3rd" mapping, the classes never skinned, then the first matching row of the class table.
TDiscovery DiscoverComponent(const TComponentFacts& c, const TStringList& skin3rd, TSkinControlTypes options,
                             bool hasTabSkin);

// The skinner of a plain window's child by its class name (any case) and style; onFirstChild:
// the skinner goes on the window's first child (extended combo boxes). Owner-drawn buttons and
// scroll bars other than size boxes stay unskinned; a push box is skinned as a push button.
TSkinnerKind DiscoverWindow(const std::string& className, std::uint32_t style, bool hasChild, bool& onFirstChild);
