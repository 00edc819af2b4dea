#include "app/Unit5.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* AOwner) : TForm(AOwner, L"TForm5") {
    SetCaption(L"Отправка SMS");
    SetBorderStyle(TFormBorderStyle::Dialog);
    SetClientSize(260, 64);
    SetStayOnTop(true);
    Position = TPosition::MainFormCenter;

    ProgressBar1 = new TProgressBar(this, this, true);
    ProgressBar1->SetBounds(17, 25, 225, 13);
    ProgressBar1->SetRange(0, 100);
}
