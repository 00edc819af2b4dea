// The skinning options a skin data component carries besides its skin: what gets skinned, the
// events through which the application takes part in that decision, and the shared state the
// skinners use. Portable: the Windows component holds one of these and supplies the sender of its
// events; the skinners read it and never write it.
#pragma once

#include "framework/Classes.h"
#include "skin/data/Bitmap.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// Kinds of controls the skin engine can skin; the order is the bit order of the stored set.
enum TSkinControlType {
    xcMainMenu, // also switches the frame skinning of whole windows
    xcPopupMenu,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcSystemMenu,
    xcFastReport, // the other way round: in the set, windows of classes "Tfr..." are left alone
};
constexpr int kSkinControlTypeCount = xcFastReport + 1;

// A set of TSkinControlType, stored as bits (member i is bit i).
class TSkinControlTypes {
public:
    constexpr TSkinControlTypes() = default;
    TSkinControlTypes(std::initializer_list<TSkinControlType> members) {
        for (TSkinControlType t : members)
            Include(t);
    }
    // Bits past the last member are dropped.
    static constexpr TSkinControlTypes FromBits(std::uint32_t bits) {
        return TSkinControlTypes(bits & ((std::uint32_t(1) << kSkinControlTypeCount) - 1));
    }
    // Every member but xcFastReport: the default.
    static constexpr TSkinControlTypes Default() { return FromBits((std::uint32_t(1) << xcFastReport) - 1); }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Contains(TSkinControlType t) const { return (bits_ >> t) & 1; }
    void Include(TSkinControlType t) { bits_ |= std::uint32_t(1) << t; }
    void Exclude(TSkinControlType t) { bits_ &= ~(std::uint32_t(1) << t); }
    constexpr bool operator==(const TSkinControlTypes& o) const { return bits_ == o.bits_; }
    constexpr bool operator!=(const TSkinControlTypes& o) const { return bits_ != o.bits_; }

private:
    constexpr explicit TSkinControlTypes(std::uint32_t bits) : bits_(bits) {}
    std::uint32_t bits_ = 0;
};

// A set of control types as text, members in bit order: "[xcMainMenu,xcTab]"; "[]" when empty.
std::string SkinControlsText(TSkinControlTypes set);
// Reads such a text (blanks and member case free); false, and set unchanged, for anything else.
bool SkinControlsFromText(const std::string& text, TSkinControlTypes& set);

// Scope of a skin data component: every window of the application, only the form that owns it,
// or message boxes and standard dialogs.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// Windows-side classes the control event passes along; defined by the framework and the component.
class TSkinData;

// Asked before a window is skinned, with its class name; DoSkin arrives true.
using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
// Lets the application supply its own skinner for a control by setting SkinnedControl.
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TComponent* Form, TComponent* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;

// The class-name to skinner-kind lines for foreign controls that skin data starts with (96 lines,
// three of them repeated).
const TStringList& DefaultSkin3rd();

// Glyphs of the menu skinner's system menu, 16 x 16 each, in the order of its items' image indexes.
enum TMenuGlyph { mgRestore, mgMaximize, mgMinimize, mgClose };
constexpr int kMenuGlyphSize = 16;
constexpr int kMenuGlyphCount = 4;
// A 64 x 16 monochrome strip of the four glyphs: black (0, 0, 0) on white, white being the mask
// colour of the image list the Windows side makes from it.
TBitmap32 MakeMenuGlyphs();

class TSkinOptions {
public:
    // sender is passed to the events as their Sender: the component that carries the options.
    explicit TSkinOptions(TObject* sender = nullptr);
    virtual ~TSkinOptions() = default;
    TSkinOptions(const TSkinOptions&) = delete;
    TSkinOptions& operator=(const TSkinOptions&) = delete;

    // Stored options.
    // A control or popup menu whose Tag modulo 100 equals this is left unskinned.
    int DisableTag = 99;
    TSkinControlTypes SkinControls = TSkinControlTypes::Default();
    TSkinFormType SkinFormtype = sfMainform;
    // A form skinner rebuilds its menu bar whenever the framework reports a menu change.
    bool MenuUpdate = true;
    const TStringList& Skin3rd() const { return skin3rd_; }
    // Replaces the lines by a copy of the given ones.
    void SetControlList(const TStringList& lines);

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged; // fired by the manager after it has carried out a request
    TOnSkinControl OnSkinControl;

    // Shared state, not stored.
    // True until a skin description has been read to its end; set again by every load. While it is
    // set the skin is not used.
    bool Loading = true;
    // A scratch surface for the skinners (on Windows, memory a DIB section can share).
    TBitmap32 WorkBitmap;
    // The frame painter paints the menu bar only while this is true.
    bool MainMenuUpdate = true;
    // The source strip of the system menu's image list (MakeMenuGlyphs).
    TBitmap32 MenuGlyphs;

    // Decides whether a window of class `name` is skinned. An OnFormSkin handler alone decides.
    // Without one, "SysMonthCal32" is not skinned, nor, when xcFastReport is in SkinControls, a
    // class starting with "Tfr"; otherwise doSkin is left as it is.
    void DoFormSkin(const std::string& name, bool& doSkin);
    void DoSkinChanged();
    // Whether a control or popup menu with this Tag is left unskinned by the DisableTag rule (the
    // remainder keeps the tag's sign, so a negative tag never matches a positive DisableTag).
    bool TagDisabled(long long tag) const { return tag % 100 == DisableTag; }

    TObject* Sender() const { return sender_; }

    // The stored options as published properties, by name in any case: "DisableTag" (integer),
    // "SkinControls" (a set, as text: "[xcMainMenu,xcPopupMenu]"), "SkinFormtype" (enumeration),
    // "MenuUpdate" (boolean), "Skin3rd" (the string list). Setting takes the same texts; a set
    // may have blanks, and a text that is no value of the property changes nothing (false).
    bool GetOption(const std::string& name, TPropValue& value) const;
    bool SetOption(const std::string& name, const std::string& value);

private:
    TObject* sender_;
    TStringList skin3rd_;
};
