#include "tools/gatesim/GateText.h"

#include <cstdint>
#include <cstdio>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order. 0 marks the unassigned byte.
const uint16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

const uint32_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence that starts at text[i], or 0 when the bytes there are not one
// (overlong forms, surrogates and code points past U+10FFFF count as invalid).
size_t Utf8SequenceLength(const std::string& text, size_t i, uint32_t& cp) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t len;
    uint32_t min;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        len = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - i < len) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Appends the JSON form of one code point below U+0080 that needs escaping, or the character itself.
void AppendJsonAscii(std::string& out, unsigned char c) {
    switch (c) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\b':
        out += "\\b";
        break;
    case '\f':
        out += "\\f";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
}

} // namespace

std::string PercentDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        uint32_t cp;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC0) {
            cp = 0x0410 + (b - 0xC0);
        } else {
            cp = kCp1251High[b - 0x80];
            if (cp == 0) cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        size_t len = Utf8SequenceLength(utf8, i, cp);
        if (len == 0) {
            AppendUtf8(out, kReplacement);
            ++i;
        } else if (len == 1) {
            AppendJsonAscii(out, static_cast<unsigned char>(utf8[i]));
            ++i;
        } else {
            out.append(utf8, i, len);
            i += len;
        }
    }
    return out + "\"";
}

std::string JsonBytes(const std::string& bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            AppendJsonAscii(out, b);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", b);
            out += buf;
        }
    }
    return out + "\"";
}

std::string HtmlText(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (b < 0x20 || b >= 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", b);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out;
}
