#include "app/Unit4.h"

TForm4* Form4 = nullptr;

const std::vector<std::wstring>& HelpLines() {
    static const std::vector<std::wstring> lines = {
        L"Программа предназначена для отправки SMS",      L"абонентам белорусского Orbicel.",
        L"SMS-ки отправляются через Internet. Для того ", L"чтобы получатель смог получить SMS-ку, у него ",
        L"должна быть активирована услуга \"Получение ",  L"SMS с сайта\". Для этого ему необходимо",
        L"отправить на номер 0880250 SMS-ку, ",           L"содержащую латинскую букву '\u0410'.",
        L"Услуга является полностью бесплатной.",         L"",
        L"С одного IP-шника можно отправить не",          L"более 10 SMS в сутки и не чаще 1 раза в минуту.",
        L"Русские SMS отправляются латиницей.",
    };
    return lines;
}

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner, L"TForm4") {
    SetCaption(L"Для чего?");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(276, 245);
    Position = TPosition::MainFormCenter;

    // With a vertical scroll bar: where the font is wider than the one the box was laid out
    // for, the wrapped lines would otherwise hide the last ones.
    Memo1 = new TMemo(this, this, true);
    Memo1->SetBounds(8, 8, 257, 185);
    Memo1->SetReadOnly(true);
    Memo1->SetLines(HelpLines());

    Button1 = new TButton(this, this);
    Button1->SetCaption(L"Ok");
    Button1->SetBounds(98, 205, 80, 29);
    Button1->ModalResult = mrOk;
}
