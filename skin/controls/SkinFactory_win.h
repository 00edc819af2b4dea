// Makes the skinner of a kind; nullptr for kinds the engine does not skin (yet).
//
// A new control kind, step by step:
//  1. Discovery.h: a TSkinnerKind member, and a TFrameworkClass bit if a framework class stands
//     for it.
//  2. Discovery.cpp: the row of DiscoverComponent's class table that picks it (rows are weighed in
//     order: put it before any row that would catch its class first), the kind's name in
//     Find3rdControl if a skin may map other classes to it, and the entry of DiscoverWindow for
//     windows made without the framework. A native table test covers each.
//  3. Its skinner: a class of its own header (Skin<Kind>_win.h), derived from TSkinControl, which
//     draws in DrawControl(HDC, RECT) and keeps the system's drawing where the skin lacks the
//     image it draws from. Its portable arithmetic goes in a *Rules file with native tests.
//  4. CreateSkinner below: the case that makes it.
//  5. The gallery (tools/gallery): a control of the kind, so skinpreview --gallery shows it, and
//     a row in the driven skinner tests under Wine.
#pragma once

#include "skin/controls/Discovery.h"

class TComponent;
class TSkinControl;

TSkinControl* CreateSkinner(TSkinnerKind kind, TComponent* owner);
