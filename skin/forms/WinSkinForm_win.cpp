#include "skin/forms/WinSkinForm_win.h"

#include <algorithm>
#include <utility>
#include <vector>

HRGN RectsToRegion(const std::vector<TRect>& rects) {
    const size_t kChunk = 2000;
    TRgn result;
    std::vector<char> buffer;
    for (size_t start = 0; start < rects.size(); start += kChunk) {
        size_t count = std::min(kChunk, rects.size() - start);
        buffer.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = DWORD(count);
        data->rdh.nRgnSize = DWORD(count * sizeof(RECT));
        RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        auto* out = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < count; ++i) {
            const TRect& r = rects[start + i];
            out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
            bounds.left = std::min(bounds.left, LONG(r.Left));
            bounds.top = std::min(bounds.top, LONG(r.Top));
            bounds.right = std::max(bounds.right, LONG(r.Right));
            bounds.bottom = std::max(bounds.bottom, LONG(r.Bottom));
        }
        data->rdh.rcBound = bounds;
        TRgn part(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
        if (!part) return nullptr;
        if (!result)
            result = std::move(part);
        else
            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result.Release();
}
