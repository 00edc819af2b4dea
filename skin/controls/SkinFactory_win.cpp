#include "skin/controls/SkinFactory_win.h"

#include "skin/controls/SkinControl_win.h"
#include "skin/controls/SkinScrollbar_win.h"

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner) {
    switch (kind) {
    case skScrollbar:
        return new TSkinScrollbar(owner);
    case skScControl:
        return new TSkinScControl(owner);
    default:
        return nullptr;
    }
}
