// Command-line options of the gateway simulator.
#pragma once

#include <string>
#include <vector>

struct GateOptions {
    int port = 0;                   // 0: the system picks a free port
    std::string bind = "127.0.0.1"; // numeric IPv4 or IPv6 address
    std::string logFile;            // JSON lines, appended; empty: no log
    std::string portFile;           // receives the port number once listening; empty: none
    int perMinute = 1;              // accepted messages per client in any 60 s; 0: no limit
    int perDay = 10;                // accepted messages per client in any 24 h; 0: no limit
    int timeoutSeconds = 5;         // per connection, for the request head and again for the reply
    bool help = false;
};

extern const char* const GateUsage;

// Reads the arguments after the program name. Returns an empty string on success, else the error.
std::string ParseGateOptions(const std::vector<std::string>& args, GateOptions& options);
