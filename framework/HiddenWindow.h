// A hidden window that hands its messages to an owner: how non-visual components receive timer and
// socket notifications on the GUI thread.
#pragma once

#include <windows.h>

#include <functional>

class THiddenWindow {
public:
    // Return true when the message was handled (result set), false to pass it to DefWindowProc.
    using Handler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    // Registers className on first use and creates a 0 x 0 tool-window popup of it.
    // Raises Exception when the window cannot be created.
    THiddenWindow(const wchar_t* className, Handler handler);
    ~THiddenWindow();
    THiddenWindow(const THiddenWindow&) = delete;
    THiddenWindow& operator=(const THiddenWindow&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    Handler handler_;
};
