#include "skin/forms/WinSkinData_win.h"


#include "skin/forms/SkinManage_win.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"

TSkinData::TSkinData(TComponent* AOwner) : TComponent(AOwner), TSkinDataCore(this) {
    StartSkinEngine();
    if (MenuGlyphs.Empty()) MenuGlyphs = MakeMenuGlyphs();
    OnUpdateSkin = [this] { UpdateSkin(); };
}

TSkinData::~TSkinData() {
    OnUpdateSkin = nullptr;
    if (SkinManager) SkinManager->RemoveSkinData(this);
}

namespace {
bool Reading(const TComponent& c) {
    return c.ComponentState.Contains(TComponentStateFlag::Loading) ||
           c.ComponentState.Contains(TComponentStateFlag::Reading);
}
bool Designing(const TComponent& c) {
    return c.ComponentState.Contains(TComponentStateFlag::Designing);
}
} // namespace

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (Designing(*this) || Reading(*this) || !SkinManager) return;
    switch (SkinFormtype) {
    case sfMainform:
        if (value && Loading) return;
        value ? Install() : Uninstall();
        SkinManager->CurrentSkinData = this;
        break;
    case sfOnlyThisForm:
        SkinManager->CurrentSkinData = this;
        if (value && Loading) return;
        value ? Install() : Uninstall();
        break;
    case sfDialog:
        break;
    }
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (Designing(*this) || !SkinManager) return;
    SkinManager->AddSkinData(this);
    if (SkinFormtype == sfMainform) {
        if (active_) {
            if (!Loading)
                Install();
            else
                active_ = false;
        }
        return;
    }
    SkinManager->Active = true;
    ++SkinManager->FormScopedCount;
    if (auto* form = dynamic_cast<TForm*>(Owner()); form && form->HandleAllocated())
        SkinManager->AddForm(form->Handle());
}

void TSkinData::Install() {
    if (SkinManager) SkinManager->SetAction(saInstall, this);
}

void TSkinData::Uninstall() {
    if (SkinManager) SkinManager->SetAction(saUninstall, this);
}

void TSkinData::UpdateSkin() {
    if (Designing(*this) || Reading(*this) || !SkinManager) return;
    SkinManager->CurrentSkinData = this;
    SkinManager->DeleteSysbtn(this);
    // Switched on while it had no skin to show: the first skin it gets is installed.
    if (active_ && !Loading && SkinFormtype == sfMainform && !SkinManager->Active) {
        Install();
        return;
    }
    SkinManager->SetAction(saSkinChanged, this);
}

bool TSkinData::InstallThread(DWORD threadId) {
    return SkinManager && SkinManager->InstallThread(threadId);
}

void TSkinData::UnInstallThread(DWORD) {
    // Nothing was installed: other threads are never skinned.
}

void TSkinData::SkinForm(HWND hwnd) {
    if (!SkinManager) return;
    SkinManager->InstallPass = true;
    SkinManager->AddForm(hwnd);
    SkinManager->InstallPass = false;
}

TWinSkinForm* TWinSkinSpy::SkinForm() const {
    return SkinManager ? SkinManager->FindSkinForm(Host) : nullptr;
}

void TSkinData::AddNestForm(TWinControl* host, TForm* nested) {
    if (!nested || !host || !SkinManager) return;
    TWinSkinForm* f = SkinManager->FindSkinForm(host->Handle());
    if (!f) return;
    bool spied = false;
    for (int i = 0; i < nested->ComponentCount(); ++i)
        if (auto* spy = dynamic_cast<TWinSkinSpy*>(nested->Components(i)); spy && spy->Host == host->Handle())
            spied = true;
    if (!spied) new TWinSkinSpy(nested, host->Handle());
    f->Controls().DiscoverNested(nested);
}

void TSkinData::UpdateSkinControl(TForm* form, TWinControl* control) {
    if (!form || !SkinManager) return;
    if (TWinSkinForm* f = SkinManager->FindSkinForm(form->Handle())) f->Controls().Discover(control ? control : form);
}

void TSkinData::UpdateMenu(TForm* form) {
    if (!form || !SkinManager) return;
    if (TWinSkinForm* f = SkinManager->FindSkinForm(form->Handle())) f->InitMenu(form, true);
}

void TSkinData::DeleteGraphicControl(TForm* form, TComponent* control) {
    if (!form || !control || !SkinManager) return;
    for (const auto& f : SkinManager->Forms()) {
        if (f->Handle() != form->Handle()) continue;
        f->Controls().RetireFor(control);
    }
}

void TSkinData::UpdateMainMenu(bool value) {
    MainMenuUpdate = value;
    if (!value || !SkinManager) return;
    for (const auto& f : SkinManager->Forms())
        if (TWinSkinMenu* bar = f->MenuBar()) {
            bar->UpdataBtn2(bar->Menu());
            f->UpdateNc();
        }
}

bool TSkinData::ChangeProperty(TObject* object, const std::string& propertyName, const std::string& value) {
    TPropValue current;
    if (!object || !object->GetPropValue(propertyName, current) || current.Kind != TPropValue::pkEnum) return false;
    return object->SetPropValue(propertyName, value);
}

void TSkinData::SetSkinFile(const std::string& fileName) {
    skinFile_ = fileName;
    LoadFromFile(fileName);
}

bool TSkinData::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Active")) return PropBoolean(value, active_);
    if (SameText(name, "SkinFile")) return PropString(value, skinFile_);
    if (SameText(name, "SkinStore")) return PropString(value, SkinStore());
    if (SameText(name, "Version")) return PropString(value, Version());
    return GetOption(name, value) || TComponent::GetPropValue(name, value);
}

bool TSkinData::SetPropValue(const std::string& name, const std::string& value) {
    if (SameText(name, "Active")) {
        if (!SameText(value, "True") && !SameText(value, "False")) return false;
        SetActive(SameText(value, "True"));
        return true;
    }
    if (SameText(name, "SkinFile")) {
        SetSkinFile(value);
        return true;
    }
    // Design-time indicators: written, nothing changes.
    if (SameText(name, "SkinStore") || SameText(name, "Version")) return true;
    return SetOption(name, value) || TComponent::SetPropValue(name, value);
}
