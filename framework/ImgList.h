// An image list: pictures of one size, drawn by index, over the system's image lists.
#pragma once

#include "framework/Classes.h"
#include "framework/Graphics.h"

#include <windows.h>

#include <commctrl.h>

class TImageList : public TComponent {
public:
    // Images of width x height (24-bit colour and a mask).
    TImageList(TComponent* AOwner, int width, int height);
    ~TImageList() override;
    // Adds an icon (copied; the caller keeps its own); returns its index, -1 when it failed.
    int AddIcon(HICON icon);
    int Count() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    HIMAGELIST Handle() const { return handle_.Get(); }
    // Image `index` at (x, y); disabled: greyed out as the system greys a disabled image.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
    // "Width", "Height", "Count".
    bool GetPropValue(const std::string& name, TPropValue& value) const override;

private:
    int width_, height_;
    TImageListHandle handle_;
};
