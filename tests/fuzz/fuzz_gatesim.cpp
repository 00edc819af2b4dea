// Whatever a client sends, the gateway simulator judges it without misbehaving.
#include "tools/gatesim/GateRules.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string head(reinterpret_cast<const char*>(data), size);
    static RateLimiter limiter(0, 0);
    FindHeadEnd(head);
    JudgeRequest(head, "127.0.0.1", RateLimiter::Millis(0), limiter);
    return 0;
}
