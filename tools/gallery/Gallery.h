// The control gallery: one form with every kind of control the skin engine skins, in the states
// a skin must draw, and an MDI main window with children. Used by the gallery program and by
// skinpreview --gallery.
#pragma once

#include "framework/Forms.h"

#include <windows.h>

class TStatusBar;

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* AOwner);
    TStatusBar* Status = nullptr; // the status bar at the bottom (its first panel reports a live skin)
};

// An MDI main window with a menu and two children, the second maximized, so that the skin paints
// the maximized child's buttons in the menu bar row. Destroyed with DestroyWindow.
HWND CreateMDIGallery(int x, int y);
