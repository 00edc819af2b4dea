// The application object: the message loop, message pumping for waits, and the exception handler.
#pragma once

#include "framework/Classes.h"
#include "framework/HiddenWindow.h"
#include "framework/SysUtils.h"

#include <functional>
#include <memory>
#include <string>

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Creates the hidden application window (class "TApplication").
    void Initialize();
    HWND Handle() const { return window_ ? window_->Handle() : nullptr; }

    // Dispatches every message waiting in the thread's queue, then returns.
    void ProcessMessages();
    // Waits up to ms milliseconds for a message to arrive (returns at once when one is waiting).
    // Waiting loops call this between polls so they neither spin nor stop the queue.
    void WaitForMessage(unsigned ms);
    // Runs the message loop until Terminate or WM_QUIT.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Reports an exception that escaped an event handler: OnException when set, else a message box.
    void ShowException(const std::exception& e);
    void HandleException(TObject* Sender);

    std::wstring Title;
    std::function<void(TObject* Sender, const std::exception& E)> OnException;

private:
    bool DispatchOne(MSG& msg);

    std::unique_ptr<THiddenWindow> window_;
    bool terminated_ = false;
};

// The program's one application object.
extern TApplication* Application;
