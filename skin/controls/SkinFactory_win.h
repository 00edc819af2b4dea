// Makes the skinner of a kind; nullptr for kinds the engine does not skin (yet).
#pragma once

#include "skin/controls/Discovery.h"

class TComponent;
class TSkinControl;

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner);
