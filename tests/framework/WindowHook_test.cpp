// Window hooks on real BUTTON and EDIT windows, raw or made by a framework control (which hooks
// them first), in one scenario: owners of two kinds on one window, a foreign subclass put on top
// by hand, hooks taken off under it and put on again, the class procedure as the last way on, and
// WM_NCDESTROY.
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/WindowHook.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr UINT kThrow = WM_APP + 50, kForeignPing = WM_APP + 60;

// An owner kind per N: answers its own ping, throws on kThrow, passes the rest on.
template <int N> struct TOwner {
    static constexpr UINT kPing = WM_APP + N;
    int seen = 0, ncDestroys = 0;
    LRESULT Proc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        ++seen;
        if (msg == kPing) return 0x100 + N;
        if (msg == kThrow) throw std::runtime_error("owner fault");
        if (msg == WM_NCDESTROY) ++ncDestroys;
        return hook.CallPrevious(msg, wParam, lParam);
    }
    using THook = TWindowHookOf<TOwner, &TOwner::Proc>;
    THook hook;
};
using TOwnerA = TOwner<1>;
using TOwnerB = TOwner<2>;

// A subclass put on by hand, as a program we do not know would.
struct TForeign {
    HWND hwnd = nullptr;
    WNDPROC prev = nullptr;
    int calls = 0;
    int linksAtNcDestroy = -1; // hook links alive once the last message has gone down
    static TForeign* current;
    void On(HWND h, WNDPROC below = nullptr) {
        hwnd = h;
        current = this;
        prev = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        if (below) prev = below;
    }
    void Off() { SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev)); }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
        TForeign& f = *current;
        ++f.calls;
        if (msg == kForeignPing) return 0x77;
        const LRESULT r = CallWindowProcW(f.prev, h, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) f.linksAtNcDestroy = TWindowHook::Links();
        return r;
    }
};
TForeign* TForeign::current = nullptr;

LONG_PTR ProcOf(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
}

// The class still answers through the whole chain: a check box keeps its check, an edit its text.
bool ClassAnswers(HWND hwnd, bool button) {
    if (button) {
        SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        const bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
        return checked && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
    }
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"hooked"));
    wchar_t text[16] = {};
    return SendMessageW(hwnd, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)) == 6 && std::wstring(text) == L"hooked";
}

struct THost {
    const char* name;
    bool button;    // BUTTON (an auto check box), or EDIT
    bool framework; // made by a framework control
};
const THost kHosts[] = {
    {"raw BUTTON", true, false},
    {"raw EDIT", false, false},
    {"framework check box", true, true},
    {"framework edit", false, true},
};

struct WindowHook : ::testing::Test {
    void SetUp() override {
        Application->Initialize();
        links = TWindowHook::Links();
        form = std::make_unique<TForm>(nullptr, L"THookTestForm");
    }
    void TearDown() override {
        form.reset();
        EXPECT_EQ(TWindowHook::Links(), links) << "a hook link was leaked";
    }
    HWND Make(const THost& host) {
        control = nullptr;
        if (host.framework && host.button) control = new TCheckBox(form.get(), form.get());
        if (host.framework && !host.button) control = new TEdit(form.get(), form.get());
        if (control) return control->Handle();
        return CreateWindowExW(0, host.button ? L"BUTTON" : L"EDIT", L"",
                               WS_CHILD | (host.button ? BS_AUTOCHECKBOX : 0), 0, 0, 80, 20, form->Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    void Destroy(HWND h) {
        if (control)
            delete control;
        else
            DestroyWindow(h);
    }
    std::unique_ptr<TForm> form;
    TWinControl* control = nullptr;
    int links = 0;
};

TEST_F(WindowHook, OwnersShareAWindowLetGoUnderALaterSubclassAndLeaveWithIt) {
    for (const THost& host : kHosts) {
        SCOPED_TRACE(host.name);
        const HWND h = Make(host);
        ASSERT_TRUE(h);
        const LONG_PTR original = ProcOf(h);
        const int base = TWindowHook::Links();
        int controlSaw = 0; // messages the framework's control, under every hook, handled
        if (control) {
            const TWndMethod below = control->WindowProc;
            control->WindowProc = [&controlSaw, below](TMessage& m) {
                ++controlSaw;
                below(m);
            };
        }
        TOwnerA a, second;
        TOwnerB b;
        ASSERT_TRUE(a.hook.Install(h, &a));
        ASSERT_TRUE(b.hook.Install(h, &b));
        EXPECT_FALSE(second.hook.Install(h, &second)) << "one owner per kind and window";

        // Each kind finds its own owner; the framework's control keeps its own.
        EXPECT_EQ(TOwnerA::THook::OwnerOf(h), &a);
        EXPECT_EQ(TOwnerB::THook::OwnerOf(h), &b);
        EXPECT_EQ(TWinControl::FromHandle(h), control);
        EXPECT_EQ(SendMessageW(h, TOwnerA::kPing, 0, 0), 0x101) << "B passes A's ping down";
        EXPECT_EQ(SendMessageW(h, TOwnerB::kPing, 0, 0), 0x102);
        EXPECT_EQ(SendMessageW(h, kThrow, 0, 0), 0) << "a fault stays in the procedure";
        EXPECT_TRUE(ClassAnswers(h, host.button));

        // Taken off under a foreign subclass: theirs stays, the owners see nothing more, and their
        // chain, which runs through both our procedures, reaches what we replaced.
        TForeign foreign;
        foreign.On(h);
        const LONG_PTR theirs = ProcOf(h);
        b.hook.Remove();
        a.hook.Remove();
        EXPECT_EQ(ProcOf(h), theirs);
        EXPECT_EQ(TOwnerA::THook::OwnerOf(h), nullptr);
        EXPECT_EQ(TOwnerB::THook::OwnerOf(h), nullptr);
        a.seen = b.seen = foreign.calls = controlSaw = 0;
        EXPECT_TRUE(ClassAnswers(h, host.button));
        EXPECT_EQ(SendMessageW(h, kForeignPing, 0, 0), 0x77);
        EXPECT_EQ(a.seen + b.seen, 0);
        EXPECT_GT(foreign.calls, 0);
        EXPECT_EQ(controlSaw > 0, control != nullptr) << "the procedure replaced, not the class's";

        // Put on again while our procedure is still in their chain: no second copy of it.
        ASSERT_TRUE(b.hook.Install(h, &b));
        EXPECT_EQ(ProcOf(h), theirs);
        b.seen = 0;
        EXPECT_EQ(SendMessageW(h, TOwnerB::kPing, 0, 0), 0x102);
        EXPECT_EQ(b.seen, 1);
        b.hook.Remove();

        // The foreign subclass goes: the next message takes our left procedures off.
        foreign.Off();
        SendMessageW(h, WM_NULL, 0, 0);
        EXPECT_EQ(ProcOf(h), original);
        EXPECT_EQ(TWindowHook::Links(), base);

        // Nobody on top: Remove puts the procedure back at once.
        ASSERT_TRUE(a.hook.Install(h, &a));
        EXPECT_NE(ProcOf(h), original);
        a.hook.Remove();
        EXPECT_EQ(ProcOf(h), original);

        // Our procedure called on a window it has no link on: the class answers, not DefWindowProcW.
        if (!control) {
            foreign.On(h, &TOwnerA::THook::Proc);
            EXPECT_TRUE(ClassAnswers(h, host.button));
            SetWindowLongPtrW(h, GWLP_WNDPROC, original);
        }

        // The last message, A on, B left in the chain under a foreign subclass: each hook is off
        // before the window is gone, seen from above, whether its owner let go or not.
        ASSERT_TRUE(a.hook.Install(h, &a));
        ASSERT_TRUE(b.hook.Install(h, &b));
        foreign.On(h);
        b.hook.Remove();
        const int linksLeft = base - (control ? 1 : 0); // the framework's control lets go as well
        Destroy(h);
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(a.ncDestroys, 1);
        EXPECT_EQ(b.ncDestroys, 0);
        EXPECT_FALSE(a.hook.Hooked());
        EXPECT_EQ(foreign.linksAtNcDestroy, linksLeft);
    }
}

} // namespace
