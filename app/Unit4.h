// The help window ("Для чего?").
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <string>
#include <vector>

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);
    // Widens and heightens the memo (and the window) where the font is too large for the lines.
    void FitMemo();

    TMemo* Memo1;
    TButton* Button1;
};

// The help text, line by line.
const std::vector<std::wstring>& HelpLines();

extern TForm4* Form4;
