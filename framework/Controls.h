// Windowed controls: one Win32 window per control, its messages routed through a replaceable
// WindowProc, its geometry, text, state, font, colour and tab order read from and written to the
// window itself.
#pragma once

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/WindowHook.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A window message on its way through WindowProc; handlers set Result.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

using TWndMethod = std::function<void(TMessage& Message)>;

// Notifications a parent receives about a child, handed back to the child's own WindowProc as
// these control notification messages (same parameters as the original).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

// The framework's own notifications to a control: its enabled state changed; the mouse came
// onto it or left it (sent once each, from its mouse moves and the system's leave tracking).
constexpr UINT CM_BASE = 0xB000;
// Alt with a character, sent to the form that holds the focus before the keyboard interface
// looks for a mnemonic; wParam the character, lParam the key data. Non-zero: taken.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MENUCHANGED = CM_BASE + 14; // a form's menu was set, replaced or removed
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_RELEASE = CM_BASE + 33; // to the application window: free the form in wParam
// Registers (once) a window class of the framework's own for controls that paint and handle
// everything themselves (panels, speed buttons): its procedure is DefWindowProc, double clicks on.
void RegisterControlClass(const wchar_t* className);

// Horizontal alignment of a caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Modal results: what a button press gives its modal form.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* AOwner);
    // Destroys the window (and with it the windows of the child controls).
    ~TWinControl() override;

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    TWinControl* Parent() const { return parent_; }
    // The control that owns this window, or nullptr for windows not made by the framework.
    static TWinControl* FromHandle(HWND hwnd);

    // Every message of the window passes through WindowProc. It starts as WndProc; whoever
    // replaces it keeps the previous value and passes on what it does not handle.
    TWndMethod WindowProc;
    // The control's own handling: reflects child notifications, then calls DefaultHandler.
    virtual void WndProc(TMessage& Message);
    // The window class's own procedure (the system class's for subclassed standard controls).
    virtual void DefaultHandler(TMessage& Message);
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Position relative to the parent's client area; size of the whole window.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& text) { SetText(text); }

    bool Enabled() const;
    void SetEnabled(bool value);
    bool Visible() const;
    void SetVisible(bool value);

    // Keyboard order among the siblings, from 0; TabStop controls take part in Tab navigation.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const;
    void SetTabStop(bool value);
    bool CanFocus() const;
    void SetFocus();
    bool Focused() const;

    // The control's font; ParentFont (the default) uses the parent's.
    const TFont& Font() const;
    void SetFont(const TFont& font);
    bool ParentFont() const { return parentFont_; }
    // The DPI the control is laid out at: its form's (96 until the form is scaled).
    virtual int PixelsPerInch() const { return parent_ ? parent_->PixelsPerInch() : 96; }
    // The background colour of the control, answered to the control's colour messages.
    TColor Color = clBtnFace;
    // The control shows its parent's colour instead of Color (edits and memos have their own).
    bool ParentColor = true;
    TColor EffectiveColor() const;
    // A brush of EffectiveColor: a system brush or one the control keeps.
    HBRUSH ColorBrush();
    // Answers WM_ERASEBKGND by filling the client area with ColorBrush.
    void EraseWithColor(TMessage& m);

    // The window's owning form (the top of the parent chain).
    TWinControl* TopParent();

    // Paint off-screen first; set by skinners, which draw whole faces.
    bool DoubleBuffered = false;
    // "Caption", "Enabled", "Visible", "Color", "Font", and the component's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

protected:
    // Creates the window of a system class as a child of parent and subclasses it.
    void CreateControl(TWinControl* parent, const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // Adopts a window just created by a class of the framework's own (forms).
    void AttachHandle(HWND hwnd);
    // Colours for the control's colour message; returns the background brush.
    virtual LRESULT CtlColor(HDC dc);
    virtual void FontChanged();
    // Reorders the windows of the tab list by tab order.
    void ApplyTabOrder();

    HWND hwnd_ = nullptr;

private:
    friend class TForm;
    static LRESULT Dispatch(TWinControl* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HookedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return Dispatch(this, hwnd, msg, wParam, lParam);
    }
    // Subclasses a system class's window; only links a window of a class of our own (forms).
    using THook = TWindowHookOf<TWinControl, &TWinControl::HookedProc>;
    void Detach();
    bool Reflect(TMessage& m);
    // Turns mouse moves and the system's leave notice into CM_MOUSEENTER and CM_MOUSELEAVE.
    void TrackMouse(UINT msg);

    THook hook_;
    bool mouseInside_ = false; // CM_MOUSEENTER sent, CM_MOUSELEAVE not yet
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_; // in tab order
    TFont font_;
    bool parentFont_ = true;
    TBrushHandle brush_; // for a plain RGB Color
    TColor brushColor_ = 0;
};
