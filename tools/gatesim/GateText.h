// Text conversions of the gateway simulator: query escapes, Windows-1251, JSON and HTML strings.
// Plain byte and string work, no sockets, so all of it is tested natively.
#pragma once

#include <string>

// Decodes a query value: "+" becomes a space and "%" with two hexadecimal digits (either case) the
// byte they name. A "%" without two hexadecimal digits after it stays as it is.
std::string PercentDecode(const std::string& text);

// Converts Windows-1251 bytes to UTF-8. The one byte that has no character (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(const std::string& bytes);

// A JSON string literal, quotes included, for UTF-8 text. Control characters, quotes and
// backslashes are escaped; bytes that are not valid UTF-8 become U+FFFD, so the result is always
// valid UTF-8.
std::string JsonString(const std::string& utf8);

// A JSON string literal for arbitrary bytes, lossless: every byte stands for the code point of the
// same number (bytes 0x80..0xFF become \u0080..\u00FF), so the exact bytes can be read back.
std::string JsonBytes(const std::string& bytes);

// Text safe to place in an HTML page: markup characters are escaped, and bytes outside printable
// ASCII are shown as \xNN so that echoed request data never changes the page's meaning.
std::string HtmlText(const std::string& bytes);
