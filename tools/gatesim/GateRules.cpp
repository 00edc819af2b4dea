#include "tools/gatesim/GateRules.h"

#include "tools/gatesim/GateText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const char* const GatePath = "/cgi-bin/cgi.exe";

namespace {

// The fields of a send in the order the client writes them; a null value is checked by its own rule.
struct FieldRule {
    const char* name;
    const char* fixed;
};
const FieldRule kSendFields[] = {
    {"function", "sms_send"},
    {"MMObjectType", "0"},
    {"MMObjectID", ""},
    {"To", nullptr},
    {"Msg", nullptr},
    {"Hour", "00"},
    {"Min", "00"},
    {"Day", "5"},
    {"Mon", "5"},
    {"Year", nullptr},
    {"Lang", "2"},
};
const size_t kSendFieldCount = sizeof kSendFields / sizeof kSendFields[0];

// The client keeps at most this many characters of a request path when it talks to the gateway
// directly, so a query that fills a path exactly was probably cut.
const size_t kClientPathLimit = 256;

// A request value quoted for a reason text: non-printable bytes as \xNN, long values shortened.
std::string Quoted(const std::string& value) {
    const size_t maxShown = 40;
    std::string out = "\"";
    for (size_t i = 0; i < value.size() && i < maxShown; ++i) {
        auto b = static_cast<unsigned char>(value[i]);
        if (b < 0x20 || b >= 0x7F || b == '"' || b == '\\') {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        } else {
            out += value[i];
        }
    }
    if (value.size() > maxShown) out += "...";
    return out + "\"";
}

bool AllDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

const char* StatusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    default:
        return "Error";
    }
}

// Every refusal page carries the word "error" within its first 20 bytes: the client judges the reply
// by the first piece of body longer than 20 bytes.
std::string ErrorPage(const std::string& reason) {
    return "<html><title>error</title><body><h1>SMS not sent</h1><p>error: " + HtmlText(reason) +
           "</p></body></html>\r\n";
}

const char* const kSuccessPage = "<html><title>SMS sent</title><body><h1>SMS sent</h1>"
                                 "<p>The message has been accepted for delivery.</p></body></html>\r\n";

Verdict Refusal(int status, const std::string& code, const std::string& reason) {
    Verdict v;
    v.status = status;
    v.code = code;
    v.reason = reason;
    v.body = ErrorPage(reason);
    return v;
}

std::string Plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

bool ParseQuery(const std::string& query, std::vector<QueryField>& fields, std::string& reason) {
    fields.clear();
    size_t start = 0;
    while (true) {
        size_t end = query.find('&', start);
        std::string piece = query.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (piece.empty()) {
            reason = "empty field in the query";
            return false;
        }
        size_t eq = piece.find('=');
        if (eq == std::string::npos) {
            reason = "field " + Quoted(PercentDecode(piece)) + " has no value";
            return false;
        }
        fields.push_back({PercentDecode(piece.substr(0, eq)), PercentDecode(piece.substr(eq + 1))});
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::string CheckSmsQuery(const std::string& query, SmsFields& sms) {
    std::vector<QueryField> fields;
    std::string reason;
    if (query.empty()) return "the query is empty";
    if (!ParseQuery(query, fields, reason)) return reason;

    for (size_t i = 0; i < fields.size(); ++i) {
        for (size_t k = 0; k < i; ++k) {
            if (fields[k].name == fields[i].name) return "field " + Quoted(fields[i].name) + " is given twice";
        }
    }
    for (size_t i = 0; i < kSendFieldCount; ++i) {
        const FieldRule& rule = kSendFields[i];
        if (i >= fields.size()) {
            reason = std::string("missing field ") + rule.name;
            if (std::strlen(GatePath) + 1 + query.size() == kClientPathLimit) {
                reason += " (the request path is 256 characters long: the client cut it)";
            }
            return reason;
        }
        const QueryField& field = fields[i];
        if (field.name != rule.name) {
            bool present =
                std::any_of(fields.begin(), fields.end(), [&](const QueryField& f) { return f.name == rule.name; });
            if (present) return std::string("field ") + rule.name + " is out of order";
            return std::string("missing field ") + rule.name + " (found " + Quoted(field.name) + " in its place)";
        }
        if (rule.fixed && field.value != rule.fixed) {
            return std::string("field ") + rule.name + " must be " + Quoted(rule.fixed) + ", not " +
                   Quoted(field.value);
        }
    }
    if (fields.size() > kSendFieldCount) return "unexpected field " + Quoted(fields[kSendFieldCount].name);

    const std::string& to = fields[3].value;
    if (to.size() != 12 || to.compare(0, 5, "37529") != 0) {
        return "field To must be 37529 followed by 7 characters, not " + Quoted(to);
    }
    const std::string& year = fields[9].value;
    if (year.size() != 4 || !AllDigits(year)) return "field Year must be a 4-digit number, not " + Quoted(year);

    sms.to = to;
    sms.message = fields[4].value;
    sms.year = std::stoi(year);
    return std::string();
}

RateLimiter::Result RateLimiter::TryAccept(const std::string& client, Millis now) {
    const Millis minute = std::chrono::minutes(1), day = std::chrono::hours(24);
    if (perMinute_ <= 0 && perDay_ <= 0) return Result::Accepted;
    const Millis horizon = perDay_ > 0 ? day : minute;

    if (++callsSinceSweep_ >= 1000) {
        callsSinceSweep_ = 0;
        Forget(now);
    }
    std::deque<Millis>& times = clients_[client];
    while (!times.empty() && now - times.front() >= horizon)
        times.pop_front();

    if (perDay_ > 0 && times.size() >= static_cast<size_t>(perDay_)) return Result::PerDay;
    if (perMinute_ > 0) {
        auto inMinute = std::count_if(times.begin(), times.end(), [&](Millis t) { return now - t < minute; });
        if (inMinute >= perMinute_) return Result::PerMinute;
    }
    times.push_back(now);
    return Result::Accepted;
}

void RateLimiter::Forget(Millis now) {
    const Millis horizon = perDay_ > 0 ? Millis(std::chrono::hours(24)) : Millis(std::chrono::minutes(1));
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (it->second.empty() || now - it->second.back() >= horizon) {
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
}

size_t FindHeadEnd(const std::string& data, size_t from) {
    for (size_t i = data.find('\n', from); i != std::string::npos; i = data.find('\n', i + 1)) {
        if (i + 1 < data.size() && data[i + 1] == '\n') return i + 2;
        if (i + 2 < data.size() && data[i + 1] == '\r' && data[i + 2] == '\n') return i + 3;
    }
    return std::string::npos;
}

std::string RequestLine(const std::string& head) {
    std::string line = head.substr(0, head.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

Verdict JudgeRequest(const std::string& head, const std::string& client, RateLimiter::Millis now,
                     RateLimiter& limiter) {
    // Method, target and version; the target is everything between the first and the last space,
    // because the client sends the number as typed and it may hold a space.
    std::string line = RequestLine(head);
    size_t first = line.find(' '), last = line.rfind(' ');
    if (first == std::string::npos || first == 0 || last == first || last == first + 1 || last + 1 == line.size()) {
        return Refusal(400, "bad request", "malformed request line " + Quoted(line));
    }
    std::string method = line.substr(0, first), target = line.substr(first + 1, last - first - 1),
                version = line.substr(last + 1);
    if (version != "HTTP/1.0" && version != "HTTP/1.1") {
        return Refusal(400, "bad request", "unsupported protocol " + Quoted(version));
    }

    // A proxy forwards the absolute URL; the host in it is whatever the client was pointed at.
    if (StartsWithNoCase(target, "http://")) {
        size_t slash = target.find('/', 7);
        target = slash == std::string::npos ? "/" : target.substr(slash);
    } else if (target[0] != '/') {
        return Refusal(400, "bad request", "malformed request target " + Quoted(target));
    }
    size_t mark = target.find('?');
    std::string path = target.substr(0, mark), query = mark == std::string::npos ? "" : target.substr(mark + 1);
    if (path != GatePath) return Refusal(404, "not found", "no such page " + Quoted(path));
    if (method != "GET")
        return Refusal(405, "method not allowed", "the gateway answers GET only, not " + Quoted(method));

    SmsFields sms;
    std::string reason = CheckSmsQuery(query, sms);
    if (!reason.empty()) return Refusal(200, "bad query", reason);

    switch (limiter.TryAccept(client, now)) {
    case RateLimiter::Result::PerMinute:
        return Refusal(200, "per-minute limit",
                       "no more than " + Plural(limiter.PerMinute(), "message", "messages") +
                           " a minute from one address; try again later");
    case RateLimiter::Result::PerDay:
        return Refusal(200, "per-day limit",
                       "no more than " + Plural(limiter.PerDay(), "message", "messages") +
                           " a day from one address; try again tomorrow");
    case RateLimiter::Result::Accepted:
        break;
    }
    Verdict v;
    v.code = "accepted";
    v.body = kSuccessPage;
    v.accepted = true;
    v.sms = sms;
    return v;
}

Verdict ConnectionFailure(int status, const std::string& code, const std::string& reason) {
    return Refusal(status, code, reason);
}

std::string ReplyBytes(const Verdict& verdict) {
    return "HTTP/1.0 " + std::to_string(verdict.status) + " " + StatusText(verdict.status) +
           "\r\nServer: gatesim\r\nContent-Type: text/html; charset=windows-1251\r\nContent-Length: " +
           std::to_string(verdict.body.size()) + "\r\nConnection: close\r\n\r\n" + verdict.body;
}

std::string LogLine(const Verdict& verdict, const std::string& head, bool headTruncated, const std::string& client,
                    std::time_t when) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);

    std::string line = std::string("{\"time\":\"") + stamp + "\",\"client\":" + JsonString(client) +
                       ",\"verdict\":" + JsonString(verdict.code) + ",\"reason\":" + JsonString(verdict.reason) +
                       ",\"status\":" + std::to_string(verdict.status);
    if (verdict.accepted) {
        line += ",\"to\":" + JsonString(Cp1251ToUtf8(verdict.sms.to)) +
                ",\"text\":" + JsonString(Cp1251ToUtf8(verdict.sms.message)) +
                ",\"year\":" + std::to_string(verdict.sms.year);
    }
    line += ",\"raw\":" + JsonBytes(RequestLine(head)) + ",\"head\":" + JsonBytes(head);
    if (headTruncated) line += ",\"head_truncated\":true";
    return line + "}\n";
}

std::string ConsoleLine(const Verdict& verdict, const std::string& client, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    if (verdict.accepted) {
        return std::string(stamp) + "  " + Cp1251ToUtf8(verdict.sms.to) + "  " +
               JsonString(Cp1251ToUtf8(verdict.sms.message)) + "\n";
    }
    return std::string(stamp) + "  refused " + client + ": " + verdict.code + ": " + verdict.reason + "\n";
}
