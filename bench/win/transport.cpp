// bench_transport: the transport's figures, measured inside the program (run it under Wine).
//   bench_transport send HOST COUNT one Get of the gateway URL Tellit sends to HOST (host:port),
//                                   then COUNT more, each timed from Get to its return; prints
//                                   "url URL", "get_all MS..." and "get_ms MEDIAN MIN"
//   bench_transport bare HOST COUNT the same request by a bare blocking Winsock client (socket,
//                                   connect, send, recv until the close, closesocket), timed alike:
//                                   what any Windows program pays under Wine; prints "bare_all MS..."
//   bench_transport trace HOST      one send as above after a warm-up, printing each status of the
//                                   client with the milliseconds since Get: where the time goes
//   bench_transport stall MS        opens a loopback port that accepts connections and never answers,
//                                   sends one Get to it with a time-out of MS ms and prints the CPU
//                                   time the process used from Get to its return:
//                                   "stall_cpu_ms CPU WALL" (GetProcessTimes) and
//                                   "stall_proc_ms CPU" (/proc/self/stat, as the system counts it)
// Asserts nothing; scripts/bench turns the figures into ratios.
#include "app/Gateway.h"
#include "framework/Forms.h"
#include "net/NMHttp.h"

#include <winsock.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// User and kernel time of this process in milliseconds.
double ProcessCpu() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

// The same from the Linux side under Wine (utime + stime of /proc/self/stat), -1 elsewhere.
double ProcStatCpu() {
    std::ifstream in("Z:\\proc\\self\\stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stod(field);
        if (i == 15) stime = std::stod(field);
    }
    return (utime + stime) * 10.0; // clock ticks of 10 ms
}

int Send(const std::string& host, int count) {
    const std::string url = GatewayUrl(host, "1234567", "Bench%20message%20%B9%201", GatewayYear());
    std::printf("url %s\n", url.c_str());
    TNMHTTP http(nullptr);
    http.TimeOut = 10000;
    std::vector<double> times;
    for (int i = 0; i <= count; ++i) {
        double start = Now();
        http.Get(url);
        double end = Now();
        if (i > 0) times.push_back(end - start); // the first one warms the code and the server up
        if (http.Body.empty()) {
            std::fprintf(stderr, "bench_transport: empty reply from %s\n", url.c_str());
            return 1;
        }
    }
    std::printf("get_all");
    for (double t : times)
        std::printf(" %.3f", t);
    std::sort(times.begin(), times.end());
    std::printf("\nget_ms %.3f %.3f\n", times[times.size() / 2], times.front());
    return 0;
}

int Bare(const std::string& host, int count) {
    const std::string url = GatewayUrl(host, "1234567", "Bench%20message%20%B9%201", GatewayYear());
    std::string path = url.substr(url.find('/', 7));
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    size_t colon = host.find(':');
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(host.substr(0, colon).c_str());
    address.sin_port = htons(u_short(std::stoi(host.substr(colon + 1))));
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    std::vector<char> buffer(65536);
    std::printf("bare_all");
    for (int i = 0; i <= count; ++i) {
        double start = Now();
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        size_t total = 0;
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            send(s, request.data(), int(request.size()), 0) == int(request.size())) {
            int n;
            while ((n = recv(s, buffer.data(), int(buffer.size()), 0)) > 0)
                total += size_t(n);
        }
        closesocket(s);
        double end = Now();
        if (total == 0) {
            std::fprintf(stderr, "bench_transport: no reply from %s\n", host.c_str());
            return 1;
        }
        if (i > 0) std::printf(" %.3f", end - start);
    }
    std::printf("\n");
    return 0;
}

int Trace(const std::string& host) {
    const std::string url = GatewayUrl(host, "1234567", "Bench%20message%20%B9%201", GatewayYear());
    TNMHTTP http(nullptr);
    http.TimeOut = 10000;
    http.Get(url);
    std::vector<std::pair<double, std::string>> lines;
    http.ReportLevel = 8;
    double start = 0;
    http.OnStatus = [&](TObject*, const std::string& text) { lines.push_back({Now() - start, text}); };
    start = Now();
    http.Get(url);
    double end = Now() - start;
    for (const auto& line : lines)
        std::printf("%8.3f  %s\n", line.first, line.second.c_str());
    std::printf("%8.3f  (Get returns)\n", end);
    return 0;
}

int Stall(int ms) {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    SOCKET server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(server, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(server, 4) != 0 ||
        getsockname(server, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::fprintf(stderr, "bench_transport: cannot open a loopback port\n");
        return 1;
    }
    // The system completes the connection from the backlog; nobody ever reads or answers.
    std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/cgi-bin/cgi.exe";
    TNMHTTP http(nullptr);
    http.TimeOut = ms;
    double cpu = ProcessCpu(), proc = ProcStatCpu(), start = Now();
    std::string outcome = "answered";
    try {
        http.Get(url);
    } catch (const std::exception& e) {
        outcome = e.what();
    }
    double wall = Now() - start, used = ProcessCpu() - cpu, procUsed = ProcStatCpu() - proc;
    std::printf("stall_cpu_ms %.1f %.1f\nstall_proc_ms %.1f\nstall_outcome %s\n", used, wall, procUsed,
                outcome.c_str());
    closesocket(server);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(WideToUtf8(argv[i]));
    try {
        if (args.size() == 3 && args[0] == "send") return Send(args[1], std::stoi(args[2]));
        if (args.size() == 3 && args[0] == "bare") return Bare(args[1], std::stoi(args[2]));
        if (args.size() == 2 && args[0] == "trace") return Trace(args[1]);
        if (args.size() == 2 && args[0] == "stall") return Stall(std::stoi(args[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_transport: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: bench_transport send HOST COUNT | bare HOST COUNT | trace HOST | stall MS\n");
    return 2;
}
