#pragma once

// The one way this program subclasses a window: a procedure of ours is put in front of the
// window's procedure for an owner object, finds that owner from the window, and passes on what
// the owner does not handle.
//
// Each hook kind (an owner class and the member that takes its messages) has its own procedure
// (TWindowHookOf<...>::Proc) and its own window property, so several owners of different kinds can
// hook one window and each finds its own. The property points to a small link that holds the
// owner and the procedure we replaced; the link outlives the hook when it has to:
//  - Remove puts the replaced procedure back only while the window's procedure is still ours. When
//    someone subclassed after us, their procedure stays, and the link stays on the window without
//    an owner: messages they pass on through us go on to the procedure we replaced. The link goes
//    at the first message after their subclass is gone, or with WM_NCDESTROY. An owner of the kind
//    installing again meanwhile takes the link over: our procedure never stands twice in a chain.
//  - A message reaching our procedure on a window with no link at all goes to the window class's
//    own procedure (GetClassLongPtrW(GCLP_WNDPROC), callable through CallWindowProcW for the
//    system classes under Wine as on Windows), never DefWindowProcW: a BUTTON or an EDIT keeps
//    answering.
//  - After the owner has seen WM_NCDESTROY the hook takes itself off, if the owner has not.
//  - No exception leaves the procedure: a fault in the owner answers 0.
//  - The owner (and the hook inside it) may be freed by its own message: after the call only the
//    window's property is read.
#include <windows.h>

class TWindowHook {
public:
    TWindowHook() = default;
    // Takes the hook off (see Remove).
    ~TWindowHook() { Remove(); }
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    // The owner is hooked to a window (installed or linked, not yet removed).
    bool Hooked() const { return link_ != nullptr; }
    // The window, and the procedure replaced there (nullptr when linked only). Both are kept after
    // Remove: a call still on the stack goes on through them.
    HWND Window() const { return hwnd_; }
    WNDPROC Previous() const { return prev_; }
    // Passes a message on to the replaced procedure; DefWindowProcW for a window whose class
    // procedure is the owner's own (linked only).
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
    // The owner lets go of the window; the replaced procedure is put back while it is still ours.
    void Remove();

    // What a message reaching a hook procedure goes on to when the hook is gone: prev, or when that
    // is unknown the window class's own procedure.
    static LRESULT CallNext(WNDPROC prev, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Links alive in the process, owned or left behind (for leak checks).
    static int Links();

protected:
    using TCallOwner = LRESULT (*)(void* owner, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // One hook kind: its procedure, the call into its owner and the name of its window property.
    struct TKind {
        WNDPROC proc;
        TCallOwner call;
        wchar_t prop[40];
    };
    static TKind MakeKind(WNDPROC proc, TCallOwner call);

    // Puts kind.proc in front of the window's procedure for owner. False (and nothing changed) when
    // an owner of this kind has the window already or the procedure cannot be set.
    bool Install(const TKind& kind, HWND hwnd, void* owner);
    // Links owner to a window whose class procedure is its own, without subclassing.
    bool Link(const TKind& kind, HWND hwnd, void* owner);
    static void* OwnerOf(const TKind& kind, HWND hwnd);
    // The body of every hook procedure.
    static LRESULT Run(const TKind& kind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

private:
    struct TLink;
    bool Attach(const TKind& kind, HWND hwnd, void* owner, bool subclass);
    static TLink* Find(const TKind& kind, HWND hwnd);
    // Takes a link off its window: the replaced procedure back where ours is the window's, the
    // property removed, the link freed.
    static void Drop(TLink* link);
    static void Free(TLink* link);

    TLink* link_ = nullptr;
    HWND hwnd_ = nullptr;
    WNDPROC prev_ = nullptr;
};

// A hook of one kind: Owner's Method takes the window's messages. Method is an ordinary member
// function; the window procedure is the static Proc, one per instantiation.
template <class Owner, LRESULT (Owner::*Method)(HWND, UINT, WPARAM, LPARAM)> class TWindowHookOf : public TWindowHook {
public:
    bool Install(HWND hwnd, Owner* owner) { return TWindowHook::Install(Kind(), hwnd, owner); }
    bool Link(HWND hwnd, Owner* owner) { return TWindowHook::Link(Kind(), hwnd, owner); }
    // The owner of this kind hooked to hwnd, or nullptr.
    static Owner* OwnerOf(HWND hwnd) { return static_cast<Owner*>(TWindowHook::OwnerOf(Kind(), hwnd)); }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return Run(Kind(), hwnd, msg, wParam, lParam);
    }

private:
    static LRESULT CallOwner(void* owner, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return (static_cast<Owner*>(owner)->*Method)(hwnd, msg, wParam, lParam);
    }
    static const TKind& Kind() {
        static const TKind kind = MakeKind(&Proc, &CallOwner);
        return kind;
    }
};
