#include "framework/Dpi.h"

#include "framework/Graphics.h"

#include <initializer_list>

namespace {

template <class F>
F User32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

void ScaleFont(LOGFONTW& f, int to, int from) {
    f.lfHeight = ScaleByDpi(f.lfHeight, to, from);
    f.lfWidth = ScaleByDpi(f.lfWidth, to, from);
}

} // namespace

void DeclareDpiAwareness() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using SetAwareFn = BOOL(WINAPI*)();
    static bool done = false;
    if (done) return;
    done = true;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE, which older headers lack.
    const auto setContext = User32Function<SetContextFn>("SetProcessDpiAwarenessContext");
    if (setContext && (setContext(reinterpret_cast<HANDLE>(-4)) || setContext(reinterpret_cast<HANDLE>(-3)))) return;
    if (GetLastError() == ERROR_ACCESS_DENIED) return; // set already
    if (const auto setAware = User32Function<SetAwareFn>("SetProcessDPIAware")) setAware();
}

int ScaleByDpi(int v, int to, int from) {
    if (to < 1 || from < 1 || to == from) return v;
    return MulDiv(v, to, from);
}

int SystemDpi() {
    const TClientDC dc(nullptr);
    const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : kDesignDpi;
    return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND hwnd) {
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (forWindow && hwnd) {
        const UINT dpi = forWindow(hwnd);
        if (dpi > 0) return int(dpi);
    }
    return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi && dpi > 0) return forDpi(index, UINT(dpi));
    return ScaleByDpi(GetSystemMetrics(index), dpi, SystemDpi());
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& ncm, int dpi) {
    static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    ncm = NONCLIENTMETRICSW{};
    ncm.cbSize = sizeof(ncm);
    if (forDpi && dpi > 0 && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, UINT(dpi))) return true;
    ncm = NONCLIENTMETRICSW{};
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return false;
    const int from = SystemDpi();
    for (int* v : {&ncm.iBorderWidth, &ncm.iScrollWidth, &ncm.iScrollHeight, &ncm.iCaptionWidth, &ncm.iCaptionHeight,
                   &ncm.iSmCaptionWidth, &ncm.iSmCaptionHeight, &ncm.iMenuWidth, &ncm.iMenuHeight})
        *v = ScaleByDpi(*v, dpi, from);
    for (LOGFONTW* f : {&ncm.lfCaptionFont, &ncm.lfSmCaptionFont, &ncm.lfMenuFont, &ncm.lfStatusFont, &ncm.lfMessageFont})
        ScaleFont(*f, dpi, from);
    return true;
}
