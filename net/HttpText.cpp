#include "net/HttpText.h"

#include "framework/SysUtils.h"

std::string Base64Encode(const std::string& data) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        uint32_t v = uint32_t(uint8_t(data[i])) << 16 | uint32_t(uint8_t(data[i + 1])) << 8 | uint8_t(data[i + 2]);
        out += alphabet[v >> 18];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    size_t rest = data.size() - i;
    if (rest > 0) {
        uint32_t v = uint32_t(uint8_t(data[i])) << 16;
        if (rest == 2) v |= uint32_t(uint8_t(data[i + 1])) << 8;
        out += alphabet[v >> 18];
        out += alphabet[(v >> 12) & 63];
        out += rest == 2 ? alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// Position of the n-th (1-based) occurrence of c in s, or npos.
static size_t NthPos(const std::string& s, char c, int n) {
    size_t p = std::string::npos;
    for (int i = 0; i < n; ++i) {
        p = s.find(c, p == std::string::npos ? 0 : p + 1);
        if (p == std::string::npos) break;
    }
    return p;
}

std::string ParseUrl(std::string& url, std::string& host, int& port) {
    if (url.empty()) throw Exception("Empty URL");
    if (port == 0) port = 80;

    const bool hasDoubleSlash = url.find("//") != std::string::npos;
    std::string path;
    if (hasDoubleSlash) {
        size_t third = NthPos(url, '/', 3);
        if (third != std::string::npos) path = url.substr(third);
    } else if (size_t first = url.find('/'); first != std::string::npos) {
        path = url.substr(first);
    }

    if (size_t colon = url.find(':'); colon != std::string::npos) {
        std::string scheme = LowerCase(url.substr(0, colon));
        if (scheme == "gopher") port = 70;
        else if (scheme == "ftp") port = 21;
        else if (scheme == "https") throw Exception("HTTP Secure Socket is not supported");
        else port = 80;
    }

    std::string hostPart;
    if (hasDoubleSlash) {
        size_t second = NthPos(url, '/', 2);
        size_t third = NthPos(url, '/', 3);
        if (second != std::string::npos)
            hostPart = url.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
    } else if (url[0] != '/') {
        hostPart = url.substr(0, url.find('/'));
    }

    if (size_t colon = hostPart.find(':'); colon != std::string::npos) {
        size_t next = hostPart.find(':', colon + 1);
        std::string portText =
            hostPart.substr(colon + 1, next == std::string::npos ? std::string::npos : next - colon - 1);
        port = StrToInt(portText);
        hostPart.resize(colon);
    }
    if (!hostPart.empty()) host = hostPart;

    if (path.empty()) {
        path = "/";
        url += "/";
    }
    return path;
}

void SetHeaderLine(TStringList& lines, const std::string& name, const std::string& value) {
    std::string line = name + ": " + value;
    int i = lines.IndexOfName(name, ':');
    if (i >= 0) lines[i] = line;
    else lines.Add(line);
}

bool KindSendsData(CmdType kind) {
    switch (kind) {
    case CmdType::CmdPOST:
    case CmdType::CmdPUT:
    case CmdType::CmdPATCH:
    case CmdType::CmdTRACE: return true;
    default: return false;
    }
}

bool KindHasContentLength(CmdType kind) {
    return KindSendsData(kind) || kind == CmdType::CmdLINK || kind == CmdType::CmdUNLINK;
}

static const char* Verb(CmdType kind) {
    static const char* const verbs[] = {"GET ",  "OPTIONS ", "HEAD ",   "POST ", "PUT ",    "PATCH ",
                                        "COPY ", "MOVE ",    "DELETE ", "LINK ", "UNLINK ", "TRACE "};
    return verbs[int(kind)];
}

void BuildRequestHeader(const TRequestSpec& spec, const THeaderInfo& info, TStringList& lines) {
    lines.Clear();
    lines.Add(Verb(spec.kind) + (spec.viaProxy ? spec.url : spec.path) + " HTTP/1.0");
    if (spec.viaProxy) {
        lines.Add("Proxy-Connection: Keep-Alive");
        lines.Add("Host: " + spec.host);
    }
    SetHeaderLine(lines, "Host", spec.host);
    lines.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    lines.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    if (!info.LocalProgram.empty()) SetHeaderLine(lines, "User-Agent", info.LocalProgram);
    if (!info.LocalMailAddress.empty()) SetHeaderLine(lines, "From", info.LocalMailAddress);
    if (!info.Cookie.empty()) SetHeaderLine(lines, "Cookie", info.Cookie);
    if (!info.Referer.empty()) SetHeaderLine(lines, "Referer", info.Referer);
    if (!info.UserId.empty() && !info.Password.empty())
        SetHeaderLine(lines, spec.viaProxy ? "Proxy-Authorization" : "Authorization",
                      "Basic " + Base64Encode(info.UserId + ":" + info.Password));
    lines.Add("Content-type: application/x-www-form-urlencoded");
    if (spec.kind == CmdType::CmdCOPY || spec.kind == CmdType::CmdMOVE) lines.Add("URI-header: " + spec.second);
    if (spec.kind == CmdType::CmdLINK || spec.kind == CmdType::CmdUNLINK) lines.Add("Link: " + spec.second);
    if (KindHasContentLength(spec.kind)) lines.Add("Content-Length: " + std::to_string(spec.contentLength));
}

// The fields of a line split at single spaces: the first one.
static std::string FirstField(const std::string& line) { return line.substr(0, line.find(' ')); }

static std::string WithoutLineEnd(std::string s) {
    if (!s.empty() && s.back() == '\n') s.pop_back();
    if (!s.empty() && s.back() == '\r') s.pop_back();
    return s;
}

int16_t ParseStatusLine(const std::string& line) {
    size_t sp = line.find(' ');
    if (sp == std::string::npos) return 0;
    size_t end = line.find(' ', sp + 1);
    std::string field = WithoutLineEnd(line.substr(sp + 1, end == std::string::npos ? std::string::npos : end - sp - 1));
    int v = 0;
    if (!TryStrToInt(field, v) || v < -32768 || v > 32767) return 0;
    return int16_t(v);
}

TReplyHeaderFields ParseReplyHeaderLine(const std::string& line) {
    TReplyHeaderFields f;
    std::string upper = UpperCase(line);
    std::string name = FirstField(upper);
    if (name == "SET-COOKIE:") {
        f.hasCookie = true;
        f.cookie = WithoutLineEnd(line.size() > 12 ? line.substr(12) : std::string());
    } else if (name == "LOCATION:") {
        f.hasLocation = true;
        f.location = WithoutLineEnd(line.size() > 10 ? line.substr(10) : std::string());
    } else if (name == "CONTENT-LENGTH:") {
        f.hasContentLength = true;
        // The value starts after "ENGTH:" and the one character (the space) that follows it.
        size_t i = upper.find("ENGTH:") + 7;
        while (i < upper.size() && !(upper[i] >= '0' && upper[i] <= '9')) ++i;
        long long v = 0;
        for (; i < upper.size() && upper[i] >= '0' && upper[i] <= '9'; ++i) {
            if (v > 99999999999999LL) { // past any real length: not a number we can hold
                v = 0;
                break;
            }
            v = v * 10 + (upper[i] - '0');
        }
        f.contentLength = v;
    }
    return f;
}

bool IsHeaderEnd(const std::string& line) { return line.empty() || line == "\n" || line == "\r\n"; }

TReplyHeader ReadReplyHeader(const std::function<std::string()>& nextLine,
                             const std::function<void(const std::string&)>& consume) {
    TReplyHeader h;
    std::string line = nextLine();
    if (!line.empty()) h.status = ParseStatusLine(line);
    consume(line);
    while (!line.empty()) {
        line = nextLine();
        TReplyHeaderFields f = ParseReplyHeaderLine(line);
        if (f.hasCookie) h.fields.hasCookie = true, h.fields.cookie = f.cookie;
        if (f.hasLocation) h.fields.hasLocation = true, h.fields.location = f.location;
        if (f.hasContentLength) h.fields.hasContentLength = true, h.fields.contentLength = f.contentLength;
        consume(line);
        if (IsHeaderEnd(line)) break;
    }
    return h;
}
