#include "framework/Dpi.h"
#include "framework/Forms.h"

static TApplication theApplication;
TApplication* Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    // Forms go first, while the application window they may refer to still exists.
    DestroyComponents();
    mainForm_ = nullptr;
}

void TApplication::Initialize() {
    DeclareDpiAwareness();
    if (!window_)
        window_ =
            std::make_unique<THiddenWindow>(L"TApplication", [this](UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
                if (msg != CM_RELEASE) return false;
                // Only a form still alive and ours: one freed meanwhile is no longer in the list.
                for (int i = 0; i < ComponentCount(); ++i)
                    if (Components(i) == reinterpret_cast<TComponent*>(wParam)) {
                        delete Components(i);
                        break;
                    }
                return true;
            });
}

bool TApplication::DispatchOne(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (IsDialogKey(msg)) return true;
    if (mainForm_ && mainForm_->ClientHandle() && TranslateMDISysAccel(mainForm_->ClientHandle(), &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

bool TApplication::IsDialogKey(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (!dynamic_cast<TForm*>(TWinControl::FromHandle(root))) return false;
    if (msg.message == WM_SYSCHAR) {
        // The form holding the focus (an MDI child's, not its frame) may take Alt with a character.
        for (HWND w = msg.hwnd; w; w = GetParent(w))
            if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(w))) {
                if (form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
                break;
            }
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        // Enter presses the focused push button (a form is no dialog, so the system does not).
        wchar_t cls[16] = {};
        GetClassNameW(msg.hwnd, cls, 16);
        LONG_PTR type = GetWindowLongPtrW(msg.hwnd, GWL_STYLE) & BS_TYPEMASK;
        if (lstrcmpiW(cls, L"Button") == 0 &&
            (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW)) {
            SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    return IsDialogMessageW(root, &msg) != FALSE;
}

void TApplication::FormDestroyed(TForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
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

void TApplication::HandleMessage() {
    if (terminated_) return;
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        terminated_ = true;
        return;
    }
    try {
        DispatchOne(msg);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
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

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner || !IsWindowVisible(owner)) owner = mainForm_ ? mainForm_->Handle() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), (caption.empty() ? Title : caption).c_str(), flags);
}

void TApplication::ShowException(const std::exception& e) {
    if (OnException) {
        OnException(this, e);
        return;
    }
    std::wstring text = Utf8ToWide(e.what());
    ::MessageBoxW(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
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
