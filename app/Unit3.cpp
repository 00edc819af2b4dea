#include "app/Unit3.h"

#include "app/Version.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner, L"TForm3") {
    SetCaption(L"О программе");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(305, 184);
    Position = TPosition::MainFormCenter;

    Label1 = new TLabel(this, this);
    TFont bold = Font();
    bold.SetStyle(TFontStyle::Bold, true);
    Label1->SetFont(bold);
    Label1->SetCaption(L"Tellit v" TELLIT_VERSION_W);
    Label1->SetBounds(12, 12, Label1->Width(), Label1->Height());

    Label2 = new TLabel(this, this);
    Label2->SetCaption(L"\r\n\r\nOnly for belarusian Orbicel.");
    Label2->SetBounds(12, 36, Label2->Width(), Label2->Height());

    Bevel1 = new TBevel(this, this);
    Bevel1->SetBounds(8, 130, 289, 2);

    Button1 = new TButton(this, this);
    Button1->SetCaption(L"Ok");
    Button1->SetBounds(8, 144, 289, 30);
    Button1->ModalResult = mrOk;
}
