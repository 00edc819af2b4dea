#include "tools/gallery/Gallery.h"

#include "framework/Buttons.h"
#include "framework/StdCtrls.h"

#include <string>
#include <vector>

namespace {
// Places controls in columns: each call takes the next slot of a column.
struct TColumn {
    int x, y, w;
    template <class T> T* Add(T* c, int h, int gap = 6) {
        c->SetBounds(x, y, w, h);
        y += h + gap;
        return c;
    }
};

HWND gMDIClient = nullptr;

LRESULT CALLBACK MDIFrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCDESTROY) gMDIClient = nullptr;
    return DefFrameProcW(h, gMDIClient, msg, w, l);
}

LRESULT CALLBACK MDIChildProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    return DefMDIChildProcW(h, msg, w, l);
}
} // namespace

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner, L"TGalleryForm") {
    SetCaption(L"Галерея элементов");
    SetClientSize(640, 420);

    // Buttons.
    TColumn buttons{10, 10, 140};
    buttons.Add(new TButton(this, this), 25)->SetCaption(L"Кнопка");
    auto* def = buttons.Add(new TButton(this, this), 25);
    def->SetCaption(L"По умолчанию");
    SendMessageW(def->Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    auto* off = buttons.Add(new TButton(this, this), 25);
    off->SetCaption(L"Недоступна");
    off->SetEnabled(false);
    auto* bit = buttons.Add(new TBitBtn(this, this), 25);
    bit->SetCaption(L"С картинкой");
    bit->SetGlyph(static_cast<HICON>(LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION), IMAGE_ICON, 16,
                                                16, LR_SHARED)));

    // Check boxes in a group box.
    auto* group = new TGroupBox(this, this);
    group->SetCaption(L"Флажки");
    group->SetBounds(160, 10, 150, 110);
    TColumn checks{10, 20, 130};
    checks.Add(new TCheckBox(this, group), 17)->SetCaption(L"Выключен");
    auto* on = checks.Add(new TCheckBox(this, group), 17);
    on->SetCaption(L"Включён");
    on->SetChecked(true);
    auto* dis = checks.Add(new TCheckBox(this, group), 17);
    dis->SetCaption(L"Недоступен");
    dis->SetEnabled(false);

    // Edits and a memo with more text than fits.
    TColumn edits{320, 10, 150};
    edits.Add(new TEdit(this, this), 21)->SetText(L"Поле ввода");
    auto* ro = edits.Add(new TEdit(this, this), 21);
    ro->SetText(L"Только чтение");
    ro->SetReadOnly(true);
    auto* memo = edits.Add(new TMemo(this, this, true), 90);
    std::vector<std::wstring> lines;
    for (int i = 1; i <= 20; ++i)
        lines.push_back(L"Строка " + std::to_wstring(i));
    memo->SetLines(lines);
}

HWND CreateMDIGallery(int x, int y) {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = MDIFrameProc;
    wc.lpszClassName = L"TGalleryMDIFrame";
    RegisterClassW(&wc);
    wc.lpfnWndProc = MDIChildProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TGalleryMDIChild";
    RegisterClassW(&wc);

    HMENU bar = CreateMenu();
    HMENU window = nullptr;
    for (const wchar_t* title : {L"Файл", L"Окно"}) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"Пункт");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), title);
        window = sub;
    }
    HWND frame = CreateWindowExW(0, L"TGalleryMDIFrame", L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, 420,
                                 300, nullptr, bar, inst, nullptr);
    if (!frame) return nullptr;
    CLIENTCREATESTRUCT ccs{window, 5000};
    gMDIClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0,
                                 0, 0, 0, frame, nullptr, inst, &ccs);
    RECT r{};
    GetClientRect(frame, &r);
    MoveWindow(gMDIClient, 0, 0, r.right, r.bottom, FALSE);
    for (const wchar_t* title : {L"Документ 1", L"Документ 2"}) {
        MDICREATESTRUCTW mcs{L"TGalleryMDIChild", title, inst, CW_USEDEFAULT, CW_USEDEFAULT, 220, 150, 0, 0};
        HWND child =
            reinterpret_cast<HWND>(SendMessageW(gMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        if (child && title[9] == L'2') SendMessageW(gMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    }
    return frame;
}
