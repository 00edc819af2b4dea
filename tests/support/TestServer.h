// Real servers for the Windows tests: a loopback listener whose thread plays a script on each
// connection it accepts, and helpers to wait while pumping the test thread's messages.
#pragma once

#include <winsock.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestServer;

class TestConnection {
public:
    TestConnection(SOCKET s, const std::atomic<bool>& stop, TestServer* server) : s_(s), stop_(stop), server_(server) {}
    // Reads the request head up to its empty line and, when it announces one, the body; gives up
    // after ms milliseconds or when the peer closes. Returns what arrived and records it.
    std::string ReadRequest(int ms = 5000);
    // Reads whatever arrives until the peer closes, ms pass, or limit bytes have arrived.
    std::string ReadAll(int ms, size_t limit = size_t(-1));
    // False when the peer is gone before all was sent.
    bool Send(const std::string& bytes);
    // Sleeps ms, returning early when the server stops.
    void Pause(int ms);
    // Keeps the connection open and silent until the peer closes or the server stops.
    void HoldOpen();
    // Waits, as ReadRequest does, until the request head has arrived, but leaves it unread.
    std::string PeekRequest(int ms = 5000);
    // Ends the connection with a reset (RST) instead of an orderly close. Wine does not hand a zero
    // linger time to the system, so under Wine only a connection with unread bytes (PeekRequest) is
    // reset: the system resets a connection closed with data still unread.
    void Reset();
    bool Closed() const { return s_ == INVALID_SOCKET; }
    bool Stopping() const { return stop_; }

private:
    bool WaitReadable(int ms);
    SOCKET s_;
    const std::atomic<bool>& stop_;
    TestServer* server_;
};

class TestServer {
public:
    using Script = std::function<void(TestConnection&)>;
    // Listens on 127.0.0.1 at port (0: a free one); each accepted connection runs the script, then
    // closes. Port() is 0 when the port could not be taken.
    explicit TestServer(Script script, unsigned short port = 0);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    unsigned short Port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Every request read by the scripts so far, in order.
    std::vector<std::string> Requests() const;
    int Connections() const { return connections_; }

    void Record(const std::string& request);

private:
    void Serve();
    Script script_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A reply with the given status line, extra header lines (each ending in CR LF) and body.
std::string HttpReply(const std::string& status, const std::string& headers, const std::string& body);

// A loopback port where nothing listens.
unsigned short RefusedPort();

// Pumps the thread's messages for ms milliseconds (timers, socket notifications).
void PumpFor(int ms);

// The message of the exception f raises, or "(no exception)".
std::string ExceptionText(const std::function<void()>& f);

// Milliseconds since an arbitrary start.
double NowMs();
