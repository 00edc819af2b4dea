// gallery [SKIN.skn | SKINFOLDER | SKINFOLDER/DESCRIPTION.ini]
// Every kind of control the skin engine skins, on one form, and an MDI main window with a
// maximized child; skinned with the given package (the shipped skin by default) through the skin
// data component, as a program would do it. For trying a skin by hand: given a skin folder, it
// follows its edits, re-skinning at each saved change, and shows the check's first problem (or that
// the skin reloaded) in the status bar; a change with errors keeps the last good skin.
#include "tools/gallery/Gallery.h"

#include "framework/ComCtrls.h"
#include "skin/data/SkinFolder.h"
#include "skin/forms/SkinLive_win.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"

#include "framework/SysUtils.h"

int wmain(int argc, wchar_t** argv) {
    Application->Initialize();
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    // Set up as a form's stored component is: its properties while reading, then Loaded.
    auto* skin = new TSkinData(form);
    skin->ComponentState.Include(TComponentStateFlag::Reading);
    const std::string path = argc > 1 ? WideToUtf8(argv[1]) : std::string(TELLIT_SKIN);
    const bool folder = IsSkinFolderPath(path);
    if (!folder && !skin->LoadFromFile(path)) {
        Application->MessageBox(L"Cannot load the skin package " + Utf8ToWide(path));
        return 1;
    }
    if (folder) {
        auto show = [form](const std::wstring& text) {
            TStatusPanel* panel = form->Status->Panels.Items(0);
            panel->Text = text;
            panel->Width = 800;
            form->Status->UpdatePanels();
        };
        auto* watch = new TSkinLiveWatch(form, *skin, path);
        watch->OnReloaded = [show, watch](const std::vector<TSkinProblem>& warnings) {
            show(L"Оформление загружено (" + std::to_wstring(watch->Reloads()) + L")" +
                 (warnings.empty() ? L"" : L": " + Utf8ToWide(SkinProblemsSummary(warnings))));
        };
        watch->OnBroken = [show](const std::vector<TSkinProblem>& problems) {
            show(L"Ошибка, оставлено прежнее: " + Utf8ToWide(SkinProblemsSummary(problems)));
        };
        // The first load, while the component is still being set up, as a stored skin would be.
        if (!watch->Start()) {
            Application->MessageBox(L"Cannot load the skin folder " + Utf8ToWide(path) + L":\n" +
                                    Utf8ToWide(SkinProblemsSummary(watch->Problems())));
            return 1;
        }
        watch->OnReloaded(watch->Problems());
    }
    skin->SetActive(true);
    skin->ComponentState.Exclude(TComponentStateFlag::Reading);
    skin->Loaded();
    HWND mdi = CreateMDIGallery(700, 40);
    ShowWindow(mdi, SW_SHOW);
    Application->Run();
    DestroyWindow(mdi);
    Application->DestroyForms();
    StopSkinEngine();
    return 0;
}
