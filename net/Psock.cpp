#include "net/Psock.h"

#include "framework/Forms.h"

#include <cstdio>
#include <cstring>

namespace {
const UINT WM_SOCKET = WM_USER + 101;
const UINT WM_HOSTLOOKUP = WM_USER + 102;
const long kSocketEvents = FD_READ | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

int liveInstances = 0;

FILE* OpenFile(const std::string& name, const wchar_t* mode) {
    return _wfopen(Utf8ToWide(name).c_str(), mode);
}
} // namespace

TThreadTimer::TThreadTimer(TComponent* AOwner) : TTimer(AOwner, L"TmrWindowClass", "No Timer", false) {}

TPowersock::TPowersock(TComponent* AOwner) : TComponent(AOwner), buffer_(BufferSize), hostEntry_(MAXGETHOSTSTRUCT) {
    window_ = std::make_unique<THiddenWindow>(L"PsockWindowClass",
                                              [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                                                  result = 0;
                                                  return HandleMessage(msg, wParam, lParam);
                                              });
    timer_ = new TThreadTimer(this);
    timer_->SetOnTimer([this](TObject*) { TimerTriggered(); });
    StatusMessage(8, "Create");
    if (ComponentState.Contains(TComponentStateFlag::Designing)) return;

    StatusMessage(8, "Initializing Winsock");
    if (liveInstances++ == 0) {
        WSADATA data{};
        WSAStartup(MAKEWORD(1, 1), &data);
        auto version = [](WORD v) { return std::to_string(HIBYTE(v)) + "." + std::to_string(LOBYTE(v)); };
        WSAInfo.Add("Version= " + version(data.wVersion));
        WSAInfo.Add("High Version= " + version(data.wHighVersion));
        WSAInfo.Add(std::string("Description= ") + data.szDescription);
        WSAInfo.Add(std::string("System= ") + data.szSystemStatus);
        WSAInfo.Add("Max Sockets= " + std::to_string(data.iMaxSockets));
        WSAInfo.Add("Max Udp pack size= " + std::to_string(data.iMaxUdpDg));
    }
    startedWinsock_ = true;
    try {
        NewSocket(true);
    } catch (...) {
        startedWinsock_ = false;
        if (--liveInstances == 0) WSACleanup();
        throw ESockError("Initializaton of windows sockets failed");
    }
}

TPowersock::~TPowersock() {
    StatusMessage(8, "Destroy");
    TPowersock::Abort();
    Cancel();
    CancelLookup();
    timer_->SetEnabled(false);
    window_.reset();
    destroying_ = true;
    if (startedWinsock_) {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
        if (--liveInstances == 0) WSACleanup();
    }
}

void TPowersock::NewSocket(bool first) {
    socket_ = socket(AF_INET, SOCK_STREAM, first ? IPPROTO_TCP : 0);
    if (socket_ == INVALID_SOCKET) throw ESockError("Initializaton of windows sockets failed");
    if (first) {
        // Closing resets the connection instead of lingering.
        linger l{1, 0};
        setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    }
    WSAAsyncSelect(socket_, window_->Handle(), WM_SOCKET, kSocketEvents);
    writeEvents_ = false;
}

bool TPowersock::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SOCKET) {
        // Notifications of accepted sockets are theirs, not the component's.
        if (SOCKET(wParam) != socket_) return true;
        noError_ = HIWORD(lParam) == 0;
        switch (LOWORD(lParam)) {
        case FD_READ:
            if (OnDataAvailableHook) {
                try {
                    OnDataAvailableHook(this);
                } catch (...) {
                }
            }
            break;
        case FD_ACCEPT:
            connected_ = true;
            done_ = true;
            if (OnAcceptHook) OnAcceptHook(this);
            break;
        case FD_CONNECT:
            if (noError_) {
                connected_ = true;
                if (OnConnect) OnConnect(this);
            }
            break;
        case FD_CLOSE:
            closeError_ = HIWORD(lParam);
            if (!DataAvailable()) CloseSocket();
            break;
        }
        return true;
    }
    if (msg == WM_HOSTLOOKUP) {
        if (HANDLE(wParam) != lookup_) return true;
        lookup_ = nullptr;
        noError_ = HIWORD(lParam) == 0;
        done_ = true;
        return true;
    }
    return false;
}

void TPowersock::CloseSocket() {
    StatusMessage(4, "Request Close Socket");
    connected_ = false;
    pending_.clear();
    if (socket_ == INVALID_SOCKET) return;
    if (SocketUnused()) {
        // The spare socket a close left behind (never bound, connected or listening) has nothing to
        // close: it stays, instead of being replaced by another at the cost of four more calls.
        if (!destroying_ && OnDisconnect) OnDisconnect(this);
        return;
    }
    // No notification of this socket may reach the next one, which can get the same handle value.
    WSAAsyncSelect(socket_, window_->Handle(), 0, 0);
    if (closesocket(socket_) != 0) {
        SocketError(WSAEWOULDBLOCK);
        return;
    }
    socket_ = INVALID_SOCKET;
    MSG stale;
    while (PeekMessageW(&stale, window_->Handle(), WM_SOCKET, WM_SOCKET, PM_REMOVE)) {
    }
    if (destroying_) return;
    if (OnDisconnect) OnDisconnect(this);
    NewSocket(false);
}

bool TPowersock::SocketUnused() const {
    sockaddr_in name{};
    int length = sizeof name;
    return getsockname(socket_, reinterpret_cast<sockaddr*>(&name), &length) != 0 && WSAGetLastError() == WSAEINVAL;
}

void TPowersock::StatusMessage(int level, const std::string& text) {
    if (level > ReportLevel) return;
    Status = text;
    if (destroying_ || !OnStatus) return;
    try {
        OnStatus(this, text);
    } catch (...) {
    }
}

std::string TPowersock::SocketError(int tolerated) {
    LastErrorNo = WSAGetLastError();
    if (LastErrorNo == tolerated || LastErrorNo <= 10000) return std::string();
    StatusMessage(8, "Looking Up Error Message" + Status);
    std::string message = SocketErrorMessage(LastErrorNo);
    if (OnErrorHook) OnErrorHook(this, LastErrorNo, message);
    throw ESockError(message);
}

// A time-out is a deadline that the waits sleep towards (PumpWait), rather than a system timer set
// and killed around every operation: most operations end without waiting, and under Wine each
// SetTimer or KillTimer is a round trip to the server. The owned timer stays disabled.
void TPowersock::StartTimeOut() {
    StatusMessage(8, "Timer On");
    timedOut_ = false;
    if (timeOutRunning_) {
        // A running time-out goes on; one whose time is up fires.
        TimeOutExpired();
        return;
    }
    timeOutRunning_ = true;
    deadline_ = GetTickCount64() + ULONGLONG(TimeOut > 0 ? TimeOut : 0);
}

void TPowersock::StopTimeOut() {
    if (timeOutHeld_) return;
    StatusMessage(8, "Timer Off");
    timeOutRunning_ = false;
}

bool TPowersock::TimeOutExpired() {
    if (!timeOutRunning_ || TimeOut <= 0 || GetTickCount64() < deadline_) return false;
    TimerTriggered();
    return true;
}

void TPowersock::HoldTimeOut() {
    StartTimeOut();
    timeOutHeld_ = true;
}

void TPowersock::ReleaseTimeOut() {
    timeOutHeld_ = false;
    StopTimeOut();
}

void TPowersock::PeerClosed() {
    if (closeError_ == 0) return;
    int error = closeError_;
    closeError_ = 0;
    StopTimeOut();
    LastErrorNo = error;
    throw ESockError(SocketErrorMessage(error));
}

void TPowersock::TimerTriggered() {
    StatusMessage(8, "Timer Triggered");
    timeOutHeld_ = false;
    StopTimeOut();
    timedOut_ = true;
    done_ = true;
    Abort();
}

void TPowersock::PumpWait() {
    DWORD ms = INFINITE;
    if (timeOutRunning_ && TimeOut > 0) {
        ULONGLONG now = GetTickCount64(); // read once: the time left must not wrap below zero
        if (now >= deadline_) {
            TimerTriggered();
            return;
        }
        ms = DWORD(deadline_ - now);
    }
    Application->WaitForMessage(ms);
    Application->ProcessMessages();
    TimeOutExpired();
}

void TPowersock::WaitForRoom() {
    // FD_WRITE is asked for only now: in the usual case, where every send fits, it would only add a
    // message after each connect.
    if (!writeEvents_) {
        WSAAsyncSelect(socket_, window_->Handle(), WM_SOCKET, kSocketEvents | FD_WRITE);
        writeEvents_ = true;
    }
    PumpWait();
}

void TPowersock::CancelLookup() {
    if (lookup_) {
        WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
    }
}

void TPowersock::ResolveHost() {
    StatusMessage(8, "Resolve Host");
    const std::string& name = Proxy.empty() ? Host : Proxy;
    unsigned long dotted = inet_addr(name.c_str());
    if (dotted != INADDR_NONE) {
        address_.sin_addr.s_addr = dotted;
        return;
    }
    address_.sin_addr.s_addr = 0;
    StartTimeOut();
    done_ = false;
    noError_ = true;
    lookup_ = WSAAsyncGetHostByName(window_->Handle(), WM_HOSTLOOKUP, name.c_str(), hostEntry_.data(),
                                    int(hostEntry_.size()));
    if (!lookup_) {
        noError_ = false;
        done_ = true;
    }
    while (!done_ && !timedOut_ && !canceled_)
        PumpWait();
    StopTimeOut();
    // The lookup writes into our buffer: it must not outlive the wait.
    CancelLookup();
    if (timedOut_) throw ESockError("Host Lookup Timed Out");
    if (canceled_) throw ESockError("Host Lookup Canceled");
    if (!noError_) throw ESockError("Host Lookup Failed");
    const hostent* entry = reinterpret_cast<const hostent*>(hostEntry_.data());
    if (entry->h_addr_list && entry->h_addr_list[0] && entry->h_length == 4)
        std::memcpy(&address_.sin_addr.s_addr, entry->h_addr_list[0], 4);
    if (address_.sin_addr.s_addr != 0 && OnHostResolved) OnHostResolved(this);
}

void TPowersock::Connect() {
    StatusMessage(8, "Connecting");
    canceled_ = false;
    if (connected_) throw ESockError("Already connected");
    closeError_ = 0;
    for (int attempt = 0;; ++attempt) {
        try {
            ResolveHost();
        } catch (const ESockError& e) {
            if (e.Message == "Host Lookup Timed Out" || e.Message == "Host Lookup Canceled") throw;
        }
        if (address_.sin_addr.s_addr != 0) break;
        bool handled = false;
        if (attempt == 0 && OnInvalidHost) OnInvalidHost(this, handled);
        if (!handled) throw ESockError("Null Remote Address");
    }
    address_.sin_family = AF_INET;
    address_.sin_port = htons(u_short(Proxy.empty() ? Port : ProxyPort));

    done_ = false;
    noError_ = true;
    if (connect(socket_, reinterpret_cast<sockaddr*>(&address_), sizeof address_) != 0) SocketError(WSAEWOULDBLOCK);
    StartTimeOut();
    while (!connected_ && !timedOut_ && !canceled_ && noError_)
        PumpWait();
    StopTimeOut();
    if (timedOut_ || canceled_ || !noError_) {
        if (OnConnectionFailed) OnConnectionFailed(this);
        if (timedOut_) throw ESockError("Connection Timed out");
        if (canceled_) throw ESockError("Connection Canceled");
        throw ESockError("Connection Failed");
    }
}

void TPowersock::Disconnect() {
    StatusMessage(8, "Disconnecting");
    CloseSocket();
}

void TPowersock::Cancel() {
    StatusMessage(8, "Canceling");
    canceled_ = true;
}

void TPowersock::Abort() {
    StatusMessage(8, "Abort");
    Cancel();
}

void TPowersock::SendBuffer(const char* data, size_t length) {
    StatusMessage(4, "Sending Buffer");
    StartTimeOut();
    if (!canceled_) {
        if (length == 0) length = std::strlen(data);
        size_t sent = 0;
        while (sent < length && !canceled_) {
            int chunk = int(std::min<size_t>(length - sent, 1 << 30));
            int n = send(socket_, data + sent, chunk, 0);
            if (n == 0) break;
            if (n < 0) {
                SocketError(WSAEWOULDBLOCK);
                WaitForRoom();
                continue;
            }
            sent += size_t(n);
        }
    }
    StopTimeOut();
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
}

void TPowersock::Write(const std::string& text) {
    StatusMessage(8, "Write");
    // Text ends at a zero byte, as a C string would.
    size_t n = std::strlen(text.c_str());
    if (n > 0) SendBuffer(text.data(), n);
}

void TPowersock::Writeln(const std::string& text) {
    StatusMessage(8, "Writeln");
    Write(text + "\r\n");
}

std::string TPowersock::ReadLn() {
    StatusMessage(8, "ReadLn");
    StartTimeOut();
    while (!canceled_) {
        // Lines come out of what arrived so far: one recv per arrival rather than two per line.
        const char* lf = static_cast<const char*>(std::memchr(pending_.data(), '\n', pending_.size()));
        size_t length = lf ? size_t(lf - pending_.data()) + 1 : pending_.size();
        if (length > BufferSize) {
            StopTimeOut();
            throw ESockError("Reply line longer than " + std::to_string(BufferSize) + " bytes");
        }
        if (lf) {
            std::string line = pending_.substr(0, length);
            pending_.erase(0, length);
            StopTimeOut();
            return line;
        }
        int n = recv(socket_, buffer_.data(), int(buffer_.size()), 0);
        if (n > 0) {
            pending_.append(buffer_.data(), size_t(n));
            continue;
        }
        if (n == 0) {
            // The peer closed: what came before the close is the last line, unless it closed with
            // an error.
            PeerClosed();
            StopTimeOut();
            return TakePending();
        }
        if (WSAGetLastError() == WSAENOTCONN) {
            PeerClosed();
            break;
        }
        SocketError(WSAEWOULDBLOCK);
        PumpWait();
    }
    StopTimeOut();
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket readln aborted");
    }
    return TakePending();
}

std::string TPowersock::TakePending() {
    std::string rest;
    rest.swap(pending_);
    return rest;
}

std::string TPowersock::Transaction(const std::string& command) {
    StatusMessage(8, "Transaction");
    ReplyNumber = 0;
    Writeln(command);
    std::string reply = ReadLn();
    if (!reply.empty()) {
        StatusMessage(1, reply);
        int value = 0, digits = 0;
        while (digits < 10 && digits < int(reply.size()) && reply[size_t(digits)] >= '0' &&
               reply[size_t(digits)] <= '9') {
            value = value * 10 + (reply[size_t(digits)] - '0');
            if (value > 32767) value = 0; // beyond the reply number's range
            ++digits;
        }
        if (digits > 0) ReplyNumber = int16_t(value);
    }
    return reply;
}

bool TPowersock::CaptureLoop(const std::function<bool(const char*, size_t)>& store, const std::function<bool()>& more) {
    BytesRecvd = 0;
    StartTimeOut();
    try {
        while (!canceled_ && more()) {
            int n;
            if (!pending_.empty()) { // what ReadLn received beyond its last line comes first
                n = int(std::min(pending_.size(), buffer_.size()));
                std::memcpy(buffer_.data(), pending_.data(), size_t(n));
                pending_.erase(0, size_t(n));
            } else {
                n = recv(socket_, buffer_.data(), int(buffer_.size()), 0);
            }
            if (n == 0) {
                PeerClosed();
                break;
            }
            if (n > 0) {
                if (!store(buffer_.data(), size_t(n))) break;
                BytesRecvd += n;
                if (OnPacketRecvd) OnPacketRecvd(this);
                // Does not restart a running time-out: the whole capture must end within it.
                StartTimeOut();
                Application->ProcessMessages();
                continue;
            }
            if (WSAGetLastError() == WSAENOTCONN) {
                PeerClosed();
                break;
            }
            SocketError(WSAEWOULDBLOCK);
            PumpWait();
        }
    } catch (...) {
        StopTimeOut();
        throw;
    }
    StopTimeOut();
    bool canceled = canceled_;
    canceled_ = false;
    return canceled;
}

void TPowersock::CaptureInto(std::string& target, long long maxLength) {
    StatusMessage(8, "Capture String");
    target.clear();
    bool canceled = CaptureLoop(
        [&](const char* data, size_t n) {
            target.append(data, n);
            return true;
        },
        [&] { return maxLength == -1 || (long long)target.size() < maxLength; });
    if (canceled) throw EAbortError("Socket capture aborted");
}

std::string TPowersock::CaptureString(long long maxLength) {
    std::string result;
    CaptureInto(result, maxLength);
    return result;
}

void TPowersock::CaptureFile(const std::string& fileName) {
    StatusMessage(8, "CaptureFile");
    FILE* f = OpenFile(fileName, L"wb");
    if (!f) throw Exception("Cannot create file \"" + fileName + "\"");
    bool failed = false, canceled = false;
    try {
        canceled = CaptureLoop(
            [&](const char* data, size_t n) {
                failed = std::fwrite(data, 1, n, f) != n;
                return !failed;
            },
            [] { return true; });
    } catch (...) {
        std::fclose(f);
        throw;
    }
    failed = std::fclose(f) != 0 || failed;
    if (canceled) throw EAbortError("Socket send aborted");
    if (failed) throw Exception("Cannot write file \"" + fileName + "\"");
}

void TPowersock::SendFile(const std::string& fileName) {
    StatusMessage(8, "SendFile");
    FILE* f = OpenFile(fileName, L"rb");
    if (!f) throw Exception("Cannot open file \"" + fileName + "\"");
    try {
        size_t n;
        while (!canceled_ && (n = std::fread(buffer_.data(), 1, buffer_.size(), f)) > 0) {
            size_t sent = 0;
            while (sent < n && !canceled_) {
                int r = send(socket_, buffer_.data() + sent, int(n - sent), 0);
                if (r == 0) break;
                if (r < 0) {
                    SocketError(WSAEWOULDBLOCK);
                    WaitForRoom();
                    continue;
                }
                sent += size_t(r);
                BytesSent += r;
                if (OnPacketSent) OnPacketSent(this);
                Application->ProcessMessages();
            }
            if (sent < n) break;
        }
    } catch (...) {
        std::fclose(f);
        throw;
    }
    std::fclose(f);
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
}

SOCKET TPowersock::Accept() {
    StatusMessage(4, "Accepting");
    while (!done_ && !canceled_)
        PumpWait();
    if (canceled_) throw ESockError("Accepting Canceled");
    if (!noError_) throw ESockError("Error creating Data Connection");
    sockaddr_in peer{};
    int size = sizeof peer;
    SOCKET s = accept(socket_, reinterpret_cast<sockaddr*>(&peer), &size);
    done_ = false; // the next Accept waits for the next peer
    if (s == INVALID_SOCKET) {
        SocketError(WSAEWOULDBLOCK);
        throw ESockError("Error creating Data Connection");
    }
    WSAAsyncSelect(s, window_->Handle(), WM_SOCKET, kSocketEvents);
    address_ = peer;
    if (canceled_) {
        canceled_ = false;
        throw EAbortError("Socket send aborted");
    }
    return s;
}

bool TPowersock::DataAvailable() {
    StatusMessage(8, "Data Available");
    char c;
    return socket_ != INVALID_SOCKET && (!pending_.empty() || recv(socket_, &c, 1, MSG_PEEK) >= 1);
}
