// A tool bar (ToolbarWindow32) along the top of its parent: a row of flat buttons with captions,
// each with a click event, whose faces a handler can draw before the system draws their text.
// A button may carry a drop-down menu, opened from the arrow beside it.
#pragma once

#include "framework/Controls.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class TToolBar;
class TPopupMenu;
// Draws under a button before the system draws its text: the custom-draw data carries the DC, the
// button's rectangle and state, and the text colour the system will use (which the handler may
// change). Returns the custom-draw flags for the system (TBCDRF_NOEDGES...).
using TToolBarDrawButtonEvent = std::function<LRESULT(TToolBar* Sender, NMTBCUSTOMDRAW& Draw)>;

// A button of a tool bar that is a component of the tool bar's owner, so that whoever walks the
// form's components meets it: the buttons with a drop-down menu. The menu is not owned; it opens
// under the button when the button's arrow is pressed. "DropdownMenu", "Caption".
class TToolButton : public TComponent {
public:
    TToolButton(TComponent* AOwner, TToolBar* bar, int index);
    ~TToolButton() override;
    // The tool bar, or nullptr once it is gone.
    TToolBar* ToolBar() const;
    int Index() const { return index_; }
    TPopupMenu* DropdownMenu = nullptr;
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    HWND bar_;
    int index_;
};

class TToolBar : public TWinControl {
public:
    TToolBar(TComponent* AOwner, TWinControl* AParent);

    // Adds a button at the end; returns its index.
    int AddButton(const std::wstring& caption, TNotifyEvent onClick = {});
    // Adds a button with an arrow that opens menu under it; the button is a component of the
    // tool bar's owner.
    TToolButton* AddDropDownButton(const std::wstring& caption, TPopupMenu* menu, TNotifyEvent onClick = {});
    int ButtonCount() const { return int(clicks_.size()); }
    // A button's rectangle in the tool bar's client area (empty for an index out of range).
    RECT ButtonRect(int index) const;
    // Opens a drop-down button's menu under it, as its arrow does; returns when the menu closes.
    void DropDown(int index);

    TToolBarDrawButtonEvent OnCustomDrawButton;

    void WndProc(TMessage& m) override;
    // "Flat", "Transparent"; both can be set.
    bool GetPropValue(const std::string& name, TPropValue& value) const override;
    bool SetPropValue(const std::string& name, const std::string& value) override;

private:
    friend class TToolButton;
    int Add(const std::wstring& caption, TNotifyEvent onClick, BYTE style);
    std::vector<TNotifyEvent> clicks_;
    std::vector<std::wstring> captions_;
    std::vector<TToolButton*> toolButtons_; // by index; nullptr for plain buttons
};
