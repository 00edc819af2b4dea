// Common controls: the progress bar (msctls_progress32).
#pragma once

#include "framework/Controls.h"

class TProgressBar : public TWinControl {
public:
    // smooth: a continuous bar rather than blocks.
    TProgressBar(TComponent* AOwner, TWinControl* AParent, bool smooth = false);
    int Min() const;
    int Max() const;
    void SetRange(int min, int max);
    int Position() const;
    void SetPosition(int value);
};
