// The skin manager's decisions, free of any window system: which skin data component a window
// takes, and whether a top-level window gets a frame skinner.
#pragma once

#include "skin/data/SkinOptions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the manager knows of a registered skin data component, in registration order.
struct TSkinDataEntry {
    TSkinFormType Type = sfMainform;
    std::uintptr_t OwnerWindow = 0; // the window of the form that owns the component; 0 for none
};

// The component a window takes: an sfOnlyThisForm component of the window's own form (the last
// such), for standard dialogs and message boxes the last sfDialog one, else the last sfMainform
// one, else the first. -1 when none is registered.
int FindSkindataIndex(const std::vector<TSkinDataEntry>& list, std::uintptr_t window, const std::string& className);

// The facts AddForm weighs, in the order it weighs them.
struct TAddFormFacts {
    bool SkinningActive = false;
    bool AnswersQuery = false; // the window says it is skinned already
    bool HasSkinner = false;   // the manager has a skinner for it
    bool Nested = false;       // a child window whose parent is not an MDI client
    bool InstallPass = false;  // nested forms are let through during an install pass
    bool ZeroArea = false;
    long long FormTag = 0; // the framework form's tag (0 for other windows)
    std::string ClassName;
    // The application's veto (OnBeforeSkin), asked only when every earlier condition holds;
    // none given allows.
    std::function<bool()> ApplicationAllows;
    bool SkinFound = false;
    bool SkinLoading = true;
};

// Whether the window gets a frame skinner. A form tagged 99 and the framework's hidden
// application window never do.
bool MayAddForm(const TAddFormFacts& f);
