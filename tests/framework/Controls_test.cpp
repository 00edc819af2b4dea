// The window framework under Wine: message routing through WindowProc, subclassing and its undoing,
// check boxes, memos, forms (sizes, modal loop), keyboard navigation, menus and INI files.
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct TestForm : TForm {
    explicit TestForm(TComponent* owner) : TForm(owner, L"TTestForm") {}
};

struct Framework : ::testing::Test {
    void SetUp() override {
        Application->Initialize();
        form = std::make_unique<TestForm>(nullptr);
        form->SetClientSize(300, 200);
    }
    std::unique_ptr<TestForm> form;
};

void PostKey(HWND hwnd, WPARAM vk) {
    PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
    PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

TEST_F(Framework, WindowProcCanBeReplacedAndPassesOn) {
    auto* edit = new TEdit(form.get(), form.get());
    std::vector<UINT> seen;
    TWndMethod previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_GETTEXTLENGTH) {
            m.Result = 42;
            return;
        }
        previous(m);
    };
    edit->SetText(L"abc");
    EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 42);
    edit->WindowProc = previous;
    EXPECT_EQ(edit->Text(), L"abc");
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SETTEXT)), seen.end());
    EXPECT_EQ(TWinControl::FromHandle(edit->Handle()), edit);
}

TEST_F(Framework, SubclassingIsUndoneWhenTheWindowGoes) {
    auto* button = new TButton(form.get(), form.get());
    HWND hwnd = button->Handle();
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, L"BUTTON", &wc));
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)), wc.lpfnWndProc);
    // Watch the last message: by then the class's own procedure must be back.
    WNDPROC atNcDestroy = nullptr;
    TWndMethod previous = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_DESTROY) atNcDestroy = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
        previous(m);
    };
    DestroyWindow(hwnd);
    EXPECT_NE(atNcDestroy, nullptr);
    EXPECT_EQ(button->Handle(), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(hwnd), nullptr);
    delete button; // a control whose window is gone can still be freed
}

TEST_F(Framework, CheckBoxClickAndCheckedFireOnClickOnce) {
    auto* box = new TCheckBox(form.get(), form.get());
    box->SetBounds(10, 10, 120, 17); // a click lands inside the button
    int clicks = 0;
    box->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, box);
        ++clicks;
    };
    box->SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box->Checked());
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box->Checked());
    box->SetEnabled(false);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box->Checked());
}

TEST_F(Framework, MemoLimitAndChangeEvents) {
    auto* memo = new TMemo(form.get(), form.get());
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->SetMaxLength(5);
    for (wchar_t c : std::wstring(L"ab\rcdef"))
        SendMessageW(memo->Handle(), WM_CHAR, c, 1);
    // The line break takes two of the five places.
    EXPECT_EQ(memo->Text(), L"ab\r\nc");
    EXPECT_GE(changes, 4);
    memo->SetMaxLength(0);
    int before = changes;
    memo->SetLines({L"one", L"", L"three"});
    EXPECT_EQ(memo->Text(), L"one\r\n\r\nthree");
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(memo->Lines(), (std::vector<std::wstring>{L"one", L"", L"three"}));
}

TEST_F(Framework, ClientSizeWithAndWithoutMenuAndBorders) {
    auto* menu = new TMainMenu(form.get());
    menu->Items->Add(L"File")->Add(L"Exit");
    form->SetMenu(menu);
    form->SetClientSize(331, 216);
    EXPECT_EQ(form->ClientWidth(), 331);
    EXPECT_EQ(form->ClientHeight(), 216);
    form->SetBorderStyle(TFormBorderStyle::Dialog);
    EXPECT_EQ(form->ClientWidth(), 331);
    EXPECT_EQ(form->ClientHeight(), 216);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

// A status bar stays on the form's bottom edge however the form's size changes: resized, and scaled
// to another DPI (where the bar would otherwise keep the bottom of the size before).
TEST_F(Framework, StatusBarFollowsTheFormsBottomEdge) {
    auto* bar = new TStatusBar(form.get(), form.get());
    bar->AddPanel(L"Готово", 100);
    auto bottomGap = [&] {
        RECT r{};
        GetWindowRect(bar->Handle(), &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return form->ClientHeight() - r.bottom;
    };
    EXPECT_EQ(bottomGap(), 0);
    form->SetClientSize(400, 300);
    EXPECT_EQ(bottomGap(), 0);
    form->ScaleTo(192);
    EXPECT_EQ(form->ClientHeight(), 600);
    EXPECT_EQ(bottomGap(), 0);
    form->ScaleTo(96);
    EXPECT_EQ(bottomGap(), 0);
}

TEST_F(Framework, MenuCommandsAndHotkeys) {
    auto* menu = new TMainMenu(form.get());
    int exits = 0;
    TMenuItem* file = menu->Items->Add(L"Файл");
    TMenuItem* exit = file->Add(L"Выход", [&](TObject*) { ++exits; });
    file->Add(L"Вставить");
    file->Add(L"&Save as");
    form->SetMenu(menu);
    HMENU popup = GetSubMenu(GetMenu(form->Handle()), 0);
    wchar_t text[32];
    GetMenuStringW(popup, 1, text, 32, MF_BYPOSITION);
    // "В" is taken by the first item, so the second gets its next free letter.
    EXPECT_STREQ(text, L"В&ставить");
    GetMenuStringW(popup, 2, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Save as");
    SendMessageW(form->Handle(), WM_COMMAND, exit->Command(), 0);
    EXPECT_EQ(exits, 1);
    // Dialog commands from the keyboard (Enter, Escape) reach no item.
    SendMessageW(form->Handle(), WM_COMMAND, IDOK, 0);
    SendMessageW(form->Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(exits, 1);
    std::wstring used;
    EXPECT_EQ(AddHotkey(L"a&&b", used), L"&a&&b");
    EXPECT_EQ(AddHotkey(L"!?", used), L"!?");
}

// Items changed after the menu was attached: the form shows a menu built anew (hidden items left
// out, disabled ones greyed, the old menu destroyed) and commands still reach their items.
TEST_F(Framework, MenuItemsChangedAfterAttaching) {
    auto* menu = new TMainMenu(form.get());
    std::vector<std::wstring> clicked;
    auto click = [&](TObject* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Caption); };
    TMenuItem* file = menu->Items->Add(L"&File");
    file->Add(L"&Open", click);
    file->Add(L"&Close", click);
    menu->Items->Add(L"&Help", click);
    form->SetMenu(menu);
    const HMENU before = GetMenu(form->Handle());
    struct TCase {
        const char* What;
        std::function<void()> Change;
        std::vector<std::wstring> Bar; // as the system's bar lists it, "(x)" greyed
        std::wstring Submenu;          // the File menu's items, "|" between
    };
    auto barOf = [](HMENU m) {
        std::vector<std::wstring> items;
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(m, UINT(i), text, 64, MF_BYPOSITION);
            const bool grey = GetMenuState(m, UINT(i), MF_BYPOSITION) & MF_GRAYED;
            items.push_back(grey ? L"(" + std::wstring(text) + L")" : std::wstring(text));
        }
        return items;
    };
    const std::vector<TCase> cases{
        {"renamed", [&] { file->Items(1)->Caption = L"&Quit"; }, {L"&File", L"&Help"}, L"&Open|&Quit"},
        {"hidden", [&] { file->Items(0)->Visible = false; }, {L"&File", L"&Help"}, L"&Quit"},
        {"disabled", [&] { menu->Items->Items(1)->Enabled = false; }, {L"&File", L"(&Help)"}, L"&Quit"},
        {"added and removed",
         [&] {
             file->Delete(0);
             file->Add(L"&Print", click);
             menu->Items->Items(1)->Enabled = true;
         },
         {L"&File", L"&Help"},
         L"&Quit|&Print"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        c.Change();
        menu->Changed();
        const HMENU shown = GetMenu(form->Handle());
        ASSERT_EQ(shown, menu->Handle());
        EXPECT_EQ(barOf(shown), c.Bar);
        std::wstring sub;
        for (const std::wstring& t : barOf(GetSubMenu(shown, 0)))
            sub += (sub.empty() ? L"" : L"|") + t;
        EXPECT_EQ(sub, c.Submenu);
    }
    EXPECT_FALSE(IsMenu(before)) << "the replaced menu is destroyed";
    for (TMenuItem* item : {file->Items(0), file->Items(1), menu->Items->Items(1)})
        SendMessageW(form->Handle(), WM_COMMAND, item->Command(), 0);
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"&Quit", L"&Print", L"&Help"}));
}

// Alt with a character goes first to the form that holds the focus, which may take it.
TEST_F(Framework, DialogCharReachesTheFormHoldingTheFocus) {
    auto* edit = new TEdit(form.get(), form.get());
    std::vector<WPARAM> seen;
    const TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR) {
            seen.push_back(m.WParam);
            m.Result = m.WParam == L'x';
            return;
        }
        previous(m);
    };
    form->Show();
    edit->SetFocus();
    PostMessageW(edit->Handle(), WM_SYSCHAR, L'x', LPARAM(1) << 29);
    Application->ProcessMessages();
    EXPECT_EQ(seen, std::vector<WPARAM>{L'x'});
    form->WindowProc = previous;
    form->Hide();
}

TEST_F(Framework, TabEnterAndMemoKeys) {
    auto* edit = new TEdit(form.get(), form.get());
    auto* memo = new TMemo(form.get(), form.get());
    auto* ok = new TButton(form.get(), form.get());
    auto* other = new TButton(form.get(), form.get());
    ok->SetBounds(0, 90, 80, 25);
    other->SetBounds(100, 90, 80, 25);
    memo->SetBounds(0, 30, 100, 50);
    int okClicks = 0, otherClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    other->OnClick = [&](TObject*) { ++otherClicks; };
    other->SetTabOrder(0);
    form->Show();
    other->SetFocus();
    // Tab follows the tab order: other, edit, memo, ok; Tab in the memo moves on.
    PostKey(GetFocus(), VK_TAB);
    Application->ProcessMessages();
    EXPECT_TRUE(edit->Focused());
    PostKey(GetFocus(), VK_TAB);
    Application->ProcessMessages();
    EXPECT_TRUE(memo->Focused());
    PostMessageW(memo->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Application->ProcessMessages();
    EXPECT_EQ(memo->Text(), L"\r\n");
    PostKey(GetFocus(), VK_TAB);
    Application->ProcessMessages();
    EXPECT_TRUE(ok->Focused());
    EXPECT_EQ(memo->Text(), L"\r\n");
    // Enter presses the focused button, and only that one.
    PostMessageW(ok->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Application->ProcessMessages();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(otherClicks, 0);
    form->Hide();
}

TEST_F(Framework, ShowModalRunsUntilAModalResult) {
    auto owner = std::make_unique<TestForm>(nullptr);
    owner->Show();
    auto* ok = new TBitBtn(form.get(), form.get());
    ok->SetBounds(10, 10, 80, 25);
    ok->ModalResult = mrOk;
    bool ownerDisabled = false, closeCalled = false;
    ok->OnClick = [&](TObject*) { ownerDisabled = !IsWindowEnabled(owner->Handle()); };
    form->OnClose = [&](TObject*, TCloseAction& a) {
        closeCalled = true;
        EXPECT_EQ(a, caHide);
    };
    PostMessageW(ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(closeCalled);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    // The close box ends it with mrCancel; OnClose may refuse.
    int refusals = 1;
    form->OnClose = [&](TObject*, TCloseAction& a) {
        if (refusals-- > 0) a = caNone;
    };
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(refusals, -1);
}

TEST_F(Framework, GlyphButtonDrawsItselfAndStillClicks) {
    auto* b = new TBitBtn(form.get(), form.get());
    b->SetBounds(10, 10, 100, 30);
    b->SetCaption(L"Ok");
    b->SetGlyph(static_cast<HICON>(CopyImage(LoadIconW(nullptr, IDI_INFORMATION), IMAGE_ICON, 16, 16, 0)));
    EXPECT_EQ(GetWindowLongPtrW(b->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    UpdateWindow(form->Handle());
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    form->Hide();
}

// ---- INI files.

struct Ini : ::testing::Test {
    std::wstring path;
    void SetUp() override {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        path = std::wstring(dir) + L"tellit_ini_test.ini";
        _wremove(path.c_str());
    }
    void TearDown() override {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
        _wremove(path.c_str());
    }
    std::string FileText() {
        FILE* f = _wfopen(path.c_str(), L"rb");
        if (!f) return "";
        std::string s;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            s.append(buf, n);
        fclose(f);
        return s;
    }
};

TEST_F(Ini, MissingFileGivesDefaults) {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(L"Main", L"Number", L"def"), L"def");
    EXPECT_EQ(ini.ReadInteger(L"Main", L"N", -5), -5);
    EXPECT_TRUE(ini.ReadBool(L"Main", L"B", true));
    EXPECT_FALSE(ini.ReadBool(L"Main", L"B", false));
}

TEST_F(Ini, RoundTripsAndTheFileItWrites) {
    {
        TIniFile ini(path);
        ini.WriteString(L"Main", L"Number", L"1234567");
        ini.WriteBool(L"ProxySettings", L"UseProxy", true);
        ini.WriteBool(L"ProxySettings", L"Authentication", false);
        ini.WriteInteger(L"ProxySettings", L"Count", -42);
        ini.WriteString(L"ProxySettings", L"Empty", L"");
        ini.WriteString(L"ProxySettings", L"Long", std::wstring(1000, L'z'));
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(L"Main", L"Number", L""), L"1234567");
    EXPECT_TRUE(ini.ReadBool(L"ProxySettings", L"UseProxy", false));
    EXPECT_FALSE(ini.ReadBool(L"ProxySettings", L"Authentication", true));
    EXPECT_EQ(ini.ReadInteger(L"ProxySettings", L"Count", 0), -42);
    EXPECT_EQ(ini.ReadString(L"ProxySettings", L"Empty", L"x"), L"");
    EXPECT_EQ(ini.ReadString(L"ProxySettings", L"Long", L""), std::wstring(1000, L'z'));
    // A file the object creates is UTF-16 LE with a byte-order mark.
    const std::wstring start = L"\xFEFF[Main]\r\nNumber=1234567\r\n[ProxySettings]\r\nUseProxy=1\r\nAuthentication=0";
    EXPECT_EQ(FileText().substr(0, start.size() * 2),
              std::string(reinterpret_cast<const char*>(start.data()), start.size() * 2));
}

TEST_F(Ini, BooleansAndIntegersAsStoredByHand) {
    {
        FILE* f = _wfopen(path.c_str(), L"wb");
        ASSERT_TRUE(f);
        fputs("[S]\r\nTwo=2\r\nZero=0\r\nWord=yes\r\nHex=$1F\r\nSpaced= 7\r\n", f);
        fclose(f);
    }
    TIniFile ini(path);
    EXPECT_TRUE(ini.ReadBool(L"S", L"Two", false));
    EXPECT_FALSE(ini.ReadBool(L"S", L"Zero", true));
    EXPECT_TRUE(ini.ReadBool(L"S", L"Word", true));
    EXPECT_FALSE(ini.ReadBool(L"S", L"Word", false));
    EXPECT_EQ(ini.ReadInteger(L"S", L"Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger(L"S", L"Spaced", 0), 7);
}

// The scoped handles: a region freed once, or handed over by Release and left alone; nested clip
// selections each put back the clipping they found (none at the end); a paint DC from BeginPaint
// validates the window, one given in wParam is only borrowed.
TEST_F(Framework, ScopedHandlesFreeOnceOrHandOver) {
    HRGN kept = nullptr, freed = nullptr;
    {
        TRgn owner(CreateRectRgn(0, 0, 5, 5)), moved(CreateRectRgn(0, 0, 6, 6));
        freed = moved.Get();
        TRgn taker(std::move(moved));
        kept = owner.Release();
        EXPECT_FALSE(owner);
        EXPECT_EQ(taker.Get(), freed);
    }
    EXPECT_EQ(GetObjectType(kept), DWORD(OBJ_REGION));
    EXPECT_EQ(GetObjectType(freed), 0u);
    DeleteObject(kept);

    TMemoryDC dc(nullptr);
    TBitmapHandle bitmap(CreateCompatibleBitmap(dc.Get(), 50, 50));
    TSelectObject select(dc.Get(), bitmap.Get());
    auto clipBox = [&] {
        TRgn probe(CreateRectRgn(0, 0, 0, 0));
        RECT r{-1, -1, -1, -1};
        if (GetClipRgn(dc.Get(), probe.Get()) == 1) GetRgnBox(probe.Get(), &r);
        return r;
    };
    {
        TRgn outer(CreateRectRgn(10, 10, 40, 40));
        TSelectClipRgn a(dc.Get(), outer.Get());
        {
            TRgn inner(CreateRectRgn(20, 20, 30, 30));
            TSelectClipRgn b(dc.Get(), inner.Get());
            EXPECT_EQ(clipBox().left, 20);
        }
        const RECT r = clipBox();
        EXPECT_TRUE(r.left == 10 && r.top == 10 && r.right == 40 && r.bottom == 40);
    }
    EXPECT_EQ(clipBox().left, -1);

    form->Show();
    const HWND hwnd = form->Handle();
    InvalidateRect(hwnd, nullptr, FALSE);
    {
        TPaintDC borrowed(hwnd, reinterpret_cast<WPARAM>(dc.Get()));
        EXPECT_EQ(borrowed.Get(), dc.Get());
        EXPECT_EQ(borrowed.Paint().rcPaint.right, 300);
    }
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));
    {
        TPaintDC own(hwnd);
        EXPECT_NE(own.Get(), nullptr);
    }
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
}

} // namespace
