// The program's entry: the application object, its five windows, the message loop.
#include "app/Startup.h"
#include "framework/Forms.h"
#include "skin/forms/SkinManage_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        CreateTellitForms();
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        // Anything else is shown as the framework's exception with an empty message.
        Application->ShowException(Exception(""));
    }
    // The forms go first, then the skin engine that skinned them.
    Application->DestroyForms();
    StopSkinEngine();
    return 0;
}
