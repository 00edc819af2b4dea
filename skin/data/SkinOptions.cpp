#include "skin/data/SkinOptions.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const kDefaultSkin3rd[] = {"TComboboxex=combobox",
                                       "TTBDock=Panel",
                                       "TTBToolbar=Panel",
                                       "TImageEnMView=scrollbar",
                                       "TImageEnView=scrollbar",
                                       "TAdvMemo=scrollbar",
                                       "TDBAdvMemo=scrollbar",
                                       "TRzButton=button",
                                       "TRzBitbtn=bitbtn",
                                       "TRzMenuButton=bitbtn",
                                       "TRzCheckGroup=CheckGroup",
                                       "TRzRadioGroup=Radiogroup",
                                       "TRzRadioButton=Radiobutton",
                                       "TRzCheckBox=Checkbox",
                                       "TRzButtonEdit=Edit",
                                       "TRzDBRadioGroup=Radiogroup",
                                       "TRzDBRadioButton=Radiobutton",
                                       "TRzDBCheckBox=Checkbox",
                                       "TRzDateTimeEdit=combobox",
                                       "TRzColorEdit=combobox",
                                       "TRzDateTimePicker=combobox",
                                       "TRzDBDateTimeEdit=combobox",
                                       "TRzDbColorEdit=combobox",
                                       "TRzDBDateTimePicker=combobox",
                                       "TLMDGroupBox=Groupbox",
                                       "TDBCheckboxEh=Checkbox",
                                       "TDBCheckboxEh=Checkbox",
                                       "TLMDCHECKBOX=Checkbox",
                                       "TLMDDBCHECKBOX=Checkbox",
                                       "TLMDRadiobutton=Radiobutton",
                                       "TLMDCalculator=panel",
                                       "TLMDGROUPBOX=Panel",
                                       "TLMDSIMPLEPANEL=Panel",
                                       "TLMDDBCalendar=Panel",
                                       "TLMDButtonPanel=Panel",
                                       "TLMDLMDCalculator=Panel",
                                       "TLMDHeaderPanel=Panel",
                                       "TLMDTechnicalLine=Panel",
                                       "TLMDLMDClock=Panel",
                                       "TLMDTrackbar=panel",
                                       "TLMDListCombobox=combobox",
                                       "TLMDCheckListCombobox=combobox",
                                       "TLMDHeaderListCombobox=combobox",
                                       "TLMDImageCombobox=combobox",
                                       "TLMDColorCombobox=combobox",
                                       "TLMDFontCombobox=combobox",
                                       "TLMDFontSizeCombobox=combobox",
                                       "TLMDFontSizeCombobox=combobox",
                                       "TLMDPrinterCombobox=combobox",
                                       "TLMDDriveCombobox=combobox",
                                       "TLMDCalculatorComboBox=combobox",
                                       "TLMDTrackBarComboBox=combobox",
                                       "TLMDCalendarComboBox=combobox",
                                       "TLMDTreeComboBox=combobox",
                                       "TLMDRADIOGROUP=radiogroup",
                                       "TLMDCheckGroup=CheckGroup",
                                       "TLMDDBRADIOGROUP=radiogroup",
                                       "TLMDDBCheckGroup=CheckGroup",
                                       "TLMDCalculatorEdit=edit",
                                       "TLMDEDIT=Edit",
                                       "TLMDMASKEDIT=Edit",
                                       "TLMDBROWSEEDIT=Edit",
                                       "TLMDEXTSPINEDIT=Edit",
                                       "TLMDCALENDAREDIT=Edit",
                                       "TLMDFILEOPENEDIT=Edit",
                                       "TLMDFILESAVEEDIT=Edit",
                                       "TLMDCOLOREDIT=Edit",
                                       "TLMDDBEDIT=Edit",
                                       "TLMDDBMASKEDIT=Edit",
                                       "TLMDDBEXTSPINEDIT=Edit",
                                       "TLMDDBSPINEDIT=Edit",
                                       "TLMDDBEDITDBLookup=Edit",
                                       "TLMDEDITDBLookup=Edit",
                                       "TDBLookupCombobox=Combobox",
                                       "TWWDBCombobox=Combobox",
                                       "TWWDBLookupCombo=Combobox",
                                       "TWWDBCombobox=Combobox",
                                       "TWWKeyCombo=Combobox",
                                       "TWWTempKeyCombo=combobox",
                                       "TWWDBDateTimePicker=Combobox",
                                       "TWWRADIOGROUP=radiogroup",
                                       "TWWDBEDIT=Edit",
                                       "TcxButton=bitbtn",
                                       "TcxDBCheckBox=checkbox",
                                       "TcxDBRadioGroup=radiogroup",
                                       "TcxRadioGroup=radiogroup",
                                       "TcxCheckBox=checkbox",
                                       "TOVCPICTUREFIELD=Edit",
                                       "TOVCDBPICTUREFIELD=Edit",
                                       "TOVCSLIDEREDIT=Edit",
                                       "TOVCDBSLIDEREDIT=Edit",
                                       "TOVCSIMPLEFIELD=Edit",
                                       "TOVCDBSIMPLEFIELD=Edit",
                                       "TO32DBFLEXEDIT=Edit",
                                       "TOVCNUMERICFIELD=Edit",
                                       "TOVCDBNUMERICFIELD=Edit"};

// Glyph cells are drawn with 1-pixel lines on a white 16 x 16 cell; x0 is the cell's left edge.
void Box(TBitmap32& b, int x0, int left, int top, int right, int bottom, TPixel ink) {
    b.FillRect(Rect(x0 + left, top, x0 + right, top + 2), ink); // a caption bar two pixels thick
    b.FillRect(Rect(x0 + left, bottom - 1, x0 + right, bottom), ink);
    b.FillRect(Rect(x0 + left, top, x0 + left + 1, bottom), ink);
    b.FillRect(Rect(x0 + right - 1, top, x0 + right, bottom), ink);
}

} // namespace

const TStringList& DefaultSkin3rd() {
    static const TStringList lines = [] {
        TStringList l;
        for (const char* line : kDefaultSkin3rd)
            l.Add(line);
        return l;
    }();
    return lines;
}

TBitmap32 MakeMenuGlyphs() {
    const TPixel paper = PixelRGB(255, 255, 255), ink = PixelRGB(0, 0, 0);
    TBitmap32 b(kMenuGlyphSize * kMenuGlyphCount, kMenuGlyphSize);
    b.Fill(paper);

    // Restore: a window in front of another, up and to the right.
    int x0 = mgRestore * kMenuGlyphSize;
    Box(b, x0, 6, 2, 13, 9, ink);
    b.FillRect(Rect(x0 + 3, 5, x0 + 10, 13), paper);
    Box(b, x0, 3, 5, 10, 12, ink);

    // Maximize: one large window.
    x0 = mgMaximize * kMenuGlyphSize;
    Box(b, x0, 3, 2, 13, 12, ink);

    // Minimize: a bar at the bottom.
    x0 = mgMinimize * kMenuGlyphSize;
    b.FillRect(Rect(x0 + 4, 10, x0 + 11, 12), ink);

    // Close: a cross of two-pixel strokes.
    x0 = mgClose * kMenuGlyphSize;
    for (int i = 0; i < 8; ++i) {
        b.FillRect(Rect(x0 + 4 + i, 3 + i, x0 + 6 + i, 4 + i), ink);
        b.FillRect(Rect(x0 + 10 - i, 3 + i, x0 + 12 - i, 4 + i), ink);
    }
    return b;
}

TSkinOptions::TSkinOptions(TObject* sender)
    : MenuGlyphs(MakeMenuGlyphs()), sender_(sender), skin3rd_(DefaultSkin3rd()) {}

void TSkinOptions::SetControlList(const TStringList& lines) {
    if (&lines == &skin3rd_) return;
    skin3rd_ = lines;
}

void TSkinOptions::DoFormSkin(const std::string& name, bool& doSkin) {
    if (OnFormSkin) {
        OnFormSkin(sender_, name, doSkin);
        return;
    }
    if (name == "SysMonthCal32" || (SkinControls.Contains(xcFastReport) && name.compare(0, 3, "Tfr") == 0))
        doSkin = false;
}

void TSkinOptions::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(sender_);
}

namespace {
const char* const kControlTypeNames[kSkinControlTypeCount] = {
    "xcMainMenu", "xcPopupMenu",   "xcToolbar", "xcControlbar", "xcCombo",     "xcCheckBox", "xcRadioButton",
    "xcProgress", "xcScrollbar",   "xcEdit",    "xcButton",     "xcBitBtn",    "xcSpeedButton", "xcPanel",
    "xcGroupBox", "xcStatusBar",   "xcTab",     "xcSystemMenu", "xcFastReport",
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool BooleanText(const std::string& text, bool& b) {
    if (SameText(text, "True") || SameText(text, "False")) {
        b = SameText(text, "True");
        return true;
    }
    return false;
}
} // namespace

std::string SkinControlsText(TSkinControlTypes set) {
    std::string text = "[";
    for (int i = 0; i < kSkinControlTypeCount; ++i)
        if (set.Contains(TSkinControlType(i))) {
            if (text.size() > 1) text += ",";
            text += kControlTypeNames[i];
        }
    return text + "]";
}

bool SkinControlsFromText(const std::string& text, TSkinControlTypes& set) {
    const std::string t = Trim(text);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    TSkinControlTypes result;
    const std::string inner = t.substr(1, t.size() - 2);
    if (!Trim(inner).empty()) {
        size_t start = 0;
        while (start <= inner.size()) {
            const size_t comma = std::min(inner.find(',', start), inner.size());
            const std::string member = Trim(inner.substr(start, comma - start));
            int found = -1;
            for (int i = 0; i < kSkinControlTypeCount; ++i)
                if (SameText(member, kControlTypeNames[i])) found = i;
            if (found < 0) return false;
            result.Include(TSkinControlType(found));
            start = comma + 1;
        }
    }
    set = result;
    return true;
}

bool TSkinOptions::GetOption(const std::string& name, TPropValue& value) const {
    if (SameText(name, "DisableTag")) return PropInteger(value, DisableTag);
    if (SameText(name, "SkinControls")) return PropString(value, SkinControlsText(SkinControls));
    if (SameText(name, "SkinFormtype"))
        return PropEnum(value, int(SkinFormtype), {"sfMainform", "sfOnlyThisForm", "sfDialog"});
    if (SameText(name, "MenuUpdate")) return PropBoolean(value, MenuUpdate);
    if (SameText(name, "Skin3rd")) return PropObject(value, &skin3rd_);
    return false;
}

bool TSkinOptions::SetOption(const std::string& name, const std::string& value) {
    if (SameText(name, "DisableTag")) {
        const std::string t = Trim(value);
        char* end = nullptr;
        const long long n = std::strtoll(t.c_str(), &end, 10);
        if (t.empty() || *end != '\0' || n < INT32_MIN || n > INT32_MAX) return false;
        DisableTag = int(n);
        return true;
    }
    if (SameText(name, "SkinControls")) return SkinControlsFromText(value, SkinControls);
    if (SameText(name, "SkinFormtype")) {
        const char* const names[] = {"sfMainform", "sfOnlyThisForm", "sfDialog"};
        for (int i = 0; i < 3; ++i)
            if (SameText(value, names[i])) {
                SkinFormtype = TSkinFormType(i);
                return true;
            }
        return false;
    }
    if (SameText(name, "MenuUpdate")) return BooleanText(value, MenuUpdate);
    if (SameText(name, "Skin3rd")) {
        TStringList lines;
        lines.SetText(value);
        SetControlList(lines);
        return true;
    }
    return false;
}
