// The program's entry: the application object, its five windows, the message loop.
#include "app/Startup.h"
#include "framework/Forms.h"

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
    return 0;
}
