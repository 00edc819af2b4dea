// gallery [SKIN.skn]
// Every kind of control the skin engine skins, on one form, and an MDI main window with a
// maximized child; skinned with the given package (the shipped skin by default) through the skin
// data component, as a program would do it. For trying a skin by hand.
#include "tools/gallery/Gallery.h"

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
    if (!skin->LoadFromFile(path)) {
        Application->MessageBox(L"Cannot load the skin package " + Utf8ToWide(path));
        return 1;
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
