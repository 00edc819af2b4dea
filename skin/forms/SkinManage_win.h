// The process-wide skin manager: a computer-based-training hook that skins each top-level window
// when it is first activated and each popup menu window when it is made, the lists of skinners
// and of skin data components, and the install, uninstall and skin-change requests of those
// components carried out on a short timer. Also the popup menu window skinner.
#pragma once

#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinRules.h"
#include "skin/forms/WinSkinForm_win.h"

#include <memory>
#include <utility>
#include <vector>

class TForm;
class TTimer;
class TSkinData;

// The frame of a popup menu window ("#32768") painted from the skin's menu background. The items
// inside stay the system's (or the menu skinner's).
class TWinSkinPopMenu {
public:
    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    // Stores the window, the skin and the menu (or none, learnt later) and subclasses the window.
    void InitSkin(HWND hwnd, TSkinDataCore* skin, HMENU menu);
    // Gives the window its procedure back and drops the background.
    void UnSubClass();
    // The menu background rendered at the window's size; empty without a skin image.
    const TBitmap32& Background();
    // Where the client area (the items) lies in the window: 3 pixels in on Windows, where the
    // system draws no frame of its own inside; 0 under Wine, which paints its frame in the client.
    int ClientInset() const;

    HWND Handle = nullptr;
    HMENU Menu = nullptr;
    bool FrameworkPopup = false;
    int LastSelected = -1;

private:
    LRESULT HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintRing(HDC dc);
    LRESULT WMPrint(WPARAM wParam, LPARAM lParam);

    TSkinDataCore* skin_ = nullptr;
    TWindowHookOf<TWinSkinPopMenu, &TWinSkinPopMenu::HookProc> hook_;
    TBitmap32 background_;
};

// The popup menu skinner waiting to learn its menu from the first item drawn in it; cleared when
// that skinner goes.
extern TWinSkinPopMenu* WaitingPopMenu;

// What a skin data component asks of the manager (the numbers are those of the stored requests).
enum TSkinAction : int { saNone = 0, saInstall = 1, saUninstall = 2, saSkinChanged = 3, saPurge = 6 };

class TSkinManage {
public:
    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    void InstallHook();
    // Skinning the windows of another thread: refused (false), since nothing would order that
    // thread's use of the manager and the skin's caches with this one's.
    bool InstallThread(DWORD threadId);

    // Skins a top-level window when the rules allow; true when a skinner was made.
    bool AddForm(HWND hwnd);
    bool ActiveForm(TForm* form);
    static bool NestedForm(HWND hwnd);
    TSkinData* FindSkindata(HWND hwnd) const;
    bool OnBeforeSkin(const std::string& className) const;
    TWinSkinForm* FindSkinForm(HWND hwnd) const;
    static TForm* FindTForm(HWND hwnd);
    // A framework form's skinner: unsubclassed, removed and freed.
    bool DeleteForm(HWND hwnd);
    // Takes a window's skinner out of the list without freeing it: the caller owns it then.
    std::unique_ptr<TWinSkinForm> DeleteForm2(HWND hwnd);
    // Frees the skinners whose windows are gone (DeleteForm3 is the same).
    void DeleteDeleted();
    void DeleteForm3() { DeleteDeleted(); }
    // At shutdown: every skinner lets go of its window as a destroyed window's would.
    void DeleteAllForms();

    void AddMenu(HWND hwnd);
    void DeleteMenu(HWND hwnd);
    TWinSkinPopMenu* FindSkinMenu(HWND hwnd) const;
    void DeleteAllMenus();
    // Marks every popup menu skinner as showing a framework popup menu.
    void SetMenu();
    // Sets FrameworkPopup when the menu is one of the application's popup menu components (shown).
    void FindPopupMenu(HMENU menu);
    // A popup menu window's skinner learns the menu it shows.
    void LearnMenu(TWinSkinPopMenu& m, HMENU menu);
    // The background of the popup window showing the menu, or nullptr.
    const TBitmap32* GetMenuBg(HMENU menu);
    // The skinner of the popup window showing the menu, or nullptr. A skinner that has not learnt
    // its menu yet is asked its window's menu.
    TWinSkinPopMenu* MenuSkinner(HMENU menu);

    void AddSkinData(TSkinData* s);
    void RemoveSkinData(TSkinData* s);
    // Schedules an action for component s. Before the first activation of a window, install and
    // uninstall only switch skinning on and off.
    void SetAction(TSkinAction action, TSkinData* s, unsigned interval = 250);
    // Changes the maximized-MDI state and updates the MDI child skinners.
    void SetMDIMax(bool value);
    // MDI child skinners whose windows are still there.
    int GetMDIChildNum() const;
    // Every MDI child skinner's window gets the system caption back.
    void SetCaption();
    // The form skinners using s (all, for null) drop their caption buttons.
    void DeleteSysbtn(TSkinData* s = nullptr);
    // Carries out the pending action now (what the timer does).
    void OnTimer();
    // Skins the application's forms that are still hidden, so that showing one later (the
    // progress window of a send) finds it skinned; runs once, when the first form has been
    // skinned and the program is idle.
    void SkinHiddenForms();

    bool Active = false;      // new windows are skinned
    bool InstallPass = false; // an install walks the forms: nested forms are let through
    bool FrameworkPopup = false;
    int ActivationCount = 0; // 0 until a window of the process has been activated
    int FormScopedCount = 0; // skin data components scoped to one form or to dialogs
    TSkinData* CurrentSkinData = nullptr;
    TSkinAction PendingAction = saNone;
    TSkinData* PendingSkin = nullptr;
    HWND MDIClient = nullptr;
    TForm* MDIForm = nullptr;

    const std::vector<std::unique_ptr<TWinSkinForm>>& Forms() const { return forms_; }
    const std::vector<std::unique_ptr<TWinSkinPopMenu>>& Menus() const { return menus_; }
    const std::vector<TSkinData*>& SkinDatas() const { return skinDatas_; }
    bool TimerRunning() const;

private:
    static LRESULT CALLBACK SkinHookCBT(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT HookCBT(int code, WPARAM wParam, LPARAM lParam);
    // Frees and removes skinners from the end of the list: those using s, or all (s null); only
    // the last one when `onlyLast`.
    void Uninstall(TSkinData* s, bool onlyLast);
    std::vector<TForm*> ScreenForms() const;

    HHOOK hook_ = nullptr;
    std::vector<std::unique_ptr<TWinSkinForm>> forms_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> menus_;
    std::vector<TSkinData*> skinDatas_;
    std::unique_ptr<TTimer> timer_;
    std::unique_ptr<TTimer> idle_; // one shot: SkinHiddenForms after the first form
    bool hiddenSkinned_ = false;
};

// The process's skin manager; null before the skin engine starts and after it ends.
extern TSkinManage* SkinManager;
// Starts the skin engine (the manager and its hook) once; later calls return the same manager.
TSkinManage* StartSkinEngine();
// Ends it: the manager lets go of every window and is freed, the global pointer cleared.
void StopSkinEngine();
