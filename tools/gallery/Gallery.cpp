#include "tools/gallery/Gallery.h"

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/ToolBar.h"

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
    SetClientSize(860, 500);

    // Buttons.
    TColumn buttons{10, 10, 140};
    buttons.Add(new TButton(this, this), 25)->SetCaption(L"Кнопка");
    auto* def = buttons.Add(new TButton(this, this), 25);
    def->SetCaption(L"По умолчанию");
    def->SetDefault(true);
    auto* off = buttons.Add(new TButton(this, this), 25);
    off->SetCaption(L"Недоступна");
    off->SetEnabled(false);
    auto* bit = buttons.Add(new TBitBtn(this, this), 25);
    bit->SetCaption(L"С картинкой");
    bit->SetGlyph(static_cast<HICON>(
        LoadImageW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION), IMAGE_ICON, 16, 16, LR_SHARED)));

    // Speed buttons: plain, latched down, flat.
    for (int i = 0; i < 3; ++i) {
        auto* speed = new TSpeedButton(this, this);
        speed->SetBounds(10 + 48 * i, buttons.y, 44, 25);
        speed->SetCaption(i == 0 ? L"Раз" : i == 1 ? L"Два" : L"Три");
        if (i == 1) speed->SetDown(true);
        speed->Flat = i == 2;
    }
    buttons.y += 31;
    // Radio buttons, and a panel.
    auto* first = buttons.Add(new TRadioButton(this, this), 17);
    first->SetCaption(L"Первый вариант");
    first->SetChecked(true);
    buttons.Add(new TRadioButton(this, this), 17)->SetCaption(L"Второй вариант");
    auto* panel = buttons.Add(new TPanel(this, this), 40);
    panel->SetCaption(L"Панель");
    // Bit buttons with pictures of an image list, enabled and disabled.
    auto* images = new TImageList(this, 16, 16);
    for (const wchar_t* icon : {IDI_WARNING, IDI_ERROR})
        images->AddIcon(static_cast<HICON>(LoadImageW(nullptr, icon, IMAGE_ICON, 16, 16, LR_SHARED)));
    for (bool enabled : {true, false}) {
        auto* listed = buttons.Add(new TBitBtn(this, this), 25);
        listed->SetCaption(enabled ? L"Из списка" : L"Из списка, нет");
        listed->SetImages(images, 0, 1);
        listed->SetEnabled(enabled);
    }
    // A tool bar with a plain button and one with a drop-down menu.
    auto* toolHost = buttons.Add(new TPanel(this, this), 30);
    auto* tools = new TToolBar(this, toolHost);
    tools->AddButton(L"Послать");
    auto* templates = new TPopupMenu(this);
    for (const wchar_t* item : {L"Привет", L"Спасибо", L"-", L"Позвоню позже"})
        templates->Items->Add(item);
    tools->AddDropDownButton(L"Ещё", templates);

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

    // A list box with more lines than fit, and stand-alone scroll bars.
    auto* list = new TListBox(this, this);
    list->SetBounds(160, 130, 130, 100);
    for (int i = 1; i <= 15; ++i)
        list->AddItem(L"Элемент " + std::to_wstring(i));
    auto* vbar = new TScrollBar(this, this, sbVertical);
    vbar->SetBounds(293, 130, 17, 100);
    vbar->SetParams(30, 0, 100);
    auto* hbar = new TScrollBar(this, this, sbHorizontal);
    hbar->SetBounds(160, 236, 150, 17);
    hbar->SetParams(70, 0, 100);

    // Edits, one with an up-down, a memo with more text than fits, and the combo box styles.
    TColumn edits{320, 10, 150};
    edits.Add(new TEdit(this, this), 21)->SetText(L"Поле ввода");
    auto* ro = edits.Add(new TEdit(this, this), 21);
    ro->SetText(L"Только чтение");
    ro->SetReadOnly(true);
    auto* spinEdit = edits.Add(new TEdit(this, this), 21);
    (new TUpDown(spinEdit, spinEdit))->SetPosition(5);
    auto* memo = edits.Add(new TMemo(this, this, true), 90);
    std::vector<std::wstring> lines;
    for (int i = 1; i <= 20; ++i)
        lines.push_back(L"Строка " + std::to_wstring(i));
    memo->SetLines(lines);
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        auto* combo = edits.Add(new TComboBox(this, this, style), 21);
        for (const wchar_t* item : {L"Первый", L"Второй", L"Третий"})
            combo->AddItem(item);
        combo->SetItemIndex(0);
        combo->SetBounds(edits.x, edits.y - 27, edits.w, 150);
    }
    auto* simple = edits.Add(new TComboBox(this, this, csSimple), 70);
    simple->AddItem(L"Простой");

    // Up-downs, progress bars in both styles, track bars in both orientations.
    TColumn ranges{480, 10, 160};
    auto* upDown = new TUpDown(this, this, udVertical);
    upDown->SetBounds(ranges.x, ranges.y, 16, 24);
    auto* upDownH = new TUpDown(this, this, udHorizontal);
    upDownH->SetBounds(ranges.x + 24, ranges.y + 4, 32, 16);
    ranges.y += 30;
    for (bool smooth : {false, true}) {
        auto* bar = ranges.Add(new TProgressBar(this, this, smooth), 16);
        bar->SetRange(0, 100);
        bar->SetPosition(60);
    }
    ranges.Add(new TTrackBar(this, this), 30)->SetPosition(3);
    auto* vertical = new TTrackBar(this, this, trVertical);
    vertical->SetBounds(ranges.x + 170, 10, 30, 100);
    vertical->SetPosition(7);

    // Tabs on each side, a page control and a tab set.
    auto* pages = new TPageControl(this, this);
    pages->SetBounds(680, 10, 170, 100);
    for (const wchar_t* page : {L"Общие", L"Прокси"})
        new TLabel(this, pages->AddPage(page));
    const struct {
        TTabPosition side;
        int x, y, w, h;
    } sides[] = {{tpBottom, 480, 170, 160, 80}, {tpLeft, 650, 120, 100, 110}, {tpRight, 755, 120, 95, 110}};
    for (const auto& side : sides) {
        auto* tabs = new TTabControl(this, this, side.side);
        tabs->SetBounds(side.x, side.y, side.w, side.h);
        for (const wchar_t* tab : {L"Раз", L"Два"})
            tabs->AddTab(tab);
    }
    auto* tabSet = new TTabSet(this, this);
    tabSet->SetBounds(480, 260, 200, 20);
    for (const wchar_t* tab : {L"Лист 1", L"Лист 2", L"Лист 3"})
        tabSet->AddTab(tab);

    // A list view with its header, and a status bar with panels.
    auto* view = new TListView(this, this);
    view->SetBounds(480, 300, 370, 160);
    view->AddColumn(L"Имя", 150);
    view->AddColumn(L"Размер", 100);
    for (int i = 1; i <= 12; ++i)
        view->AddItem({L"Файл " + std::to_wstring(i), std::to_wstring(i * 10) + L" КБ"});
    auto* status = Status = new TStatusBar(this, this);
    status->AddPanel(L"Готово", 150);
    status->AddPanel(L"По центру", 150, taCenter, pbRaised);
    status->AddPanel(L"Справа", 150, taRightJustify);
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
    HWND frame = CreateWindowExW(0, L"TGalleryMDIFrame", L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, 420, 300,
                                 nullptr, bar, inst, nullptr);
    if (!frame) return nullptr;
    CLIENTCREATESTRUCT ccs{window, 5000};
    gMDIClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                 0, 0, frame, nullptr, inst, &ccs);
    RECT r{};
    GetClientRect(frame, &r);
    MoveWindow(gMDIClient, 0, 0, r.right, r.bottom, FALSE);
    for (const wchar_t* title : {L"Документ 1", L"Документ 2"}) {
        MDICREATESTRUCTW mcs{L"TGalleryMDIChild", title, inst, CW_USEDEFAULT, CW_USEDEFAULT, 220, 150, 0, 0};
        HWND child = reinterpret_cast<HWND>(SendMessageW(gMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        if (child && title[9] == L'2') SendMessageW(gMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    }
    return frame;
}
