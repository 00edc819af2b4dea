// The socket component against real loopback servers, under Wine.
#include "net/Psock.h"

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

namespace {

struct Sock : ::testing::Test {
    Sock() {
        sock.Host = "127.0.0.1";
        sock.ReportLevel = 8;
        sock.OnStatus = [this](TObject*, const std::string& s) { statuses.push_back(s); };
    }
    int Count(const std::string& status) const { return int(std::count(statuses.begin(), statuses.end(), status)); }
    std::vector<std::string> statuses; // outlives sock, which reports while it is destroyed
    TPowersock sock{nullptr};
};

TEST_F(Sock, ReadLnKeepsLineEndsAndEndsAtClose) {
    TestServer server([](TestConnection& c) {
        c.Send("first\r\nsecond\nthird");
        c.Pause(100);
    });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    sock.Connect();
    EXPECT_TRUE(sock.Connected());
    EXPECT_EQ(sock.ReadLn(), "first\r\n");
    EXPECT_EQ(sock.ReadLn(), "second\n");
    EXPECT_EQ(sock.ReadLn(), "third");
    EXPECT_EQ(sock.ReadLn(), "");
    sock.Disconnect();
    EXPECT_FALSE(sock.Connected());
}

// Lines and what follows them arrive in one piece: ReadLn keeps the rest for the next line, for
// DataAvailable and for the capture, in order.
TEST_F(Sock, WhatReadLnReadAheadReachesTheCapture) {
    TestServer server([](TestConnection& c) {
        c.Send("one\r\ntwo\r\nthe body\nand more");
        c.Pause(200);
    });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    sock.Connect();
    EXPECT_EQ(sock.ReadLn(), "one\r\n");
    EXPECT_TRUE(sock.DataAvailable());
    EXPECT_EQ(sock.ReadLn(), "two\r\n");
    EXPECT_EQ(sock.CaptureString(), "the body\nand more");
    EXPECT_EQ(sock.BytesRecvd, 17);
    sock.Disconnect();
}

TEST_F(Sock, SilentServerMakesReadLnFailAfterTheTimeOut) {
    TestServer server([](TestConnection& c) { c.HoldOpen(); });
    sock.Port = server.Port();
    sock.TimeOut = 1000;
    sock.Connect();
    double start = NowMs();
    EXPECT_EQ(ExceptionText([&] { sock.ReadLn(); }), "Socket readln aborted");
    double took = NowMs() - start;
    EXPECT_GT(took, 900);
    EXPECT_LT(took, 4000);
    sock.Disconnect();
}

TEST_F(Sock, LineLongerThanTheBufferIsAnError) {
    TestServer server([](TestConnection& c) { c.Send(std::string(70000, 'x') + "\r\n"); });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    sock.Connect();
    EXPECT_EQ(ExceptionText([&] { sock.ReadLn(); }), "Reply line longer than 65536 bytes");
    sock.Disconnect();
}

TEST_F(Sock, TransactionReadsTheReplyNumber) {
    TestServer server([](TestConnection& c) {
        std::string got = c.ReadAll(300);
        c.Send(got == "HELO x\r\n" ? "250 fine\r\n" : "500 wrong\r\n");
    });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    sock.Connect();
    EXPECT_EQ(sock.Transaction("HELO x"), "250 fine\r\n");
    EXPECT_EQ(sock.ReplyNumber, 250);
    EXPECT_EQ(Count("250 fine\r\n"), 1);
    sock.Disconnect();
}

// One component serves connection after connection, as Tellit's sends do. A Disconnect with
// nothing connected keeps the spare socket (nothing to close) but is reported like any other.
TEST_F(Sock, ConnectsAgainAfterEachCloseAndKeepsAnUnusedSocket) {
    TestServer server([](TestConnection& c) { c.Send("hello\r\n"); });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    int disconnects = 0;
    sock.OnDisconnect = [&](TObject*) { ++disconnects; };
    for (int i = 0; i < 3; ++i) {
        sock.Connect();
        EXPECT_EQ(sock.ReadLn(), "hello\r\n");
        EXPECT_EQ(sock.ReadLn(), ""); // the server closed
        sock.Disconnect();
        EXPECT_FALSE(sock.Connected());
    }
    EXPECT_EQ(server.Connections(), 3);
    SOCKET spare = sock.Handle();
    int before = disconnects;
    sock.Disconnect();
    EXPECT_EQ(sock.Handle(), spare);
    EXPECT_EQ(disconnects, before + 1);
    // A refused connection leaves a used socket: the next attempt gets a new one and fails alike.
    sock.Port = RefusedPort();
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Connection Failed");
    sock.Disconnect();
    EXPECT_NE(sock.Handle(), INVALID_SOCKET);
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Connection Failed");
}

TEST_F(Sock, RefusedPortFailsAfterTheEvent) {
    std::vector<std::string> order;
    sock.Port = RefusedPort();
    sock.OnConnectionFailed = [&](TObject*) { order.push_back("failed-event"); };
    sock.OnConnect = [&](TObject*) { order.push_back("connect"); };
    std::string msg = ExceptionText([&] { sock.Connect(); });
    order.push_back(msg);
    EXPECT_EQ(order, (std::vector<std::string>{"failed-event", "Connection Failed"}));
    EXPECT_FALSE(sock.Connected());
}

TEST_F(Sock, AlreadyConnected) {
    TestServer server([](TestConnection& c) { c.HoldOpen(); });
    sock.Port = server.Port();
    sock.Connect();
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Already connected");
    sock.Disconnect();
}

TEST_F(Sock, UnresolvableNameAndTheInvalidHostRetry) {
    sock.Host = "no-such-host.invalid";
    sock.Port = 80;
    sock.TimeOut = 20000;
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Null Remote Address");
    EXPECT_EQ(Count("Resolve Host"), 1);

    int calls = 0;
    sock.OnInvalidHost = [&](TObject*, bool&) { ++calls; };
    statuses.clear();
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Null Remote Address");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count("Resolve Host"), 1);

    // Handled asks for one more lookup, and only one.
    sock.OnInvalidHost = [&](TObject*, bool& handled) {
        ++calls;
        handled = true;
    };
    calls = 0;
    statuses.clear();
    EXPECT_EQ(ExceptionText([&] { sock.Connect(); }), "Null Remote Address");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count("Resolve Host"), 2);
}

TEST_F(Sock, NamesAreLookedUpDottedAddressesAreNot) {
    TestServer server([](TestConnection& c) { c.Pause(200); });
    int resolved = 0;
    sock.OnHostResolved = [&](TObject*) { ++resolved; };
    sock.Port = server.Port();
    sock.Connect();
    sock.Disconnect();
    EXPECT_EQ(resolved, 0);
    sock.Host = "localhost";
    sock.TimeOut = 20000;
    sock.Connect();
    sock.Disconnect();
    EXPECT_EQ(resolved, 1);
}

TEST_F(Sock, LargeSendWaitsForRoomAndArrivesWhole) {
    std::string data(8 << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char('a' + i % 26);
    std::string received;
    TestServer server([&](TestConnection& c) {
        c.Pause(500); // let the client fill every buffer first
        received = c.ReadAll(20000, data.size());
        c.Send("got it\r\n");
    });
    sock.Port = server.Port();
    sock.TimeOut = 20000;
    sock.Connect();
    sock.SendBuffer(data.data(), data.size());
    EXPECT_EQ(sock.ReadLn(), "got it\r\n");
    sock.Disconnect();
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
}

TEST_F(Sock, SendToAPeerThatNeverReadsEndsAtTheTimeOut) {
    TestServer server([](TestConnection& c) { c.Pause(8000); });
    sock.Port = server.Port();
    sock.TimeOut = 1000;
    sock.Connect();
    std::string data(64 << 20, 'z');
    double start = NowMs();
    EXPECT_EQ(ExceptionText([&] { sock.SendBuffer(data.data(), data.size()); }), "Socket send aborted");
    EXPECT_LT(NowMs() - start, 5000);
    sock.Disconnect();
}

TEST_F(Sock, DisconnectInsideTheCaptureEndsIt) {
    TestServer server([](TestConnection& c) {
        c.Send(std::string(100, 'a'));
        c.Pause(300);
        c.Send(std::string(100, 'b'));
        c.Pause(3000);
    });
    sock.Port = server.Port();
    sock.TimeOut = 10000;
    int packets = 0;
    sock.OnPacketRecvd = [&](TObject*) {
        ++packets;
        sock.Disconnect();
    };
    sock.Connect();
    double start = NowMs();
    std::string got = sock.CaptureString();
    EXPECT_LT(NowMs() - start, 2000);
    EXPECT_EQ(packets, 1);
    EXPECT_EQ(got, std::string(100, 'a'));
}

TEST_F(Sock, TimersKeepFiringDuringWaits) {
    TestServer server([](TestConnection& c) {
        c.Pause(800);
        c.Send("late line\r\n");
    });
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(50);
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    sock.Port = server.Port();
    sock.TimeOut = 5000;
    sock.Connect();
    EXPECT_EQ(sock.ReadLn(), "late line\r\n");
    EXPECT_GE(ticks, 5);
    sock.Disconnect();
}

TEST_F(Sock, AcceptOnAListeningSocket) {
    // Making the component's socket listen is the caller's business; Accept waits for a peer.
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    ASSERT_EQ(bind(sock.Handle(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(sock.Handle(), 1), 0);
    int len = sizeof a;
    getsockname(sock.Handle(), reinterpret_cast<sockaddr*>(&a), &len);
    TPowersock client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = ntohs(a.sin_port);
    client.TimeOut = 5000;
    client.Connect();
    SOCKET peer = sock.Accept();
    ASSERT_NE(peer, INVALID_SOCKET);
    client.Writeln("hello");
    char buf[16] = {};
    int got = 0;
    for (int i = 0; i < 200 && got <= 0; ++i) {
        got = recv(peer, buf, sizeof buf, 0);
        if (got <= 0) PumpFor(10);
    }
    EXPECT_EQ(std::string(buf, got > 0 ? size_t(got) : 0), "hello\r\n");
    closesocket(peer);
    client.Disconnect();

    sock.Cancel();
    EXPECT_EQ(ExceptionText([&] { sock.Accept(); }), "Accepting Canceled");
}

TEST(ThreadTimer, ReprogramsOnlyOnChange) {
    TThreadTimer timer(nullptr);
    int ticks = 0;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    timer.SetInterval(40);
    timer.SetEnabled(true);
    PumpFor(300);
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    int stopped = ticks;
    PumpFor(200);
    EXPECT_EQ(ticks, stopped);
    // Interval 0 never fires.
    timer.SetInterval(0);
    timer.SetEnabled(true);
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);
}

TEST(ThreadTimer, ExceptionGoesToTheApplicationHandler) {
    std::string reported;
    Application->OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
    TThreadTimer timer(nullptr);
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject* t) {
        static_cast<TTimer*>(t)->SetEnabled(false);
        throw Exception("tick failed");
    });
    timer.SetEnabled(true);
    PumpFor(200);
    Application->OnException = nullptr;
    EXPECT_EQ(reported, "tick failed");
}

TEST(Winsock, StartUpDetailsAreRecorded) {
    // Only the component that starts Windows Sockets first records them.
    TPowersock first(nullptr);
    ASSERT_EQ(first.WSAInfo.Count(), 6);
    EXPECT_EQ(first.WSAInfo[0], "Version= 1.1");
    EXPECT_EQ(first.WSAInfo[4].rfind("Max Sockets= ", 0), 0u);
    TPowersock second(nullptr);
    EXPECT_EQ(second.WSAInfo.Count(), 0);
    EXPECT_NE(first.Handle(), INVALID_SOCKET);
}

} // namespace
