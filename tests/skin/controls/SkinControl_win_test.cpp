// The control skinner base on real windows: the message pipeline on both hooking paths, the
// colour swap, destruction, painting faults, the framework's mouse notifications, the hot-button
// timer, and discovery's tag and event rules on a skinned form.
#include "skin/controls/SkinControl_win.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/SkinManage_win.h"
#include "skin/forms/WinSkinData_win.h"
#include "skin/forms/WinSkinForm_win.h"

#include <commctrl.h>

#include "framework/Forms.h"
#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "tools/gallery/Gallery.h"

#include "tests/skin/forms/WinPump.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* gJournal = nullptr;
void Note(const std::string& s) {
    if (gJournal) gJournal->push_back(s);
}

// Records what reaches it; consumes WM_USER + 1; paints by throwing when told to.
class TRecorder : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override {
        if (m.Msg == WM_SETTEXT) Note("before settext");
        if (m.Msg == WM_USER + 1) {
            Note("consumed");
            return false;
        }
        if (m.Msg == CM_MOUSEENTER) Note("enter");
        if (m.Msg == CM_MOUSELEAVE) Note("leave");
        if (m.Msg == WM_NCDESTROY) Note("skinner ncdestroy");
        return TSkinControl::BeforeProc(m);
    }
    void AfterProc(TMessage& m) override {
        if (m.Msg == WM_SETTEXT) Note("after settext: " + std::to_string(GetWindowTextLengthW(FHandle)));
        TSkinControl::AfterProc(m);
    }
    void DrawControl(HDC, const RECT&) override {
        ++Paints;
        if (Throw) throw std::runtime_error("painting fault");
    }
    void Unsubclass() override {
        Note("unsubclass status " + std::to_string(FStatus));
        TSkinControl::Unsubclass();
    }
    int Paints = 0;
    bool Throw = false;
};

struct Journal {
    std::vector<std::string> lines;
    Journal() { gJournal = &lines; }
    ~Journal() { gJournal = nullptr; }
    bool Has(const std::string& s) const { return std::find(lines.begin(), lines.end(), s) != lines.end(); }
    int IndexOf(const std::string& s) const {
        auto it = std::find(lines.begin(), lines.end(), s);
        return it == lines.end() ? -1 : int(it - lines.begin());
    }
};

bool LoadShipped(TSkinDataCore& skin) {
    return skin.LoadFromFile(TELLIT_SKIN);
}

class TTestForm : public TForm {
public:
    TTestForm() : TForm(Application, L"TSkinControlTest") {
        SetClientSize(300, 200);
        Button = new TButton(this, this);
        Button->SetBounds(10, 10, 100, 25);
        Button->SetCaption(L"Send");
        Edit = new TEdit(this, this);
        Edit->SetBounds(10, 50, 100, 21);
    }
    TButton* Button;
    TEdit* Edit;
};

TEST(SkinControl, PipelineOnAFrameworkControl) {
    Journal j;
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    Application->Initialize();
    auto* form = new TTestForm;
    form->Show();
    form->Button->Color = clWindow;
    auto* r = new TRecorder(form->Button);
    r->Init(nullptr, &skin, true);
    EXPECT_EQ(r->Status(), kControlSkinned);
    EXPECT_EQ(form->Button->Color, skin.Colors[csButtonFace]);
    EXPECT_TRUE(form->Button->DoubleBuffered);
    // A second Init changes nothing: the message still passes the skinner once.
    r->Init(nullptr, &skin, false);
    EXPECT_TRUE(r->ChangesColor());

    // Before runs first, the control's own handling next, After sees its result.
    form->Button->SetCaption(L"Sent!");
    EXPECT_EQ(j.lines, (std::vector<std::string>{"before settext", "after settext: 5"}));
    EXPECT_EQ(r->Caption(), L"Sent!");
    // A consumed message never reaches the control: its result stays the skinner's.
    EXPECT_EQ(form->Button->Perform(WM_USER + 1), 0);
    EXPECT_TRUE(j.Has("consumed"));

    // Painting goes through DrawControl after the control's own paint; a fault is swallowed.
    r->Throw = true;
    const int before = r->Paints;
    RedrawWindow(form->Button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(r->Paints, before);
    r->Throw = false;
    // Invalidate repaints at once.
    const int painted = r->Paints;
    r->Invalidate();
    EXPECT_GT(r->Paints, painted);

    // Unsubclass gives the colour back; freeing the skinner gives the WindowProc back.
    r->Unsubclass();
    EXPECT_EQ(form->Button->Color, clWindow);
    delete r;
    j.lines.clear();
    form->Button->SetCaption(L"Again");
    EXPECT_TRUE(j.lines.empty());
    delete form;
}

// A raw window: its class procedure records WM_NCDESTROY, so the order is visible.
LRESULT CALLBACK RawClassProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCDESTROY) Note("own ncdestroy");
    return DefWindowProcW(h, msg, w, l);
}

HWND RawWindow(HWND parent) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RawClassProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TellitRawControl";
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"TellitRawControl", L"raw", (parent ? WS_CHILD : WS_OVERLAPPEDWINDOW) | WS_VISIBLE, 10,
                           10, 80, 30, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(SkinControl, RawWindowLifeAndDeath) {
    Journal j;
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    HWND top = RawWindow(nullptr);
    HWND child = RawWindow(top);
    Pump(50);
    TRecorder r(nullptr);
    r.Inithwnd(child, &skin, nullptr);
    EXPECT_EQ(r.Status(), kControlSkinned);
    EXPECT_EQ(TSkinControl::FromHandle(child), &r);
    SetWindowTextW(child, L"four");
    EXPECT_EQ(r.Caption(), L"four");
    EXPECT_EQ(j.lines.back(), "after settext: 4");

    // Invalidate on a top-level window does nothing.
    TRecorder topSkinner(nullptr);
    topSkinner.Inithwnd(top, &skin, nullptr);
    Pump(50);
    const int paints = topSkinner.Paints;
    topSkinner.Invalidate();
    EXPECT_EQ(topSkinner.Paints, paints);

    // Destroyed: the window's own procedure sees WM_NCDESTROY first, then the skinner reports 6.
    j.lines.clear();
    DestroyWindow(child);
    EXPECT_EQ(r.Status(), kControlDestroyed);
    const int own = j.IndexOf("own ncdestroy"), gone = j.IndexOf("unsubclass status 6");
    ASSERT_GE(own, 0);
    EXPECT_GT(gone, own);
    EXPECT_EQ(TSkinControl::FromHandle(child), nullptr);
    DestroyWindow(top);
}

// The mouse onto and off a framework control gives one enter and one leave; the hot-button timer
// tells a hot skinner the mouse has gone even when its window never saw the mouse leave.
TEST(SkinControl, MouseNotificationsAndHotButton) {
    Journal j;
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    Application->Initialize();
    // The cursor starts off the form: a cursor left over the button by an earlier program would
    // enter it before the recorder listens.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    auto* form = new TTestForm;
    form->Show();
    auto skinner = SkinWindow(form->Handle(), &skin);
    Pump(100);
    auto* r = new TRecorder(form->Button);
    r->Init(skinner.get(), &skin, false);
    RECT br{};
    GetWindowRect(form->Button->Handle(), &br);
    SetCursorPos(br.left + 20, br.top + 10);
    SetCursorPos(br.left + 21, br.top + 11);
    EXPECT_TRUE(WaitFor([&] { return j.Has("enter"); }));
    SetCursorPos(br.right + 60, br.bottom + 60);
    EXPECT_TRUE(WaitFor([&] { return j.Has("leave"); }));
    EXPECT_EQ(std::count(j.lines.begin(), j.lines.end(), "enter"), 1);

    // The timer: a hot button the cursor is not over is told to leave and stops being hot.
    j.lines.clear();
    skinner->Controls().SetHot(r);
    r->NoteWindowRect();
    EXPECT_TRUE(WaitFor([&] { return j.Has("leave") && skinner->Controls().Hot() == nullptr; }));
    // The window deactivated stops the timer: the hot skinner is let go at once, and told to leave
    // since the cursor is not over it.
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    j.lines.clear();
    skinner->Controls().SetHot(r);
    SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(skinner->Controls().Hot(), nullptr);
    EXPECT_TRUE(j.Has("leave"));
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    // Freeing a skinner takes it off the list and out of the hot pointer.
    skinner->Controls().SetHot(r);
    const TSkinControl* gone = r;
    delete r;
    EXPECT_EQ(skinner->Controls().Hot(), nullptr);
    const auto& list = skinner->Controls().Items();
    EXPECT_EQ(std::find(list.begin(), list.end(), gone), list.end());
    skinner.reset();
    delete form;
}

// Discovery on a skinned framework form: the tag rule (tag mod 100 = DisableTag skips), the
// application's own skinner from OnSkinControl, and the skinners given back when unskinned.
TEST(SkinControl, DiscoveryTagsAndEvent) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    skin.DisableTag = 99;
    std::vector<std::string> asked;
    skin.OnSkinControl = [&asked](TComponent*, TSkinData*, TComponent* form, TComponent* control,
                                  const std::string& cls, TComponent*& supplied) {
        asked.push_back(cls + " " + std::to_string(control->Tag) + (form ? " in form" : ""));
        supplied = new TRecorder(control);
    };
    Application->Initialize();
    auto* form = new TForm(Application, L"TDiscoveryTest");
    for (long long tag : {199, 99, 98, 0}) {
        auto* b = new TButton(form, form);
        b->Tag = tag;
    }
    form->Show();
    auto skinner = SkinWindow(form->Handle(), &skin);
    EXPECT_EQ(asked, (std::vector<std::string>{"TBUTTON 98 in form", "TBUTTON 0 in form"}));
    EXPECT_EQ(skinner->Controls().Items().size(), 2u);
    for (TSkinControl* s : skinner->Controls().Items())
        EXPECT_EQ(s->Status(), kControlSkinned);
    // Discovery again finds them skinned already.
    skinner->Controls().Discover(form);
    EXPECT_EQ(asked.size(), 2u);
    skinner->UnSubclass();
    EXPECT_TRUE(skinner->Controls().Items().empty());
    skinner.reset();
    delete form;
}

// Every kind on the gallery gets the skinner of its row; a standard dialog's raw children get
// theirs by class and style, and the ones the table leaves out keep their own look.
TEST(SkinControl, DiscoveryOfEveryKind) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    Application->Initialize();
    auto* gallery = new TGalleryForm(Application);
    gallery->Show();
    auto skinner = SkinWindow(gallery->Handle(), &skin);
    const std::map<std::string, std::string> expected = {
        {"TButton", "TSkinButton"},         {"TBitBtn", "TSkinBitButton"},     {"TSpeedButton", "TSkinSpeedButton"},
        {"TRadioButton", "TSkinRadioButton"}, {"TPanel", "TSkinBox"},          {"TGroupBox", "TSkinGroupBox"},
        {"TCheckBox", "TSkinCheckBox"},     {"TListBox", "TSkinScrollbar"},    {"TScrollBar", "TSkinScControl"},
        {"TEdit", "TSkinEdit"},             {"TMemo", "TSkinScrollbar"},       {"TComboBox", "TSkinComBox"},
        {"TUpDown", "TSkinUpDown"},         {"TProgressBar", "TSkinProgress"}, {"TTrackBar", "TSkinTrackBar"},
        {"TPageControl", "TSkinTab"},       {"TTabControl", "TSkinTab"},       {"TTabSet", "TSkinTab31"},
        {"TListView", "TSkinListView"},     {"TStatusBar", "TSkinStatusBar"},  {"TLabel", ""},
        {"TToolBar", "TSkinBox"},
    };
    std::set<std::string> seen;
    for (int i = 0; i < gallery->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TWinControl*>(gallery->Components(i));
        if (!c) continue;
        const auto want = expected.find(c->ClassName());
        if (want == expected.end()) continue;
        const TSkinControl* s = TSkinControl::FromHandle(c->Handle());
        EXPECT_EQ(s ? s->ClassName() : std::string(), want->second) << c->ClassName();
        seen.insert(c->ClassName());
        // A list view's header has its own skinner.
        if (HWND header = want->second == "TSkinListView" ? ListView_GetHeader(c->Handle()) : nullptr) {
            const TSkinControl* h = TSkinControl::FromHandle(header);
            EXPECT_EQ(h ? h->ClassName() : std::string(), "TSkinHeader");
        }
    }
    EXPECT_EQ(seen.size(), expected.size()) << "the gallery lacks a kind";
    // A skin change leaves the focus where the user had it: no skinner (the track bars' included)
    // takes it on the way.
    TWinControl* typing = nullptr;
    for (int i = 0; i < gallery->ComponentCount() && !typing; ++i)
        if (auto* e = dynamic_cast<TEdit*>(gallery->Components(i))) typing = e;
    ASSERT_NE(typing, nullptr);
    SetForegroundWindow(gallery->Handle());
    typing->SetFocus();
    ASSERT_EQ(GetFocus(), typing->Handle());
    skinner->SkinChange();
    EXPECT_EQ(GetFocus(), typing->Handle());
    skinner.reset();
    delete gallery;

    // A standard dialog.
    HWND dialog = CreateWindowExW(0, L"#32770", L"Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 260,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const struct {
        const wchar_t* cls;
        DWORD style;
        const char* skinner;
    } children[] = {
        {L"BUTTON", BS_PUSHBUTTON, "TSkinButton"},   {L"BUTTON", BS_DEFPUSHBUTTON, "TSkinButton"},
        {L"BUTTON", BS_OWNERDRAW, ""},               {L"BUTTON", BS_AUTOCHECKBOX, "TSkinCheckBox"},
        {L"BUTTON", BS_AUTORADIOBUTTON, "TSkinRadioButton"}, {L"BUTTON", BS_GROUPBOX, ""},
        {L"COMBOBOX", CBS_DROPDOWNLIST, "TSkinComBox"}, {L"COMBOBOX", CBS_DROPDOWN, "TSkinComBox"},
        {L"COMBOBOX", CBS_SIMPLE, ""},               {L"EDIT", ES_LEFT, "TSkinEdit"},
        {L"SCROLLBAR", SBS_VERT, ""},                {L"SCROLLBAR", SBS_SIZEGRIP, "TSkinSizer"},
    };
    std::vector<HWND> made;
    int y = 5;
    for (const auto& c : children) {
        made.push_back(CreateWindowExW(0, c.cls, L"x", WS_CHILD | WS_VISIBLE | c.style, 5, y, 120, 18, dialog,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
        y += 20;
    }
    auto dialogSkinner = SkinWindow(dialog, &skin);
    for (size_t i = 0; i < made.size(); ++i) {
        const TSkinControl* s = TSkinControl::FromHandle(made[i]);
        EXPECT_EQ(s ? s->ClassName() : std::string(), children[i].skinner) << i;
    }
    dialogSkinner->UnSubclass();
    for (HWND h : made)
        EXPECT_EQ(TSkinControl::FromHandle(h), nullptr);
    dialogSkinner.reset();
    DestroyWindow(dialog);
}

// Classes of the program that stand for framework classes the framework lacks: a grid, a frame
// and a date-time picker in its two modes.
class TAppGrid : public TWinControl {
public:
    TAppGrid(TComponent* owner, TWinControl* parent) : TWinControl(owner) {
        CreateControl(parent, L"LISTBOX", WS_VISIBLE | WS_VSCROLL | WS_BORDER);
    }
    std::vector<std::string> DeclaredClasses() const override { return {"TCustomGrid"}; }
    bool GetPropValue(const std::string& name, TPropValue& v) const override {
        return name == "FixedColor" ? PropInteger(v, FixedColor) : TWinControl::GetPropValue(name, v);
    }
    bool SetPropValue(const std::string& name, const std::string& value) override {
        if (name != "FixedColor") return TWinControl::SetPropValue(name, value);
        FixedColor = TColor(std::stoll(value));
        return true;
    }
    TColor FixedColor = clBtnFace;
};

class TAppFrame : public TWinControl {
public:
    TAppFrame(TComponent* owner, TWinControl* parent) : TWinControl(owner) {
        RegisterControlClass(L"TAppFrame");
        CreateControl(parent, L"TAppFrame", WS_VISIBLE);
        Button = new TButton(this, this);
        Button->SetBounds(5, 5, 80, 25);
    }
    std::vector<std::string> DeclaredClasses() const override { return {"TCustomFrame"}; }
    TButton* Button;
};

class TDateTimePicker : public TWinControl {
public:
    TDateTimePicker(TComponent* owner, TWinControl* parent, bool upDown) : TWinControl(owner), upDown_(upDown) {
        CreateControl(parent, L"EDIT", WS_VISIBLE | WS_BORDER);
    }
    bool GetPropValue(const std::string& name, TPropValue& v) const override {
        return name == "DateMode" ? PropEnum(v, upDown_ ? 1 : 0, {"dmComboBox", "dmUpDown"})
                                  : TWinControl::GetPropValue(name, v);
    }

private:
    bool upDown_;
};

TEST(SkinControl, DiscoveryOfDeclaredClassesAndTheirDecisions) {
    TSkinDataCore skin;
    ASSERT_TRUE(LoadShipped(skin));
    Application->Initialize();
    auto* form = new TForm(Application, L"TDeclaredClasses");
    form->SetClientSize(400, 300);
    auto* grid = new TAppGrid(form, form);
    grid->SetBounds(10, 10, 150, 100);
    auto* frame = new TAppFrame(form, form);
    frame->SetBounds(170, 10, 200, 100);
    auto* combo = new TDateTimePicker(form, form, false);
    combo->SetBounds(10, 120, 150, 21);
    auto* upDown = new TDateTimePicker(form, form, true);
    upDown->SetBounds(10, 150, 150, 21);
    auto* status = new TStatusBar(form, form);
    ASSERT_TRUE(status->SizeGrip());
    form->Show();
    auto skinner = SkinWindow(form->Handle(), &skin);
    const struct {
        const char* what;
        HWND window;
        const char* skinner;
    } cases[] = {
        {"grid", grid->Handle(), "TSkinScrollbar"},
        {"frame: no skinner of its own", frame->Handle(), ""},
        {"button inside the frame", frame->Button->Handle(), "TSkinButton"},
        {"date-time picker", combo->Handle(), "TSkinComBox"},
        {"date-time picker, up-down", upDown->Handle(), "TSkinEdit"},
        {"status bar", status->Handle(), "TSkinStatusBar"},
    };
    for (const auto& c : cases) {
        const TSkinControl* s = TSkinControl::FromHandle(c.window);
        EXPECT_EQ(s ? s->ClassName() : std::string(), c.skinner) << c.what;
    }
    EXPECT_EQ(grid->FixedColor, skin.Colors[csButtonFace]) << "the grid's fixed cells in the skin's face colour";
    EXPECT_FALSE(status->SizeGrip()) << "the status bar's grip switched off";
    skinner->UnSubclass();
    skinner.reset();
    delete form;
}

// Controls made after the form was skinned are skinned on request, and a control's skinner is
// freed on request, through the skin data component and the manager.
TEST(SkinControl, LateControlsThroughTheComponent) {
    Application->Initialize();
    auto* form = new TForm(Application, L"TLateControls");
    auto* data = new TSkinData(form);
    data->ComponentState.Include(TComponentStateFlag::Reading);
    ASSERT_TRUE(data->LoadFromFile(TELLIT_SKIN));
    data->SetActive(true);
    data->ComponentState.Exclude(TComponentStateFlag::Reading);
    data->Loaded();
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(WaitFor([&] { return SkinManager && SkinManager->FindSkinForm(form->Handle()); }));
    auto* late = new TButton(form, form);
    late->SetBounds(10, 10, 90, 25);
    EXPECT_EQ(TSkinControl::FromHandle(late->Handle()), nullptr);
    data->UpdateSkinControl(form, nullptr);
    const TSkinControl* s = TSkinControl::FromHandle(late->Handle());
    EXPECT_EQ(s ? s->ClassName() : std::string(), "TSkinButton");
    data->DeleteGraphicControl(form, late);
    EXPECT_EQ(TSkinControl::FromHandle(late->Handle()), nullptr);
    // Taken off the skin from its own click: the skinner, still on the stack, lives until the
    // click returns, and the button clicks on without it.
    late->OnClick = [&](TObject*) { data->DeleteGraphicControl(form, late); };
    data->UpdateSkinControl(form, nullptr);
    ASSERT_NE(TSkinControl::FromHandle(late->Handle()), nullptr);
    const int live = TSkinControl::LiveCount();
    SendMessageW(late->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(late->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(TSkinControl::FromHandle(late->Handle()), nullptr);
    EXPECT_EQ(TSkinControl::LiveCount(), live - 1);
    int clicks = 0;
    late->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(late->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(late->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);

    // A form shown as part of the skinned one: a box skinner for it, its controls skinned, and
    // one spy that leads back to the host's skinner, however often it is added.
    auto* nested = new TForm(Application, L"TNestedForm");
    auto* inner = new TButton(nested, nested);
    inner->SetBounds(5, 5, 80, 25);
    data->AddNestForm(form, nested);
    data->AddNestForm(form, nested);
    int spies = 0;
    for (int i = 0; i < nested->ComponentCount(); ++i)
        if (auto* spy = dynamic_cast<TWinSkinSpy*>(nested->Components(i))) {
            ++spies;
            EXPECT_EQ(spy->SkinForm(), SkinManager->FindSkinForm(form->Handle()));
        }
    EXPECT_EQ(spies, 1);
    // The host's skinner holds them: the nested form is not a child window of the host here.
    TWinSkinForm* host = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(host, nullptr);
    const TSkinControl* innerSkinner = host->Controls().Find(inner->Handle());
    EXPECT_EQ(innerSkinner ? innerSkinner->ClassName() : std::string(), "TSkinButton");
    const TSkinControl* box = host->Controls().Find(nested->Handle());
    EXPECT_EQ(box ? box->ClassName() : std::string(), "TSkinBox");
    delete nested;
    delete form;
    StopSkinEngine();
}

// The component's properties by name, as a form reader or an editor sets them: the skin file
// loads the package; enumerations of any object change through ChangeProperty, other kinds not.
TEST(SkinControl, TheSkinComponentByName) {
    Application->Initialize();
    auto* form = new TForm(Application, L"TByName");
    auto* data = new TSkinData(form);
    auto* status = new TStatusBar(form, form);
    ASSERT_TRUE(data->Loading);
    EXPECT_TRUE(data->SetPropValue("SkinFile", TELLIT_SKIN));
    EXPECT_FALSE(data->Loading) << "setting SkinFile loads the package";
    TPropValue v;
    ASSERT_TRUE(data->GetPropValue("skinfile", v));
    EXPECT_EQ(v.Text, TELLIT_SKIN);
    const struct {
        const char* name;
        const char* value;
        bool accepted;
        const char* readBack;
    } props[] = {
        {"SkinControls", "[xcMainMenu,xcButton]", true, "[xcMainMenu,xcButton]"},
        {"DisableTag", "12", true, nullptr},
        {"MenuUpdate", "False", true, "False"},
        {"Version", "1.0", true, "2.70.10.5"},  // written, unchanged
        {"SkinStore", "(Good)", true, "(none)"}, // the same
        {"Active", "perhaps", false, "False"},
        {"NoSuchProperty", "1", false, nullptr},
    };
    for (const auto& p : props) {
        EXPECT_EQ(data->SetPropValue(p.name, p.value), p.accepted) << p.name;
        if (p.readBack) {
            ASSERT_TRUE(data->GetPropValue(p.name, v)) << p.name;
            EXPECT_EQ(v.Text, p.readBack) << p.name;
        }
    }
    EXPECT_EQ(data->DisableTag, 12);
    EXPECT_TRUE(data->SkinControls == (TSkinControlTypes{xcMainMenu, xcButton}));

    const struct {
        TObject* object;
        const char* name;
        const char* value;
        bool changed;
    } changes[] = {
        {data, "SkinFormtype", "sfDialog", true},
        {data, "SkinFormtype", "sfNowhere", false},
        {data, "DisableTag", "5", false}, // an integer, not an enumeration
        {status, "SizeGrip", "False", true},
        {status, "Caption", "x", false},
        {nullptr, "SkinFormtype", "sfDialog", false},
    };
    for (const auto& c : changes)
        EXPECT_EQ(data->ChangeProperty(c.object, c.name, c.value), c.changed) << c.name << " " << c.value;
    EXPECT_EQ(data->SkinFormtype, sfDialog);
    EXPECT_EQ(data->DisableTag, 12);
    EXPECT_FALSE(status->SizeGrip());
    delete form;
    StopSkinEngine();
}

} // namespace
