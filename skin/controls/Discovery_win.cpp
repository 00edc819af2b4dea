// Control discovery of a skinned window: which control gets which skinner, for framework forms
// (by class and the skin's options) and for plain windows such as standard dialogs (by window
// class and style); and the form skinner's list of control skinners.
#include "skin/controls/Discovery.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/controls/SkinFactory_win.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinScrollbar_win.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "framework/ToolBar.h"

#include <algorithm>
#include <cctype>

namespace {
// The framework classes a component belongs to, for the discovery table.
std::uint32_t ClassesOf(const TComponent* c) {
    std::uint32_t bits = 0;
    auto is = [c](auto* typed) { return typed != nullptr; };
    if (is(dynamic_cast<const TWinControl*>(c))) bits |= fcWinControl;
    if (is(dynamic_cast<const TCheckBox*>(c))) bits |= fcCustomCheckBox;
    if (is(dynamic_cast<const TGroupBox*>(c))) bits |= fcCustomGroupBox;
    if (is(dynamic_cast<const TBitBtn*>(c))) bits |= fcBitBtn;
    if (is(dynamic_cast<const TButton*>(c))) bits |= fcButton;
    if (is(dynamic_cast<const TMemo*>(c))) bits |= fcCustomMemo;
    if (is(dynamic_cast<const TEdit*>(c))) bits |= fcCustomEdit;
    if (is(dynamic_cast<const TForm*>(c))) bits |= fcCustomForm;
    if (is(dynamic_cast<const TTabControl*>(c))) bits |= fcTabControl;
    if (is(dynamic_cast<const TPageControl*>(c))) bits |= fcPageControl;
    if (is(dynamic_cast<const TStatusBar*>(c))) bits |= fcStatusBar;
    if (is(dynamic_cast<const TProgressBar*>(c))) bits |= fcProgressBar;
    if (is(dynamic_cast<const TComboBox*>(c))) bits |= fcCustomComboBox;
    if (is(dynamic_cast<const TListView*>(c))) bits |= fcCustomListView;
    if (is(dynamic_cast<const TRadioButton*>(c))) bits |= fcRadioButton;
    if (is(dynamic_cast<const TSpeedButton*>(c))) bits |= fcSpeedButton;
    if (is(dynamic_cast<const TPanel*>(c))) bits |= fcCustomPanel;
    if (is(dynamic_cast<const TListBox*>(c))) bits |= fcListBox;
    if (is(dynamic_cast<const TScrollBar*>(c))) bits |= fcScrollBar;
    if (is(dynamic_cast<const TToolBar*>(c))) bits |= fcToolBar;
    if (is(dynamic_cast<const TToolButton*>(c))) bits |= fcToolButton;
    return bits | ClassesOfNames(c->DeclaredClasses());
}

TComponentFacts FactsOf(const TComponent* c) {
    TComponentFacts f;
    f.ClassName = c->ClassName();
    f.Classes = ClassesOf(c);
    f.Tag = c->Tag;
    // A date-time picker says which mode it is in as the framework's pickers do.
    f.DateTimeUpDown = SameText(GetEnumProperty(c, "DateMode"), "dmUpDown");
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->HandleAllocated())
        f.Style = std::uint32_t(GetWindowLongPtrW(w->Handle(), GWL_STYLE));
    return f;
}

bool HasTabSkin(const TSkinDataCore& skin) {
    return skin.Tabs != nullptr;
}

// Starts a skinner made for a component; false (and the skinner freed) when it did not take.
bool Start(TSkinControl* s, TSkinStart start, int flag, TWinSkinForm* form, TSkinDataCore* skin) {
    auto* w = dynamic_cast<TWinControl*>(s->Owner());
    switch (start) {
    case ssInit:
        s->Init(form, skin, flag != 0);
        break;
    case ssInithwnd:
        if (w) s->Inithwnd(w->Handle(), skin, form);
        break;
    case ssInitScrollbar:
        if (auto* bars = dynamic_cast<TSkinScrollbar*>(s); bars && w)
            bars->InitScrollbar(w, skin, form, flag != 0);
        else if (w)
            s->Inithwnd(w->Handle(), skin, form);
        break;
    case ssInitGraphic:
        s->Init(form, skin, false);
        break;
    }
    if (s->FStatus == kControlSkinned) return true;
    s->Retire();
    return false;
}
} // namespace

void TWinSkinForm::AddControlList(TSkinControl* skinner) {
    if (std::find(controls_.begin(), controls_.end(), skinner) == controls_.end()) controls_.push_back(skinner);
}

void TWinSkinForm::DeleteControl(TSkinControl* skinner) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), skinner), controls_.end());
    if (HotButton == skinner) HotButton = nullptr;
}

TSkinControl* TWinSkinForm::Lookupcontrol(HWND hwnd) const {
    for (TSkinControl* s : controls_)
        if (s->FHandle == hwnd && s->FStatus != kControlDestroyed) return s;
    return nullptr;
}

void TWinSkinForm::DeleteControls() {
    HotButton = nullptr;
    std::vector<TSkinControl*> list;
    list.swap(controls_);
    for (TSkinControl* s : list)
        s->Retire();
    if (IsWindow(hwnd_)) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::DeleteSkinDeleted() {
    std::vector<TSkinControl*> gone;
    for (TSkinControl* s : controls_)
        if (s->FStatus == kControlDestroyed) gone.push_back(s);
    for (TSkinControl* s : gone)
        s->Retire();
}

bool TWinSkinForm::FindSkinComp(TComponent* component) const {
    auto* w = dynamic_cast<TWinControl*>(component);
    for (TSkinControl* s : controls_) {
        if (s->Owner() == component && (s->FControl == component || s->FGraphicControl == component)) return true;
        if (!w) continue;
        // A control without a window is not skinned, except on print-preview forms, whose
        // controls without a window are left alone.
        if (!w->HandleAllocated())
            return IsPrintPreviewForm(WideToUtf8(className_)) || (form_ && IsPrintPreviewForm(form_->Name));
        if (!s->FControl && s->FHandle == w->Handle()) return true;
    }
    return false;
}

void TWinSkinForm::InitControls(TWinControl* parent) {
    if (!parent) return;
    DeleteSkinDeleted();
    for (int i = 0; i < parent->ComponentCount(); ++i)
        AddComp(parent->Components(i), parent);
}

void TWinSkinForm::InitNestform(TForm* nested) {
    if (!nested || !nested->HandleAllocated()) return;
    if (!FindSkinComp(nested))
        if (TSkinControl* s = CreateSkinner(skBox, nested)) Start(s, ssInit, 1, this, skin_);
    InitControls(nested);
}

void TWinSkinForm::AddComp(TComponent* component, TWinControl* parent) {
    if (!component || dynamic_cast<TSkinControl*>(component)) return;
    if (skin_->TagDisabled(component->Tag) || FindSkinComp(component)) return;
    auto* w = dynamic_cast<TWinControl*>(component);
    if (w && !w->HandleAllocated()) return;

    if (skin_->OnSkinControl) {
        TComponent* supplied = nullptr;
        const std::string name = UpperCase(component->ClassName());
        skin_->OnSkinControl(skin_->Sender() ? dynamic_cast<TComponent*>(skin_->Sender()) : nullptr,
                             dynamic_cast<TSkinData*>(skin_), parent, component, name, supplied);
        if (auto* s = dynamic_cast<TSkinControl*>(supplied)) {
            AddControlList(s);
            s->Init(this, skin_, false);
            if (w && ClassesOf(w) & fcCustomPanel) InitControls(w);
            return;
        }
    }

    const TDiscovery d =
        DiscoverComponent(FactsOf(component), skin_->Skin3rd(), skin_->SkinControls, HasTabSkin(*skin_));
    if (!d.Matched) return;
    if (d.SetFlat) component->SetPropValue("Flat", "True");
    if (d.SetTransparent) component->SetPropValue("Transparent", "True");
    if (d.NoSizeGrip) component->SetPropValue("SizeGrip", "False");
    if (d.FixedColorFace) component->SetPropValue("FixedColor", std::to_string(skin_->Colors[csButtonFace]));
    if (d.ToolBarSkin)
        if (auto* bar = dynamic_cast<TToolBar*>(component)) SkinToolBar(bar, true);
    if (d.ToolButtonMenu)
        if (auto* menu = GetObjProp<TPopupMenu>(component, "DropdownMenu")) {
            menu->OwnerDraw = true;
            InitToolbarMenu(menu->Items, true);
        }
    if (d.ChildKind != skNone && w)
        for (int i = 0; i < w->ComponentCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(w->Components(i)); child && !FindSkinComp(child))
                if (TSkinControl* s = CreateSkinner(d.ChildKind, child)) Start(s, ssInit, 0, this, skin_);
    if (d.Kind != skNone)
        if (TSkinControl* s = CreateSkinner(d.Kind, component)) Start(s, d.Start, d.Flag, this, skin_);
    if (d.WalkComponents && w) InitControls(w);
}

void TWinSkinForm::InitHwndControls() {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) AddControl(child);
}

void TWinSkinForm::AddControl(HWND hwnd) {
    if (Lookupcontrol(hwnd) || TSkinControl::FromHandle(hwnd)) return;
    const HWND first = GetWindow(hwnd, GW_CHILD);
    bool onFirstChild = false;
    const TSkinnerKind kind =
        DiscoverWindow(WideToUtf8(WindowClassName(hwnd)), std::uint32_t(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                       first != nullptr, onFirstChild);
    if (kind == skNone) return;
    const HWND target = onFirstChild ? first : hwnd;
    if (TSkinControl* s = CreateSkinner(kind, nullptr)) {
        s->Inithwnd(target, skin_, this);
        if (s->FStatus != kControlSkinned) s->Retire();
    }
}
