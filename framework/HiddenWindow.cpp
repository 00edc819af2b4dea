#include "framework/HiddenWindow.h"

#include "framework/SysUtils.h"

THiddenWindow::THiddenWindow(const wchar_t* className, Handler handler) : handler_(std::move(handler)) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!GetClassInfoW(inst, className, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = inst;
        wc.lpszClassName = className;
        RegisterClassW(&wc);
    }
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, this);
    if (!hwnd_) throw Exception("Cannot create a window of class " + WideToUtf8(className));
}

THiddenWindow::~THiddenWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK THiddenWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<THiddenWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->handler_ && self->handler_(msg, wParam, lParam, result)) return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
