#include "skin/controls/SkinFactory_win.h"

#include "skin/controls/SkinButton_win.h"
#include "skin/controls/SkinCheck_win.h"
#include "skin/controls/SkinCombo_win.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/controls/SkinEdit_win.h"
#include "skin/controls/SkinProgress_win.h"
#include "skin/controls/SkinScrollbar_win.h"
#include "skin/controls/SkinStatusBar_win.h"
#include "skin/controls/SkinTab_win.h"

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner) {
    switch (kind) {
    case skEdit:
        return new TSkinEdit(owner);
    case skComBox:
        return new TSkinComBox(owner);
    case skUpDown:
        return new TSkinUpDown(owner);
    case skProgress:
        return new TSkinProgress(owner);
    case skTrackBar:
        return new TSkinTrackBar(owner);
    case skTab:
        return new TSkinTab(owner);
    case skTab31:
        return new TSkinTab31(owner);
    case skHeader:
        return new TSkinHeader(owner);
    case skStatusBar:
        return new TSkinStatusBar(owner);
    case skSizer:
        return new TSkinSizer(owner);
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
    case skScrollbar:
        return new TSkinScrollbar(owner);
    case skListView:
        return new TSkinListView(owner);
    case skScControl:
        return new TSkinScControl(owner);
    default:
        return nullptr;
    }
}
