// skinpreview SKIN.skn OUT.png [--size WxH | --gallery] [--dpi N]
// skinpreview --states SKIN.skn OUT.png
// Opens a sample window skinned with the given package and writes one PNG of it: active,
// inactive, and with every caption button hot and pressed. With --gallery, the control gallery
// (every kind of control, and an MDI main window with a maximized child) in the system's look
// beside the skinned one. With --states, every control kind in every state it draws (StatesSheet.cpp).
// With --dpi, the sample window or the gallery is drawn at N DPI (96 is 100 %, 144 is 150 %, 192 is
// 200 %) as on a monitor of that DPI: it is told so with WM_DPICHANGED, as a move there tells it.
// For skin authors, who see a skin this way without writing a program.
#include "skin/data/PngWrite.h"
#include "skin/data/SkinDataCore.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinForm_win.h"

#include "framework/SysUtils.h"
#include "tools/gallery/Gallery.h"
#include "tools/skinpreview/StatesSheet.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

int Fail(const std::string& text) {
    std::fprintf(stderr, "skinpreview: %s\n", text.c_str());
    return 1;
}

LRESULT CALLBACK SampleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DPICHANGED) {
        // A window aware of its monitor's DPI takes the rectangle the system suggests.
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Tells the window its monitor has `dpi`, with the rectangle the system would suggest: the
// window's own, scaled from `from` about its top-left corner.
void MoveToDpi(HWND hwnd, int dpi, int from) {
    if (dpi == from) return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, from),
                   r.top + MulDiv(r.bottom - r.top, dpi, from)};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

HMENU SampleMenu() {
    HMENU bar = CreateMenu();
    for (const wchar_t* title : {L"&Файл", L"&Настройки", L"&Помощь"}) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"&Пункт");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), title);
    }
    return bar;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

constexpr TPixel kSheet = PixelRGB(250, 250, 250);

// The window as the skin paints it, with every visible caption button in `state`.
TBitmap32 Shot(TWinSkinForm& skinner, bool active, int state) {
    SendMessageW(skinner.Handle(), WM_NCACTIVATE, active, 0);
    Pump();
    TBitmap32 map = skinner.getClipMap();
    const TFrameMetrics& m = skinner.Metrics();
    const TPixel face = PixelFromColor(TColor(SkinColorRGB(skinner.SkinData()->Colors[csButtonFace])));
    map.FillRect(TRect{m.Left, m.Caption + m.MenuBar, map.Width() - m.Right, map.Height() - m.Bottom}, face);
    // What the window region cuts away shows the sheet behind.
    for (int y = 0; y < map.Height(); ++y)
        for (TPixel *p = map.ScanLine(y), *end = p + map.Width(); p != end; ++p)
            if (PixelIs(*p, clSkinKey)) *p = kSheet;
    if (state == kStateNormal) return map;
    for (const auto& b : skinner.SysButtons()) {
        TDib piece;
        if (SysButtonDrawn(b->Entry, b->Visible, b->Rect, TFacePass::Caption) &&
            skinner.SysButtonFace(piece, *b, state, nullptr))
            DrawBitmap(map, b->Rect.Left, b->Rect.Top, piece.Bits());
    }
    return map;
}

// The window as the screen shows it, brought to the top first.
TBitmap32 ScreenShot(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 300;) {
        Pump();
        Sleep(10);
    }
    RECT r{};
    GetWindowRect(hwnd, &r);
    return ScreenPixels(r);
}

// Writes the sheet as a PNG and says so.
int WriteSheet(TDib& sheet, const std::string& outPath) {
    GdiFlush();
    const std::vector<std::uint8_t> png = WritePng(sheet.Bits());
    std::ofstream out(Utf8ToWide(outPath).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    if (!out) return Fail("cannot write " + outPath);
    std::printf("%s: %d x %d\n", outPath.c_str(), sheet.Width(), sheet.Height());
    return 0;
}

// The gallery and the MDI window in the system's look, then skinned; two rows of two.
int Gallery(TSkinDataCore& skin, const std::string& outPath, int dpi) {
    Application->Initialize();
    auto* form = new TGalleryForm(Application);
    HWND mdi = CreateMDIGallery(10, 10);
    if (!mdi) return Fail("cannot create the MDI window");
    form->Show();
    if (dpi) MoveToDpi(form->Handle(), dpi, form->PixelsPerInch());
    TBitmap32 shots[4];
    shots[0] = ScreenShot(form->Handle());
    ShowWindow(form->Handle(), SW_HIDE);
    shots[2] = ScreenShot(mdi);
    ShowWindow(mdi, SW_HIDE);

    ShowWindow(form->Handle(), SW_SHOW);
    std::vector<std::unique_ptr<TWinSkinForm>> skinners;
    skinners.push_back(SkinWindow(form->Handle(), &skin));
    shots[1] = ScreenShot(form->Handle());
    ShowWindow(form->Handle(), SW_HIDE);
    ShowWindow(mdi, SW_SHOW);
    skinners.push_back(SkinWindow(mdi, &skin));
    for (HWND c = GetWindow(skinners.back()->MDIClient(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        skinners.push_back(SkinWindow(c, &skin));
    if (dpi) MoveToDpi(mdi, dpi, WindowDpi(mdi));
    skinners[1]->InitSkinData();
    shots[3] = ScreenShot(mdi);

    const int gap = 16, label = 20;
    const int W = std::max(shots[0].Width(), shots[2].Width()), H0 = shots[0].Height(), H1 = shots[2].Height();
    TDib sheet;
    if (!sheet.Resize(2 * W + 3 * gap, H0 + H1 + 2 * label + 3 * gap)) return Fail("the gallery is too large");
    sheet.Bits().Fill(kSheet);
    SetBkMode(sheet.DC(), TRANSPARENT);
    TSelectObject font(sheet.DC(), GetStockObject(DEFAULT_GUI_FONT));
    const wchar_t* labels[2] = {L"system look", L"skinned"};
    for (int i = 0; i < 4; ++i) {
        const int x = gap + (i % 2) * (W + gap), y = gap + (i / 2) * (H0 + label + gap);
        RECT t{x, y, x + W, y + label};
        DrawTextW(sheet.DC(), labels[i % 2], -1, &t, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
        GdiFlush();
        DrawBitmap(sheet.Bits(), x, y + label, shots[i]);
    }
    const int result = WriteSheet(sheet, outPath);
    for (auto it = skinners.rbegin(); it != skinners.rend(); ++it)
        it->reset();
    DestroyWindow(mdi);
    delete form;
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // --dpi N, last, applies to the preview and the gallery.
    int dpi = 0;
    if (argc >= 5 && std::wstring(argv[argc - 2]) == L"--dpi") {
        if (swscanf(argv[argc - 1], L"%d", &dpi) != 1 || dpi < 48 || dpi > 480)
            return Fail("--dpi takes a DPI from 48 to 480 (96 is 100 %)");
        argc -= 2;
    }
    if (argc == 4 && std::wstring(argv[1]) == L"--states") {
        TSkinDataCore skin;
        const std::string skinPath = WideToUtf8(argv[2]);
        if (!skin.LoadFromFile(skinPath)) return Fail("cannot load the skin package " + skinPath);
        return StatesSheet(skin, WideToUtf8(argv[3]));
    }
    if (argc == 4 && std::wstring(argv[3]) == L"--gallery") {
        TSkinDataCore skin;
        const std::string skinPath = WideToUtf8(argv[1]);
        if (!skin.LoadFromFile(skinPath)) return Fail("cannot load the skin package " + skinPath);
        return Gallery(skin, WideToUtf8(argv[2]), dpi);
    }
    if (argc != 3 && argc != 5)
        return Fail("usage: skinpreview SKIN.skn OUT.png [--size WxH | --gallery] [--dpi N]\n       skinpreview "
                    "--states SKIN.skn OUT.png");
    int cw = 331, ch = 216;
    if (argc == 5) {
        if (std::wstring(argv[3]) != L"--size" || swscanf(argv[4], L"%dx%d", &cw, &ch) != 2 || cw < 1 || ch < 1 ||
            cw > 4000 || ch > 4000)
            return Fail("--size takes WIDTHxHEIGHT, each 1 to 4000");
    }
    const std::string skinPath = WideToUtf8(argv[1]), outPath = WideToUtf8(argv[2]);
    TSkinDataCore skin;
    if (!skin.LoadFromFile(skinPath)) return Fail("cannot load the skin package " + skinPath);

    WNDCLASSW wc{};
    wc.lpfnWndProc = SampleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SkinPreview";
    RegisterClassW(&wc);
    RECT r{0, 0, cw, ch};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND hwnd = CreateWindowExW(0, L"SkinPreview", L"Tellit: skin preview", WS_OVERLAPPEDWINDOW, 40, 40,
                                r.right - r.left, r.bottom - r.top, nullptr, SampleMenu(), wc.hInstance, nullptr);
    if (!hwnd) return Fail("cannot create the sample window");
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    std::unique_ptr<TWinSkinForm> skinner = SkinWindow(hwnd, &skin);
    Pump();
    if (dpi) {
        MoveToDpi(hwnd, dpi, skinner->Dpi());
        Pump();
    }

    const struct {
        const wchar_t* label;
        bool active;
        int state;
    } shots[] = {{L"active", true, kStateNormal},
                 {L"inactive", false, kStateNormal},
                 {L"buttons hot", true, kStateHot},
                 {L"buttons pressed", true, kStatePressed}};
    const int gap = 16, label = 20;
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    TDib sheet;
    if (!sheet.Resize(2 * W + 3 * gap, 2 * (H + label) + 3 * gap)) return Fail("the window is too large to preview");
    sheet.Bits().Fill(kSheet);
    SetBkMode(sheet.DC(), TRANSPARENT);
    TSelectObject font(sheet.DC(), GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < 4; ++i) {
        const int x = gap + (i % 2) * (W + gap), y = gap + (i / 2) * (H + label + gap);
        RECT t{x, y, x + W, y + label};
        DrawTextW(sheet.DC(), shots[i].label, -1, &t, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
        GdiFlush();
        DrawBitmap(sheet.Bits(), x, y + label, Shot(*skinner, shots[i].active, shots[i].state));
    }
    const int result = WriteSheet(sheet, outPath);
    skinner.reset();
    DestroyWindow(hwnd);
    return result;
}
