// A tool bar (ToolbarWindow32) along the top of its parent: a row of flat buttons with captions,
// each with a click event, whose faces a handler can draw before the system draws their text.
#pragma once

#include "framework/Controls.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class TToolBar;
// Draws under a button before the system draws its text: the custom-draw data carries the DC, the
// button's rectangle and state, and the text colour the system will use (which the handler may
// change). Returns the custom-draw flags for the system (TBCDRF_NOEDGES...).
using TToolBarDrawButtonEvent = std::function<LRESULT(TToolBar* Sender, NMTBCUSTOMDRAW& Draw)>;

class TToolBar : public TWinControl {
public:
    TToolBar(TComponent* AOwner, TWinControl* AParent);

    // Adds a button at the end; returns its index.
    int AddButton(const std::wstring& caption, TNotifyEvent onClick = {});
    int ButtonCount() const { return int(clicks_.size()); }
    // A button's rectangle in the tool bar's client area (empty for an index out of range).
    RECT ButtonRect(int index) const;

    TToolBarDrawButtonEvent OnCustomDrawButton;

    void WndProc(TMessage& m) override;

private:
    std::vector<TNotifyEvent> clicks_;
    std::vector<std::wstring> captions_;
};
