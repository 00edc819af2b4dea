#include "tools/gatesim/GateServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool SetNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

std::string NumericHost(const sockaddr_storage& addr, socklen_t len) {
    char host[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&addr), len, host, sizeof host, nullptr, 0, NI_NUMERICHOST) !=
        0) {
        return "unknown";
    }
    return host;
}

// Writes text to path through a temporary file, so a reader never sees it half written.
bool WriteFileAtomically(const std::string& path, const std::string& text) {
    std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "w");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

// The limiter's clock: milliseconds of the steady clock, immune to changes of the wall time.
RateLimiter::Millis SteadyNow() {
    return std::chrono::duration_cast<RateLimiter::Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

// Bytes of an unfinished head kept for the log of a time-out or an oversized head.
const size_t kLoggedHeadLimit = 4096;

} // namespace

GateServer::GateServer(const GateOptions& options) : options_(options), limiter_(options.perMinute, options.perDay) {}

GateServer::~GateServer() {
    for (Connection& c : connections_)
        close(c.fd);
    if (listenFd_ >= 0) close(listenFd_);
    for (int fd : stopPipe_) {
        if (fd >= 0) close(fd);
    }
    if (log_) std::fclose(log_);
}

std::string GateServer::Open() {
    if (pipe(stopPipe_) != 0) return SystemError("pipe");
    if (!SetNonBlocking(stopPipe_[0]) || !SetNonBlocking(stopPipe_[1])) return SystemError("pipe");

    if (!options_.logFile.empty()) {
        log_ = std::fopen(options_.logFile.c_str(), "a");
        if (!log_) return SystemError("cannot open log " + options_.logFile);
    }

    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(options_.bind.c_str(), std::to_string(options_.port).c_str(), &hints, &found);
    if (rc != 0) return "bad bind address " + options_.bind + ": " + gai_strerror(rc);
    listenFd_ = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (listenFd_ < 0) {
        freeaddrinfo(found);
        return SystemError("socket");
    }
    int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    rc = bind(listenFd_, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (rc != 0) return SystemError("bind " + options_.bind + ":" + std::to_string(options_.port));
    if (listen(listenFd_, 128) != 0) return SystemError("listen");
    if (!SetNonBlocking(listenFd_)) return SystemError("fcntl");

    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return SystemError("getsockname");
    port_ = ntohs(addr.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    if (!options_.portFile.empty() && !WriteFileAtomically(options_.portFile, std::to_string(port_) + "\n")) {
        return SystemError("cannot write " + options_.portFile);
    }
    return std::string();
}

void GateServer::RequestStop() {
    char byte = 1;
    // A full pipe already holds a stop request, so a failed write loses nothing.
    ssize_t ignored = write(stopPipe_[1], &byte, 1);
    (void)ignored;
}

void GateServer::Run() {
    std::vector<pollfd> fds;
    std::vector<Connection*> polled;
    while (true) {
        fds.clear();
        polled.clear();
        fds.push_back({stopPipe_[0], POLLIN, 0});
        bool listening = !acceptPaused_ && connections_.size() < kMaxConnections;
        if (listening) fds.push_back({listenFd_, POLLIN, 0});
        Clock::time_point now = Clock::now(), next = Clock::time_point::max();
        for (Connection& c : connections_) {
            fds.push_back({c.fd, static_cast<short>(c.phase == Phase::Writing ? POLLOUT : POLLIN), 0});
            polled.push_back(&c);
            next = std::min(next, c.deadline);
        }
        int waitMs = -1;
        if (next != Clock::time_point::max()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count() + 1;
            waitMs = static_cast<int>(std::max<long long>(0, std::min<long long>(left, 60000)));
        } else if (acceptPaused_) {
            waitMs = 100; // try accepting again once other processes may have freed descriptors
            acceptPaused_ = false;
        }
        int ready = poll(fds.data(), fds.size(), waitMs);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "gatesim: poll: %s\n", std::strerror(errno));
            break;
        }
        if (fds[0].revents & POLLIN) break;

        size_t first = listening ? 2 : 1;
        for (size_t i = 0; ready > 0 && i < polled.size(); ++i) {
            Connection& c = *polled[i];
            short ev = fds[first + i].revents;
            if (ev == 0) continue;
            if (c.phase == Phase::Writing) {
                if (ev & (POLLOUT | POLLERR | POLLHUP)) OnWritable(c);
            } else if (ev & (POLLIN | POLLERR | POLLHUP)) {
                OnReadable(c);
            }
        }
        now = Clock::now();
        for (Connection& c : connections_) {
            if (c.fd >= 0 && now >= c.deadline) OnDeadline(c);
        }
        connections_.remove_if([](const Connection& c) { return c.fd < 0; });
        if (listening && (fds[1].revents & POLLIN)) Accept();
    }
    for (Connection& c : connections_)
        Close(c);
    connections_.clear();
}

void GateServer::Accept() {
    while (connections_.size() < kMaxConnections) {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        int fd = accept(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) acceptPaused_ = true;
            return; // EAGAIN, or a connection that was reset before it was taken
        }
        if (!SetNonBlocking(fd)) {
            close(fd);
            continue;
        }
        Connection c;
        c.fd = fd;
        c.client = NumericHost(addr, len);
        c.deadline = Clock::now() + std::chrono::seconds(options_.timeoutSeconds);
        connections_.push_back(std::move(c));
    }
}

void GateServer::OnReadable(Connection& c) {
    char buf[4096];
    ssize_t n = recv(c.fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (c.phase == Phase::Draining) {
        if (n <= 0) Close(c);
        return;
    }
    if (n <= 0) {
        // The client gave up before its head was complete; there is nobody left to answer.
        if (!c.in.empty()) {
            bool cut = c.in.size() > kLoggedHeadLimit;
            Record(ConnectionFailure(400, "incomplete", "the client closed the connection before the end of the head"),
                   c.in.substr(0, kLoggedHeadLimit), cut, c.client);
        }
        Close(c);
        return;
    }
    size_t oldSize = c.in.size();
    c.in.append(buf, static_cast<size_t>(n));
    size_t end = FindHeadEnd(c.in, oldSize >= 2 ? oldSize - 2 : 0);
    if (end != std::string::npos && end <= kHeadLimit) {
        std::string head = c.in.substr(0, end);
        Answer(c, JudgeRequest(head, c.client, SteadyNow(), limiter_), head, false);
    } else if (c.in.size() >= kHeadLimit) {
        Answer(c,
               ConnectionFailure(400, "head too large",
                                 "the request head is longer than " + std::to_string(kHeadLimit) + " bytes"),
               c.in.substr(0, kLoggedHeadLimit), true);
    }
}

void GateServer::OnWritable(Connection& c) {
    ssize_t n = send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
    if (n < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) Close(c);
        return;
    }
    c.sent += static_cast<size_t>(n);
    if (c.sent < c.out.size()) return;
    // Closing with unread input would reset the connection and could destroy the reply before the
    // client reads it, so end our side and read until the client closes or time runs out.
    shutdown(c.fd, SHUT_WR);
    c.phase = Phase::Draining;
    c.deadline = Clock::now() + std::chrono::seconds(options_.timeoutSeconds);
}

void GateServer::OnDeadline(Connection& c) {
    if (c.phase != Phase::Reading) {
        Close(c);
        return;
    }
    bool cut = c.in.size() > kLoggedHeadLimit;
    Answer(c,
           ConnectionFailure(408, "timeout",
                             "no complete request head within " + std::to_string(options_.timeoutSeconds) + " s"),
           c.in.substr(0, kLoggedHeadLimit), cut);
}

void GateServer::Answer(Connection& c, const Verdict& verdict, const std::string& head, bool headTruncated) {
    Record(verdict, head, headTruncated, c.client);
    c.in.clear();
    c.in.shrink_to_fit();
    c.out = ReplyBytes(verdict);
    c.sent = 0;
    c.phase = Phase::Writing;
    c.deadline = Clock::now() + std::chrono::seconds(options_.timeoutSeconds);
}

void GateServer::Record(const Verdict& verdict, const std::string& head, bool headTruncated,
                        const std::string& client) {
    std::time_t now = std::time(nullptr);
    std::string line = ConsoleLine(verdict, client, now);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    if (log_) {
        line = LogLine(verdict, head, headTruncated, client, now);
        std::fwrite(line.data(), 1, line.size(), log_);
        std::fflush(log_);
    }
}

void GateServer::Close(Connection& c) {
    if (c.fd >= 0) close(c.fd);
    c.fd = -1;
    acceptPaused_ = false; // a descriptor is free again
}
