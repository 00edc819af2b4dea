// The proxy dialog: the live holder of the proxy settings, which the send routine reads at each
// send; "Ok" also stores them in the settings file.
#pragma once

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);

    TCheckBox* CheckBox1;
    TLabel* LHost;
    TEdit* EHost;
    TLabel* LPort;
    TEdit* EPort;
    TGroupBox* GroupBox1;
    TCheckBox* CheckBox2;
    TLabel* LUsername;
    TEdit* EUsername;
    TLabel* LPassword;
    TEdit* EPassword;
    TBitBtn* BOk;

    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void BOkClick(TObject* Sender);
};

extern TForm2* Form2;
