#include "framework/Forms.h"

static TApplication theApplication;
TApplication* Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() = default;

void TApplication::Initialize() {
    if (!window_)
        window_ = std::make_unique<THiddenWindow>(L"TApplication", [](UINT, WPARAM, LPARAM, LRESULT&) { return false; });
}

bool TApplication::DispatchOne(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!DispatchOne(msg)) {
            // Leave WM_QUIT for the message loop that owns it.
            PostQuitMessage(int(msg.wParam));
            break;
        }
    }
}

void TApplication::WaitForMessage(unsigned ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void TApplication::Run() {
    MSG msg;
    while (!terminated_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        try {
            DispatchOne(msg);
        } catch (...) {
            HandleException(this);
        }
    }
    terminated_ = true;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::exception& e) {
    if (OnException) {
        OnException(this, e);
        return;
    }
    std::wstring text = Utf8ToWide(e.what());
    MessageBoxW(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TApplication::HandleException(TObject*) {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}
