// The gateway's side of one exchange, without sockets: reading the request head, checking the send
// query, the operator's limits per client address, the reply page and the log lines.
#pragma once

#include <chrono>
#include <ctime>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

// The gateway script's path; every other path is answered with 404.
extern const char* const GatePath;

struct QueryField {
    std::string name, value; // both percent-decoded
};

// Splits a query at "&" and each piece at its first "=". Returns false, with the reason, for an
// empty piece or one without "=".
bool ParseQuery(const std::string& query, std::vector<QueryField>& fields, std::string& reason);

// The fields of one accepted send, decoded to bytes as the client sent them (Windows-1251 text).
struct SmsFields {
    std::string to;      // "37529" and the seven characters of the number
    std::string message; // the message bytes
    int year = 0;
};

// Checks the query of a send: every field present, in the client's order, with its fixed value or
// form, and nothing else. Returns an empty string and fills sms when the query is valid, else the
// reason for the refusal.
std::string CheckSmsQuery(const std::string& query, SmsFields& sms);

// The operator's limits: at most perMinute accepted messages in any 60 s and perDay in any 24 h from
// one client address. 0 switches a limit off. Time is passed in by the caller (any steady epoch), so
// tests drive the clock.
class RateLimiter {
public:
    using Millis = std::chrono::milliseconds;
    enum class Result { Accepted, PerMinute, PerDay };

    RateLimiter(int perMinute, int perDay) : perMinute_(perMinute), perDay_(perDay) {}

    // Counts a message from client at now when both limits allow it; otherwise counts nothing and
    // names the limit that refused (the daily one when both do).
    Result TryAccept(const std::string& client, Millis now);

    int PerMinute() const { return perMinute_; }
    int PerDay() const { return perDay_; }
    // Clients with messages still inside a window; idle ones are forgotten as time passes.
    size_t TrackedClients() const { return clients_.size(); }

private:
    void Forget(Millis now);

    int perMinute_, perDay_;
    std::unordered_map<std::string, std::deque<Millis>> clients_; // accepted times, oldest first
    unsigned callsSinceSweep_ = 0;
};

// Index just past the empty line that ends a request head (CR LF or bare LF line ends), or npos.
// The search looks only at line ends from index from on, so a caller that receives a head in pieces
// passes the old size minus 2 and never scans the same bytes twice.
size_t FindHeadEnd(const std::string& data, size_t from = 0);

// The outcome of one request: the reply to send and what the log records.
struct Verdict {
    int status = 200;
    std::string code;   // "accepted", or a short refusal code such as "per-minute limit"
    std::string reason; // a sentence for people; empty when accepted
    std::string body;   // the reply page
    bool accepted = false;
    SmsFields sms; // set when accepted
};

// Judges a complete request head (everything up to and including the empty line) from client at now.
Verdict JudgeRequest(const std::string& head, const std::string& client, RateLimiter::Millis now, RateLimiter& limiter);

// A refusal that the connection itself causes (head too large, time-out), with its error page.
Verdict ConnectionFailure(int status, const std::string& code, const std::string& reason);

// The whole reply: HTTP/1.0 status line, header and page; the connection closes after it.
std::string ReplyBytes(const Verdict& verdict);

// The request line of a head: its first line without the line end.
std::string RequestLine(const std::string& head);

// One JSON log line (with "\n") for a request: time (UTC, ISO 8601), client, verdict, reason, status,
// for an accepted message to, text (UTF-8) and year, then raw (the request line) and head (the
// request head, bytes as code points 0..255). headTruncated marks a head cut for the log.
std::string LogLine(const Verdict& verdict, const std::string& head, bool headTruncated, const std::string& client,
                    std::time_t when);

// One line for the console: local time and number with the text, or the refusal and its reason.
std::string ConsoleLine(const Verdict& verdict, const std::string& client, std::time_t when);
