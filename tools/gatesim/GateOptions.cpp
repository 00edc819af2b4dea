#include "tools/gatesim/GateOptions.h"

#include <cerrno>
#include <cstdlib>

const char* const GateUsage =
    "usage: gatesim [--port N] [--bind ADDR] [--log FILE] [--port-file FILE]\n"
    "               [--per-minute N] [--per-day N] [--timeout SECONDS]\n"
    "Plays the operator's SMS gateway script on GET /cgi-bin/cgi.exe?function=sms_send&...\n"
    "  --port N          port to listen on; 0 (default) picks a free one\n"
    "  --bind ADDR       numeric address to listen on (default 127.0.0.1)\n"
    "  --log FILE        append one JSON line per request to FILE\n"
    "  --port-file FILE  write the port number to FILE once listening\n"
    "  --per-minute N    accepted messages per client address in any minute (default 1, 0: no limit)\n"
    "  --per-day N       accepted messages per client address in any 24 hours (default 10, 0: no limit)\n"
    "  --timeout S       seconds a client has to send its request head (default 5)\n"
    "The first line on standard output is the port number; then one line per request.\n";

namespace {

bool ReadInt(const std::string& text, int min, int max, int& value) {
    if (text.empty() || text.size() > 9) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max || !(text[0] >= '0' && text[0] <= '9')) return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

std::string ParseGateOptions(const std::vector<std::string>& args, GateOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= args.size())
            return name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
        const std::string& value = args[++i];
        bool ok = true;
        if (name == "--port") {
            ok = ReadInt(value, 0, 65535, options.port);
        } else if (name == "--bind") {
            ok = !value.empty();
            options.bind = value;
        } else if (name == "--log") {
            options.logFile = value;
        } else if (name == "--port-file") {
            options.portFile = value;
        } else if (name == "--per-minute") {
            ok = ReadInt(value, 0, 1000000, options.perMinute);
        } else if (name == "--per-day") {
            ok = ReadInt(value, 0, 1000000, options.perDay);
        } else if (name == "--timeout") {
            ok = ReadInt(value, 1, 3600, options.timeoutSeconds);
        } else {
            return "unknown argument " + name;
        }
        if (!ok) return "bad value for " + name + ": " + value;
    }
    return std::string();
}
