// Conversions between UTF-16 text and 8-bit code pages, for text that travels as bytes.
#pragma once

#include <string>

// Windows-1251, the code page of Russian text on the wire.
constexpr unsigned CP_RUSSIAN = 1251;

// The text in the code page; a character that has no form there becomes '?' (no look-alike
// substitutes).
std::string WideToCodePage(const std::wstring& text, unsigned codePage);
std::wstring CodePageToWide(const std::string& bytes, unsigned codePage);
