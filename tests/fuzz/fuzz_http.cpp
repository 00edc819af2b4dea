// Reply and URL text from the network or the user: parsing may refuse it, never misbehave.
#include "framework/SysUtils.h"
#include "net/HttpText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    ParseStatusLine(text);
    ParseReplyHeaderLine(text);
    IsHeaderEnd(text);
    std::string url = text, host = "h";
    int port = 0;
    try {
        std::string path = ParseUrl(url, host, port);
        TRequestSpec spec;
        spec.url = url;
        spec.path = path;
        spec.host = host;
        TStringList lines;
        BuildRequestHeader(spec, THeaderInfo(), lines);
    } catch (const Exception&) {
    }
    return 0;
}
