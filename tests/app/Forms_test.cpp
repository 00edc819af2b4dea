// The five windows as the program creates them: what they are, the proxy dialog's rules, the
// settings file, the message counter and the countdown.
#include "tests/app/AppTest.h"

#include "app/Version.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

#include <commctrl.h>

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return cls;
}

std::wstring MenuText(HMENU menu, int pos) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, UINT(pos), text, 64, MF_BYPOSITION);
    return text;
}

struct Windows : AppFixture {
    void SetUp() override {
        WriteSettings("");
        CreateForms();
    }
};

TEST_F(Windows, ClassesCaptionsAndSizes) {
    struct Expect {
        TForm* form;
        const wchar_t* cls;
        const wchar_t* caption;
        int width, height;
    };
    for (const Expect& e :
         {Expect{Form1, L"TForm1", L"Tellit", 331, 216}, Expect{Form2, L"TForm2", L"Настройки прокси", 284, 279},
          Expect{Form3, L"TForm3", L"О программе", 305, 184}, Expect{Form4, L"TForm4", L"Для чего?", 276 + Form4->Memo1->Width() - 257, 245 + Form4->Memo1->Height() - 185},
          Expect{Form5, L"TForm5", L"Отправка SMS", 260, 64}}) {
        EXPECT_EQ(ClassOf(e.form->Handle()), e.cls);
        EXPECT_EQ(e.form->Caption(), e.caption);
        EXPECT_EQ(e.form->ClientWidth(), e.width) << WideToUtf8(e.cls);
        EXPECT_EQ(e.form->ClientHeight(), e.height) << WideToUtf8(e.cls);
        // Created hidden; the auxiliary windows belong to the main window.
        EXPECT_FALSE(IsWindowVisible(e.form->Handle()));
        if (e.form != Form1) {
            EXPECT_EQ(GetWindow(e.form->Handle(), GW_OWNER), Form1->Handle());
        }
    }
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_TRUE(Form5->StayOnTop());
    EXPECT_EQ(ClassOf(Application->Handle()), L"TApplication");
    // The main window has a minimize box; the dialogs have only the close box.
    EXPECT_TRUE(GetWindowLongPtrW(Form1->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
    for (TForm* f : {static_cast<TForm*>(Form2), static_cast<TForm*>(Form3), static_cast<TForm*>(Form4),
                     static_cast<TForm*>(Form5)}) {
        LONG_PTR style = GetWindowLongPtrW(f->Handle(), GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    }
}

TEST_F(Windows, MainWindowControls) {
    EXPECT_EQ(Form1->LNumber->Caption(), L"Номер телефона\r\n(7 цифр)");
    EXPECT_EQ(Form1->LMessage->Caption(), L"Текст сообщения\r\n(макс. 160 знаков)");
    EXPECT_EQ(Form1->Label1->Caption(), L"Знаков осталось:");
    EXPECT_EQ(Form1->LRemain->Caption(), L"160");
    EXPECT_EQ(Form1->BClear->Caption(), L"Очистить");
    EXPECT_EQ(Form1->BSend->Caption(), L"Послать SMS");
    EXPECT_EQ(Form1->MMessage->MaxLength(), 160);
    EXPECT_EQ(Form1->CBNumber->MaxLength(), 0);
    // Tab order: number, message, send, clear.
    EXPECT_EQ(Form1->CBNumber->TabOrder() < Form1->MMessage->TabOrder(), true);
    HWND first = GetNextDlgTabItem(Form1->Handle(), nullptr, FALSE);
    HWND order[4] = {first, nullptr, nullptr, nullptr};
    for (int i = 1; i < 4; ++i)
        order[i] = GetNextDlgTabItem(Form1->Handle(), order[i - 1], FALSE);
    EXPECT_EQ(order[0], Form1->CBNumber->Handle());
    EXPECT_EQ(order[1], Form1->MMessage->Handle());
    EXPECT_EQ(order[2], Form1->BSend->Handle());
    EXPECT_EQ(order[3], Form1->BClear->Handle());
    // The send button spans the window at the bottom.
    EXPECT_GT(Form1->BSend->Width(), Form1->ClientWidth() * 9 / 10);
    EXPECT_GT(Form1->BSend->Top(), Form1->MMessage->Top() + Form1->MMessage->Height());
    EXPECT_LE(Form1->BSend->Top() + Form1->BSend->Height(), Form1->ClientHeight());
}

TEST_F(Windows, MenuCaptionsHotkeysAndCommands) {
    HMENU bar = GetMenu(Form1->Handle());
    ASSERT_TRUE(bar);
    EXPECT_EQ(MenuText(bar, 0), L"&Файл");
    EXPECT_EQ(MenuText(bar, 1), L"&Настройки");
    EXPECT_EQ(MenuText(bar, 2), L"&Помощь");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), L"&Выход");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 0), L"&Прокси");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 2), 0), L"&Для чего?");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 2), 1), L"&О программе");

    // Each dialog item opens its window modally; the window is closed from the queue.
    struct Item {
        HMENU menu;
        int pos;
        TForm* form;
    };
    Form1->Show();
    for (const Item& it :
         {Item{GetSubMenu(bar, 1), 0, Form2}, Item{GetSubMenu(bar, 2), 0, Form4}, Item{GetSubMenu(bar, 2), 1, Form3}}) {
        bool sawModal = false;
        TForm* form = it.form;
        UINT_PTR t = SetTimer(nullptr, 0, 10, nullptr);
        // The check runs inside the modal loop: the form is shown and the main window disabled.
        PostMessageW(form->Handle(), WM_USER + 77, 0, 0);
        auto old = form->WindowProc;
        form->WindowProc = [&, old](TMessage& m) {
            if (m.Msg == WM_USER + 77) {
                sawModal = form->Modal() && IsWindowVisible(form->Handle()) && !IsWindowEnabled(Form1->Handle());
                form->Close();
                return;
            }
            old(m);
        };
        SendMessageW(Form1->Handle(), WM_COMMAND, GetMenuItemID(it.menu, it.pos), 0);
        form->WindowProc = old;
        KillTimer(nullptr, t);
        EXPECT_TRUE(sawModal) << WideToUtf8(form->Caption());
        EXPECT_FALSE(IsWindowVisible(form->Handle()));
        EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    }
    Form1->Hide();
}

// Keys for the menu loop, posted one per timer tick once the loop runs (the loop dispatches timer
// messages); a last tick ends any menu still open, so a test cannot hang in it.
std::vector<std::pair<UINT, WPARAM>> pendingKeys;
size_t nextKey;

void CALLBACK FeedKey(HWND, UINT, UINT_PTR id, DWORD) {
    HWND main = Form1->Handle();
    if (nextKey < pendingKeys.size()) {
        auto [msg, key] = pendingKeys[nextKey++];
        PostMessageW(main, msg, key, msg == WM_KEYDOWN ? 1 : 0);
        if (msg == WM_KEYDOWN) PostMessageW(main, WM_KEYUP, key, 0xC0000001);
    } else if (nextKey++ > pendingKeys.size() + 20) {
        KillTimer(nullptr, id);
        EndMenu();
    }
}

// Opens the menu (SC_KEYMENU with hotkey letter or 0), feeds the keys and reports whether the
// proxy dialog came up; the dialog closes itself at once.
bool ProxyDialogFromKeys(wchar_t letter, std::vector<std::pair<UINT, WPARAM>> keys) {
    bool opened = false;
    auto old = Form2->WindowProc;
    Form2->WindowProc = [&, old](TMessage& m) {
        old(m);
        if (m.Msg == WM_SHOWWINDOW && m.WParam && Form2->Modal()) {
            opened = true;
            PostMessageW(Form2->Handle(), WM_CLOSE, 0, 0);
        }
    };
    pendingKeys = std::move(keys);
    nextKey = 0;
    UINT_PTR t = SetTimer(nullptr, 0, 50, FeedKey);
    SendMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_KEYMENU, letter);
    // Up to ten seconds: the menu loop takes its time on a busy machine.
    for (int i = 0; i < 500 && !opened; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
    KillTimer(nullptr, t);
    Form2->WindowProc = old;
    return opened;
}

TEST_F(Windows, MenuFromTheKeyboard) {
    Form1->Show();
    // Into the menu bar, right to "Настройки", open it, choose "Прокси".
    EXPECT_TRUE(ProxyDialogFromKeys(0, {{WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_RETURN}}));
    // Alt with the underlined letters: Н opens "Настройки", П chooses "Прокси".
    EXPECT_TRUE(ProxyDialogFromKeys(L'н', {{WM_CHAR, L'п'}}));
    Form1->Hide();
}

TEST_F(Windows, HelpTextAndAbout) {
    // Each of the thirteen lines is one line of the memo, whatever font the system gives.
    EXPECT_EQ(Form4->Memo1->Lines(), HelpLines());
    EXPECT_TRUE(Form4->Memo1->ReadOnly());
    std::wstring text = Form4->Memo1->Text();
    std::wstring expected;
    for (size_t i = 0; i < HelpLines().size(); ++i)
        expected += (i ? L"\r\n" : L"") + HelpLines()[i];
    EXPECT_EQ(text, expected);
    ASSERT_EQ(HelpLines().size(), 13u);
    EXPECT_EQ(HelpLines()[2], L"SMS-ки отправляются через Internet. Для того ");
    EXPECT_EQ(HelpLines()[4], L"должна быть активирована услуга \"Получение ");
    EXPECT_EQ(HelpLines()[7], L"содержащую латинскую букву '\x0410'.");
    EXPECT_EQ(HelpLines()[9], L"");
    // The laid-out size at least; the window grows with the memo, the button stays centred.
    EXPECT_GE(Form4->Memo1->Width(), 257);
    EXPECT_GE(Form4->Memo1->Height(), 185);
    EXPECT_EQ(Form4->ClientWidth() - Form4->Memo1->Width(), 276 - 257);
    EXPECT_EQ(Form4->ClientHeight() - Form4->Memo1->Height(), 245 - 185);
    EXPECT_NEAR(Form4->Button1->Left() * 2 + Form4->Button1->Width(), Form4->ClientWidth(), 2);
    // "Tellit v" and the project version (CMakeLists.txt).
    EXPECT_EQ(Form3->Label1->Caption(), L"Tellit v" TELLIT_VERSION_W);
    EXPECT_EQ(Form3->Label1->Caption(), L"Tellit v" + Utf8ToWide(TELLIT_PROJECT_VERSION));
    EXPECT_TRUE(Form3->Label1->Font().Has(TFontStyle::Bold));
    EXPECT_EQ(Form3->Label2->Caption(), L"\r\n\r\nOnly for belarusian Orbicel.");
    EXPECT_EQ(Form5->ProgressBar1->Width(), 225);
    EXPECT_EQ(Form5->ProgressBar1->Height(), 13);
    EXPECT_EQ(Form5->ProgressBar1->Max(), 100);
    EXPECT_TRUE(GetWindowLongPtrW(Form5->ProgressBar1->Handle(), GWL_STYLE) & PBS_SMOOTH);
}

// ---- The message counter and the memo's limit.

TEST_F(Windows, RemainingCountsALineBreakAsTwo) {
    Type(Form1->MMessage, L"a\rb");
    EXPECT_EQ(Form1->MMessage->Text(), L"a\r\nb");
    EXPECT_EQ(Form1->LRemain->Caption(), L"156");
    Type(Form1->MMessage, L"\x0416");
    EXPECT_EQ(Form1->LRemain->Caption(), L"155");
}

TEST_F(Windows, MemoStopsAtTheLimitAsTheCounterCounts) {
    Type(Form1->MMessage, std::wstring(158, L'x'));
    EXPECT_EQ(Form1->LRemain->Caption(), L"2");
    // A line break needs two places: it fits exactly, and nothing fits after it.
    Type(Form1->MMessage, L"\ryz");
    EXPECT_EQ(Form1->MMessage->Text(), std::wstring(158, L'x') + L"\r\n");
    EXPECT_EQ(Form1->LRemain->Caption(), L"0");
    // A paste is cut at the limit too.
    Form1->MMessage->SetText(L"");
    SendMessageW(Form1->MMessage->Handle(), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(std::wstring(200, L'\x0439').c_str()));
    EXPECT_EQ(Form1->MMessage->Text().size(), 160u);
    EXPECT_EQ(Form1->LRemain->Caption(), L"0");
}

TEST_F(Windows, ClearEmptiesTheMessageAndFocusesIt) {
    Form1->Show();
    Type(Form1->MMessage, L"hello");
    Form1->BSend->SetFocus();
    SendMessageW(Form1->BClear->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->MMessage->Text(), L"");
    EXPECT_EQ(Form1->LRemain->Caption(), L"160");
    EXPECT_TRUE(Form1->MMessage->Focused());
    Form1->Hide();
}

// ---- The countdown.

TEST_F(Windows, CountdownFromSixtyToOneThenReady) {
    SendDelay = 60;
    Form1->BSend->SetEnabled(false);
    Form1->Timer1->SetEnabled(true);
    for (int shown = 60; shown >= 1; --shown) {
        Form1->Timer1Timer(Form1->Timer1);
        ASSERT_EQ(Form1->BSend->Caption(), L"Отправка возможна через " + std::to_wstring(shown) + L" сек.");
        ASSERT_FALSE(Form1->BSend->Enabled());
        ASSERT_TRUE(Form1->Timer1->Enabled());
    }
    EXPECT_EQ(SendDelay, 0);
    Form1->Timer1Timer(Form1->Timer1);
    EXPECT_EQ(Form1->BSend->Caption(), L"Послать SMS");
    EXPECT_TRUE(Form1->BSend->Enabled());
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(SendDelay, 60);
}

TEST_F(Windows, FirstTickAfterStartLeavesTheButtonReady) {
    Form1->Timer1->SetEnabled(true);
    Form1->Timer1Timer(Form1->Timer1);
    EXPECT_EQ(Form1->BSend->Caption(), L"Послать SMS");
    EXPECT_TRUE(Form1->BSend->Enabled());
    EXPECT_FALSE(Form1->Timer1->Enabled());
}

// ---- The number in the settings file.

TEST_F(Windows, NumberIsSavedOnCloseEvenWhenEmpty) {
    for (const wchar_t* number : {L"1234567", L"12a", L""}) {
        Form1->CBNumber->SetText(number);
        auto formClose = Form1->OnClose;
        // Keep the test's application running after the main window's close.
        Form1->OnClose = [&](TObject* s, TCloseAction& a) {
            formClose(s, a);
            a = caNone;
        };
        SendMessageW(Form1->Handle(), WM_CLOSE, 0, 0);
        Form1->OnClose = formClose;
        TIniFile ini(SettingsFile());
        EXPECT_EQ(ini.ReadString(L"Main", L"Number", L"(absent)"), number);
    }
    // A new file is UTF-16 with a byte-order mark.
    const std::wstring text = L"\xFEFF[Main]\r\nNumber=\r\n";
    EXPECT_EQ(ReadSettingsText(), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

struct Settings : AppFixture {};

TEST_F(Settings, NumberIsLoadedAtStart) {
    WriteSettings("[Main]\r\nNumber=7654321\r\n");
    CreateForms();
    EXPECT_EQ(Form1->CBNumber->Text(), L"7654321");
}

// ---- The proxy dialog.

struct ProxyState {
    bool c1, c2;
    bool hostGroup[5];  // LHost EHost LPort EPort CheckBox2
    bool identGroup[4]; // LUsername LPassword EUsername EPassword
};

ProxyState Read() {
    ProxyState s{Form2->CheckBox1->Checked(),
                 Form2->CheckBox2->Checked(),
                 {Form2->LHost->Enabled(), Form2->EHost->Enabled(), Form2->LPort->Enabled(), Form2->EPort->Enabled(),
                  Form2->CheckBox2->Enabled()},
                 {Form2->LUsername->Enabled(), Form2->LPassword->Enabled(), Form2->EUsername->Enabled(),
                  Form2->EPassword->Enabled()}};
    return s;
}

// The rule: the host group is enabled exactly when CheckBox1 is checked; the identification group
// exactly when both are.
::testing::AssertionResult RuleHolds() {
    ProxyState s = Read();
    for (int i = 0; i < 5; ++i)
        if (s.hostGroup[i] != s.c1) return ::testing::AssertionFailure() << "host group control " << i;
    for (int i = 0; i < 4; ++i)
        if (s.identGroup[i] != (s.c1 && s.c2)) return ::testing::AssertionFailure() << "identification control " << i;
    return ::testing::AssertionSuccess();
}

void ClickBox(TCheckBox* box) {
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
}

std::string ProxyIni(int useProxy, int auth) {
    return "[ProxySettings]\r\nUseProxy=" + std::to_string(useProxy) + "\r\nAuthentication=" + std::to_string(auth) +
           "\r\nHost=proxy.local\r\nPort=3128\r\nUsername=ivan\r\nPassword=p@ss\r\n";
}

TEST_F(Settings, FirstRunWithoutAFile) {
    WriteSettings("");
    CreateForms();
    ProxyState s = Read();
    EXPECT_FALSE(s.c1);
    EXPECT_FALSE(s.c2);
    EXPECT_TRUE(RuleHolds());
    for (TEdit* e : {Form2->EHost, Form2->EPort, Form2->EUsername, Form2->EPassword})
        EXPECT_EQ(e->Text(), L"");
    ClickBox(Form2->CheckBox1);
    EXPECT_TRUE(Form2->CheckBox1->Checked());
    EXPECT_TRUE(RuleHolds());
    EXPECT_FALSE(Form2->EUsername->Enabled());
    ClickBox(Form2->CheckBox2);
    EXPECT_TRUE(RuleHolds());
    EXPECT_TRUE(Form2->EUsername->Enabled());
}

TEST_F(Settings, StoredSettingsOpenTheDialogByTheRule) {
    for (auto [useProxy, auth] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}}) {
        WriteSettings(ProxyIni(useProxy, auth));
        CreateForms();
        EXPECT_EQ(Form2->CheckBox1->Checked(), useProxy == 1);
        EXPECT_EQ(Form2->CheckBox2->Checked(), auth == 1);
        EXPECT_TRUE(RuleHolds()) << useProxy << auth;
        EXPECT_EQ(Form2->EHost->Text(), L"proxy.local");
        EXPECT_EQ(Form2->EPort->Text(), L"3128");
        EXPECT_EQ(Form2->EUsername->Text(), L"ivan");
        EXPECT_EQ(Form2->EPassword->Text(), L"p@ss");
        EXPECT_EQ(SendMessageW(Form2->EPassword->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
        // Every sequence of clicks keeps the rule (a click on a disabled box does nothing).
        for (int seq = 0; seq < 64; ++seq) {
            for (int k = 0; k < 6; ++k)
                ClickBox((seq >> k) & 1 ? Form2->CheckBox2 : Form2->CheckBox1);
            ASSERT_TRUE(RuleHolds()) << "sequence " << seq;
        }
        TearDown();
    }
}

TEST_F(Settings, UseProxyOffWithAuthenticationOn) {
    WriteSettings(ProxyIni(0, 1));
    CreateForms();
    // Checked but disabled; the identification edits disabled, their labels enabled.
    EXPECT_FALSE(Form2->CheckBox1->Checked());
    EXPECT_TRUE(Form2->CheckBox2->Checked());
    EXPECT_FALSE(Form2->CheckBox2->Enabled());
    EXPECT_FALSE(Form2->EUsername->Enabled());
    EXPECT_FALSE(Form2->EPassword->Enabled());
    EXPECT_TRUE(Form2->LUsername->Enabled());
    EXPECT_TRUE(Form2->LPassword->Enabled());
    EXPECT_FALSE(Form2->EHost->Enabled());
    // The first click on CheckBox1 restores the rule, and it holds from then on.
    ClickBox(Form2->CheckBox1);
    EXPECT_TRUE(RuleHolds());
    EXPECT_TRUE(Form2->EUsername->Enabled());
    ClickBox(Form2->CheckBox1);
    EXPECT_TRUE(RuleHolds());
    EXPECT_FALSE(Form2->LUsername->Enabled());
}

TEST_F(Settings, UncheckingTheProxyDisablesBothGroups) {
    WriteSettings(ProxyIni(1, 1));
    CreateForms();
    ClickBox(Form2->CheckBox1);
    ProxyState s = Read();
    for (bool b : s.hostGroup)
        EXPECT_FALSE(b);
    for (bool b : s.identGroup)
        EXPECT_FALSE(b);
    EXPECT_TRUE(Form2->CheckBox2->Checked());
}

TEST_F(Settings, OnlyOkWritesTheProxySettings) {
    WriteSettings("[Main]\r\nNumber=1234567\r\n");
    CreateForms();
    ClickBox(Form2->CheckBox1);
    ClickBox(Form2->CheckBox2);
    Form2->EHost->SetText(L"10.0.0.1");
    Form2->EPort->SetText(L"8080");
    Form2->EUsername->SetText(L"user");
    Form2->EPassword->SetText(L"pa ss");

    // The close box keeps the edits in the dialog but writes nothing.
    PostMessageW(Form2->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Form2->ShowModal(), mrCancel);
    EXPECT_EQ(ReadSettingsText(), "[Main]\r\nNumber=1234567\r\n");
    EXPECT_EQ(Form2->EHost->Text(), L"10.0.0.1");

    // "Ok" writes the six keys in order and closes with the OK result.
    PostMessageW(Form2->BOk->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form2->ShowModal(), mrOk);
    EXPECT_EQ(ReadSettingsText(), "[Main]\r\nNumber=1234567\r\n[ProxySettings]\r\nUseProxy=1\r\nAuthentication=1\r\n"
                                  "Host=10.0.0.1\r\nPort=8080\r\nUsername=user\r\nPassword=pa ss\r\n");

    ClickBox(Form2->CheckBox1);
    PostMessageW(Form2->BOk->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form2->ShowModal(), mrOk);
    TIniFile ini(SettingsFile());
    EXPECT_EQ(ini.ReadString(L"ProxySettings", L"UseProxy", L""), L"0");
    EXPECT_EQ(ini.ReadString(L"ProxySettings", L"Authentication", L""), L"1");
}

} // namespace
