// The gateway simulator's logic: decoding, query rules, limits, replies and log lines.
#include "tools/gatesim/GateOptions.h"
#include "tools/gatesim/GateRules.h"
#include "tools/gatesim/GateText.h"

#include "app/Gateway.h"
#include "net/NMURL.h"

#include <gtest/gtest.h>

#include <iconv.h>

namespace {

using Millis = RateLimiter::Millis;
using std::chrono::hours;
using std::chrono::seconds;

// The query part of the URL the client builds for this number, message and year.
std::string ClientQuery(const std::string& number, const std::string& message, int year = 2027) {
    std::string url = GatewayUrl("gw", number, UrlEncode(message), year);
    return url.substr(url.find('?') + 1);
}

std::string Get(const std::string& target, const std::string& version = "HTTP/1.0") {
    return "GET " + target + " " + version + "\r\nHost: gw\r\n\r\n";
}

// Reads back a JSON string literal made of the escapes JsonBytes writes.
std::string UnJsonBytes(const std::string& literal) {
    std::string out;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
        if (literal[i] != '\\') {
            out += literal[i];
            continue;
        }
        char e = literal[++i];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'u':
            out += static_cast<char>(std::stoi(literal.substr(i + 1, 4), nullptr, 16));
            i += 4;
            break;
        default:
            out += e;
        }
    }
    return out;
}

TEST(GateText, PercentDecode) {
    EXPECT_EQ(PercentDecode("Hi+there"), "Hi there");
    EXPECT_EQ(PercentDecode("%CF%f0%0D%0A"), "\xCF\xF0\r\n");
    EXPECT_EQ(PercentDecode("%2B+%25"), "+ %");
    // Escapes without two hexadecimal digits stay as they are, also when cut at the end.
    EXPECT_EQ(PercentDecode("100%"), "100%");
    EXPECT_EQ(PercentDecode("%4"), "%4");
    EXPECT_EQ(PercentDecode("%zz%%41"), "%zz%A");
    EXPECT_EQ(PercentDecode("%00"), std::string(1, '\0'));
}

TEST(GateText, Cp1251KnownText) {
    EXPECT_EQ(Cp1251ToUtf8("Hi 123\r\n"), "Hi 123\r\n");
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(Cp1251ToUtf8("\xC0\xDF\xE0\xFF\xA8\xB8"), "АЯаяЁё");
    EXPECT_EQ(Cp1251ToUtf8("\xA1\xA2\xB2\xB3\xAA\xBA\xAF\xBF\xA5\xB4"), "ЎўІіЄєЇїҐґ");
    EXPECT_EQ(Cp1251ToUtf8("\x88\xB9\x96\x97\x85\xAB\xBB"), "€№–—…«»");
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");
}

// Every byte against the system's own converter, when the system has one.
TEST(GateText, Cp1251MatchesIconv) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "iconv has no CP1251";
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        char out[8];
        char* inp = &in;
        char* outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        std::string expected = rc == static_cast<size_t>(-1) ? "\xEF\xBF\xBD" : std::string(out, outp);
        EXPECT_EQ(Cp1251ToUtf8(std::string(1, in)), expected) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(GateText, JsonString) {
    EXPECT_EQ(JsonString("a\"b\\c/"), "\"a\\\"b\\\\c/\"");
    EXPECT_EQ(JsonString("\r\n\t\x01\x1f\x7f"), "\"\\r\\n\\t\\u0001\\u001F\\u007F\"");
    EXPECT_EQ(JsonString("Привет €𝄞"), "\"Привет €𝄞\"");
    // Invalid UTF-8 never reaches the log: a stray byte, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(JsonString("a\xC0z"), "\"a\xEF\xBF\xBDz\"");
    EXPECT_EQ(JsonString("\xE2\x82"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80").find("\xF4"), std::string::npos);
}

TEST(GateText, JsonBytesIsLossless) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string literal = JsonBytes(all);
    for (char c : literal) {
        ASSERT_GE(static_cast<unsigned char>(c), 0x20);
        ASSERT_LT(static_cast<unsigned char>(c), 0x7F);
    }
    EXPECT_EQ(UnJsonBytes(literal), all);
    EXPECT_EQ(JsonBytes("GET /\r\n\xCF"), "\"GET /\\r\\n\\u00CF\"");
}

TEST(GateText, HtmlTextNeutralisesMarkup) {
    EXPECT_EQ(HtmlText("<b a=\"1\">&</b>"), "&lt;b a=&quot;1&quot;&gt;&amp;&lt;/b&gt;");
    EXPECT_EQ(HtmlText("a\r\n\xCF"), "a\\x0D\\x0A\\xCF");
}

TEST(GateQuery, AcceptsWhatTheClientSends) {
    SmsFields sms;
    EXPECT_EQ(CheckSmsQuery(ClientQuery("1234567", "Hi there"), sms), "");
    EXPECT_EQ(sms.to, "375291234567");
    EXPECT_EQ(sms.message, "Hi there");
    EXPECT_EQ(sms.year, 2027);

    std::string cyrillic(160, '\xDF');
    cyrillic[0] = '\r', cyrillic[1] = '\n';
    EXPECT_EQ(CheckSmsQuery(ClientQuery("7654321", cyrillic, 2030), sms), "");
    EXPECT_EQ(sms.message, cyrillic);
    // The number travels as typed: any seven characters, also a sign or a space.
    EXPECT_EQ(CheckSmsQuery(ClientQuery("-123456", ""), sms), "");
    EXPECT_EQ(sms.to, "37529-123456");
    EXPECT_EQ(sms.message, "");
    EXPECT_EQ(CheckSmsQuery(ClientQuery(" 123456", "&=%+"), sms), "");
    EXPECT_EQ(sms.message, "&=%+");
}

TEST(GateQuery, RefusesWrongFixedFields) {
    const std::string good = ClientQuery("1234567", "x");
    const std::pair<const char*, const char*> changes[] = {
        {"function=sms_send", "function=sms_get"},
        {"MMObjectType=0", "MMObjectType=1"},
        {"MMObjectID=&", "MMObjectID=7&"},
        {"Hour=00", "Hour=0"},
        {"Min=00", "Min=01"},
        {"Day=5", "Day=05"},
        {"Mon=5", "Mon=6"},
        {"Lang=2", "Lang=1"},
        {"Year=2027", "Year=27"},
        {"Year=2027", "Year=20x7"},
        {"Year=2027", "Year=20270"},
        {"To=375291234567", "To=37529123456"},
        {"To=375291234567", "To=3752912345678"},
        {"To=375291234567", "To=375301234567"},
    };
    for (const auto& change : changes) {
        std::string query = good;
        query.replace(query.find(change.first), std::string(change.first).size(), change.second);
        SmsFields sms;
        std::string reason = CheckSmsQuery(query, sms);
        std::string field(change.first, std::string(change.first).find('='));
        EXPECT_NE(reason.find("field " + field), std::string::npos) << query << " -> " << reason;
    }
}

TEST(GateQuery, RefusesWrongShape) {
    const std::string good = ClientQuery("1234567", "x");
    SmsFields sms;
    auto reasonFor = [&](const std::string& query) { return CheckSmsQuery(query, sms); };
    EXPECT_NE(reasonFor("").find("empty"), std::string::npos);
    EXPECT_NE(reasonFor(good + "&").find("empty field"), std::string::npos);
    EXPECT_NE(reasonFor("function=sms_send&&MMObjectType=0").find("empty field"), std::string::npos);
    EXPECT_NE(reasonFor(good + "&Extra=1").find("unexpected field \"Extra\""), std::string::npos);
    EXPECT_NE(reasonFor(good + "&Lang=2").find("twice"), std::string::npos);
    std::string noValue = good;
    noValue.replace(noValue.find("MMObjectID="), 11, "MMObjectID");
    EXPECT_NE(reasonFor(noValue).find("has no value"), std::string::npos);
    std::string swapped = good;
    swapped.replace(swapped.find("Hour=00&Min=00"), 14, "Min=00&Hour=00");
    EXPECT_NE(reasonFor(swapped).find("out of order"), std::string::npos);
    std::string missing = good;
    missing.erase(missing.find("&Day=5"), 6);
    EXPECT_NE(reasonFor(missing).find("missing field Day"), std::string::npos);
    std::string renamed = good;
    renamed.replace(renamed.find("Msg="), 4, "msg=");
    EXPECT_NE(reasonFor(renamed).find("missing field Msg"), std::string::npos);
}

// Without a proxy the client cuts the path at 256 characters; such a request is refused and the
// reason says why.
TEST(GateQuery, PathCutByTheClient) {
    std::string query = ClientQuery("1234567", std::string(100, '\xC0'));
    std::string path = std::string(GatePath) + "?" + query;
    ASSERT_GT(path.size(), 256u);
    SmsFields sms;
    std::string reason = CheckSmsQuery(path.substr(std::string(GatePath).size() + 1, 256 - 17), sms);
    EXPECT_NE(reason.find("missing field Hour"), std::string::npos);
    EXPECT_NE(reason.find("cut"), std::string::npos);
    // A short query missing the same fields gets no such remark.
    reason = CheckSmsQuery(query.substr(0, query.find("&Hour")), sms);
    EXPECT_NE(reason.find("missing field Hour"), std::string::npos);
    EXPECT_EQ(reason.find("cut"), std::string::npos);
}

TEST(GateLimits, OneAMinute) {
    RateLimiter limits(1, 10);
    EXPECT_EQ(limits.TryAccept("a", Millis(0)), RateLimiter::Result::Accepted);
    EXPECT_EQ(limits.TryAccept("a", Millis(59999)), RateLimiter::Result::PerMinute);
    // Refusals do not count: the next minute opens 60 s after the last accepted message.
    EXPECT_EQ(limits.TryAccept("a", Millis(60000)), RateLimiter::Result::Accepted);
    EXPECT_EQ(limits.TryAccept("a", Millis(60001)), RateLimiter::Result::PerMinute);
    // Each address has its own limits.
    EXPECT_EQ(limits.TryAccept("b", Millis(60001)), RateLimiter::Result::Accepted);
}

TEST(GateLimits, TenADay) {
    RateLimiter limits(1, 10);
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(limits.TryAccept("a", seconds(60 * i)), RateLimiter::Result::Accepted) << i;
    EXPECT_EQ(limits.TryAccept("a", seconds(600)), RateLimiter::Result::PerDay);
    EXPECT_EQ(limits.TryAccept("a", hours(24) - Millis(1)), RateLimiter::Result::PerDay);
    // A rolling day: the first message leaves the window 24 h after it was accepted, the second a minute later.
    EXPECT_EQ(limits.TryAccept("a", hours(24)), RateLimiter::Result::Accepted);
    // Both limits refuse here; the daily one is named, since waiting a minute would not help.
    EXPECT_EQ(limits.TryAccept("a", hours(24) + seconds(59)), RateLimiter::Result::PerDay);
    EXPECT_EQ(limits.TryAccept("a", hours(24) + seconds(60)), RateLimiter::Result::Accepted);
}

TEST(GateLimits, ConfiguredAndSwitchedOff) {
    RateLimiter three(3, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(three.TryAccept("a", seconds(i)), RateLimiter::Result::Accepted);
    EXPECT_EQ(three.TryAccept("a", seconds(3)), RateLimiter::Result::PerMinute);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(three.TryAccept("a", seconds(60 + i * 20)), RateLimiter::Result::Accepted);

    RateLimiter none(0, 0);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(none.TryAccept("a", Millis(0)), RateLimiter::Result::Accepted);
    EXPECT_EQ(none.TrackedClients(), 0u);
}

TEST(GateLimits, ForgetsIdleClients) {
    RateLimiter limits(1, 10);
    for (int i = 0; i < 1500; ++i)
        limits.TryAccept("10.0.0." + std::to_string(i), Millis(0));
    EXPECT_EQ(limits.TrackedClients(), 1500u);
    for (int i = 0; i < 1000; ++i)
        limits.TryAccept("a", hours(25) + seconds(i));
    EXPECT_LE(limits.TrackedClients(), 1u);
}

TEST(GateHead, FindHeadEnd) {
    EXPECT_EQ(FindHeadEnd("GET / HTTP/1.0\r\n\r\nbody"), 18u);
    EXPECT_EQ(FindHeadEnd("GET / HTTP/1.0\n\nbody"), 16u);
    EXPECT_EQ(FindHeadEnd("GET / HTTP/1.0\r\nA: b\r\n"), std::string::npos);
    EXPECT_EQ(FindHeadEnd("GET / HTTP/1.0\r\n\r"), std::string::npos);
    // A head that arrives in two pieces: searching from two bytes before the end of the first piece
    // finds the end wherever the cut falls.
    for (std::string head : {"GET / HTTP/1.0\r\nA: b\r\n\r\n", "GET / HTTP/1.0\nA: b\n\n"}) {
        for (size_t cut = 1; cut < head.size(); ++cut) {
            EXPECT_EQ(FindHeadEnd(head.substr(0, cut)), std::string::npos) << cut;
            EXPECT_EQ(FindHeadEnd(head, cut >= 2 ? cut - 2 : 0), head.size()) << cut;
        }
    }
}

TEST(GateJudge, AcceptsDirectAndProxiedRequests) {
    RateLimiter limits(0, 0);
    std::string url = GatewayUrl("gw.example:8080", "1234567", UrlEncode("\xCF\xF0\xE8\xE2\xE5\xF2"), 2027);
    std::string path = url.substr(url.find("/cgi-bin"));
    for (const std::string& head :
         {Get(path), Get(url, "HTTP/1.1"), Get("HTTP://gw" + path), "GET " + path + " HTTP/1.0\n\n"}) {
        Verdict v = JudgeRequest(head, "127.0.0.1", Millis(0), limits);
        EXPECT_TRUE(v.accepted) << head << v.reason;
        EXPECT_EQ(v.status, 200);
        EXPECT_EQ(v.code, "accepted");
        EXPECT_EQ(v.sms.message, "\xCF\xF0\xE8\xE2\xE5\xF2");
        EXPECT_GT(v.body.size(), 20u);
        EXPECT_EQ(v.body.find("error"), std::string::npos);
    }
    // A number typed with a space puts a space into the request line.
    url = GatewayUrl("gw", " 234567", "x", 2027);
    Verdict v = JudgeRequest(Get(url.substr(url.find("/cgi-bin"))), "127.0.0.1", Millis(0), limits);
    EXPECT_TRUE(v.accepted) << v.reason;
    EXPECT_EQ(v.sms.to, "37529 234567");
}

TEST(GateJudge, RefusalsCarryErrorEarly) {
    RateLimiter limits(1, 10);
    std::string path = "/cgi-bin/cgi.exe?" + ClientQuery("1234567", "x");
    struct Case {
        std::string head;
        int status;
        std::string code;
    };
    const Case cases[] = {
        {Get(path), 200, "accepted"},
        {Get(path), 200, "per-minute limit"},
        {Get("/cgi-bin/cgi.exe?" + ClientQuery("123456", "x")), 200, "bad query"},
        {Get("/cgi-bin/cgi.exe"), 200, "bad query"},
        {Get("/index.html"), 404, "not found"},
        {Get("http://gw"), 404, "not found"},
        {"POST " + path + " HTTP/1.0\r\n\r\n", 405, "method not allowed"},
        {"GET " + path + " HTTP/2.0\r\n\r\n", 400, "bad request"},
        {"GET " + path + "\r\n\r\n", 400, "bad request"},
        {"GET  HTTP/1.0\r\n\r\n", 400, "bad request"},
        {"GET cgi-bin/cgi.exe HTTP/1.0\r\n\r\n", 400, "bad request"},
        {"\x16\x03\x01\x02<script>\r\n\r\n", 400, "bad request"},
        {"\r\n\r\n", 400, "bad request"},
    };
    for (const Case& c : cases) {
        Verdict v = JudgeRequest(c.head, "127.0.0.1", Millis(1000), limits);
        EXPECT_EQ(v.status, c.status) << c.head;
        EXPECT_EQ(v.code, c.code) << c.head;
        EXPECT_GT(v.body.size(), 20u);
        if (v.accepted) continue;
        EXPECT_FALSE(v.reason.empty());
        EXPECT_NE(v.body.substr(0, 21).find("error"), std::string::npos) << v.body;
        EXPECT_EQ(v.body.find("<script>"), std::string::npos);
    }
}

TEST(GateJudge, ReplyIsOneHttp10Page) {
    RateLimiter limits(0, 0);
    Verdict v = JudgeRequest(Get("/x"), "127.0.0.1", Millis(0), limits);
    std::string reply = ReplyBytes(v);
    EXPECT_EQ(reply.rfind("HTTP/1.0 404 Not Found\r\n", 0), 0u);
    EXPECT_NE(reply.find("\r\nContent-Type: text/html; charset=windows-1251\r\n"), std::string::npos);
    EXPECT_NE(reply.find("\r\nContent-Length: " + std::to_string(v.body.size()) + "\r\n"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.find("\r\n\r\n") + 4), v.body);
    EXPECT_EQ(ReplyBytes(ConnectionFailure(408, "timeout", "slow")).rfind("HTTP/1.0 408 Request Timeout\r\n", 0), 0u);
}

TEST(GateLog, AcceptedLine) {
    RateLimiter limits(0, 0);
    std::string head = Get("/cgi-bin/cgi.exe?" + ClientQuery("1234567", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\"\x98\""));
    Verdict v = JudgeRequest(head, "127.0.0.1", Millis(0), limits);
    std::string line = LogLine(v, head, false, "127.0.0.1", 86400 * 365);
    EXPECT_EQ(line.rfind("{\"time\":\"1971-01-01T00:00:00Z\",\"client\":\"127.0.0.1\",\"verdict\":\"accepted\",", 0),
              0u);
    EXPECT_NE(line.find(",\"to\":\"375291234567\",\"text\":\"Привет\\r\\n\\\"\xEF\xBF\xBD\\\"\",\"year\":2027,"),
              std::string::npos)
        << line;
    EXPECT_NE(line.find(",\"raw\":" + JsonBytes(RequestLine(head)) + ",\"head\":" + JsonBytes(head) + "}"),
              std::string::npos);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_EQ(line.find("head_truncated"), std::string::npos);

    std::string console = ConsoleLine(v, "127.0.0.1", 0);
    EXPECT_NE(console.find("  375291234567  \"Привет\\r\\n"), std::string::npos) << console;
}

TEST(GateLog, RefusedLine) {
    RateLimiter limits(0, 0);
    std::string head = Get("/cgi-bin/cgi.exe?" + ClientQuery("123456", "secret"));
    Verdict v = JudgeRequest(head, "10.1.2.3", Millis(0), limits);
    std::string line = LogLine(v, head, true, "10.1.2.3", 0);
    EXPECT_NE(line.find("\"client\":\"10.1.2.3\",\"verdict\":\"bad query\",\"reason\":\"field To must be"),
              std::string::npos)
        << line;
    EXPECT_NE(line.find("\"status\":200,\"raw\":"), std::string::npos);
    EXPECT_EQ(line.find("\"text\""), std::string::npos);
    EXPECT_NE(line.find(",\"head_truncated\":true}\n"), std::string::npos);
    EXPECT_NE(ConsoleLine(v, "10.1.2.3", 0).find("refused 10.1.2.3: bad query: field To"), std::string::npos);
}

TEST(GateOptions, Parse) {
    GateOptions o;
    EXPECT_EQ(ParseGateOptions({}, o), "");
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.bind, "127.0.0.1");
    EXPECT_EQ(o.perMinute, 1);
    EXPECT_EQ(o.perDay, 10);

    EXPECT_EQ(ParseGateOptions({"--port", "8080", "--bind", "::1", "--log", "l.jsonl", "--port-file", "p",
                                "--per-minute", "0", "--per-day", "100", "--timeout", "2"},
                               o),
              "");
    EXPECT_EQ(o.port, 8080);
    EXPECT_EQ(o.bind, "::1");
    EXPECT_EQ(o.logFile, "l.jsonl");
    EXPECT_EQ(o.portFile, "p");
    EXPECT_EQ(o.perMinute, 0);
    EXPECT_EQ(o.perDay, 100);
    EXPECT_EQ(o.timeoutSeconds, 2);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--port", "65536"},
                                                                                     {"--port", "-1"},
                                                                                     {"--port", "80x"},
                                                                                     {"--port", ""},
                                                                                     {"--port"},
                                                                                     {"--timeout", "0"},
                                                                                     {"--per-day", "+5"},
                                                                                     {"--frobnicate", "1"},
                                                                                     {"stray"}}) {
        GateOptions b;
        EXPECT_NE(ParseGateOptions(bad, b), "") << bad[0];
    }
}

} // namespace
