#include "framework/ImgList.h"

#include "framework/SysUtils.h"

TImageList::TImageList(TComponent* AOwner, int width, int height)
    : TComponent(AOwner), width_(width), height_(height),
      handle_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)) {}

TImageList::~TImageList() = default;

int TImageList::AddIcon(HICON icon) {
    return handle_ && icon ? ImageList_AddIcon(handle_, icon) : -1;
}

int TImageList::Count() const {
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (!handle_ || index < 0 || index >= Count()) return;
    if (enabled) {
        ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    const TIconHandle icon(ImageList_GetIcon(handle_, index, ILD_TRANSPARENT));
    if (!icon) return;
    DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.Get()), 0, x, y, width_, height_,
              DST_ICON | DSS_DISABLED);
}

bool TImageList::GetPropValue(const std::string& name, TPropValue& value) const {
    if (SameText(name, "Width")) return PropInteger(value, width_);
    if (SameText(name, "Height")) return PropInteger(value, height_);
    if (SameText(name, "Count")) return PropInteger(value, Count());
    return TComponent::GetPropValue(name, value);
}
