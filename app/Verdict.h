// How a reply from the gateway is judged: the word "error" in its body means the gateway refused
// the message, and so does a failure status. A proxy that wants credentials, and a connection that
// ended before any reply, are told apart: neither is the gateway's answer.
#pragma once

#include <string>

enum class TVerdict { None, Sent, Refused, ProxyAuthentication, NoReply, Cut };

// Bodies up to this many bytes do not decide while the reply is still arriving.
constexpr size_t VerdictBodyBytes = 20;

// The verdict on the body received so far (complete: the whole reply has arrived; status 0: no
// status line was read). While the reply is arriving, a body of VerdictBodyBytes or fewer gives no
// verdict yet, and neither does a redirection (3xx), which the client follows. Status 407 is a proxy
// asking for credentials; a complete reply with neither status nor body is no reply. Otherwise a
// status of 400 or above, or a body containing "error" (case-sensitive), is a refusal; so is an
// empty complete body.
TVerdict JudgeReply(const std::string& body, int status, bool complete);

// True when a reply that has ended was cut short: its header stopped before the empty line that
// ends it, or its body is shorter than the Content-Length it announced (announced: 0 when none).
// Such a reply is no answer at all; under Wine a reset connection looks like an orderly close, so
// this is how the reset shows there.
bool ReplyCut(const std::string& header, const std::string& body, long long announced);
