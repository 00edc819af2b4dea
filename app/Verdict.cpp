#include "app/Verdict.h"

TVerdict JudgeReply(const std::string& body, int status, bool complete) {
    if (!complete && body.size() <= VerdictBodyBytes) return TVerdict::None;
    if (status >= 400 || body.empty() || body.find("error") != std::string::npos) return TVerdict::Refused;
    return TVerdict::Sent;
}
