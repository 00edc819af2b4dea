#include "framework/SysUtils.h"

#include <cstdint>

bool TryStrToInt(const std::string& s, int& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * uint64_t(base) + uint64_t(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    if (base == 10) {
        if (v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
        value = negative ? int(-int64_t(v)) : int(v);
    } else {
        // Hexadecimal may spell the full 32-bit pattern, as the framework's conversion allows;
        // negating wraps in 32 bits (done unsigned, so -$80000000 is no overflow).
        uint32_t bits = uint32_t(v);
        value = int32_t(negative ? 0u - bits : bits);
    }
    return true;
}

int StrToInt(const std::string& s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const std::string& s, int def) {
    int v = 0;
    return TryStrToInt(s, v) ? v : def;
}

namespace {
// Upper-case letters and their small letters: a run shifted by Delta, or (Delta 0) a run of
// alternating pairs, the capital first. Every pair's two letters take the same number of UTF-8
// bytes, so folding never changes a text's length.
struct TCaseRun {
    char32_t First, Last;
    int Delta;
};
constexpr TCaseRun kCaseRuns[] = {
    {0x41, 0x5A, 32},   {0xC0, 0xD6, 32},   {0xD8, 0xDE, 32},     {0x100, 0x12F, 0},    {0x132, 0x137, 0},
    {0x139, 0x148, 0},  {0x14A, 0x177, 0},  {0x178, 0x178, -121}, {0x179, 0x17E, 0},    {0x386, 0x386, 38},
    {0x388, 0x38A, 37}, {0x38C, 0x38C, 64}, {0x38E, 0x38F, 63},   {0x391, 0x3A1, 32},   {0x3A3, 0x3AB, 32},
    {0x400, 0x40F, 80}, {0x410, 0x42F, 32}, {0x460, 0x481, 0},    {0x48A, 0x4BF, 0},    {0x4C0, 0x4C0, 15},
    {0x4C1, 0x4CE, 0},  {0x4D0, 0x52F, 0},  {0x531, 0x556, 48},   {0xFF21, 0xFF3A, 32},
};

char32_t LowerOf(char32_t c) {
    for (const TCaseRun& r : kCaseRuns)
        if (c >= r.First && c <= r.Last) {
            if (r.Delta) return char32_t(int(c) + r.Delta);
            return (c - r.First) % 2 == 0 ? c + 1 : c;
        }
    return c;
}

char32_t UpperOf(char32_t c) {
    if (c == 0x3C2) return 0x3A3; // final sigma
    for (const TCaseRun& r : kCaseRuns) {
        if (r.Delta) {
            const char32_t first = char32_t(int(r.First) + r.Delta), last = char32_t(int(r.Last) + r.Delta);
            if (c >= first && c <= last) return char32_t(int(c) - r.Delta);
        } else if (c > r.First && c <= r.Last + 1 && (c - r.First) % 2 == 1) {
            return c - 1;
        }
    }
    return c;
}

// Folds each well-formed UTF-8 sequence of s; other bytes pass unchanged.
std::string FoldUtf8(std::string s, char32_t (*fold)(char32_t)) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            s[i] = char(fold(b));
            ++i;
            continue;
        }
        const size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 1;
        if (n == 1 || i + n > s.size()) {
            ++i;
            continue;
        }
        char32_t c = b & (0xFF >> (n + 1));
        bool ok = true;
        for (size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            ok = ok && (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (ok && n == 2 && c < 0x800) {
            const char32_t f = fold(c);
            if (f >= 0x80 && f < 0x800) { // always so for the runs above
                s[i] = char(0xC0 | (f >> 6));
                s[i + 1] = char(0x80 | (f & 0x3F));
            }
        } else if (ok && n == 3 && c >= 0x800) {
            const char32_t f = fold(c);
            if (f >= 0x800 && f < 0x10000) {
                s[i] = char(0xE0 | (f >> 12));
                s[i + 1] = char(0x80 | ((f >> 6) & 0x3F));
                s[i + 2] = char(0x80 | (f & 0x3F));
            }
        }
        i += ok ? n : 1;
    }
    return s;
}
} // namespace

wchar_t UpperChar(wchar_t c) {
    return wchar_t(UpperOf(char32_t(c)));
}

wchar_t LowerChar(wchar_t c) {
    return wchar_t(LowerOf(char32_t(c)));
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    // Property and key names are ASCII: compared in place; other texts through the folded copies.
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) return UpperCase(a) == UpperCase(b);
        if (UpperOf(x) != UpperOf(y)) return false;
    }
    return true;
}

std::string UpperCase(std::string s) {
    return FoldUtf8(std::move(s), UpperOf);
}

std::string LowerCase(std::string s) {
    return FoldUtf8(std::move(s), LowerOf);
}

std::wstring Utf8ToWide(const std::string& s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if (c >= 0xC2 && c <= 0xF4) {
            len = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            uint32_t v = c & (0x3F >> (len - 1));
            bool ok = i + len <= s.size();
            for (size_t k = 1; ok && k < len; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                ok = (cc & 0xC0) == 0x80;
                v = (v << 6) | (cc & 0x3F);
            }
            // Reject overlong forms, surrogates and values past U+10FFFF.
            static const uint32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && v >= minimum[len] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF))
                cp = v;
            else
                len = 1;
        }
        i += len;
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            cp -= 0x10000;
            out += wchar_t(0xD800 + (cp >> 10));
            out += wchar_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += wchar_t(cp);
        }
    }
    return out;
}

std::string WideToUtf8(const std::wstring& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = uint32_t(s[i]);
        if (sizeof(wchar_t) == 2) cp &= 0xFFFF;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size()) {
            uint32_t lo = uint32_t(s[i + 1]) & 0xFFFF;
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
        if (cp > 0x10FFFF) cp = 0xFFFD;
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
