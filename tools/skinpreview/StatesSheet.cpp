// skinpreview --states: every kind of control the engine skins (one of each, from the control
// gallery), in each state its skinner draws, labelled, on one sheet. The states are set on the real
// skinners (their hot, pressed, focused and enabled flags, the check state, the pressed part of a
// scroll bar) and each control is painted into a bitmap: no mouse input, no screen reading.
#include "tools/skinpreview/StatesSheet.h"

#include "framework/SysUtils.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/controls/SkinScrollbar_win.h"
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/WinSkinForm_win.h"
#include "tools/gallery/Gallery.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TPixel kSheet = PixelRGB(250, 250, 250);
constexpr int kCellWidth = 180, kCellHeight = 96, kGap = 10, kLabelWidth = 120, kHeader = 22;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

// The kind of a skinned child, as the sheet labels it; empty for a window the sheet leaves out.
std::wstring KindOf(HWND w) {
    const std::wstring cls = ClassOf(w);
    const LONG style = LONG(GetWindowLongPtrW(w, GWL_STYLE));
    if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
            return L"push button";
        case BS_DEFPUSHBUTTON:
            return L"default button";
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return L"check box";
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return L"radio button";
        case BS_GROUPBOX:
            return L"group box";
        case BS_OWNERDRAW:
            return L"bitmap button";
        default:
            return L"button";
        }
    }
    const struct {
        const wchar_t* cls;
        const wchar_t* kind;
    } kinds[] = {{L"Edit", L"edit"},
                 {L"ComboBox", L"combo box"},
                 {L"ListBox", L"list box"},
                 {L"ScrollBar", L"scroll bar"},
                 {TRACKBAR_CLASSW, L"track bar"},
                 {UPDOWN_CLASSW, L"up-down"},
                 {PROGRESS_CLASSW, L"progress bar"},
                 {WC_TABCONTROLW, L"tabs"},
                 {WC_LISTVIEWW, L"list view"},
                 {STATUSCLASSNAMEW, L"status bar"}};
    for (const auto& k : kinds)
        if (lstrcmpiW(cls.c_str(), k.cls) == 0) {
            // An edit with a vertical bar is a memo: its own row, for the bar's states.
            if (k.kind == std::wstring(L"edit") && (style & WS_VSCROLL)) return L"memo";
            return k.kind;
        }
    return cls.empty() ? std::wstring() : cls;
}

struct State {
    const wchar_t* label;
    // Sets the state on the skinner (and the control); the returned function undoes it. False when
    // the state does not apply to the kind.
    std::function<bool(HWND, TSkinControl&, const std::wstring&, std::function<void()>&)> set;
};

bool IsCheckable(const std::wstring& kind) {
    return kind == L"check box" || kind == L"radio button";
}

// The pressed part of a skinner with scroll bars, through whichever kind of bar skinner it is.
int* ActivePart(TSkinControl& s) {
    if (auto* bar = dynamic_cast<TSkinScrollbar*>(&s)) return &bar->FActivePart;
    if (auto* sc = dynamic_cast<TSkinScControl*>(&s)) return &sc->FActivePart;
    return nullptr;
}

std::vector<State> States() {
    auto flags = [](unsigned state) {
        return [state](HWND, TSkinControl& s, const std::wstring&, std::function<void()>& undo) {
            const TSkinControl::TLook old = s.Look();
            s.SetLook({state, old.Focused, old.Enabled});
            undo = [&s, old] { s.SetLook(old); };
            return true;
        };
    };
    auto part = [](bool thumb) {
        return [thumb](HWND w, TSkinControl& s, const std::wstring&, std::function<void()>& undo) {
            int* active = ActivePart(s);
            if (!active) return false;
            const LONG style = LONG(GetWindowLongPtrW(w, GWL_STYLE));
            const bool vertical = ClassOf(w) == L"ScrollBar" ? (style & SBS_VERT) != 0 : (style & WS_VSCROLL) != 0;
            const int old = *active;
            *active = thumb ? (vertical ? kPartVertThumb : kPartHorzThumb) : (vertical ? kPartUp : kPartLeft);
            undo = [active, old] { *active = old; };
            return true;
        };
    };
    return {
        {L"normal", flags(0)},
        {L"hot", flags(scMouseIn)},
        {L"pressed", flags(scMouseIn | scDown)},
        {L"focused",
         [](HWND, TSkinControl& s, const std::wstring&, std::function<void()>& undo) {
             const TSkinControl::TLook old = s.Look();
             s.SetLook({old.State, true, old.Enabled});
             undo = [&s, old] { s.SetLook(old); };
             return true;
         }},
        {L"disabled",
         [](HWND w, TSkinControl& s, const std::wstring&, std::function<void()>& undo) {
             const TSkinControl::TLook old = s.Look();
             const bool was = IsWindowEnabled(w) != FALSE;
             EnableWindow(w, FALSE);
             s.SetLook({old.State, old.Focused, false});
             undo = [w, &s, old, was] {
                 EnableWindow(w, was);
                 s.SetLook(old);
             };
             return true;
         }},
        {L"checked",
         [](HWND w, TSkinControl&, const std::wstring& kind, std::function<void()>& undo) {
             if (!IsCheckable(kind)) return false;
             const LRESULT old = SendMessageW(w, BM_GETCHECK, 0, 0);
             SendMessageW(w, BM_SETCHECK, BST_CHECKED, 0);
             undo = [w, old] { SendMessageW(w, BM_SETCHECK, WPARAM(old), 0); };
             return true;
         }},
        {L"arrow pressed", part(false)},
        {L"thumb pressed", part(true)},
    };
}

// The control as its skinner paints it: the control's own drawing, then the skin over it.
TBitmap32 Render(HWND w, TSkinControl& s, TPixel face) {
    RECT r{};
    GetWindowRect(w, &r);
    TDib dib;
    if (!dib.Resize(std::max(1, int(r.right - r.left)), std::max(1, int(r.bottom - r.top)))) return TBitmap32();
    dib.Bits().Fill(face);
    SendMessageW(w, WM_PRINT, WPARAM(dib.DC()), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    s.PaintControl(dib.DC());
    GdiFlush();
    return dib.Bits();
}

} // namespace

int StatesSheet(TSkinDataCore& skin, const std::string& outPath) {
    Application->Initialize();
    auto* form = new TGalleryForm(Application);
    form->Show();
    std::unique_ptr<TWinSkinForm> skinner = SkinWindow(form->Handle(), &skin);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 300; Sleep(10))
        Pump();

    // One control of each kind, in the gallery's order.
    std::vector<std::pair<std::wstring, HWND>> rows;
    std::map<std::wstring, bool> seen;
    std::function<void(HWND)> walk = [&](HWND parent) {
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const std::wstring kind = KindOf(c);
            if (!kind.empty() && TSkinControl::FromHandle(c) && !seen[kind]) {
                seen[kind] = true;
                rows.push_back({kind, c});
            }
            walk(c);
        }
    };
    walk(form->Handle());

    const std::vector<State> states = States();
    const TPixel face = PixelFromColor(TColor(SkinColorRGB(skin.Colors[csButtonFace])));
    TDib sheet;
    const int W = kLabelWidth + int(states.size()) * (kCellWidth + kGap) + kGap;
    // Each row as high as its control, up to kCellHeight.
    std::vector<int> tops;
    int H = kHeader;
    for (const auto& row : rows) {
        RECT r{};
        GetWindowRect(row.second, &r);
        tops.push_back(H);
        H += std::min(int(r.bottom - r.top), kCellHeight) + kGap;
    }
    H += kGap;
    if (!sheet.Resize(W, H)) {
        std::fprintf(stderr, "skinpreview: the states sheet is too large\n");
        return 1;
    }
    sheet.Bits().Fill(kSheet);
    SetBkMode(sheet.DC(), TRANSPARENT);
    TSelectObject font(sheet.DC(), GetStockObject(DEFAULT_GUI_FONT));
    for (size_t i = 0; i < states.size(); ++i) {
        RECT t{kLabelWidth + int(i) * (kCellWidth + kGap), 0, kLabelWidth + int(i + 1) * (kCellWidth + kGap), kHeader};
        DrawTextW(sheet.DC(), states[i].label, -1, &t, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
    }
    int drawn = 0;
    for (size_t row = 0; row < rows.size(); ++row) {
        const auto& [kind, w] = rows[row];
        TSkinControl* s = TSkinControl::FromHandle(w);
        const int y = tops[row];
        RECT t{4, y, kLabelWidth - 4, y + kHeader};
        DrawTextW(sheet.DC(), kind.c_str(), -1, &t, DT_SINGLELINE | DT_LEFT | DT_TOP);
        for (size_t col = 0; col < states.size(); ++col) {
            std::function<void()> undo;
            if (!s || !states[col].set(w, *s, kind, undo)) continue;
            const TBitmap32 shot = Render(w, *s, face);
            if (undo) undo();
            // A cell shows the control's top-left part when it is larger.
            TBitmap32 cell(std::min(shot.Width(), kCellWidth), std::min(shot.Height(), kCellHeight));
            DrawBitmap(cell, 0, 0, shot);
            GdiFlush();
            DrawBitmap(sheet.Bits(), kLabelWidth + int(col) * (kCellWidth + kGap), y, cell);
            ++drawn;
        }
    }
    GdiFlush();
    const std::vector<std::uint8_t> png = WritePng(sheet.Bits());
    std::ofstream out(Utf8ToWide(outPath).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    skinner.reset();
    delete form;
    if (!out) {
        std::fprintf(stderr, "skinpreview: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("%s: %d x %d, %d kinds, %d pictures\n", outPath.c_str(), W, H, int(rows.size()), drawn);
    return 0;
}
