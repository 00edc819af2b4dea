#include "net/NMURL.h"

#include "framework/SysUtils.h"

std::string UrlEncode(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '+';
        } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string TNMURL::Encode() {
    try {
        return UrlEncode(InputString);
    } catch (const Exception& e) {
        if (OnError) OnError(this, "Error during encode", e.Message);
        return InputString;
    }
}
