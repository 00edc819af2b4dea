// The form skinner (TWinSkinForm): the skinner of one top-level window's frame, and the parts it
// is made of. Its members are defined, one topic a file, in:
//   WinSkinForm_win.cpp      its life: made, started (InitTform, InitSkin), taking the frame over
//                            (SkinActive), a changed skin (SkinChange), the window given back
//                            (UnSubclass...) and freed (Retire)
//   WinSkinFrame_win.cpp     the hook procedure and the messages it answers, frame sizes,
//                            activation, system commands
//   WinSkinFormPaint_win.cpp painting the frame and caption, the window's icon, the region
//   WinSysButton_win.cpp     caption buttons, non-client mouse input, the hover timer
//   WinSkinMenu_win.cpp      the menu bar's tracking, owner-drawn menus, tool bars, system menu
//   WinSkinMDI_win.cpp       the MDI client and MDI children
// The control skinners' list it holds (ControlSkinners_win.h) is defined with the control skinners.
#pragma once

#include "skin/data/RasterTypes.h"
#include "skin/forms/ControlSkinners_win.h"
#include "skin/forms/FrameLayout.h"
#include "skin/forms/SkinCanvas_win.h"

#include "framework/Controls.h"
#include "framework/Dpi.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

class TSkinDataCore;
class TForm;
class TWinSkinForm;
class TMenuItem;
class TPopupMenu;
class TOwnerDrawMenu;
class TToolBar;
class TMainMenu;

// Whether an MDI child is shown maximized; process-wide. SetMDIMax goes through the skin manager,
// which updates the MDI children; StoreMDIMax only records the value.
bool MDIMaxFlag();
void SetMDIMax(bool value);
void StoreMDIMax(bool value);

// Lifecycle of a form skinner.
enum TSkinLifecycle : int {
    kSkinCreated = 0, // frame not yet taken over (until WM_SKIN_ACTIVE)
    kSkinned = 1,
    kSkinChanging = 3,
    kSkinDestroying = 4, // the window is being destroyed
    kSkinResizing = 5,   // resizing during activation
    kSkinDestroyed = 6,  // no more region work
};

// One caption button: a copy of its skin entry (the system-menu button takes the window's icon as
// its image) drawn through its form.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* form, const TDataSkinSysButton& entry);
    void Draw() override;
    TDataSkinSysButton Entry;

private:
    TWinSkinForm* form_;
};

// A button of the skinned menu bar: one top-level item of the window's menu.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm* form, int index);
    void Draw() override;
    int Index;
    std::wstring Caption;
    HMENU Submenu = nullptr;
    UINT Command = 0;
    bool Enabled = true;

private:
    TWinSkinForm* form_;
};

// The menu bar the skin paints under the caption in place of the system's: one button per
// top-level item of the window's menu, which it takes from the window (and gives back).
class TWinSkinMenu {
public:
    explicit TWinSkinMenu(TWinSkinForm* owner) : owner_(owner) {}
    // Buttons from a framework main menu's top-level items, following their captions and their
    // enabled and visible state; the menu is taken off the window.
    void UpdataBtn(TMainMenu* menu);
    // Buttons from a menu's top-level items; the menu is taken off the window.
    void UpdataBtn2(HMENU menu);
    // Buttons built anew from what the bar shows (the form's main menu, or the menu handle) after
    // the menu or the skin changed; the hot button is forgotten.
    void UpdataBtn3();
    // Paints the bar into dc at bar (window coordinates) and lays the buttons out in it.
    void DrawMenu(HDC dc, const TRect& bar);
    // Paints one button's face straight onto dc.
    void DrawButton(HDC dc, const TMenuBtn& b);
    // The button under a window point, or nullptr.
    TMenuBtn* FindBtn(int x, int y) const;
    // The first enabled, visible button whose caption underlines the character (any case).
    TMenuBtn* FindButtonFromAccel(wchar_t c) const;
    // The first enabled, visible button with a caption.
    TMenuBtn* FirstButton() const;
    // The next visible button with a caption after index in the direction of step (+1, -1), the
    // bar wrapping round; nullptr when there is no other.
    TMenuBtn* Neighbour(int index, int step) const;
    HMENU Menu() const { return menu_; }
    // The owner moved to another DPI: the font is made anew at the next paint.
    void DpiChanged() { font_.Reset(); }
    std::vector<std::unique_ptr<TMenuBtn>> Buttons;

private:
    void DrawCaption(HDC dc, const TMenuBtn& b, const RECT& r);
    // The system's menu bar off the window: the skin draws the row.
    void TakeMenuOff();
    // A length of the bar's layout, given at 96 DPI, at the owner's DPI.
    int Px(int v) const;

    TWinSkinForm* owner_;
    HMENU menu_ = nullptr;
    TRect bar_;
    TDib cache_; // the painted bar without its texts
    TDib paint_; // the bar being composed
    TFontHandle font_;
};

// The skinner of one top-level window's frame: it subclasses the window, sizes and paints the
// non-client area from the skin (borders, caption with title and buttons, menu bar), answers the
// non-client mouse input, and cuts the window to the skin's shape. The skin data must outlive it.
// Made by the skin manager, or by a direct call (SkinWindow); freed by whoever made it, after the
// window is gone or once UnSubclass has given the window back.
class TWinSkinForm : public TNCHost {
public:
    explicit TWinSkinForm(TSkinDataCore* skinData);
    ~TWinSkinForm() override;
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    // Skins a framework form, or any window by handle. Runs once; the frame is taken over when
    // WM_SKIN_ACTIVE arrives.
    void InitTform(TForm* form);
    void InitSkin(HWND hwnd);
    // Frame metrics and caption buttons from the skin.
    void InitSkinData();
    // Drops the caption buttons (until InitSkinData builds them again).
    void DropSysButtons() {
        HotObject = nullptr;
        buttons_.clear();
    }
    // An MDI child back from a maximized sibling: normal state, its region, no system caption.
    void RestoreNormal();
    // Takes up a changed skin: metrics, buttons, size and region.
    void SkinChange();
    // Gives the window back its own frame, procedure, style, menu and client size.
    void UnSubclass();
    // While the window is being destroyed: restores the procedures and frees, gives nothing back.
    void UnSubclass3();

    // The system recomputes and repaints the frame; RePaint repaints everything at once.
    void Refresh();
    void RePaint();
    // Sizes the window so its client area keeps its size inside the skin's frame.
    // With cropFirst the region for the new size is set before the window takes it, so the one
    // repaint of the resize shows the finished frame.
    void ResizeForm(bool useCurrent, bool cropFirst = false);
    void KeepClient();
    // Paints the frame (nothing outside lifecycle 1 and 3).
    void UpdateNc();
    // Takes the system's caption and buttons away from the style (false), or gives them back.
    void EnableSysbtn(bool enable);
    // Builds the window region from the frame's transparent parts; Uncropwindow removes it.
    void Cropwindow();
    // The region for a window of W x H, repainted at once or not.
    void CropTo(int W, int H, bool redraw);
    void Uncropwindow();
    // Builds the region anew even when the window's size has not changed.
    void RebuildRegion() {
        regionSet_ = false;
        Cropwindow();
    }
    // The whole frame rendered at the window's size, the client area in the face colour.
    TBitmap32 getClipMap();

    // Caption buttons and non-client input.
    void SetSysbtnRect();
    bool Checkvisible(int index) const;
    void DrawSysbtn(TWinSysButton& b, int state);
    // Renders a button's face in a state over the caption under it into piece (the button's size);
    // what lies outside the caption strip is read from windowDC when given. False when it cannot.
    bool SysButtonFace(TDib& piece, const TWinSysButton& b, int state, HDC windowDC);
    TNCObject* FindBtn(int x, int y) const;
    POINT GetWinXY(int screenX, int screenY) const;
    void SysBtnAction(int screenX, int screenY);
    void Maximize();
    void Restore();
    void Minimize();
    void OnTimer();
    // Opens a menu bar button's submenu (and fires a command item). While it is open, left and
    // right (and the mouse over another button) move to the neighbouring menus. However it opens,
    // the first item is selected at once, so the keys work on the menu from the start.
    void CheckMenu(TMenuBtn& b);
    // Opens a button's menu as a click would: a press posted one pixel inside the button.
    void ClickButton(const TMenuBtn& b);
    // The menu bar from the keyboard (Alt or F10 alone): the first button lights up, left and
    // right move along the bar, Enter or the arrows open a menu, Escape leaves.
    void MenuBarKeys();
    void PaintMenuButton(const TMenuBtn& b);
    // The menu bar's button at index, or nullptr.
    TMenuBtn* MenuButtonAt(int index) const;

    // Owner-drawn menu items (WinSkinMenu_win.cpp). InitMenu makes the form's popup menus
    // owner-drawn by the skin (or gives them back their own look); DrawMenuItem and
    // MeasureItemPop are the handlers their items get.
    void InitMenu(TForm* form, bool enable);
    void DrawMenuItem(TMenuItem* item, HDC dc, const RECT& rect, UINT state);
    void MeasureItemPop(TMenuItem* item, HDC dc, int& width, int& height);
    // A tool bar gets ToolBarDrawButton as its button painter when it has none (or loses ours).
    void SkinToolBar(TToolBar* bar, bool enable);
    // The items of a tool button's menu, at every depth, get the skin's draw and measure handlers
    // over their own; disabling takes ours away. True when an item had ours.
    bool InitToolbarMenu(TMenuItem* parent, bool enable);
    // The form's tool bars and tool-button menus lose this skinner's handlers (discovery gave them).
    void ReleaseToolBars(TForm* form);
    LRESULT ToolBarDrawButton(TToolBar* bar, NMTBCUSTOMDRAW& cd);
    // The skinned system menu (made on first use).
    TPopupMenu* SysMenu() const { return sysMenu_.get(); }
    // Opens the system menu at a screen point: the skin's, or the system's own.
    void PopSysmenu(int screenX, int screenY);

    // The skinner of a window, or nullptr.
    static TWinSkinForm* FromHandle(HWND hwnd);

    // Holds the skinner alive for as long as it is in scope: every entry from the system (window
    // procedures, the form's WindowProc) and every caller that walks skinners and calls into them
    // holds one.
    class TCall {
    public:
        explicit TCall(TWinSkinForm& s) : s_(s) { ++s_.depth_; }
        ~TCall();
        TCall(const TCall&) = delete;
        TCall& operator=(const TCall&) = delete;

    private:
        TWinSkinForm& s_;
    };
    // The one way a skinner is freed: the window is given back at once; the skinner is freed now,
    // or, while a call into it is on the stack, when the outermost call returns.
    static void Retire(std::unique_ptr<TWinSkinForm> skinner);
    // A call into the skinner is on the stack.
    bool Busy() const { return depth_ > 0; }

    // Control skinners: discovery gives each control of the window the skinner its kind and the
    // skin's options call for; the list holds them until their control goes or the window is
    // given back.
    TControlSkinners& Controls() { return controls_; }
    const TControlSkinners& Controls() const { return controls_; }
    // Discovery on the framework form, or on the child windows of a plain window.
    void DiscoverControls();

    // The MDI client of an MDI main form: subclassed so that the skin follows its children.
    void SubclassMDI();
    void UnSubclassMDI();
    // The MDI client of an MDI main form, or an MDI child's parent.
    HWND MDIClient() const;
    // Whether the active MDI child is maximized.
    bool MDIChildMax() const;
    // An MDI form: the system command (SC_MINIMIZE, SC_RESTORE, SC_CLOSE) to the active child,
    // with the window animation off; the maximized-MDI flag follows.
    void MDIChildAction(UINT command);
    // An MDI form: the active child back to its normal size.
    void RestoreMDI();
    // An MDI form: the child becomes the active one and the menu row shows its state.
    void SelectMDIform(HWND child);
    // The client without scroll bars and sunken edge.
    void ChangeMDIStyle();

    int DisableTag = 0;
    HWND Handle() const { return hwnd_; }
    TForm* Form() const { return form_; }
    // The window class name of the skinned window.
    const std::wstring& WindowClass() const { return className_; }
    TSkinDataCore* SkinData() const { return skin_; }
    // The DPI of the window's monitor, and the skin scaled to it: what the frame is drawn from.
    int Dpi() const { return dpi_; }
    const TSkinModel& Model() const;
    TSkinLifecycle Lifecycle() const { return lifecycle_; }
    const TFrameMetrics& Metrics() const { return metrics_; }
    TSkinFormBorder Border() const { return border_; }
    TSkinFormStyle FormStyle() const { return formStyle_; }
    TSkinWindowState WindowState() const { return state_; }
    TSkinFormIcons Icons() const { return icons_; }
    bool Active() const { return active_; }
    bool FrameSkinning() const { return frameSkinning_; }
    const TRect& CaptionTextRect() const { return textRect_; }
    const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return buttons_; }
    // The window's icon as caption buttons draw it (premultiplied alpha).
    const TBitmap32& IconFace() const { return iconFace_; }
    TWinSkinMenu* MenuBar() const { return menuBar_.get(); }
    TCaptionState CaptionState() const;

private:
    // The window's messages, each under a TCall.
    LRESULT FrameHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT FrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    void NewWndProc(TMessage& m);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    void UnSubclass2();
    void RestoreProcedures();
    void FreeParts();

    LRESULT WMNCCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCPaint(WPARAM wParam);
    LRESULT WMNCActive(WPARAM wParam, LPARAM lParam);
    LRESULT WMSize(WPARAM wParam, LPARAM lParam);
    // A move to a monitor of another DPI: the frame takes the skin at the new DPI.
    LRESULT WMDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT WMEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT WMCtlcolor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT WMSetText(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT WMNCRButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT WMMeasureItem(WPARAM wParam, LPARAM lParam);
    LRESULT WMDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT WMMenuChar(WPARAM wParam, LPARAM lParam);
    // A system command chosen from a menu that reports it as WM_COMMAND goes on as WM_SYSCOMMAND.
    LRESULT WMCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    // Alt with a character: a menu bar button it underlines opens; an MDI child asks its frame.
    void CMDialogChar(TMessage& m);
    void CreateSysmenu();
    void DoSysMenu(TMenuItem* item);
    void SkinActive();
    // The form's menu was set, replaced or removed: the bar is built anew from it (MenuUpdate on).
    void MenuChanged(TMessage& m);
    void SetActive(bool active);
    void StartTimer(bool on);
    HBRUSH FaceBrush();
    // Minimize and maximize switch the system's window animation off for their time.
    void AnimationOff();
    void RestoreAnimation();

    // Painting.
    void PaintFrame(HDC dc);
    void DrawFLine(HDC dc, int W, const TBitmap32& left, const TBitmap32& right);
    void DrawLine(const TRect& caption);
    void DrawAllSysbtn();
    void GetIcon();
    TSkinWindowState GetWindowstate() const;
    // A standard dialog or the framework's message box: a dialog frame, sized to its caption.
    bool IsDialog() const { return className_ == L"#32770" || className_ == L"TMessageForm"; }
    TSkinFormStyle GetFormstyle();

    TSkinDataCore* skin_;
    HWND hwnd_ = nullptr;
    TForm* form_ = nullptr;
    int depth_ = 0;         // calls into the skinner on the stack
    bool retired_ = false;  // given back; freed when depth_ comes back to 0
    // The window subclassed; its previous procedure is kept after the window is given back: calls
    // on the stack go on through it.
    using TFrameHook = TWindowHookOf<TWinSkinForm, &TWinSkinForm::FrameHookProc>;
    TFrameHook frameHook_;
    std::function<void(TMessage&)> oldWindowProc_;
    bool formHooked_ = false;
    bool started_ = false;
    TSkinLifecycle lifecycle_ = kSkinCreated;

    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    HWND owner_ = nullptr;
    std::wstring className_;
    std::wstring caption_;
    SIZE systemNonClient_{}; // window size minus client size under the system's frame
    SIZE startClient_{};     // client size at start
    TSkinFormStyle formStyle_ = sfsNormal;
    TSkinFormBorder border_ = sbsSingle;
    TSkinWindowState state_ = swsNormal;
    TSkinFormIcons icons_ = 0;
    DWORD takenCaption_ = 0; // the WS_CAPTION bits taken from the style, given back with it
    TFrameMetrics metrics_;
    int dpi_ = 96;
    bool active_ = false;
    bool frameSkinning_ = false;
    bool menuLoop_ = false;
    // Menu tracking: the open button, the button to switch to, the last selected item's menu;
    // firstKey_ until the first message of a tracking selects the first item.
    int openIndex_ = -1;
    int switchTo_ = -1;
    bool firstKey_ = false;
    HMENU openMenu_ = nullptr;
    HMENU lastMenu_ = nullptr;
    bool lastItemOpens_ = false;
    bool lastItemRtl_ = false; // the last selected item reads right to left
    POINT lastCursor_{};
    static LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam);
    TColor savedColor_ = 0;
    // Owner-drawn items: the open submenu's tree while it is tracked, the system menu and its
    // images, when it last opened, the menu font.
    std::unique_ptr<TOwnerDrawMenu> ownerDraw_;
    std::unique_ptr<TPopupMenu> sysMenu_;
    TImageListHandle sysImages_;
    DWORD sysMenuTime_ = 0;
    bool popupsSkinned_ = false; // the form's popup menus have this skinner's handlers
    TFontHandle menuFont_;

    TControlSkinners controls_{*this};
    LRESULT MDIHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WinMDIProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMDI(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND mdiClient_ = nullptr;
    using TMDIHook = TWindowHookOf<TWinSkinForm, &TWinSkinForm::MDIHookProc>;
    TMDIHook mdiHook_;
    HWND pendingChild_ = nullptr; // an MDI child created, not yet offered to the manager
    bool savedMenuUpdate_ = true;
    TRect textRect_;
    int rightButtonsLeft_ = 0;
    std::vector<std::unique_ptr<TWinSysButton>> buttons_;
    std::unique_ptr<TWinSkinMenu> menuBar_;

    TDib captionCache_;     // the caption strip as last painted
    TBitmap32 captionBack_; // the same before the buttons were drawn on it
    TFontHandle captionFont_;
    TBitmap32 iconBitmap_; // the icon over the key colour, or the skin's icon image
    TBitmap32 iconFace_;   // the icon with premultiplied alpha, as caption buttons draw it
    int iconSize_ = 16;
    bool regionSet_ = false;
    SIZE regionSize_{};   // the size the region was built for
    SIZE regionWindow_{}; // the window's size when it was set
    bool timerOn_ = false;
    TBrushHandle faceBrush_;
    bool animationSaved_ = false;
    int savedAnimation_ = 0;
};

// Skins a window directly (while no skin manager does it): makes the skinner, starts it and takes
// the frame over at once. The caller owns the result.
std::unique_ptr<TWinSkinForm> SkinWindow(HWND hwnd, TSkinDataCore* skinData);
