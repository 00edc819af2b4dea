// The skin data component of a form: its skin package (stored as the binary property
// "SkinStream"), the skin model built from it, the skinning options, and the switch that starts
// and stops skinning through the skin manager.
#pragma once

#include "skin/data/SkinDataCore.h"

#include "framework/Classes.h"

#include <windows.h>

#include <string>

class TForm;
class TWinControl;
class TWinSkinForm;

// Left in a form nested in a skinned window (owned by the nested form): tells that the form is
// skinned as part of the host window. It holds the host's window, not its skinner, so it never
// points to a skinner that is gone.
class TWinSkinSpy : public TComponent {
public:
    TWinSkinSpy(TComponent* AOwner, HWND host) : TComponent(AOwner), Host(host) {}
    // The host window's skinner now, or nullptr.
    TWinSkinForm* SkinForm() const;
    const HWND Host;
};

class TSkinData : public TComponent, public TSkinDataCore {
public:
    explicit TSkinData(TComponent* AOwner);
    ~TSkinData() override;

    bool Active() const { return active_; }
    // Skinning on or off. While the owner is being read only the value is stored; a main-form
    // component whose skin is still loading requests nothing.
    void SetActive(bool value);
    // After the owner has been read: registers with the manager and, with Active set, installs
    // (or switches Active off when no skin is loaded).
    void Loaded() override;

    // Requests to the manager (carried out 250 ms later once a window has been activated).
    void Install();
    void Uninstall();
    // Every form skinned with this component takes up its skin anew.
    void UpdateSkin();
    // Windows of other threads are not skinned: false, always (see TSkinManage::InstallThread).
    bool InstallThread(DWORD threadId);
    void UnInstallThread(DWORD threadId);
    // Skins that window now, nested or not, if the manager's rules allow.
    void SkinForm(HWND hwnd);
    // A form shown inside host (a control of a skinned form) gets skinned controls as that form's.
    void AddNestForm(TWinControl* host, TForm* nested);
    // Skins the controls made after the form was skinned: those of control, or of the whole form.
    void UpdateSkinControl(TForm* form, TWinControl* control);
    // The form's popup menus made after it was skinned are skinned too.
    void UpdateMenu(TForm* form);
    // Frees the skinner of a control that is about to go.
    void DeleteGraphicControl(TForm* form, TComponent* control);
    // Menu bar painting on or off; on refreshes every skinned menu bar.
    void UpdateMainMenu(bool value);
    // Sets an enumeration (or boolean) property of any object, given by name, from its identifier
    // ("SkinFormtype", "sfDialog"); false when the object publishes no such enumeration or the
    // text is no value of it.
    bool ChangeProperty(TObject* object, const std::string& propertyName, const std::string& value);

    // Published by name: "Active", "SkinFile" (setting it loads that package file), "SkinStore",
    // "Version", and the options (TSkinOptions::GetOption).
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
    bool SetPropValue(const std::string& name, const std::string& value) override;
    const std::string& SkinFile() const { return skinFile_; }
    // Loads the package file (a UTF-8 path) and remembers its name.
    void SetSkinFile(const std::string& fileName);

    // A design-time indicator: "(none)" at run time; writing it does nothing.
    std::string SkinStore() const { return "(none)"; }
    void SetSkinStore(const std::string&) {}
    std::string Version() const { return "2.70.10.5"; }
    void SetVersion(const std::string&) {}

private:
    bool active_ = false;
    std::string skinFile_;
};
