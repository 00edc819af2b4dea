#include "skin/controls/SkinFactory_win.h"

#include "skin/controls/SkinControl_win.h"

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner) {
    (void)owner;
    switch (kind) {
    default:
        return nullptr;
    }
}
