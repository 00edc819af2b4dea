#include "app/Unit4.h"

#include <algorithm>

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

    Memo1 = new TMemo(this, this);
    Memo1->SetBounds(8, 8, 257, 185);
    Memo1->SetReadOnly(true);
    Memo1->SetLines(HelpLines());

    Button1 = new TButton(this, this);
    Button1->SetCaption(L"Ok");
    Button1->SetBounds(98, 205, 80, 29);
    Button1->ModalResult = mrOk;
    FitMemo();
}

void TForm4::FitMemo() {
    // The box was laid out for the lines in one font; the system may give a wider one (a machine
    // without it substitutes another for the Cyrillic letters). The memo then grows until every
    // line is one line, as the control itself wraps them, and the window and its button with it.
    const HWND memo = Memo1->Handle();
    const int lines = int(HelpLines().size());
    auto rows = [memo] { return int(SendMessageW(memo, EM_GETLINECOUNT, 0, 0)); };
    int dw = 0;
    while (rows() > lines && dw < 400) {
        dw += 4;
        Memo1->SetBounds(Memo1->Left(), Memo1->Top(), 257 + dw, Memo1->Height());
    }
    // Tall enough to show them all.
    TEXTMETRICW tm{};
    if (const TClientDC dc(memo); dc.Get()) {
        TSelectObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(memo, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.Get(), &tm);
    }
    RECT wr{}, cr{};
    GetWindowRect(memo, &wr);
    GetClientRect(memo, &cr);
    const int needH = lines * int(tm.tmHeight) + (wr.bottom - wr.top) - cr.bottom + 4;
    const int dh = std::max(0, needH - 185);
    if (dw == 0 && dh == 0) return;
    Memo1->SetBounds(Memo1->Left(), Memo1->Top(), 257 + dw, 185 + dh);
    SetClientSize(276 + dw, 245 + dh);
    Button1->SetBounds(98 + dw / 2, 205 + dh, Button1->Width(), Button1->Height());
}
