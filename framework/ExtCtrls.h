// The timer component, the bevel and the panel.
#pragma once

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/HiddenWindow.h"

#include <memory>
#include <string>

// A window timer on a hidden window of its own. The system timer is set again only when Enabled or
// Interval actually change, or when OnTimer is assigned; so enabling a running timer does not
// restart its interval. An exception in OnTimer goes to the application's exception handler.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

protected:
    // For timers of their own kind: another window class and another failure text.
    TTimer(TComponent* AOwner, const wchar_t* windowClass, std::string failText, bool enabled);

private:
    void UpdateTimer();
    void Fire();

    std::unique_ptr<THiddenWindow> window_;
    std::string failText_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool set_ = false; // a system timer is running
    TNotifyEvent onTimer_;
};

// A one-pixel etched line across its width (a separator), as a static control.
class TBevel : public TWinControl {
public:
    TBevel(TComponent* AOwner, TWinControl* AParent);
};

// A container with a raised edge and a caption, in a window of its own class; the controls inside
// are its child windows. Its colour is its own (Color), not its parent's.
class TPanel : public TWinControl {
public:
    TPanel(TComponent* AOwner, TWinControl* AParent);
    TAlignment Alignment = taCenter;

    void WndProc(TMessage& m) override;
    // "Alignment", and the control's own.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
};
