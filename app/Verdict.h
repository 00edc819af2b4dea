// How a reply from the gateway is judged: the word "error" in its body means the gateway refused
// the message, and so does a failure status.
#pragma once

#include <string>

enum class TVerdict { None, Sent, Refused };

// Bodies up to this many bytes do not decide while the reply is still arriving.
constexpr size_t VerdictBodyBytes = 20;

// The verdict on the body received so far (complete: the whole reply has arrived). While the reply
// is arriving, a body of VerdictBodyBytes or fewer gives no verdict yet. A status of 400 or above,
// or a body containing "error" (case-sensitive), is a refusal; so is an empty complete body.
TVerdict JudgeReply(const std::string& body, int status, bool complete);
