// gatesim: plays the operator's SMS gateway script on a loopback port, for trying Tellit end to end.
#include "tools/gatesim/GateOptions.h"
#include "tools/gatesim/GateServer.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

GateServer* g_server = nullptr;

extern "C" void OnStopSignal(int) {
    if (g_server) g_server->RequestStop();
}

} // namespace

int main(int argc, char** argv) {
    GateOptions options;
    std::string error = ParseGateOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::fprintf(stderr, "gatesim: %s\n%s", error.c_str(), GateUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(GateUsage, stdout);
        return 0;
    }

    GateServer server(options);
    error = server.Open();
    if (!error.empty()) {
        std::fprintf(stderr, "gatesim: %s\n", error.c_str());
        return 1;
    }
    g_server = &server;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("%d\n", server.Port());
    std::fflush(stdout);
    std::fprintf(stderr, "gatesim: listening on %s port %d; the gateway URL is http://%s:%d/cgi-bin/cgi.exe\n",
                 options.bind.c_str(), server.Port(), options.bind.c_str(), server.Port());
    server.Run();
    g_server = nullptr;
    std::fprintf(stderr, "gatesim: stopped\n");
    return 0;
}
