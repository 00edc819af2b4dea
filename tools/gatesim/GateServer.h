// The gateway simulator's network side: one thread, non-blocking sockets and poll. Each connection
// sends one request head, gets one reply and is closed; the judging is GateRules' work.
#pragma once

#include "tools/gatesim/GateOptions.h"
#include "tools/gatesim/GateRules.h"

#include <chrono>
#include <cstdio>
#include <list>
#include <string>

class GateServer {
public:
    explicit GateServer(const GateOptions& options);
    ~GateServer();
    GateServer(const GateServer&) = delete;
    GateServer& operator=(const GateServer&) = delete;

    // Opens the log, binds and listens. Returns an empty string on success, else the error text.
    std::string Open();
    // The port listened on, valid after a successful Open.
    int Port() const { return port_; }
    // Serves until RequestStop; closes every connection before it returns.
    void Run();
    // Makes Run return soon. Safe to call from a signal handler or another thread.
    void RequestStop();

    static const size_t kHeadLimit = 64 * 1024; // a longer request head gets 400
    static const size_t kMaxConnections = 256;  // more wait in the listen queue

private:
    using Clock = std::chrono::steady_clock;
    enum class Phase { Reading, Writing, Draining };
    struct Connection {
        int fd = -1;
        std::string client;
        std::string in, out;
        size_t sent = 0;
        Phase phase = Phase::Reading;
        Clock::time_point deadline;
    };

    void Accept();
    void OnReadable(Connection& c);
    void OnWritable(Connection& c);
    void OnDeadline(Connection& c);
    // Judges a complete head (or a connection failure), records it and queues the reply.
    void Answer(Connection& c, const Verdict& verdict, const std::string& head, bool headTruncated);
    void Record(const Verdict& verdict, const std::string& head, bool headTruncated, const std::string& client);
    void Close(Connection& c);

    GateOptions options_;
    RateLimiter limiter_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    bool acceptPaused_ = false; // out of file descriptors: wait for a connection to close
    std::FILE* log_ = nullptr;
    std::list<Connection> connections_;
};
