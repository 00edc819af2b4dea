// The form skinner's list of control skinners and control discovery: which control gets which
// skinner, for framework forms (by class and the skin's options) and for plain windows such as
// standard dialogs (by window class and style).
#include "skin/forms/ControlSkinners_win.h"

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

} // namespace

bool TControlSkinners::Start(TSkinControl* s, int start, int flag) {
    TWinSkinForm* form = &form_;
    TSkinDataCore* skin = form_.SkinData();
    auto* w = dynamic_cast<TWinControl*>(s->Owner());
    switch (TSkinStart(start)) {
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
    if (s->Status() == kControlSkinned) return true;
    Retire(s);
    return false;
}

TControlSkinners::~TControlSkinners() {
    hot_ = nullptr;
    std::vector<TSkinControl*> list;
    list.swap(items_);
    for (TSkinControl* s : list)
        s->Retire();
}

void TControlSkinners::Retire(TSkinControl* skinner) {
    ForgetHot(skinner);
    Remove(skinner);
    skinner->Retire();
}

void TControlSkinners::Add(TSkinControl* skinner) {
    if (std::find(items_.begin(), items_.end(), skinner) == items_.end()) items_.push_back(skinner);
}

void TControlSkinners::Remove(TSkinControl* skinner) {
    items_.erase(std::remove(items_.begin(), items_.end(), skinner), items_.end());
    ForgetHot(skinner);
}

TSkinControl* TControlSkinners::Find(HWND hwnd) const {
    for (TSkinControl* s : items_)
        if (s->Handle() == hwnd && s->Status() != kControlDestroyed) return s;
    return nullptr;
}

void TControlSkinners::RetireAll() {
    hot_ = nullptr;
    std::vector<TSkinControl*> list;
    list.swap(items_);
    for (TSkinControl* s : list)
        s->Retire();
    if (IsWindow(form_.Handle()))
        RedrawWindow(form_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TControlSkinners::RetireGone() {
    std::vector<TSkinControl*> gone;
    for (TSkinControl* s : items_)
        if (s->Status() == kControlDestroyed) gone.push_back(s);
    for (TSkinControl* s : gone)
        Retire(s);
}

bool TControlSkinners::RetireFor(TComponent* control) {
    for (TSkinControl* s : items_)
        if (s->GraphicControl() == control || s->Control() == control) {
            Retire(s);
            return true;
        }
    return false;
}

void TControlSkinners::SkinChange() {
    for (TSkinControl* s : std::vector<TSkinControl*>(items_))
        s->SkinChange();
}

void TControlSkinners::SetHot(TSkinControl* skinner) {
    if (hot_ && hot_ != skinner) hot_->MouseLeave();
    hot_ = skinner;
}

void TControlSkinners::CheckHot(bool letGo) {
    TSkinControl* hot = hot_;
    if (!hot) return;
    if (letGo) hot_ = nullptr;
    POINT c{};
    GetCursorPos(&c);
    if (PtInRect(&hot->WindowRect(), c)) return;
    hot->MouseLeave();
    ForgetHot(hot);
}

bool TControlSkinners::Holds(TComponent* component) const {
    auto* w = dynamic_cast<TWinControl*>(component);
    for (TSkinControl* s : items_) {
        if (s->Owner() == component && (s->Control() == component || s->GraphicControl() == component)) return true;
        if (!w) continue;
        // A control without a window is not skinned, except on print-preview forms, whose
        // controls without a window are left alone.
        if (!w->HandleAllocated())
            return IsPrintPreviewForm(WideToUtf8(form_.WindowClass())) ||
                   (form_.Form() && IsPrintPreviewForm(form_.Form()->Name));
        if (!s->Control() && s->Handle() == w->Handle()) return true;
    }
    return false;
}

void TControlSkinners::Discover(TWinControl* parent) {
    if (!parent) return;
    RetireGone();
    for (int i = 0; i < parent->ComponentCount(); ++i)
        AddComponent(parent->Components(i), parent);
}

void TControlSkinners::DiscoverNested(TForm* nested) {
    if (!nested || !nested->HandleAllocated()) return;
    if (!Holds(nested))
        if (TSkinControl* s = CreateSkinner(skBox, nested)) Start(s, ssInit, 1);
    Discover(nested);
}

void TControlSkinners::AddComponent(TComponent* component, TWinControl* parent) {
    TSkinDataCore* skin = form_.SkinData();
    if (!component || dynamic_cast<TSkinControl*>(component)) return;
    if (skin->TagDisabled(component->Tag) || Holds(component)) return;
    auto* w = dynamic_cast<TWinControl*>(component);
    if (w && !w->HandleAllocated()) return;

    if (skin->OnSkinControl) {
        TComponent* supplied = nullptr;
        const std::string name = UpperCase(component->ClassName());
        skin->OnSkinControl(skin->Sender() ? dynamic_cast<TComponent*>(skin->Sender()) : nullptr,
                            dynamic_cast<TSkinData*>(skin), parent, component, name, supplied);
        if (auto* s = dynamic_cast<TSkinControl*>(supplied)) {
            Add(s);
            s->Init(&form_, skin, false);
            if (w && ClassesOf(w) & fcCustomPanel) Discover(w);
            return;
        }
    }

    const TDiscovery d = DiscoverComponent(FactsOf(component), skin->Skin3rd(), skin->SkinControls, HasTabSkin(*skin));
    if (!d.Matched) return;
    if (d.SetFlat) component->SetPropValue("Flat", "True");
    if (d.SetTransparent) component->SetPropValue("Transparent", "True");
    if (d.NoSizeGrip) component->SetPropValue("SizeGrip", "False");
    if (d.FixedColorFace) component->SetPropValue("FixedColor", std::to_string(skin->Colors[csButtonFace]));
    if (d.ToolBarSkin)
        if (auto* bar = dynamic_cast<TToolBar*>(component)) form_.SkinToolBar(bar, true);
    if (d.ToolButtonMenu)
        if (auto* menu = GetObjProp<TPopupMenu>(component, "DropdownMenu")) {
            menu->OwnerDraw = true;
            form_.InitToolbarMenu(menu->Items, true);
        }
    if (d.ChildKind != skNone && w)
        for (int i = 0; i < w->ComponentCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(w->Components(i)); child && !Holds(child))
                if (TSkinControl* s = CreateSkinner(d.ChildKind, child)) Start(s, ssInit, 0);
    if (d.Kind != skNone)
        if (TSkinControl* s = CreateSkinner(d.Kind, component)) Start(s, d.Start, d.Flag);
    if (d.WalkComponents && w) Discover(w);
}

void TControlSkinners::DiscoverWindows() {
    for (HWND child = GetWindow(form_.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) AddWindow(child);
}

void TControlSkinners::AddWindow(HWND hwnd) {
    if (Find(hwnd) || TSkinControl::FromHandle(hwnd)) return;
    const HWND first = GetWindow(hwnd, GW_CHILD);
    bool onFirstChild = false;
    const TSkinnerKind kind =
        DiscoverWindow(WideToUtf8(WindowClassName(hwnd)), std::uint32_t(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                       first != nullptr, onFirstChild);
    if (kind == skNone) return;
    const HWND target = onFirstChild ? first : hwnd;
    if (TSkinControl* s = CreateSkinner(kind, nullptr)) {
        s->Inithwnd(target, form_.SkinData(), &form_);
        if (s->Status() != kControlSkinned) Retire(s);
    }
}
