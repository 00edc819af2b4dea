#include "framework/ExtCtrls.h"

#include "framework/Forms.h"
#include "framework/SysUtils.h"

TTimer::TTimer(TComponent* AOwner) : TTimer(AOwner, L"TTimerWindow", "Not enough timers available", true) {}

TTimer::TTimer(TComponent* AOwner, const wchar_t* windowClass, std::string failText, bool enabled)
    : TComponent(AOwner), failText_(std::move(failText)), enabled_(enabled) {
    window_ = std::make_unique<THiddenWindow>(windowClass, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_TIMER) return false;
        Fire();
        result = 0;
        return true;
    });
}

TTimer::~TTimer() {
    KillTimer(window_->Handle(), 1);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    // Only a set timer is killed: each call is a round trip to the server under Wine.
    if (set_) KillTimer(window_->Handle(), 1);
    set_ = false;
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (SetTimer(window_->Handle(), 1, interval_, nullptr) == 0) throw Exception(failText_);
        set_ = true;
    }
}

void TTimer::Fire() {
    if (!onTimer_) return;
    // A copy: the handler may replace itself.
    TNotifyEvent handler = onTimer_;
    try {
        handler(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

TBevel::TBevel(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"STATIC", WS_VISIBLE | SS_ETCHEDHORZ);
}

TPanel::TPanel(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    ParentColor = false;
    RegisterControlClass(L"TPanel");
    CreateControl(AParent, L"TPanel", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void TPanel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        EraseWithColor(m);
        return;
    case WM_PAINT: {
        TPaintDC paint(hwnd_, m.WParam);
        HDC dc = paint.Get();
        RECT r{};
        GetClientRect(hwnd_, &r);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        const std::wstring text = Text();
        InflateRect(&r, -2, -2);
        TSelectObject font(dc, Font().Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        const UINT align = Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        DrawTextW(dc, text.c_str(), int(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    case WM_SETTEXT:
        TWinControl::WndProc(m);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return;
    default:
        TWinControl::WndProc(m);
    }
}

bool TPanel::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Alignment")) return PropEnum(value, Alignment, {"taLeftJustify", "taRightJustify", "taCenter"});
    return TWinControl::GetPropValue(name, value);
}
