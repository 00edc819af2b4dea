#include "tests/support/TestServer.h"

#include <algorithm>

#include <windows.h>

#include "framework/SysUtils.h"

#include <chrono>
#include <cstring>

namespace {
struct WinsockUser {
    WinsockUser() {
        WSADATA d;
        WSAStartup(MAKEWORD(1, 1), &d);
    }
    ~WinsockUser() { WSACleanup(); }
};
} // namespace

bool TestConnection::WaitReadable(int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s_, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
}

std::string TestConnection::ReadRequest(int ms) {
    std::string got;
    double end = NowMs() + ms;
    size_t headEnd = std::string::npos;
    long long want = -1;
    while (!stop_ && NowMs() < end) {
        if (!WaitReadable(20)) continue;
        char buf[65536];
        int n = recv(s_, buf, sizeof buf, 0);
        if (n <= 0) break;
        got.append(buf, size_t(n));
        if (headEnd == std::string::npos) {
            headEnd = got.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                headEnd += 4;
                want = 0;
                size_t p = got.find("\r\nContent-Length: ");
                if (p != std::string::npos && p < headEnd) want = std::atoll(got.c_str() + p + 18);
            }
        }
        if (headEnd != std::string::npos && (long long)(got.size() - headEnd) >= want) break;
    }
    server_->Record(got);
    return got;
}

std::string TestConnection::PeekRequest(int ms) {
    std::string got;
    double end = NowMs() + ms;
    while (!stop_ && NowMs() < end) {
        if (!WaitReadable(20)) continue;
        std::string buf(65536, '\0');
        int n = recv(s_, &buf[0], int(buf.size()), MSG_PEEK);
        if (n <= 0) break;
        got.assign(buf, 0, size_t(n));
        if (got.find("\r\n\r\n") != std::string::npos) break;
        Sleep(5);
    }
    server_->Record(got);
    return got;
}

std::string TestConnection::ReadAll(int ms, size_t limit) {
    std::string got;
    double end = NowMs() + ms;
    while (!stop_ && NowMs() < end && got.size() < limit) {
        if (!WaitReadable(20)) continue;
        char buf[65536];
        int n = recv(s_, buf, sizeof buf, 0);
        if (n <= 0) break;
        got.append(buf, size_t(n));
    }
    return got;
}

bool TestConnection::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        // A client that neither reads nor closes would hold a blocking send, and with it the
        // server's thread and the test that stops it: wait for room, and give up when stopped.
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s_, &set);
        timeval tv{0, 20000};
        const int ready = select(0, nullptr, &set, nullptr, &tv);
        if (stop_) return false;
        if (ready < 0) return false;
        if (ready == 0) continue;
        int n = send(s_, bytes.data() + sent, int(std::min<size_t>(bytes.size() - sent, 65536)), 0);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

void TestConnection::Pause(int ms) {
    double end = NowMs() + ms;
    while (!stop_ && NowMs() < end) Sleep(5);
}

void TestConnection::HoldOpen() {
    while (!stop_ && !Closed()) {
        if (WaitReadable(20)) {
            char buf[4096];
            if (recv(s_, buf, sizeof buf, 0) <= 0) return;
        }
    }
}

void TestConnection::Reset() {
    if (Closed()) return;
    linger l{1, 0};
    setsockopt(s_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    closesocket(s_);
    s_ = INVALID_SOCKET;
}

TestServer::TestServer(Script script, unsigned short port) : script_(std::move(script)) {
    static WinsockUser winsock;
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    a.sin_port = htons(port);
    bool bound = bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    listen(listener_, 16);
    int len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = bound ? ntohs(a.sin_port) : 0;
    thread_ = std::thread([this] { Serve(); });
}

TestServer::~TestServer() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
}

void TestServer::Serve() {
    while (!stop_) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(listener_, &set);
        timeval tv{0, 20000};
        if (select(0, &set, nullptr, nullptr, &tv) <= 0) continue;
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) continue;
        ++connections_;
        TestConnection c(s, stop_, this);
        script_(c);
        if (c.Closed()) continue;
        shutdown(s, 1);
        closesocket(s);
    }
}

void TestServer::Record(const std::string& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
}

std::vector<std::string> TestServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::string HttpReply(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}

unsigned short RefusedPort() {
    static WinsockUser winsock;
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    closesocket(s);
    return ntohs(a.sin_port);
}

void PumpFor(int ms) {
    double end = NowMs() + ms;
    while (NowMs() < end) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(1);
    }
}

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

std::string ExceptionText(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "(no exception)";
}
