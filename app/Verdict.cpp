#include "app/Verdict.h"

TVerdict JudgeReply(const std::string& body, int status, bool complete) {
    if (!complete && body.size() <= VerdictBodyBytes) return TVerdict::None;
    if (!complete && status >= 300 && status <= 399) return TVerdict::None;
    if (status == 407) return TVerdict::ProxyAuthentication;
    if (complete && status == 0 && body.empty()) return TVerdict::NoReply;
    if (status >= 400 || body.empty() || body.find("error") != std::string::npos) return TVerdict::Refused;
    return TVerdict::Sent;
}

bool ReplyCut(const std::string& header, const std::string& body, long long announced) {
    if (header.empty()) return false; // nothing came: no reply rather than a cut one
    auto endsWith = [&](const char* end) {
        size_t n = std::char_traits<char>::length(end);
        return header.size() >= n && header.compare(header.size() - n, n, end) == 0;
    };
    if (!endsWith("\n\n") && !endsWith("\n\r\n") && header != "\n" && header != "\r\n") return true;
    return announced > 0 && (long long)body.size() < announced;
}
