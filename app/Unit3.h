// The About box.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* AOwner);

    TLabel* Label1;
    TLabel* Label2;
    TBevel* Bevel1;
    TButton* Button1;
};

extern TForm3* Form3;
