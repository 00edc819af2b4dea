#include "framework/ComCtrls.h"

#include <commctrl.h>

namespace {
void LoadCommonControls() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)loaded;
}
} // namespace

TProgressBar::TProgressBar(TComponent* AOwner, TWinControl* AParent, bool smooth) : TWinControl(AOwner) {
    LoadCommonControls();
    CreateControl(AParent, PROGRESS_CLASSW, WS_VISIBLE | (smooth ? PBS_SMOOTH : 0));
    SetRange(0, 100);
}

int TProgressBar::Min() const {
    return int(SendMessageW(hwnd_, PBM_GETRANGE, TRUE, 0));
}
int TProgressBar::Max() const {
    return int(SendMessageW(hwnd_, PBM_GETRANGE, FALSE, 0));
}
void TProgressBar::SetRange(int min, int max) {
    SendMessageW(hwnd_, PBM_SETRANGE32, WPARAM(min), LPARAM(max));
}
int TProgressBar::Position() const {
    return int(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
}
void TProgressBar::SetPosition(int value) {
    SendMessageW(hwnd_, PBM_SETPOS, WPARAM(value), 0);
}
