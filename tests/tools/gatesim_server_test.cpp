// The gateway simulator as a process: started on a free loopback port, spoken to over real sockets,
// stopped with a signal.
#include "tools/gatesim/GateText.h"

#include "app/Gateway.h"
#include "net/NMURL.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class GateSimProcess : public ::testing::Test {
protected:
    // Starts the simulator with a log, a port file, a 1 s time-out and the given extra arguments, and
    // reads the port from the first line of its output.
    void Start(const std::vector<std::string>& extra = {}) {
        static int counter = 0;
        std::string base =
            ::testing::TempDir() + "gatesim_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        logPath_ = base + ".jsonl";
        portPath_ = base + ".port";
        unlink(logPath_.c_str());
        unlink(portPath_.c_str());

        std::vector<std::string> args = {GATESIM_EXE,   "--port",  "0",         "--log", logPath_,
                                         "--port-file", portPath_, "--timeout", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        int out[2];
        ASSERT_EQ(pipe(out), 0);
        pid_ = fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            // The server goes when the test process goes, however that ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        outFd_ = out[0];
        std::string first;
        char c;
        while (read(outFd_, &c, 1) == 1 && c != '\n')
            first += c;
        port_ = std::atoi(first.c_str());
        ASSERT_GT(port_, 0) << "no port from the simulator: " << first;
        // Drain the rest of the output, so that the server never blocks on a full pipe.
        reader_ = std::thread([this] {
            char buf[4096];
            ssize_t n;
            while ((n = read(outFd_, buf, sizeof buf)) > 0)
                console_.append(buf, static_cast<size_t>(n));
        });
    }

    // Stops the server with sig and checks that it ended cleanly; returns its output after the port line.
    std::string Stop(int sig = SIGTERM) {
        if (pid_ <= 0) return console_;
        kill(pid_, sig);
        int status = 0;
        EXPECT_EQ(waitpid(pid_, &status, 0), pid_);
        EXPECT_TRUE(WIFEXITED(status)) << "status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
        pid_ = -1;
        reader_.join();
        close(outFd_);
        return console_;
    }

    void TearDown() override { Stop(); }

    int Connect() {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        EXPECT_GE(fd, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port_));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        return fd;
    }

    static void SendAll(int fd, const std::string& data) {
        for (size_t sent = 0; sent < data.size();) {
            ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            ASSERT_GT(n, 0);
            sent += static_cast<size_t>(n);
        }
    }

    // Reads until the server closes. The close must be orderly: a reset can destroy a reply that
    // the client has not read yet (Windows sockets drop it).
    static std::string ReadToEnd(int fd) {
        std::string reply;
        char buf[4096];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0)
            reply.append(buf, static_cast<size_t>(n));
        EXPECT_EQ(n, 0) << "connection ended with " << std::strerror(errno);
        return reply;
    }

    std::string Exchange(const std::string& request) {
        int fd = Connect();
        SendAll(fd, request);
        std::string reply = ReadToEnd(fd);
        close(fd);
        return reply;
    }

    std::vector<std::string> LogLines() {
        std::ifstream in(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static std::string Body(const std::string& reply) {
        size_t end = reply.find("\r\n\r\n");
        return end == std::string::npos ? std::string() : reply.substr(end + 4);
    }

    // The request head the client sends for this number and message, directly or to a proxy.
    static std::string ClientHead(const std::string& number, const std::string& message, bool viaProxy = false) {
        std::string url = GatewayUrl("sms.example", number, UrlEncode(message), 2027);
        std::string target = viaProxy ? url : url.substr(url.find("/cgi-bin"));
        return "GET " + target + " HTTP/1.0\r\nHost: sms.example\r\nAccept: */*\r\nUser-Agent: Tellit\r\n" +
               (viaProxy ? "Proxy-Connection: Keep-Alive\r\n" : "") + "\r\n";
    }

    pid_t pid_ = -1;
    int port_ = 0;
    int outFd_ = -1;
    std::thread reader_;
    std::string console_, logPath_, portPath_;
};

TEST_F(GateSimProcess, AcceptsThenRefusesWithinTheMinute) {
    Start();
    std::ifstream portFile(portPath_);
    int filePort = 0;
    portFile >> filePort;
    EXPECT_EQ(filePort, port_);

    std::string reply = Exchange(ClientHead("1234567", "\xCF\xF0\xE8\xE2\xE5\xF2, world"));
    EXPECT_EQ(reply.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << reply;
    EXPECT_NE(reply.find("Content-Type: text/html; charset=windows-1251\r\n"), std::string::npos);
    EXPECT_GT(Body(reply).size(), 20u);
    EXPECT_EQ(Body(reply).find("error"), std::string::npos);

    // The limit counts the client address, whatever the number.
    reply = Exchange(ClientHead("7654321", "again"));
    EXPECT_NE(Body(reply).substr(0, 21).find("error"), std::string::npos) << reply;
    EXPECT_NE(Body(reply).find("a minute"), std::string::npos);

    std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("\"verdict\":\"accepted\""), std::string::npos);
    EXPECT_NE(log[0].find("\"to\":\"375291234567\",\"text\":\"Привет, world\",\"year\":2027"), std::string::npos)
        << log[0];
    EXPECT_NE(log[0].find("\"client\":\"127.0.0.1\""), std::string::npos);
    EXPECT_NE(log[1].find("\"verdict\":\"per-minute limit\""), std::string::npos) << log[1];
    EXPECT_EQ(log[1].find("\"text\""), std::string::npos);

    std::string console = Stop();
    EXPECT_NE(console.find("  375291234567  \"Привет, world\"\n"), std::string::npos) << console;
    EXPECT_NE(console.find("refused 127.0.0.1: per-minute limit"), std::string::npos);
}

TEST_F(GateSimProcess, RefusesBadNumberAndServesProxiedRequests) {
    Start({"--per-minute", "0"});
    std::string reply = Exchange(ClientHead("123456", "x"));
    EXPECT_EQ(reply.rfind("HTTP/1.0 200 OK\r\n", 0), 0u);
    EXPECT_NE(Body(reply).substr(0, 21).find("error"), std::string::npos);
    EXPECT_NE(Body(reply).find("field To"), std::string::npos) << reply;

    reply = Exchange(ClientHead("1234567", "via proxy", true));
    EXPECT_EQ(Body(reply).find("error"), std::string::npos) << reply;
    reply = Exchange("GET /favicon.ico HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(reply.rfind("HTTP/1.0 404 Not Found\r\n", 0), 0u) << reply;

    std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_NE(log[0].find("\"verdict\":\"bad query\""), std::string::npos);
    EXPECT_NE(log[1].find("\"text\":\"via proxy\""), std::string::npos);
    EXPECT_NE(log[1].find("\"raw\":\"GET http://sms.example/cgi-bin/"), std::string::npos);
    EXPECT_NE(log[1].find("\\r\\nProxy-Connection: Keep-Alive\\r\\n\\r\\n\"}"), std::string::npos) << log[1];
    EXPECT_NE(log[2].find("\"verdict\":\"not found\""), std::string::npos);
    Stop(SIGINT);
}

TEST_F(GateSimProcess, HeadArrivingByteByByte) {
    // A later --timeout wins: the slow head must not meet the short time-out of the other tests on
    // a busy machine.
    Start({"--timeout", "30"});
    std::string head = ClientHead("1234567", "slow \xC0\xC1\xC2");
    int fd = Connect();
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    for (char c : head) {
        SendAll(fd, std::string(1, c));
        usleep(500); // let each byte travel on its own
    }
    std::string reply = ReadToEnd(fd);
    close(fd);
    EXPECT_EQ(Body(reply).find("error"), std::string::npos) << reply;
    std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 1u);
    // The log keeps the exact head, byte for byte.
    EXPECT_NE(log[0].find("\"head\":" + JsonBytes(head) + "}"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("\"text\":\"slow АБВ\""), std::string::npos);
}

TEST_F(GateSimProcess, SurvivesGarbage) {
    Start({"--per-minute", "0"});
    std::mt19937 random(20261207);
    std::string noise;
    for (int i = 0; i < 2000; ++i)
        noise += static_cast<char>(random() & 0xFF);

    std::string reply = Exchange(noise + "\r\n\r\n");
    EXPECT_EQ(reply.rfind("HTTP/1.0 400 Bad Request\r\n", 0), 0u) << reply;
    EXPECT_NE(Body(reply).substr(0, 21).find("error"), std::string::npos);

    // A head longer than the limit is refused once the limit is reached; the rest is read and dropped.
    reply = Exchange(std::string(70000, 'A'));
    EXPECT_EQ(reply.rfind("HTTP/1.0 400 Bad Request\r\n", 0), 0u) << reply.substr(0, 200);
    EXPECT_NE(reply.find("head is longer"), std::string::npos);

    // A client that stops in the middle of its head, one that sends and leaves at once, and one that
    // stays silent until the time-out.
    int fd = Connect();
    SendAll(fd, noise.substr(0, 100));
    close(fd);
    fd = Connect();
    SendAll(fd, ClientHead("1234567", "gone"));
    close(fd);
    fd = Connect();
    SendAll(fd, "GET /cgi-bin/cgi.exe?function=sms_send");
    reply = ReadToEnd(fd);
    close(fd);
    EXPECT_EQ(reply.rfind("HTTP/1.0 408 Request Timeout\r\n", 0), 0u) << reply;

    reply = Exchange(ClientHead("1234567", "still here"));
    EXPECT_EQ(Body(reply).find("error"), std::string::npos) << reply;

    std::string log;
    for (const std::string& line : LogLines())
        log += line + "\n";
    EXPECT_NE(log.find("\"verdict\":\"head too large\""), std::string::npos);
    EXPECT_NE(log.find("\"head_truncated\":true"), std::string::npos);
    EXPECT_NE(log.find("\"verdict\":\"incomplete\""), std::string::npos);
    EXPECT_NE(log.find("\"verdict\":\"timeout\""), std::string::npos);
    EXPECT_NE(log.find("\"text\":\"still here\""), std::string::npos);
}

TEST_F(GateSimProcess, ManyConnectionsAtOnce) {
    Start({"--per-minute", "0", "--per-day", "0"});
    // More idle connections than the server serves at once: the extra ones wait in the listen queue
    // until time-outs free their places.
    std::vector<int> idle;
    for (int i = 0; i < 300; ++i)
        idle.push_back(Connect());
    std::string reply = Exchange(ClientHead("1234567", "through the crowd"));
    EXPECT_EQ(reply.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << reply;
    EXPECT_EQ(Body(reply).find("error"), std::string::npos);
    for (int fd : idle)
        close(fd);

    // Many clients in flight together all get their answer.
    std::vector<int> busy;
    for (int i = 0; i < 50; ++i) {
        busy.push_back(Connect());
        SendAll(busy.back(), ClientHead("1234567", "n" + std::to_string(i)));
    }
    int accepted = 0;
    for (int fd : busy) {
        accepted += Body(ReadToEnd(fd)).find("SMS sent") != std::string::npos;
        close(fd);
    }
    EXPECT_EQ(accepted, 50);
}

} // namespace
