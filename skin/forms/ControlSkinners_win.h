// The control skinners of one skinned window, and the discovery that makes them. The form skinner
// holds this list; the list is the one owner of what it holds: it alone frees a skinner, through
// TSkinControl::Retire, when the window is given back, when the skinner's control or window is gone,
// or when the application takes a control off the skin. (A skinner made for a framework control is
// also that control's component: when the control is freed it frees the skinner, which then leaves
// the list by itself.)
//
// Declared here, beside the form skinner, and defined with the control skinners
// (skin/controls/ControlSkinners_win.cpp): the form skinner's files need no control skinner's header.
#pragma once

#include <windows.h>

#include <vector>

class TComponent;
class TForm;
class TSkinControl;
class TWinControl;
class TWinSkinForm;

class TControlSkinners {
public:
    explicit TControlSkinners(TWinSkinForm& form) : form_(form) {}
    // Frees what is left (the window is going).
    ~TControlSkinners();
    TControlSkinners(const TControlSkinners&) = delete;
    TControlSkinners& operator=(const TControlSkinners&) = delete;

    // Discovery. Each control gets the skinner its kind and the skin's options call for; one that
    // has a skinner already keeps it.
    // The components of a framework control (a form, a panel...) and theirs where the table says.
    void Discover(TWinControl* parent);
    // A form embedded in the window: a box skinner for it, then its controls.
    void DiscoverNested(TForm* nested);
    // The child windows of a plain window (a standard dialog), by window class and style.
    void DiscoverWindows();
    // Whether a component has a skinner in the list.
    bool Holds(TComponent* component) const;

    // The list. A skinner adds itself when it starts and leaves when it is freed by its control.
    void Add(TSkinControl* skinner);
    void Remove(TSkinControl* skinner);
    // The live skinner of a window, or nullptr.
    TSkinControl* Find(HWND hwnd) const;
    const std::vector<TSkinControl*>& Items() const { return items_; }

    // Every control gets its procedure and colour back (unless its window is gone) and every
    // skinner is freed; the window is repainted without the skin.
    void RetireAll();
    // Frees the skinners whose windows are gone.
    void RetireGone();
    // Frees the skinner of a control the application takes off the skin; false when it had none.
    bool RetireFor(TComponent* control);
    // Every skinner takes up a changed skin (or the skin at a new DPI).
    void SkinChange();

    // The control that last had the mouse and draws a hot face: the form's hover timer tells it
    // when the mouse has left it. A new one tells the one before to leave.
    void SetHot(TSkinControl* skinner);
    TSkinControl* Hot() const { return hot_; }
    // The skinner is not hot any more (it heard the mouse leave, or it goes).
    void ForgetHot(const TSkinControl* skinner) {
        if (hot_ == skinner) hot_ = nullptr;
    }
    // The hot control hears that the mouse left when the cursor is off it; letGo forgets it
    // either way (the timer stops).
    void CheckHot(bool letGo);

private:
    void AddComponent(TComponent* component, TWinControl* parent);
    void AddWindow(HWND hwnd);
    // Starts a skinner made for a component; false (and the skinner freed) when it did not take.
    bool Start(TSkinControl* s, int start, int flag);
    void Retire(TSkinControl* skinner);

    TWinSkinForm& form_;
    std::vector<TSkinControl*> items_;
    TSkinControl* hot_ = nullptr;
};
