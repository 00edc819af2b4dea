// The base exception, number and text conversions.
#pragma once

#include <exception>
#include <string>

// Every failure the program reports derives from this: an exception that carries a message text
// (UTF-8 bytes).
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

// A text that is not a number where one was needed.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Integer conversion as the framework does it: leading spaces, an optional sign, then decimal
// digits or '$' / "0x" followed by hexadecimal digits, and nothing after; the value must fit in 32
// bits. StrToInt raises EConvertError "'<text>' is not a valid integer value" otherwise.
bool TryStrToInt(const std::string& s, int& value);
int StrToInt(const std::string& s);
int StrToIntDef(const std::string& s, int def);

// Case for any script with letter case in everyday use (Latin with its extensions, Greek, Cyrillic,
// Armenian, full-width Latin), whatever the machine's locale: one routine for every comparison
// that ignores case. The texts are UTF-8; a letter's other case takes as many bytes, and bytes that
// are not well-formed UTF-8 pass unchanged.
wchar_t UpperChar(wchar_t c);
wchar_t LowerChar(wchar_t c);
bool SameText(const std::string& a, const std::string& b); // equal ignoring case
std::string UpperCase(std::string s);
std::string LowerCase(std::string s);

// UTF-8 <-> UTF-16 (on every platform the wide string holds UTF-16 code units when wchar_t is
// 16 bits, code points otherwise). Invalid UTF-8 bytes become U+FFFD.
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);
