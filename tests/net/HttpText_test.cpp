#include "net/HttpText.h"

#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Parsed {
    std::string url, host, path;
    int port;
};

Parsed Parse(std::string url, std::string host = "old", int port = 0) {
    std::string path = ParseUrl(url, host, port);
    return {url, host, path, port};
}

TEST(ParseUrl, SplitsHostPortAndPath) {
    Parsed p = Parse("http://example.org/cgi-bin/x?a=1");
    EXPECT_EQ(p.host, "example.org");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.path, "/cgi-bin/x?a=1");
    EXPECT_EQ(p.url, "http://example.org/cgi-bin/x?a=1");

    p = Parse("http://127.0.0.1:8080/a/b");
    EXPECT_EQ(p.host, "127.0.0.1");
    EXPECT_EQ(p.port, 8080);
    EXPECT_EQ(p.path, "/a/b");

    // Without a scheme: the host is the text before the first slash, and the port stays.
    p = Parse("example.org/x", "old", 81);
    EXPECT_EQ(p.host, "example.org");
    EXPECT_EQ(p.path, "/x");
    EXPECT_EQ(p.port, 81);
}

TEST(ParseUrl, UrlWithoutPathGetsSlash) {
    Parsed p = Parse("http://example.org");
    EXPECT_EQ(p.path, "/");
    EXPECT_EQ(p.url, "http://example.org/");
    // A trailing slash is the path already: nothing is doubled.
    p = Parse("http://example.org/");
    EXPECT_EQ(p.path, "/");
    EXPECT_EQ(p.url, "http://example.org/");
}

TEST(ParseUrl, SchemeDecidesDefaultPort) {
    EXPECT_EQ(Parse("gopher://h/x").port, 70);
    EXPECT_EQ(Parse("FTP://h/x").port, 21);
    EXPECT_EQ(Parse("http://h/x", "old", 1234).port, 80);
    EXPECT_EQ(Parse("/relative", "old", 0).port, 80);
    EXPECT_EQ(Parse("/relative", "old", 0).host, "old");
}

TEST(ParseUrl, Failures) {
    try {
        Parse("");
        FAIL() << "empty url accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Empty URL");
    }
    try {
        Parse("HTTPS://secure.example/");
        FAIL() << "https accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "HTTP Secure Socket is not supported");
    }
    EXPECT_THROW(Parse("http://h:8o80/"), EConvertError);
}

TEST(ParseUrl, LongPathIsKeptWhole) {
    std::string tail(600, 'x');
    Parsed p = Parse("http://h/" + tail + "&Year=2027");
    EXPECT_EQ(p.path, "/" + tail + "&Year=2027");
}

TEST(Base64, KnownAnswersAndOneLine) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(Base64Encode(std::string("\xff\xfe\x00", 3)), "//4A");
    std::string longText(200, 'u');
    std::string enc = Base64Encode(longText);
    EXPECT_EQ(enc.size(), 268u);
    EXPECT_EQ(enc.find_first_of("\r\n"), std::string::npos);
}

TEST(HeaderList, SetOrReplaceIgnoresCase) {
    TStringList l;
    l.Add("GET / HTTP/1.0");
    l.Add("host: a");
    SetHeaderLine(l, "Host", "b");
    SetHeaderLine(l, "Cookie", "x=1");
    SetHeaderLine(l, "COOKIE", "x=2");
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l[1], "Host: b");
    EXPECT_EQ(l[2], "COOKIE: x=2");
}

std::string Header(const TRequestSpec& spec, const THeaderInfo& info = THeaderInfo()) {
    TStringList l;
    BuildRequestHeader(spec, info, l);
    return l.Text();
}

const char* kAccept = "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                      "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";

TEST(RequestHeader, DirectGet) {
    TRequestSpec s;
    s.url = "http://gw/cgi?x=1";
    s.path = "/cgi?x=1";
    s.host = "gw";
    EXPECT_EQ(Header(s), std::string("GET /cgi?x=1 HTTP/1.0\r\nHost: gw\r\n") + kAccept +
                             "Content-type: application/x-www-form-urlencoded\r\n");
}

TEST(RequestHeader, ProxyGetWithAndWithoutIdentification) {
    TRequestSpec s;
    s.url = "http://gw/cgi?x=1";
    s.path = "/cgi?x=1";
    s.host = "gw";
    s.viaProxy = true;
    const std::string head = "GET http://gw/cgi?x=1 HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\nHost: gw\r\n";
    EXPECT_EQ(Header(s), head + kAccept + "Content-type: application/x-www-form-urlencoded\r\n");

    THeaderInfo info;
    info.UserId = "user";
    info.Password = "secret";
    EXPECT_EQ(Header(s, info), head + kAccept + "Proxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n" +
                                   "Content-type: application/x-www-form-urlencoded\r\n");
    // Straight to the origin server the same credentials go in an Authorization line.
    s.viaProxy = false;
    EXPECT_NE(Header(s, info).find("\r\nAuthorization: Basic dXNlcjpzZWNyZXQ=\r\n"), std::string::npos);
    // Either part empty: no credentials at all.
    info.Password.clear();
    EXPECT_EQ(Header(s, info).find("Authorization"), std::string::npos);
}

TEST(RequestHeader, OptionalLinesInOrder) {
    TRequestSpec s;
    s.path = "/";
    s.host = "h";
    THeaderInfo info;
    info.LocalProgram = "prog";
    info.LocalMailAddress = "me@x";
    info.Cookie = "c=1";
    info.Referer = "http://r/";
    TStringList l;
    BuildRequestHeader(s, info, l);
    ASSERT_EQ(l.Count(), 9);
    EXPECT_EQ(l[4], "User-Agent: prog");
    EXPECT_EQ(l[5], "From: me@x");
    EXPECT_EQ(l[6], "Cookie: c=1");
    EXPECT_EQ(l[7], "Referer: http://r/");
    EXPECT_EQ(l[8], "Content-type: application/x-www-form-urlencoded");
}

TEST(RequestHeader, EachKindHasItsVerbAndLines) {
    struct Case {
        CmdType kind;
        const char* verb;
        const char* extra; // line after Content-type, or ""
        bool length;
    } cases[] = {
        {CmdType::CmdGET, "GET", "", false},         {CmdType::CmdOPTIONS, "OPTIONS", "", false},
        {CmdType::CmdHEAD, "HEAD", "", false},       {CmdType::CmdPOST, "POST", "", true},
        {CmdType::CmdPUT, "PUT", "", true},          {CmdType::CmdPATCH, "PATCH", "", true},
        {CmdType::CmdCOPY, "COPY", "URI-header: second", false},
        {CmdType::CmdMOVE, "MOVE", "URI-header: second", false},
        {CmdType::CmdDELETE, "DELETE", "", false},   {CmdType::CmdLINK, "LINK", "Link: second", true},
        {CmdType::CmdUNLINK, "UNLINK", "Link: second", true}, {CmdType::CmdTRACE, "TRACE", "", true},
    };
    for (const Case& c : cases) {
        TRequestSpec s;
        s.kind = c.kind;
        s.path = "/p";
        s.host = "h";
        s.second = "second";
        s.contentLength = 42;
        TStringList l;
        BuildRequestHeader(s, THeaderInfo(), l);
        SCOPED_TRACE(c.verb);
        EXPECT_EQ(l[0], std::string(c.verb) + " /p HTTP/1.0");
        int i = 4;
        EXPECT_EQ(l[i++], "Content-type: application/x-www-form-urlencoded");
        if (*c.extra) {
            EXPECT_EQ(l[i++], c.extra);
        }
        if (c.length) {
            EXPECT_EQ(l[i++], "Content-Length: 42");
        }
        EXPECT_EQ(l.Count(), i);
    }
}

TEST(ReplyHeader, StatusLine) {
    EXPECT_EQ(ParseStatusLine("HTTP/1.0 200 OK\r\n"), 200);
    EXPECT_EQ(ParseStatusLine("HTTP/1.1 302\r\n"), 302);
    EXPECT_EQ(ParseStatusLine("HTTP/1.0 abc OK\r\n"), 0);
    EXPECT_EQ(ParseStatusLine("HTTP/1.0  200 OK\r\n"), 0); // split at single spaces: second field empty
    EXPECT_EQ(ParseStatusLine("garbage"), 0);
    EXPECT_EQ(ParseStatusLine("HTTP/1.0 99999 Big\r\n"), 0);
}

TEST(ReplyHeader, NamedLines) {
    TReplyHeaderFields f = ParseReplyHeaderLine("Content-Length: 1234\r\n");
    EXPECT_TRUE(f.hasContentLength);
    EXPECT_EQ(f.contentLength, 1234);
    EXPECT_EQ(ParseReplyHeaderLine("content-length: x\r\n").contentLength, 0);
    EXPECT_EQ(ParseReplyHeaderLine("Content-Length: 99999999999999999999999\r\n").contentLength, 0);

    f = ParseReplyHeaderLine("Set-Cookie: id=42; path=/\r\n");
    EXPECT_TRUE(f.hasCookie);
    EXPECT_EQ(f.cookie, "id=42; path=/");

    f = ParseReplyHeaderLine("LOCATION: http://h/next\n");
    EXPECT_TRUE(f.hasLocation);
    EXPECT_EQ(f.location, "http://h/next");

    std::string longCookie(1000, 'c');
    EXPECT_EQ(ParseReplyHeaderLine("Set-Cookie: " + longCookie + "\r\n").cookie, longCookie);

    // Only "Name: " with one space counts.
    EXPECT_FALSE(ParseReplyHeaderLine("Location:http://h/\r\n").hasLocation);
    EXPECT_FALSE(ParseReplyHeaderLine("X-Location: a\r\n").hasLocation);
    EXPECT_FALSE(ParseReplyHeaderLine("Location\r\n").hasLocation);
    EXPECT_TRUE(ParseReplyHeaderLine("Location: \r\n").location.empty());
}

TEST(ReplyHeader, EndOfHeader) {
    EXPECT_TRUE(IsHeaderEnd(""));
    EXPECT_TRUE(IsHeaderEnd("\n"));
    EXPECT_TRUE(IsHeaderEnd("\r\n"));
    EXPECT_FALSE(IsHeaderEnd(" \r\n"));
    EXPECT_FALSE(IsHeaderEnd("\r"));
}

} // namespace

TEST(ReplyHeader, WholeHeaderReadLineByLine) {
    const struct {
        std::vector<std::string> lines; // as the socket gives them; then the close
        size_t taken;                   // lines read
        int status;
        const char* cookie;   // nullptr: no line named it
        const char* location;
        long long length;     // -1: no line named it
    } cases[] = {
        {{"HTTP/1.0 200 OK\r\n", "Content-Length: 5\r\n", "\r\n", "body"}, 3, 200, nullptr, nullptr, 5},
        // The last of repeated fields wins; a bare LF ends the header too.
        {{"HTTP/1.1 302 Found\n", "Location: /a\n", "Set-Cookie: x\n", "Location: /b\n", "\n"}, 5, 302, "x", "/b", -1},
        // The peer closes before the header ends, or before anything at all.
        {{"HTTP/1.0 404 No\r\n", "Set-Cookie: y\r\n"}, 3, 404, "y", nullptr, -1},
        {{}, 1, 0, nullptr, nullptr, -1},
        // An empty first line is no status line; reading goes on to the header's end.
        {{"\r\n", "Content-Length: 7\r\n", "\r\n"}, 3, 0, nullptr, nullptr, 7},
    };
    for (const auto& c : cases) {
        size_t next = 0;
        std::string taken, expected;
        TReplyHeader h = ReadReplyHeader([&] { return next < c.lines.size() ? c.lines[next++] : (++next, std::string()); },
                                         [&](const std::string& line) { taken += line; });
        for (size_t i = 0; i < c.taken && i < c.lines.size(); ++i)
            expected += c.lines[i];
        EXPECT_EQ(next, c.taken) << c.lines.size();
        EXPECT_EQ(taken, expected);
        EXPECT_EQ(h.status, c.status);
        EXPECT_EQ(h.fields.hasCookie, c.cookie != nullptr);
        EXPECT_EQ(h.fields.cookie, c.cookie ? c.cookie : "");
        EXPECT_EQ(h.fields.hasLocation, c.location != nullptr);
        EXPECT_EQ(h.fields.location, c.location ? c.location : "");
        EXPECT_EQ(h.fields.hasContentLength, c.length >= 0);
        EXPECT_EQ(h.fields.contentLength, c.length >= 0 ? c.length : 0);
    }
}
