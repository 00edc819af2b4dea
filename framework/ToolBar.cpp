#include "framework/ToolBar.h"

TToolBar::TToolBar(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)loaded;
    CreateControl(AParent, TOOLBARCLASSNAMEW,
                  WS_VISIBLE | CCS_TOP | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS);
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Captions only: no room for pictures.
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
}

int TToolBar::AddButton(const std::wstring& caption, TNotifyEvent onClick) {
    clicks_.push_back(std::move(onClick));
    captions_.push_back(caption);
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = int(clicks_.size()); // ids from 1, by index
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    b.iString = reinterpret_cast<INT_PTR>(captions_.back().c_str());
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
    return int(clicks_.size()) - 1;
}

RECT TToolBar::ButtonRect(int index) const {
    RECT r{};
    SendMessageW(hwnd_, TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TToolBar::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        const int id = LOWORD(m.WParam);
        if (id >= 1 && size_t(id) <= clicks_.size() && clicks_[size_t(id - 1)]) clicks_[size_t(id - 1)](this);
        m.Result = 0;
        return;
    }
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(NM_CUSTOMDRAW)) {
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam);
        m.Result = CDRF_DODEFAULT;
        if (!OnCustomDrawButton) return;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            m.Result = CDRF_NOTIFYITEMDRAW;
        else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            m.Result = OnCustomDrawButton(this, *cd);
        return;
    }
    TWinControl::WndProc(m);
}
