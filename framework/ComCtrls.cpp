#include "framework/ComCtrls.h"

#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

#include <commctrl.h>

namespace {
void LoadCommonControls() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                                  ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)loaded;
}

} // namespace

// ---- TComboBox

TComboBox::TComboBox(TComponent* AOwner, TWinControl* AParent, TComboBoxStyle style)
    : TWinControl(AOwner), style_(style) {
    Color = clWindow;
    ParentColor = false;
    const DWORD kind = style == csSimple ? CBS_SIMPLE : style == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
    CreateControl(AParent, L"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | kind);
}

void TComboBox::AddItem(const std::wstring& text) {
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TComboBox::ItemCount() const {
    return int(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
}

int TComboBox::ItemIndex() const {
    return int(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(index), 0);
}

bool TComboBox::DroppedDown() const {
    return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && (HIWORD(m.WParam) == CBN_SELCHANGE || HIWORD(m.WParam) == CBN_EDITCHANGE)) {
        if (OnChange) OnChange(this);
        return;
    }
    // A simple combo box leaves the room below its list to the erase: the parent's colour there.
    if (m.Msg == WM_ERASEBKGND && style_ == csSimple && Parent()) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, Parent()->ColorBrush());
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

bool TComboBox::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "ItemIndex")) return PropInteger(value, ItemIndex());
    if (SameText(name, "Style")) return PropEnum(value, style_, {"csDropDown", "csSimple", "csDropDownList"});
    return TWinControl::GetPropValue(name, value);
}

// ---- TUpDown

TUpDown::TUpDown(TComponent* AOwner, TWinControl* AParent, TUDOrientation orientation) : TWinControl(AOwner) {
    LoadCommonControls();
    auto* edit = dynamic_cast<TEdit*>(AParent);
    CreateControl(AParent, UPDOWN_CLASSW,
                  WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS | (orientation == udHorizontal ? UDS_HORZ : 0) |
                      (edit ? UDS_SETBUDDYINT : 0));
    SetRange(0, 100);
    if (edit) DockInEdit();
}

void TUpDown::DockInEdit() {
    auto* edit = dynamic_cast<TEdit*>(Parent());
    if (!edit) return;
    // Inside the edit's right edge; the edit's text keeps clear of it.
    const HWND e = edit->Handle();
    SetWindowLongPtrW(e, GWL_STYLE, GetWindowLongPtrW(e, GWL_STYLE) | WS_CLIPCHILDREN);
    RECT c{};
    GetClientRect(e, &c);
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    SetBounds(c.right - w, 0, w, c.bottom);
    SendMessageW(e, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w));
    SendMessageW(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(e), 0);
}

void TUpDown::SetRange(int min, int max) {
    SendMessageW(hwnd_, UDM_SETRANGE32, WPARAM(min), LPARAM(max));
}

int TUpDown::Position() const {
    return int(SendMessageW(hwnd_, UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(int value) {
    SendMessageW(hwnd_, UDM_SETPOS32, 0, LPARAM(value));
}

bool TUpDown::GetPropValue(const std::string& name, TPropValue& value) const {
    int lo = 0, hi = 0;
    SendMessageW(hwnd_, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    if (SameText(name, "Position")) return PropInteger(value, Position());
    if (SameText(name, "Min")) return PropInteger(value, lo);
    if (SameText(name, "Max")) return PropInteger(value, hi);
    if (SameText(name, "Orientation"))
        return PropEnum(value, (GetWindowLongPtrW(hwnd_, GWL_STYLE) & UDS_HORZ) ? 1 : 0, {"udVertical", "udHorizontal"});
    return TWinControl::GetPropValue(name, value);
}

// ---- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner, TWinControl* AParent, bool smooth) : TWinControl(AOwner) {
    LoadCommonControls();
    CreateControl(AParent, PROGRESS_CLASSW, WS_VISIBLE | (smooth ? PBS_SMOOTH : 0));
    SetRange(0, 100);
}

int TProgressBar::Min() const {
    return int(SendMessageW(hwnd_, PBM_GETRANGE, TRUE, 0));
}
int TProgressBar::Max() const {
    return int(SendMessageW(hwnd_, PBM_GETRANGE, FALSE, 0));
}
void TProgressBar::SetRange(int min, int max) {
    SendMessageW(hwnd_, PBM_SETRANGE32, WPARAM(min), LPARAM(max));
}
int TProgressBar::Position() const {
    return int(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
}
void TProgressBar::SetPosition(int value) {
    SendMessageW(hwnd_, PBM_SETPOS, WPARAM(value), 0);
}

bool TProgressBar::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Position")) return PropInteger(value, Position());
    if (SameText(name, "Min")) return PropInteger(value, Min());
    if (SameText(name, "Max")) return PropInteger(value, Max());
    if (SameText(name, "Smooth"))
        return PropEnum(value, (GetWindowLongPtrW(hwnd_, GWL_STYLE) & PBS_SMOOTH) ? 1 : 0, {"False", "True"});
    return TWinControl::GetPropValue(name, value);
}

// ---- TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner, TWinControl* AParent, TTrackBarOrientation orientation, TTickMark ticks)
    : TWinControl(AOwner) {
    LoadCommonControls();
    const DWORD tickStyle = ticks == tmBoth ? TBS_BOTH : ticks == tmTopLeft ? TBS_TOP : TBS_BOTTOM;
    CreateControl(AParent, TRACKBAR_CLASSW,
                  WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS | tickStyle | (orientation == trVertical ? TBS_VERT : 0));
    SetRange(0, 10);
}

void TTrackBar::SetRange(int min, int max) {
    SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, LPARAM(min));
    SendMessageW(hwnd_, TBM_SETRANGEMAX, TRUE, LPARAM(max));
}

int TTrackBar::Position() const {
    return int(SendMessageW(hwnd_, TBM_GETPOS, 0, 0));
}

void TTrackBar::SetPosition(int value) {
    SendMessageW(hwnd_, TBM_SETPOS, TRUE, LPARAM(value));
}

bool TTrackBar::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Position")) return PropInteger(value, Position());
    if (SameText(name, "Min")) return PropInteger(value, SendMessageW(hwnd_, TBM_GETRANGEMIN, 0, 0));
    if (SameText(name, "Max")) return PropInteger(value, SendMessageW(hwnd_, TBM_GETRANGEMAX, 0, 0));
    if (SameText(name, "Orientation"))
        return PropEnum(value, (GetWindowLongPtrW(hwnd_, GWL_STYLE) & TBS_VERT) ? 1 : 0, {"trHorizontal", "trVertical"});
    return TWinControl::GetPropValue(name, value);
}

// ---- TTabControl

TTabControl::TTabControl(TComponent* AOwner, TWinControl* AParent, TTabPosition position)
    : TWinControl(AOwner), position_(position) {
    LoadCommonControls();
    // Side tabs need several rows' worth of room, as the system lays them out.
    const DWORD side = position == tpBottom  ? TCS_BOTTOM
                       : position == tpLeft  ? TCS_VERTICAL | TCS_MULTILINE
                       : position == tpRight ? TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE
                                             : 0;
    CreateControl(AParent, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | side);
}

int TTabControl::AddTab(const std::wstring& text) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return int(SendMessageW(hwnd_, TCM_INSERTITEMW, WPARAM(TabCount()), reinterpret_cast<LPARAM>(&item)));
}

int TTabControl::TabCount() const {
    return int(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0));
}

int TTabControl::TabIndex() const {
    return int(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetTabIndex(int index) {
    SendMessageW(hwnd_, TCM_SETCURSEL, WPARAM(index), 0);
    Change();
}

RECT TTabControl::DisplayRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TTabControl::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(TCN_SELCHANGE)) {
        Change();
        return;
    }
    TWinControl::WndProc(m);
}

bool TTabControl::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "TabIndex")) return PropInteger(value, TabIndex());
    if (SameText(name, "TabPosition")) return PropEnum(value, position_, {"tpTop", "tpBottom", "tpLeft", "tpRight"});
    return TWinControl::GetPropValue(name, value);
}

// ---- TTabSheet and TPageControl

TTabSheet::TTabSheet(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"STATIC", WS_CLIPCHILDREN | SS_NOTIFY);
}

void TTabSheet::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        EraseWithColor(m);
        return;
    }
    TWinControl::WndProc(m);
}

TPageControl::TPageControl(TComponent* AOwner, TWinControl* AParent, TTabPosition position)
    : TTabControl(AOwner, AParent, position) {}

TTabSheet* TPageControl::AddPage(const std::wstring& caption) {
    auto* page = new TTabSheet(this, this);
    pages_.push_back(page);
    AddTab(caption);
    LayoutPages();
    if (TabIndex() < 0) SetTabIndex(0);
    Change();
    return page;
}

void TPageControl::SetActivePageIndex(int index) {
    SetTabIndex(index);
}

void TPageControl::LayoutPages() {
    const RECT r = DisplayRect();
    for (TTabSheet* p : pages_)
        p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::Change() {
    const int active = TabIndex();
    for (int i = 0; i < PageCount(); ++i)
        pages_[size_t(i)]->SetVisible(i == active);
    TTabControl::Change();
}

void TPageControl::WndProc(TMessage& m) {
    TTabControl::WndProc(m);
    if (m.Msg == WM_SIZE) LayoutPages();
}

// ---- TTabSet

TTabSet::TTabSet(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    CreateControl(AParent, L"STATIC", WS_VISIBLE | SS_NOTIFY | WS_CLIPCHILDREN);
    // The scroller is the tab set's first component, as the skin engine expects.
    scroller_ = new TUpDown(this, this, udHorizontal);
    scroller_->SetVisible(false);
}

void TTabSet::AddTab(const std::wstring& text) {
    tabs_.Add(WideToUtf8(text));
    if (tabIndex_ < 0) tabIndex_ = 0;
    UpdateScroller();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= tabs_.Count() || index == tabIndex_) return;
    tabIndex_ = index;
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (OnChange) OnChange(this);
}

void TTabSet::SetFirstIndex(int index) {
    if (index < 0 || index >= tabs_.Count() || index == firstIndex_) return;
    firstIndex_ = index;
    UpdateScroller();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::vector<TTabSet::TCell> TTabSet::Layout(HDC dc) const {
    // Tabs from the first visible one, each its text plus 9 wide; one that does not fit is left
    // out (12 more pixels stay free while the scroller shows).
    TSelectObject font(dc, Font().Handle());
    RECT c{};
    GetClientRect(hwnd_, &c);
    const bool scrolling = scroller_ && scroller_->Visible();
    std::vector<TCell> cells;
    int x = StartMargin;
    for (int i = firstIndex_; i < tabs_.Count(); ++i) {
        const std::wstring text = Utf8ToWide(tabs_[i]);
        SIZE s{};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &s);
        if (c.right - EndMargin < x + s.cx + (scrolling ? 21 : 9)) continue;
        cells.push_back(TCell{i, x, x + int(s.cx) + 9});
        x += s.cx + 9;
    }
    return cells;
}

int TTabSet::TabAt(int x, int y) const {
    RECT c{};
    GetClientRect(hwnd_, &c);
    if (y < 0 || y >= c.bottom) return -1;
    TClientDC dc(hwnd_);
    for (const TCell& cell : Layout(dc.Get()))
        if (x >= cell.Left && x < cell.Right) return cell.Index;
    return -1;
}

void TTabSet::UpdateScroller() {
    if (!scroller_ || !hwnd_) return;
    RECT c{};
    GetClientRect(hwnd_, &c);
    const int w = 2 * GetSystemMetrics(SM_CXHSCROLL);
    scroller_->SetBounds(c.right - w, 0, w, std::min<int>(c.bottom, GetSystemMetrics(SM_CYHSCROLL)));
    // Shown while some tab lies before the first visible one or does not fit without it.
    TClientDC dc(hwnd_);
    scroller_->SetVisible(false);
    const bool all = firstIndex_ == 0 && int(Layout(dc.Get()).size()) == tabs_.Count();
    scroller_->SetVisible(!all);
    scroller_->SetRange(0, std::max(tabs_.Count() - 1, 0));
    scroller_->SetPosition(firstIndex_);
}

void TTabSet::Paint(HDC dc) {
    RECT c{};
    GetClientRect(hwnd_, &c);
    FillRect(dc, &c, ColorBrush());
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    // The pen outlives its selection: the old pen goes back before the shadow pen is deleted.
    const TGdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    TSelectObject pen(dc, shadow.Get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, c.right, 0);
    for (const TCell& cell : Layout(dc)) {
        RECT r{cell.Left, 0, cell.Right, c.bottom - 2};
        const bool selected = cell.Index == tabIndex_;
        // Tabs hang from the top edge; the selected one joins the page above it.
        FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_WINDOW : COLOR_BTNFACE));
        POINT edge[] = {{r.left, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}};
        Polyline(dc, edge, 4);
        const std::wstring text = Utf8ToWide(tabs_[cell.Index]);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TTabSet::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        TPaintDC dc(hwnd_, m.WParam);
        Paint(dc.Get());
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_LBUTTONDOWN: {
        const int i = TabAt(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)));
        if (i >= 0) SetTabIndex(i);
        return;
    }
    case WM_HSCROLL:
        if (scroller_ && reinterpret_cast<HWND>(m.LParam) == scroller_->Handle()) {
            SetFirstIndex(scroller_->Position());
            return;
        }
        break;
    case WM_SIZE:
        UpdateScroller();
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

bool TTabSet::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Tabs")) return PropObject(value, &tabs_);
    if (SameText(name, "TabIndex")) return PropInteger(value, tabIndex_);
    if (SameText(name, "FirstIndex")) return PropInteger(value, firstIndex_);
    if (SameText(name, "StartMargin")) return PropInteger(value, StartMargin);
    if (SameText(name, "EndMargin")) return PropInteger(value, EndMargin);
    return TWinControl::GetPropValue(name, value);
}

// ---- THeaderControl

THeaderControl::THeaderControl(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    LoadCommonControls();
    CreateControl(AParent, WC_HEADERW, WS_VISIBLE | HDS_BUTTONS | HDS_HORZ);
}

void THeaderControl::AddSection(const std::wstring& text, int width, TAlignment alignment) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.cxy = width;
    item.fmt = HDF_STRING | (alignment == taRightJustify ? HDF_RIGHT : alignment == taCenter ? HDF_CENTER : HDF_LEFT);
    SendMessageW(hwnd_, HDM_INSERTITEMW, WPARAM(SectionCount()), reinterpret_cast<LPARAM>(&item));
}

int THeaderControl::SectionCount() const {
    return int(SendMessageW(hwnd_, HDM_GETITEMCOUNT, 0, 0));
}

// ---- TListView

TListView::TListView(TComponent* AOwner, TWinControl* AParent) : TWinControl(AOwner) {
    LoadCommonControls();
    Color = clWindow;
    ParentColor = false;
    CreateControl(AParent, WC_LISTVIEWW, WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
}

void TListView::AddColumn(const std::wstring& caption, int width) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(caption.c_str());
    col.cx = width;
    const int n = HeaderHandle() ? int(SendMessageW(HeaderHandle(), HDM_GETITEMCOUNT, 0, 0)) : 0;
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, WPARAM(n), reinterpret_cast<LPARAM>(&col));
}

void TListView::AddItem(const std::vector<std::wstring>& texts) {
    if (texts.empty()) return;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ItemCount();
    item.pszText = const_cast<wchar_t*>(texts[0].c_str());
    const int row = int(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 1; i < texts.size(); ++i) {
        LVITEMW sub{};
        sub.iSubItem = int(i);
        sub.pszText = const_cast<wchar_t*>(texts[i].c_str());
        SendMessageW(hwnd_, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&sub));
    }
}

int TListView::ItemCount() const {
    return int(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

HWND TListView::HeaderHandle() const {
    return reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0));
}

// ---- TStatusBar

bool TStatusPanel::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Text")) return PropString(value, Text);
    if (SameText(name, "Width")) return PropInteger(value, Width);
    if (SameText(name, "Alignment")) return PropEnum(value, Alignment, {"taLeftJustify", "taRightJustify", "taCenter"});
    if (SameText(name, "Bevel")) return PropEnum(value, Bevel, {"pbLowered", "pbRaised", "pbNone"});
    if (SameText(name, "BiDiMode")) return PropEnum(value, BiDiMode, {"bdLeftToRight", "bdRightToLeft"});
    return TObject::GetPropValue(name, value);
}

TStatusPanel* TStatusPanels::Add() {
    items_.push_back(std::make_unique<TStatusPanel>());
    return items_.back().get();
}

bool TStatusPanels::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Count")) return PropInteger(value, Count());
    return TObject::GetPropValue(name, value);
}

TStatusBar::TStatusBar(TComponent* AOwner, TWinControl* AParent, bool sizeGrip) : TWinControl(AOwner) {
    LoadCommonControls();
    CreateControl(AParent, STATUSCLASSNAMEW, WS_VISIBLE | CCS_BOTTOM | (sizeGrip ? SBARS_SIZEGRIP : 0));
    Realign();
}

TStatusPanel* TStatusBar::AddPanel(const std::wstring& text, int width, TAlignment alignment, TStatusPanelBevel bevel,
                                   TBiDiMode bidi) {
    TStatusPanel* p = Panels.Add();
    p->Text = text;
    p->Width = width;
    p->Alignment = alignment;
    p->Bevel = bevel;
    p->BiDiMode = bidi;
    UpdatePanels();
    return p;
}

void TStatusBar::UpdatePanels() {
    std::vector<int> edges;
    int x = 0;
    for (int i = 0; i < Panels.Count(); ++i) {
        x += Panels.Items(i)->Width;
        edges.push_back(i == Panels.Count() - 1 ? -1 : x);
    }
    if (!edges.empty()) SendMessageW(hwnd_, SB_SETPARTS, WPARAM(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < Panels.Count(); ++i) {
        const TStatusPanel* p = Panels.Items(i);
        // The system centres text after one tab and right-aligns it after two.
        const std::wstring text = (p->Alignment == taCenter         ? L"\t"
                                   : p->Alignment == taRightJustify ? L"\t\t"
                                                                    : L"") +
                                  p->Text;
        const WPARAM flags = (p->Bevel == pbRaised ? SBT_POPOUT
                              : p->Bevel == pbNone ? SBT_NOBORDERS
                                                   : 0) |
                             (p->BiDiMode == bdRightToLeft ? SBT_RTLREADING : 0);
        SendMessageW(hwnd_, SB_SETTEXTW, WPARAM(i) | flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    SendMessageW(hwnd_, SB_SIMPLE, value, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
    simpleText_ = text;
    SendMessageW(hwnd_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool TStatusBar::SizeGrip() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
}

void TStatusBar::SetSizeGrip(bool value) {
    if (value == SizeGrip()) return;
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, value ? style | SBARS_SIZEGRIP : style & ~LONG_PTR(SBARS_SIZEGRIP));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TStatusBar::Realign() {
    SendMessageW(hwnd_, WM_SIZE, 0, 0);
}

bool TStatusBar::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Panels")) return PropObject(value, &Panels);
    if (SameText(name, "SimplePanel")) return PropEnum(value, simplePanel_ ? 1 : 0, {"False", "True"});
    if (SameText(name, "SimpleText")) return PropString(value, simpleText_);
    if (SameText(name, "SizeGrip")) return PropEnum(value, SizeGrip() ? 1 : 0, {"False", "True"});
    return TWinControl::GetPropValue(name, value);
}

bool TStatusBar::SetPropValue(const std::string& name, const std::string& value) {
    if (SameText(name, "SizeGrip") && (SameText(value, "True") || SameText(value, "False"))) {
        SetSizeGrip(SameText(value, "True"));
        return true;
    }
    return TWinControl::SetPropValue(name, value);
}
