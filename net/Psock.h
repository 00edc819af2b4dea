// The socket connection component: one TCP client connection over Windows Sockets 1.1 in
// asynchronous-message mode. Every wait is a loop that keeps pumping the thread's message queue,
// so the calling window stays alive; notifications arrive at a hidden window of the component.
#pragma once

#include <winsock.h>

#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/HiddenWindow.h"
#include "net/SockErrors.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using THandlerEvent = std::function<void(TObject* Sender, bool& Handled)>;
using TOnStatus = std::function<void(TObject* Sender, const std::string& Status)>;
using TOnHostResolved = std::function<void(TObject* Sender)>;

// The time-out timer: a timer of its own window class, created disabled; fails with "No Timer".
class TThreadTimer : public TTimer {
public:
    explicit TThreadTimer(TComponent* AOwner);
};

class TPowersock : public TComponent {
public:
    // Starts Windows Sockets (once for the program) and creates an unconnected socket.
    // Raises ESockError "Initializaton of windows sockets failed" when no socket can be made.
    explicit TPowersock(TComponent* AOwner);
    ~TPowersock() override;

    std::string Host;    // remote host name or dotted address
    int Port = 0;        // remote TCP port
    int TimeOut = 0;     // milliseconds for each waiting operation; 0 waits without limit
    int ReportLevel = 0; // status texts of this level or below are reported
    // When Proxy is not empty, resolution and connect go to Proxy:ProxyPort instead of Host:Port.
    std::string Proxy;
    int ProxyPort = 0;

    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    THandlerEvent OnInvalidHost; // setting Handled asks for one more lookup
    TOnHostResolved OnHostResolved;
    TOnStatus OnStatus;
    TNotifyEvent OnConnectionFailed;
    TNotifyEvent OnPacketRecvd; // after each stored piece of received data
    TNotifyEvent OnPacketSent;  // after each sent piece of a file

    bool Connected() const { return connected_; }
    SOCKET Handle() const { return socket_; }
    int LastErrorNo = 0;
    int16_t ReplyNumber = 0;
    long long BytesRecvd = 0;
    long long BytesSent = 0;
    long long BytesTotal = 0;
    std::string Status;  // the last reported status text
    TStringList WSAInfo; // Windows Sockets start-up details

    virtual SOCKET Accept();
    virtual void Connect();
    virtual void Disconnect();
    virtual std::string Transaction(const std::string& command);
    virtual void Abort();
    void Cancel();

    // Sends length bytes (0: up to the first zero byte). Waits, pumping messages, while the
    // network cannot take more; the time-out and cancellation end the wait with EAbortError.
    void SendBuffer(const char* data, size_t length);
    void Write(const std::string& text);
    void Writeln(const std::string& text);
    // One line, with its line end. A line longer than the transfer buffer raises ESockError. Reads
    // ahead: what arrives after the line waits in the component for the next ReadLn or capture (and
    // counts for DataAvailable), so read the socket through these rather than by its Handle.
    std::string ReadLn();
    // Receives until the peer closes, the connection is closed, or maxLength bytes (-1: no limit).
    std::string CaptureString(long long maxLength = -1);
    void CaptureFile(const std::string& fileName);
    void SendFile(const std::string& fileName);
    bool DataAvailable();

    static constexpr size_t BufferSize = 65536;

protected:
    // Receives into target (cleared first), which OnPacketRecvd handlers may read as it grows.
    void CaptureInto(std::string& target, long long maxLength);
    // The receive loop of the captures: store takes each piece (false stops), more says whether to
    // go on. Returns true when the capture was canceled (the flag is cleared).
    bool CaptureLoop(const std::function<bool(const char*, size_t)>& store, const std::function<bool()>& more);
    void StatusMessage(int level, const std::string& text);
    // Raises ESockError with the text of WSAGetLastError unless it is the tolerated number.
    std::string SocketError(int tolerated);
    // TimeOut milliseconds from now unless one is running; a running one goes on (a capture must end
    // within one time-out however many packets arrive).
    void StartTimeOut();
    void StopTimeOut();
    // One time-out over several waits: between the two calls, the waits inside neither restart nor
    // stop it; it ends at the release or when it expires.
    void HoldTimeOut();
    void ReleaseTimeOut();
    // A read found the connection closed: raises ESockError when the peer ended it with an error
    // (a reset), so that a cut reply is never taken for a whole one.
    void PeerClosed();
    // Fires a running time-out whose deadline has passed (TimerTriggered); returns whether it did.
    bool TimeOutExpired();
    // A send found the network full: waits (PumpWait) for the socket's FD_WRITE, the time-out or input.
    void WaitForRoom();
    // Sleeps until a message arrives or the running time-out's deadline passes, then dispatches what
    // is waiting (or fires the time-out). Every other condition a wait loop tests changes only through
    // a message (the socket's and the lookup's notifications, the user's input), so the loop needs no
    // periodic wake-up.
    void PumpWait();

    bool canceled_ = false;
    bool timedOut_ = false;
    bool done_ = false;
    bool noError_ = true;
    bool destroying_ = false;
    bool timeOutHeld_ = false;
    int closeError_ = 0; // the error of the peer's close notification, 0 for an orderly close

    // Not published; nothing in the program assigns them.
    std::function<void(TPowersock*)> OnDataAvailableHook;
    std::function<void(TPowersock*)> OnAcceptHook;
    std::function<void(TPowersock*, int number, const std::string& message)> OnErrorHook;

private:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void NewSocket(bool first);
    void CloseSocket();
    // Whether the socket was never bound (so never connected nor listening).
    bool SocketUnused() const;
    // Empties pending_ and returns what it held.
    std::string TakePending();
    void ResolveHost();
    void CancelLookup();
    void TimerTriggered();

    SOCKET socket_ = INVALID_SOCKET;
    bool connected_ = false;
    bool startedWinsock_ = false;
    std::unique_ptr<THiddenWindow> window_;
    std::vector<char> buffer_;
    bool writeEvents_ = false; // the socket reports FD_WRITE too
    std::string pending_;      // received by ReadLn beyond the lines it returned; read first by the captures
    std::vector<char> hostEntry_;
    HANDLE lookup_ = nullptr;
    sockaddr_in address_{};
    TThreadTimer* timer_ = nullptr;
    bool timeOutRunning_ = false;
    ULONGLONG deadline_ = 0; // GetTickCount64 at which a running time-out fires
};
