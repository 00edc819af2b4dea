#include "framework/WindowHook.h"

// What the window property of a hook points to.
struct TWindowHook::TLink {
    const TKind* kind;
    HWND hwnd;
    WNDPROC prev;      // the procedure replaced; nullptr when linked only
    void* owner;       // nullptr once the owner has let go
    TWindowHook* hook; // the owner's hook while it holds the link
    bool subclassed;
};

namespace {
int gLinks = 0;
} // namespace

int TWindowHook::Links() {
    return gLinks;
}

TWindowHook::TKind TWindowHook::MakeKind(WNDPROC proc, TCallOwner call) {
    TKind kind{proc, call, {}};
    // Named after the procedure: as distinct as the procedures are.
    const wchar_t prefix[] = L"TellitHook";
    int n = 0;
    for (const wchar_t c : prefix)
        if (c) kind.prop[n++] = c;
    const auto value = reinterpret_cast<UINT_PTR>(proc);
    for (int shift = int(sizeof value * 8) - 4; shift >= 0; shift -= 4)
        kind.prop[n++] = L"0123456789abcdef"[(value >> shift) & 0xF];
    kind.prop[n] = 0;
    return kind;
}

TWindowHook::TLink* TWindowHook::Find(const TKind& kind, HWND hwnd) {
    return hwnd ? static_cast<TLink*>(GetPropW(hwnd, kind.prop)) : nullptr;
}

void* TWindowHook::OwnerOf(const TKind& kind, HWND hwnd) {
    const TLink* link = Find(kind, hwnd);
    return link ? link->owner : nullptr;
}

bool TWindowHook::Install(const TKind& kind, HWND hwnd, void* owner) {
    return Attach(kind, hwnd, owner, true);
}

bool TWindowHook::Link(const TKind& kind, HWND hwnd, void* owner) {
    return Attach(kind, hwnd, owner, false);
}

bool TWindowHook::Attach(const TKind& kind, HWND hwnd, void* owner, bool subclass) {
    if (!owner || !IsWindow(hwnd)) return false;
    Remove();
    TLink* link = Find(kind, hwnd);
    if (link) {
        // Left by an owner that let go while a later subclass still calls our procedure: the
        // procedure is in the chain already, and the new owner takes the link over.
        if (link->owner || !subclass) return false;
        link->owner = owner;
        link->hook = this;
    } else {
        link = new TLink{&kind, hwnd, nullptr, owner, this, subclass};
        ++gLinks;
        if (!SetPropW(hwnd, kind.prop, link)) {
            Free(link);
            return false;
        }
        if (subclass) {
            SetLastError(0);
            const LONG_PTR old = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kind.proc));
            if (!old && GetLastError()) {
                RemovePropW(hwnd, kind.prop);
                Free(link);
                return false;
            }
            link->prev = reinterpret_cast<WNDPROC>(old);
        }
    }
    link_ = link;
    hwnd_ = hwnd;
    prev_ = link->prev;
    return true;
}

void TWindowHook::Remove() {
    TLink* link = link_;
    if (!link) return;
    link_ = nullptr;
    link->owner = nullptr;
    link->hook = nullptr;
    if (!IsWindow(link->hwnd)) {
        Free(link); // the window took its properties with it
        return;
    }
    // A later subclass still calls our procedure: the link stays as its way on.
    if (link->subclassed && GetWindowLongPtrW(link->hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(link->kind->proc))
        return;
    Drop(link);
}

void TWindowHook::Drop(TLink* link) {
    const HWND hwnd = link->hwnd;
    if (link->subclassed && GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(link->kind->proc))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->prev));
    if (GetPropW(hwnd, link->kind->prop) == link) RemovePropW(hwnd, link->kind->prop);
    if (link->hook) link->hook->link_ = nullptr;
    Free(link);
}

void TWindowHook::Free(TLink* link) {
    delete link;
    --gLinks;
}

LRESULT TWindowHook::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return prev_ ? CallWindowProcW(prev_, hwnd_, msg, wParam, lParam) : DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT TWindowHook::CallNext(WNDPROC prev, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!prev) prev = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return prev ? CallWindowProcW(prev, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT TWindowHook::Run(const TKind& kind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        TLink* link = Find(kind, hwnd);
        if (!link) return CallNext(nullptr, hwnd, msg, wParam, lParam);
        if (!link->owner) {
            // Given back while a later subclass called us. The link goes once that subclass is
            // gone (ours is the window's procedure again) or the window goes.
            const WNDPROC prev = link->prev;
            if (msg == WM_NCDESTROY || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(kind.proc))
                Drop(link);
            return CallNext(prev, hwnd, msg, wParam, lParam);
        }
        LRESULT result = 0;
        try {
            result = kind.call(link->owner, hwnd, msg, wParam, lParam);
        } catch (...) {
        }
        // The owner has seen the last message; whatever of the hook it left comes off now. The
        // owner may be gone: only the window's property is trusted.
        if (msg == WM_NCDESTROY)
            if (TLink* left = Find(kind, hwnd)) Drop(left);
        return result;
    } catch (...) {
        return 0;
    }
}
