// httpget as a user runs it: a separate process whose output and exit status are checked.
#include "tests/support/TestServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Result {
    DWORD status = 99;
    std::string out, err;
};

std::string Slurp(const std::wstring& path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

HANDLE Inheritable(const std::wstring& path) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &sa, CREATE_ALWAYS, 0,
                       nullptr);
}

// Runs httpget with args, its output going to files (a pipe would be held open by Wine's helpers).
Result RunHttpget(const std::string& args) {
    std::string exe = HTTPGET_EXE;
    if (!exe.empty() && exe[0] == '/') exe = "Z:" + exe;
    // Fresh names each run: a file just deleted may still be pending deletion and refuse reopening.
    static int run = 0;
    std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++run);
    std::wstring outPath = L"httpget_out_" + tag + L".txt", errPath = L"httpget_err_" + tag + L".txt";
    HANDLE out = Inheritable(outPath), err = Inheritable(errPath);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring cmd = L"\"" + std::wstring(exe.begin(), exe.end()) + L"\" " + std::wstring(args.begin(), args.end());
    PROCESS_INFORMATION pi{};
    Result r;
    if (CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        // Pump while waiting: nothing here needs it, but the test thread stays well-behaved.
        while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) PumpFor(1);
        GetExitCodeProcess(pi.hProcess, &r.status);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(out);
    CloseHandle(err);
    r.out = Slurp(outPath);
    r.err = Slurp(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return r;
}

TEST(Httpget, PrintsHeaderEmptyLineAndBody) {
    TestServer server([](TestConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.0 200 OK\r\nX-One: 1\r\n\r\nbody \x01\x02 bytes\n");
    });
    Result r = RunHttpget(server.Base() + "/x");
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "HTTP/1.0 200 OK\r\nX-One: 1\r\n\r\nbody \x01\x02 bytes\n");
    EXPECT_EQ(r.err, "");
}

TEST(Httpget, PostsAndIdentifies) {
    TestServer server([](TestConnection& c) {
        c.ReadRequest();
        c.Send(HttpReply("200 OK", "", ""));
    });
    Result r = RunHttpget("--user a --password b --post \"x=1 2\" " + server.Base() + "/form");
    EXPECT_EQ(r.status, 0u);
    std::string req = server.Requests().at(0);
    EXPECT_EQ(req.substr(0, req.find("\r\n")), "POST /form HTTP/1.0");
    EXPECT_NE(req.find("\r\nAuthorization: Basic YTpi\r\n"), std::string::npos);
    EXPECT_EQ(req.substr(req.size() - 11), "\r\n\r\nx%3D1+2");
}

TEST(Httpget, FailuresGoToStandardErrorWithStatusOne) {
    Result r = RunHttpget("http://127.0.0.1:" + std::to_string(RefusedPort()) + "/");
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.err, "Connection Failed\n");
    EXPECT_EQ(r.out, "");

    TestServer silent([](TestConnection& c) {
        c.ReadRequest();
        c.HoldOpen();
    });
    r = RunHttpget("--timeout 500 " + silent.Base() + "/");
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.err, "Socket readln aborted\n");

    r = RunHttpget("https://127.0.0.1/");
    EXPECT_EQ(r.err, "HTTP Secure Socket is not supported\n");
}

TEST(Httpget, EventsInOrder) {
    TestServer server([](TestConnection& c) {
        c.ReadRequest();
        c.Send(HttpReply("200 OK", "", "abc"));
    });
    Result r = RunHttpget("--events " + server.Base() + "/");
    EXPECT_EQ(r.status, 0u);
    std::vector<std::string> events;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("event ", 0) == 0 && line != "event OnDisconnect") events.push_back(line);
    EXPECT_EQ(events, (std::vector<std::string>{"event OnAboutToSend", "event OnConnect", "event OnPacketRecvd 3",
                                                "event OnSuccess GET"}));
    EXPECT_NE(r.out.find("status Connecting\n"), std::string::npos);
    EXPECT_NE(r.out.find("status Transaction Completed\n"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 22), "HTTP/1.0 200 OK\r\n\r\nabc");
}

} // namespace
