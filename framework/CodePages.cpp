#include "framework/CodePages.h"

#include <windows.h>

std::string WideToCodePage(const std::wstring& text, unsigned codePage) {
    if (text.empty()) return {};
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0, "?", nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), out.data(), n, "?", nullptr);
    return out;
}

std::wstring CodePageToWide(const std::string& bytes, unsigned codePage) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), out.data(), n);
    return out;
}
