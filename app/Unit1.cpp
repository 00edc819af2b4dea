#include "app/Unit1.h"

#include "app/Gateway.h"
#include "app/Settings.h"
#include "app/SkinSetup.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "framework/CodePages.h"
#include "framework/Dialogs.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinFolder.h"

#include <commdlg.h>

TForm1* Form1 = nullptr;
uint16_t SendDelay = 0;

namespace {
const wchar_t kSendCaption[] = L"Послать SMS";
const wchar_t kBadNumber[] = L"Ошибка отправки SMS!\nВведите корректный номер телефона.";
const wchar_t kBadProxyPort[] = L"Error send message!\nCheck PhoneNumber and ProxyPort.";
const wchar_t kSendFailed[] = L"Ошибка отправки SMS!\n";
const wchar_t kRefused[] = L"Ошибка отправки SMS!\nОтказ сервера.";
const wchar_t kSent[] = L"SMS отправлена!";
const wchar_t kProxyAuthentication[] = L"Ошибка отправки SMS!\nПрокси-сервер требует идентификации.";
const wchar_t kNoReply[] = L"Ошибка отправки SMS!\nСервер закрыл соединение без ответа.";
const wchar_t kCut[] = L"Ошибка отправки SMS!\nОтвет сервера оборван.";
constexpr int kMessageLimit = 160;

// Text that goes on the wire or into the transport as 8-bit Windows-1251.
std::string Bytes(const std::wstring& text) {
    return WideToCodePage(text, CP_RUSSIAN);
}
} // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner, L"TForm1") {
    SetCaption(L"Tellit");
    SetBorderStyle(TFormBorderStyle::Single);
    Position = TPosition::ScreenCenter;
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

    MainMenu1 = new TMainMenu(this);
    File1 = MainMenu1->Items->Add(L"Файл");
    Exit1 = File1->Add(L"Выход", [this](TObject* s) { Exit1Click(s); });
    Settings1 = MainMenu1->Items->Add(L"Настройки");
    Proxy1 = Settings1->Add(L"Прокси", [this](TObject* s) { Proxy1Click(s); });
    // "Оформление": the skins shipped in the skins folder, then any other package from a file.
    Skin1 = Settings1->Add(L"Оформление");
    for (const TSkinChoice& choice : ShippedSkins()) {
        const std::wstring setting = choice.Setting;
        TMenuItem* item =
            Skin1->Add(choice.Caption, [this, setting](TObject*) { UseSkinFile(SkinFilePath(setting), setting); });
        skinItems_.push_back({item, setting});
    }
    if (!skinItems_.empty()) Skin1->Add(L"-");
    OtherSkin1 = Skin1->Add(L"Другой файл...", [this](TObject* s) { Skin1Click(s); });
    StandardLook1 = Settings1->Add(L"Стандартный вид", [this](TObject* s) { StandardLook1Click(s); });
    Help1 = MainMenu1->Items->Add(L"Помощь");
    ForWath1 = Help1->Add(L"Для чего?", [this](TObject* s) { ForWath1Click(s); });
    About1 = Help1->Add(L"О программе", [this](TObject* s) { About1Click(s); });
    SetMenu(MainMenu1);
    SetClientSize(331, 216);

    LNumber = new TLabel(this, this);
    LNumber->SetCaption(L"Номер телефона\r\n(7 цифр)");
    LNumber->SetBounds(8, 8, LNumber->Width(), LNumber->Height());
    CBNumber = new TEdit(this, this);
    CBNumber->SetBounds(120, 10, 203, 21);

    LMessage = new TLabel(this, this);
    LMessage->SetCaption(L"Текст сообщения\r\n(макс. 160 знаков)");
    LMessage->SetBounds(8, 42, LMessage->Width(), LMessage->Height());
    // With a vertical scroll bar from creation, so that the memo keeps it up to date; it is shown
    // only while the text overflows.
    MMessage = new TMemo(this, this, true);
    MMessage->SetBounds(120, 42, 203, 105);
    MMessage->SetMaxLength(kMessageLimit);
    MMessage->OnChange = [this](TObject* s) { MMessageChange(s); };
    FitMessageScrollBar();

    Label1 = new TLabel(this, this);
    Label1->SetCaption(L"Знаков осталось:");
    Label1->SetBounds(120, 158, Label1->Width(), Label1->Height());
    LRemain = new TLabel(this, this);
    LRemain->SetCaption(L"160");
    LRemain->SetBounds(Label1->Left() + Label1->Width() + 6, 158, LRemain->Width(), LRemain->Height());
    BClear = new TButton(this, this);
    BClear->SetCaption(L"Очистить");
    BClear->SetBounds(259, 153, 64, 22);
    BClear->OnClick = [this](TObject* s) { BClearClick(s); };

    BSend = new TBitBtn(this, this);
    BSend->SetCaption(kSendCaption);
    BSend->SetBounds(8, 183, 315, 27);
    // The program's own icon, small, as the button's glyph (absent where the executable has none).
    BSend->SetGlyph(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
    BSend->OnClick = [this](TObject* s) { BSendClick(s); };

    CBNumber->SetTabOrder(0);
    MMessage->SetTabOrder(1);
    BSend->SetTabOrder(2);
    BClear->SetTabOrder(3);

    NMHTTP1 = new TNMHTTP(this);
    NMHTTP1->Name = "NMHTTP1";
    NMHTTP1->Port = 0;
    NMHTTP1->ReportLevel = 0;
    NMHTTP1->Body = "Default.htm";
    NMHTTP1->Header = "Head.txt";
    NMHTTP1->InputFileMode = false;
    NMHTTP1->OutputFileMode = false;
    NMHTTP1->ProxyPort = 0;
    NMHTTP1->OnInvalidHost = [this](TObject* s, bool& h) { NMHTTP1InvalidHost(s, h); };
    NMHTTP1->OnConnectionFailed = [this](TObject* s) { NMHTTP1ConnectionFailed(s); };
    NMHTTP1->OnPacketRecvd = [this](TObject* s) { NMHTTP1PacketRecvd(s); };
    NMHTTP1->OnFailure = [this](CmdType c) { NMHTTP1Failure(c); };
    NMURL1 = new TNMURL(this);
    NMURL1->Name = "NMURL1";

    // Enabled from creation with a 1000 ms interval; the first tick leaves the button ready.
    Timer1 = new TTimer(this);
    Timer1->Name = "Timer1";
    Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });

    TIniFile ini(SettingsFileName());
    settingsRead_ = ini.Readable();
    loadedNumber_ = ini.ReadString(L"Main", L"Number", L"");
    CBNumber->SetText(loadedNumber_);

    // The skin, read as the form's stored properties are; skinning starts with the program.
    SkinData1 = new TSkinData(this);
    SkinData1->Name = "SkinData1";
    SkinData1->ComponentState.Include(TComponentStateFlag::Reading);
    SetUpSkin(*SkinData1, ini);
    SkinData1->ComponentState.Exclude(TComponentStateFlag::Reading);
    SkinData1->Loaded();
    StandardLook1->SetChecked(!SkinData1->Active());
    const std::wstring skinFile = ini.ReadString(L"Skin", L"File", L"");
    MarkSkin(skinFile);
    if (!skinFile.empty() && IsSkinFolderPath(WideToUtf8(SkinFilePath(skinFile))))
        WatchSkinFolder(SkinFilePath(skinFile));
}

void TForm1::WatchSkinFolder(const std::wstring& path) {
    delete skinWatch_;
    skinWatch_ = new TSkinLiveWatch(this, *SkinData1, WideToUtf8(path));
    skinWatch_->OnReloaded = [this](const std::vector<TSkinProblem>&) { lastSkinReport_.clear(); };
    skinWatch_->OnBroken = [this](const std::vector<TSkinProblem>& problems) {
        // One message for an error, however often the file is saved with it; none while one is open.
        const std::string text = SkinProblemsSummary(problems);
        if (reportingSkin_ || text == lastSkinReport_) return;
        lastSkinReport_ = text;
        reportingSkin_ = true;
        ShowMessage(L"Оформление не обновлено, в нём ошибка:\n" + Utf8ToWide(text));
        reportingSkin_ = false;
    };
    skinWatch_->Start();
}

int TForm1::SkinReloads() const {
    return skinWatch_ ? skinWatch_->Reloads() : 0;
}

void TForm1::WndProc(TMessage& m) {
    static const UINT reloads = RegisterWindowMessageW(L"TellitSkinReloads");
    if (m.Msg == reloads) {
        m.Result = SkinReloads();
        return;
    }
    TForm::WndProc(m);
}

void TForm1::MarkSkin(const std::wstring& setting) {
    // No setting: the stored skin, which is the shipped light one.
    const std::wstring current = setting.empty() ? std::wstring(L"skins\\tellit.skn") : setting;
    for (const auto& [item, file] : skinItems_)
        item->SetChecked(SameSkinFile(file, current));
}

bool TForm1::UseSkinFile(const std::wstring& path, const std::wstring& setting) {
    if (!SkinPackageLoads(path)) {
        ShowMessage(L"Не удалось загрузить оформление:\n" + path);
        return false;
    }
    // Loading asks every window skinned with it to take up the new skin.
    SkinData1->LoadFromFile(WideToUtf8(path));
    if (!SkinData1->Active()) SkinData1->SetActive(true);
    StandardLook1->SetChecked(false);
    const std::wstring stored = setting.empty() ? path : setting;
    MarkSkin(stored);
    // A chosen package ends the following of a skin folder.
    delete skinWatch_;
    skinWatch_ = nullptr;
    SaveSettings([&](TIniFile& ini) {
        return ini.WriteString(L"Skin", L"File", stored) && ini.WriteInteger(L"Skin", L"Active", 1);
    });
    return true;
}

void TForm1::Skin1Click(TObject*) {
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = L"Оформление (*.skn)\0*.skn\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = L"Оформление";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&ofn)) UseSkinFile(file);
}

void TForm1::StandardLook1Click(TObject*) {
    const bool standard = SkinData1->Active();
    SkinData1->SetActive(!standard);
    StandardLook1->SetChecked(standard);
    SaveSettings([&](TIniFile& ini) { return ini.WriteInteger(L"Skin", L"Active", standard ? 0 : 1); });
}

bool TForm1::SendSms(const std::wstring& number, const std::wstring& message) {
    if (number.size() != 7) {
        ShowMessage(kBadNumber);
        return false;
    }
    int value = 0;
    if (!TryStrToInt(Bytes(number), value)) {
        ShowMessage(kBadNumber);
        return false;
    }

    // The button stays disabled while the request runs (a second request on the busy client
    // would break the first), unless a success has locked it for the countdown meanwhile.
    struct InFlight {
        TForm1* f;
        explicit InFlight(TForm1* form) : f(form) {
            f->inFlight_ = true;
            f->verdictGiven_ = false;
            f->BSend->SetEnabled(false);
        }
        ~InFlight() {
            f->inFlight_ = false;
            if (!f->countingDown_) f->BSend->SetEnabled(true);
        }
    } inFlight(this);

    try {
        NMHTTP1->TimeOut = 5000;
        NMHTTP1->InputFileMode = false;
        NMHTTP1->OutputFileMode = false;
        NMHTTP1->ReportLevel = 2;
        if (Form2->CheckBox1->Checked()) {
            NMHTTP1->Proxy = Bytes(Form2->EHost->Text());
            try {
                NMHTTP1->ProxyPort = StrToInt(Bytes(Form2->EPort->Text()));
                StrToInt(Bytes(number));
            } catch (const Exception&) {
                ShowMessage(kBadProxyPort);
                return false;
            }
            if (Form2->CheckBox2->Checked()) {
                NMHTTP1->HeaderInfo->UserId = Bytes(Form2->EUsername->Text());
                NMHTTP1->HeaderInfo->Password = Bytes(Form2->EPassword->Text());
            } else {
                NMHTTP1->HeaderInfo->UserId.clear();
                NMHTTP1->HeaderInfo->Password.clear();
            }
        } else {
            NMHTTP1->Proxy.clear();
            NMHTTP1->ProxyPort = 0;
        }

        NMURL1->InputString = Bytes(message);
        const std::string encoded = NMURL1->Encode();
        const std::string url = GatewayUrl(GatewayHostSetting(), Bytes(number), encoded, GatewayYear());

        Form5->ProgressBar1->SetPosition(0);
        Form5->Show();
        NMHTTP1->Get(url);
        // A reply that never brought more than 20 bytes of body is judged whole now, so that the
        // user always learns the outcome.
        if (!verdictGiven_)
            GiveVerdict(ReplyCut(NMHTTP1->Header, NMHTTP1->Body, NMHTTP1->BytesTotal)
                            ? TVerdict::Cut
                            : JudgeReply(NMHTTP1->Body, NMHTTP1->ReplyNumber, true));
    } catch (const Exception& e) {
        Form5->Hide();
        // After a verdict the request is over for the user; what the transport reports while
        // winding down (its time-out ran on while the verdict's box was open) is not news.
        if (!verdictGiven_) ShowMessage(kSendFailed + Utf8ToWide(e.Message) + L".");
    }
    return true;
}

void TForm1::GiveVerdict(TVerdict verdict) {
    verdictGiven_ = true;
    Form5->Hide();
    switch (verdict) {
    case TVerdict::Refused:
        ShowMessage(kRefused);
        return;
    case TVerdict::ProxyAuthentication:
        ShowMessage(kProxyAuthentication);
        return;
    case TVerdict::NoReply:
        ShowMessage(kNoReply);
        return;
    case TVerdict::Cut:
        ShowMessage(kCut);
        return;
    default:
        break;
    }
    SendDelay = 60;
    countingDown_ = true;
    BSend->SetEnabled(false);
    Timer1->SetEnabled(true);
    ShowMessage(kSent);
}

void TForm1::NMHTTP1PacketRecvd(TObject*) {
    Form5->ProgressBar1->SetPosition(int(NMHTTP1->BytesRecvd / 8084) * 100);
    if (verdictGiven_) return;
    const std::string body = NMHTTP1->Body;
    TVerdict verdict = JudgeReply(body, NMHTTP1->ReplyNumber, false);
    if (verdict == TVerdict::None) return;
    NMHTTP1->Disconnect();
    GiveVerdict(verdict);
}

void TForm1::Timer1Timer(TObject*) {
    if (SendDelay != 0) {
        BSend->SetCaption(L"Отправка возможна через " + std::to_wstring(SendDelay) + L" сек.");
        --SendDelay;
        return;
    }
    Timer1->SetEnabled(false);
    SendDelay = 60;
    countingDown_ = false;
    BSend->SetCaption(kSendCaption);
    if (!inFlight_) BSend->SetEnabled(true);
}

void TForm1::BSendClick(TObject*) {
    SendSms(CBNumber->Text(), MMessage->Text());
}

void TForm1::BClearClick(TObject*) {
    MMessage->Clear();
    LRemain->SetCaption(L"160");
    MMessage->SetFocus();
}

void TForm1::MMessageChange(TObject*) {
    LRemain->SetCaption(std::to_wstring(kMessageLimit - int(MMessage->Text().size())));
    FitMessageScrollBar();
}

void TForm1::FitMessageScrollBar() {
    const HWND memo = MMessage->Handle();
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(memo, SB_VERT, &si);
    // Lines beyond a page. Showing the bar narrows the text, which can only add lines, and hiding
    // it widens it, which can only take lines away: the decision holds after the change.
    const bool overflow = si.nMax - si.nMin + 1 > int(si.nPage);
    const bool shown = (GetWindowLongPtrW(memo, GWL_STYLE) & WS_VSCROLL) != 0;
    if (overflow != shown) ShowScrollBar(memo, SB_VERT, overflow);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    const std::wstring number = CBNumber->Text();
    // A file that could not be read at start gave the empty default: unless the user typed another
    // number, the one stored there is worth more than that default.
    if (!settingsRead_ && number == loadedNumber_) return;
    SaveSettings([&](TIniFile& ini) { return ini.WriteString(L"Main", L"Number", number); });
}

// The transport's failure events carry nothing the send routine does not learn otherwise.
void TForm1::NMHTTP1Failure(CmdType) {}
void TForm1::NMHTTP1InvalidHost(TObject*, bool&) {}
void TForm1::NMHTTP1ConnectionFailed(TObject*) {}

void TForm1::Exit1Click(TObject*) {
    Close();
}
void TForm1::Proxy1Click(TObject*) {
    Form2->ShowModal();
}
void TForm1::ForWath1Click(TObject*) {
    Form4->ShowModal();
}
void TForm1::About1Click(TObject*) {
    Form3->ShowModal();
}
