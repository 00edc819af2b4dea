// The input is what a server sends back; it is cut into lines as the socket reads them (at each line
// feed, the rest as the last line, then the close) and read as a reply header. The reader must stop,
// hand on exactly the bytes it took, and give only values that came whole from one line.
#include "net/HttpText.h"

#include <cstdlib>

namespace {
void Require(bool ok) {
    if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    int closes = 0;
    auto nextLine = [&] {
        if (at >= reply.size()) {
            Require(++closes == 1); // nothing is asked for after the close
            return std::string();
        }
        size_t lf = reply.find('\n', at);
        size_t end = lf == std::string::npos ? reply.size() : lf + 1;
        std::string line = reply.substr(at, end - at);
        at = end;
        return line;
    };
    std::string taken;
    const TReplyHeader h = ReadReplyHeader(nextLine, [&](const std::string& line) { taken += line; });
    Require(taken == reply.substr(0, at));
    const TReplyHeaderFields& f = h.fields;
    Require(f.contentLength >= 0 && (f.hasContentLength || f.contentLength == 0));
    Require(f.hasCookie || f.cookie.empty());
    Require(f.hasLocation || f.location.empty());
    for (const std::string* v : {&f.cookie, &f.location}) {
        Require(v->find('\n') == std::string::npos);
        Require(taken.find(*v) != std::string::npos);
    }
    return 0;
}
