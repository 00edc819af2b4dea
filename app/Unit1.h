// The main window: number, message, the send button with its countdown, and the send flow.
#pragma once

#include "app/Verdict.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "net/NMHttp.h"
#include "net/NMURL.h"
#include "skin/forms/SkinLive_win.h"
#include "skin/forms/WinSkinData_win.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);

    TLabel* LNumber;
    TEdit* CBNumber;
    TLabel* LMessage;
    TMemo* MMessage;
    TLabel* Label1;
    TLabel* LRemain;
    TButton* BClear;
    TBitBtn* BSend;
    TMainMenu* MainMenu1;
    TMenuItem* File1;
    TMenuItem* Exit1;
    TMenuItem* Settings1;
    TMenuItem* Proxy1;
    TMenuItem* Skin1;      // "Оформление": the shipped skins, then OtherSkin1
    TMenuItem* OtherSkin1; // "Другой файл...": a package from the file dialog
    TMenuItem* StandardLook1;
    TMenuItem* Help1;
    TMenuItem* ForWath1;
    TMenuItem* About1;
    TNMHTTP* NMHTTP1;
    TNMURL* NMURL1;
    TTimer* Timer1;
    TSkinData* SkinData1;

    // Validates the number, sends one request to the gateway and reports the outcome in a message
    // box. True when a request was issued, false when it stopped before.
    bool SendSms(const std::wstring& number, const std::wstring& message);

    void BSendClick(TObject* Sender);
    void BClearClick(TObject* Sender);
    void MMessageChange(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void NMHTTP1PacketRecvd(TObject* Sender);
    void NMHTTP1Failure(CmdType Cmd);
    void NMHTTP1InvalidHost(TObject* Sender, bool& Handled);
    void NMHTTP1ConnectionFailed(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Exit1Click(TObject* Sender);
    void Proxy1Click(TObject* Sender);
    // Another skin package, chosen in the system's file dialog: every open window takes it up, and
    // the settings file keeps it. One that cannot be loaded changes nothing.
    void Skin1Click(TObject* Sender);
    // The system's look on and off (kept in the settings file).
    void StandardLook1Click(TObject* Sender);
    // Switches to the skin package at path and stores setting (path when empty) as "Skin"/"File";
    // false (with a message) when it cannot.
    bool UseSkinFile(const std::wstring& path, const std::wstring& setting = std::wstring());
    // Checks the menu's shipped skin that setting names, and no other.
    void MarkSkin(const std::wstring& setting);
    // Takes the skin from an unpacked skin folder (or its description file) and follows its edits:
    // each saved change re-skins every window; one with errors keeps the last good skin and is
    // told in one message naming the file and line (not again for the same error).
    void WatchSkinFolder(const std::wstring& path);
    // Folder skins loaded so far (the first load included); 0 without a folder skin. Also the answer
    // to the registered window message "TellitSkinReloads", for tests.
    int SkinReloads() const;

protected:
    void WndProc(TMessage& m) override;

public:
    void ForWath1Click(TObject* Sender);
    void About1Click(TObject* Sender);

    // True from the moment a request is issued until Get returns.
    bool InFlight() const { return inFlight_; }

private:
    // The message's scroll bar shows only while the text overflows the memo.
    void FitMessageScrollBar();
    // Hides the progress window and tells the user; a success locks the send button.
    void GiveVerdict(TVerdict verdict);

    bool inFlight_ = false;
    bool verdictGiven_ = false;
    bool countingDown_ = false;
    bool settingsRead_ = true;  // the settings file could be read at start
    std::wstring loadedNumber_; // the number read at start
    TSkinLiveWatch* skinWatch_ = nullptr;
    std::string lastSkinReport_; // the skin error last shown
    bool reportingSkin_ = false; // its message box is open
    // The shipped skins' menu items and their "Skin"/"File" values.
    std::vector<std::pair<TMenuItem*, std::wstring>> skinItems_;
};

// The send countdown: seconds left before the next message may go.
extern uint16_t SendDelay;

extern TForm1* Form1;
