#include "app/Unit2.h"

#include "app/Settings.h"
#include "framework/IniFiles.h"

#include <initializer_list>

TForm2* Form2 = nullptr;

namespace {
const wchar_t kSection[] = L"ProxySettings";

void Invert(std::initializer_list<TWinControl*> controls) {
    for (TWinControl* c : controls)
        c->SetEnabled(!c->Enabled());
}

void Enable(std::initializer_list<TWinControl*> controls, bool value) {
    for (TWinControl* c : controls)
        c->SetEnabled(value);
}
} // namespace

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner, L"TForm2") {
    SetCaption(L"Настройки прокси");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(284, 279);
    Position = TPosition::MainFormCenter;

    CheckBox1 = new TCheckBox(this, this);
    CheckBox1->SetCaption(L"Использовать прокси-сервер");
    CheckBox1->SetBounds(16, 12, 252, 17);
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };

    LHost = new TLabel(this, this);
    LHost->SetCaption(L"Хост");
    LHost->SetBounds(32, 43, LHost->Width(), LHost->Height());
    EHost = new TEdit(this, this);
    EHost->SetBounds(72, 39, 196, 21);
    LPort = new TLabel(this, this);
    LPort->SetCaption(L"Порт");
    LPort->SetBounds(32, 72, LPort->Width(), LPort->Height());
    EPort = new TEdit(this, this);
    EPort->SetBounds(72, 68, 73, 21);

    GroupBox1 = new TGroupBox(this, this);
    GroupBox1->SetCaption(L"Идентификация");
    GroupBox1->SetBounds(8, 102, 268, 124);
    CheckBox2 = new TCheckBox(this, GroupBox1);
    CheckBox2->SetCaption(L"Идентификация");
    CheckBox2->SetBounds(12, 22, 244, 17);
    CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
    LUsername = new TLabel(this, GroupBox1);
    LUsername->SetCaption(L"Имя пользователя");
    LUsername->SetBounds(12, 57, LUsername->Width(), LUsername->Height());
    EUsername = new TEdit(this, GroupBox1);
    EUsername->SetBounds(124, 53, 132, 21);
    LPassword = new TLabel(this, GroupBox1);
    LPassword->SetCaption(L"Пароль");
    LPassword->SetBounds(12, 89, LPassword->Width(), LPassword->Height());
    EPassword = new TEdit(this, GroupBox1);
    EPassword->SetBounds(124, 85, 132, 21);
    EPassword->SetPasswordChar(L'*');

    BOk = new TBitBtn(this, this);
    BOk->SetCaption(L"Ok");
    BOk->SetBounds(102, 238, 80, 29);
    BOk->ModalResult = mrOk;
    BOk->OnClick = [this](TObject* s) { BOkClick(s); };

    for (TWinControl* c :
         {static_cast<TWinControl*>(LHost), static_cast<TWinControl*>(EHost), static_cast<TWinControl*>(LPort),
          static_cast<TWinControl*>(EPort), static_cast<TWinControl*>(CheckBox2), static_cast<TWinControl*>(LUsername),
          static_cast<TWinControl*>(EUsername), static_cast<TWinControl*>(LPassword),
          static_cast<TWinControl*>(EPassword)})
        c->SetEnabled(false);

    {
        TIniFile ini(SettingsFileName());
        CheckBox1->SetChecked(ini.ReadBool(kSection, L"UseProxy", false));
        CheckBox2->SetChecked(ini.ReadBool(kSection, L"Authentication", false));
        EHost->SetText(ini.ReadString(kSection, L"Host", L""));
        EPort->SetText(ini.ReadString(kSection, L"Port", L""));
        EUsername->SetText(ini.ReadString(kSection, L"Username", L""));
        EPassword->SetText(ini.ReadString(kSection, L"Password", L""));
    }
    if (!CheckBox1->Checked()) Enable({EHost, EPort, EUsername, EPassword}, false);
    if (!CheckBox2->Checked()) Enable({EUsername, EPassword}, false);
}

void TForm2::CheckBox1Click(TObject*) {
    Invert({LHost, EHost, LPort, EPort, CheckBox2});
    if (CheckBox2->Checked()) Enable({LUsername, LPassword, EUsername, EPassword}, true);
    if (!CheckBox1->Checked()) Enable({LUsername, LPassword, EUsername, EPassword}, false);
}

void TForm2::CheckBox2Click(TObject*) {
    Invert({LUsername, LPassword, EUsername, EPassword});
}

// A failed save leaves the values in the dialog, where the send flow reads them, for this session.
void TForm2::BOkClick(TObject*) {
    SaveSettings([this](TIniFile& ini) {
        return ini.WriteBool(kSection, L"UseProxy", CheckBox1->Checked()) &&
               ini.WriteBool(kSection, L"Authentication", CheckBox2->Checked()) &&
               ini.WriteString(kSection, L"Host", EHost->Text()) && ini.WriteString(kSection, L"Port", EPort->Text()) &&
               ini.WriteString(kSection, L"Username", EUsername->Text()) &&
               ini.WriteString(kSection, L"Password", EPassword->Text());
    });
}
