#include "skin/controls/SkinFactory_win.h"

#include "skin/controls/SkinButton_win.h"
#include "skin/controls/SkinCheck_win.h"

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner) {
    switch (kind) {
    case skButton:
        return new TSkinButton(owner);
    case skBitButton:
        return new TSkinBitButton(owner);
    case skSpeedButton:
        return new TSkinSpeedButton(owner);
    case skCheckBox:
        return new TSkinCheckBox(owner);
    case skRadioButton:
        return new TSkinRadioButton(owner);
    case skGroupBox:
        return new TSkinGroupBox(owner);
    case skBox:
        return new TSkinBox(owner);
    default:
        return nullptr;
    }
}
