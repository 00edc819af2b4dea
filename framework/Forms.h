// The application object (message loop, message pumping for waits, exception handler, message
// boxes) and forms: top-level windows of a class named after the form's class.
#pragma once

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/HiddenWindow.h"
#include "framework/SysUtils.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Creates the hidden application window (class "TApplication").
    void Initialize();
    HWND Handle() const { return window_ ? window_->Handle() : nullptr; }

    // Creates a form owned by the application and stores it in ref; the first form created is the
    // main form, whose closing ends the program.
    template <class T> void CreateForm(T*& ref) {
        ref = new T(this);
        if (!mainForm_) mainForm_ = ref;
    }
    TForm* MainForm() const { return mainForm_; }
    // Frees the forms (and every other component the application owns) now, last created first.
    void DestroyForms() {
        DestroyComponents();
        mainForm_ = nullptr;
    }
    // Called by a form that goes away, so that MainForm never names a freed form.
    void FormDestroyed(TForm* form);

    // Dispatches every message waiting in the thread's queue, then returns.
    void ProcessMessages();
    // Waits up to ms milliseconds (INFINITE: without limit) for a message to arrive; returns at once
    // when one is waiting. Waiting loops call this between polls so they neither spin nor stop the queue.
    void WaitForMessage(unsigned ms);
    // Waits for one message and dispatches it (returns at once once terminated).
    void HandleMessage();
    // Shows the main form, then runs the message loop until Terminate or WM_QUIT.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Reports an exception that escaped an event handler: OnException when set, else a message box.
    void ShowException(const std::exception& e);
    void HandleException(TObject* Sender);

    // (windows.h names this MessageBoxW.) The system's message box, owned by the active form (or the main form);
    // caption defaults to Title. Returns the button pressed (IDOK...).
    int MessageBox(const std::wstring& text, const std::wstring& caption = L"", UINT flags = MB_OK);

    std::wstring Title;
    std::function<void(TObject* Sender, const std::exception& E)> OnException;

private:
    bool DispatchOne(MSG& msg);
    // Keyboard navigation of forms: Tab, arrows, Enter on a focused push button, Alt with mnemonics.
    bool IsDialogKey(MSG& msg);

    std::unique_ptr<THiddenWindow> window_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

// The program's one application object.
extern TApplication* Application;

enum class TFormBorderStyle { Single, Dialog };
// An MDI main form holds its child forms in a client window of the system's "MDICLIENT" class;
// an MDI child lives in the application main form's client.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm };
enum class TPosition { Designed, ScreenCenter, MainFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

// A form: a top-level window of its own class whose controls are its child windows. It is
// created hidden; Show, ShowModal and the application's Run make it visible. Forms made while the
// application has a main form are owned by the main form's window (no taskbar button of their
// own, always above it).
class TForm : public TWinControl {
public:
    // className names the window class (registered on first use), e.g. L"TForm1". An MDI child
    // needs the application's main form to be an MDI form (Exception otherwise); it is shown at
    // once, as the system makes MDI children.
    TForm(TComponent* AOwner, const wchar_t* className, TFormStyle style = fsNormal);
    ~TForm() override;

    TFormStyle FormStyle() const { return formStyle_; }
    // An MDI form's client window (nullptr for other forms).
    HWND ClientHandle() const { return mdiClient_; }
    // An MDI form's children, in the client's z-order (the active one first).
    int MDIChildCount() const;
    TForm* MDIChildren(int index) const;
    TForm* ActiveMDIChild() const;
    // Frees the form once the messages being handled now are done (from its own handlers).
    void Release();

    // Border: Single (fixed frame, system menu, minimize box) or Dialog (fixed dialog frame,
    // close box only).
    void SetBorderStyle(TFormBorderStyle style);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetMinimizeBox(bool value);
    void SetClientSize(int width, int height);
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
    // Where the form appears each time it is shown.
    TPosition Position = TPosition::Designed;
    void SetStayOnTop(bool value);
    bool StayOnTop() const;
    // Attaches the menu bar (owned by the form as a component).
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    void Show();
    void Hide();
    // Shows the form with every other window of the program disabled and runs a message loop
    // until ModalResult is set (a button with a modal result, Close, the close box).
    int ShowModal();
    // Closes as the close box does: a modal form ends with mrCancel; the main form ends the
    // program; others hide. OnClose may change the action.
    void Close();
    bool Modal() const { return modal_; }
    int ModalResult = 0;
    TCloseEvent OnClose;

    // The control that has (or, while the form is inactive, will get back) the keyboard focus.
    TWinControl* ActiveControl() const;

    void WndProc(TMessage& m) override;
    // An MDI form's messages end in the system's frame procedure, an MDI child's in its child one.
    void DefaultHandler(TMessage& m) override;

    // The form is laid out for 96 DPI by its constructor. Before it is first shown it is scaled to
    // the DPI of its monitor, and on WM_DPICHANGED to the new one: ScaleTo multiplies the client
    // size, every control's bounds (edges rounded, so controls that line up still do) and the
    // fonts' DPI by to / PixelsPerInch(). keepSize leaves the window's size to the caller.
    int PixelsPerInch() const override { return ppi_; }
    void ScaleTo(int dpi, bool keepSize = false);

private:
    static LRESULT CALLBACK FormWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void ApplyPosition();
    void UpdateStyle(DWORD style, DWORD exStyle);
    bool CloseModal();
    void RestoreFocus();

    std::vector<TForm*> MDIChildList() const;

    TFormBorderStyle borderStyle_ = TFormBorderStyle::Single;
    TFormStyle formStyle_ = fsNormal;
    HWND mdiClient_ = nullptr;
    TMainMenu* menu_ = nullptr;
    bool modal_ = false;
    HWND savedFocus_ = nullptr;
    int ppi_ = 96;
    bool scaledToMonitor_ = false;
};
