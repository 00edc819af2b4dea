// The progress window shown while a message is sent.
#pragma once

#include "framework/ComCtrls.h"
#include "framework/Forms.h"

class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* AOwner);

    TProgressBar* ProgressBar1;
};

extern TForm5* Form5;
