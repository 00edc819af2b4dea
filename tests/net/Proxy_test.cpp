// The HTTP client through a real proxy (tinyproxy with Basic authentication, started by the test's
// wrapper script), to an origin server on loopback.
#include "net/NMHttp.h"

#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

struct Proxy : ::testing::Test {
    void SetUp() override {
        port = StrToIntDef(Env("TELLIT_PROXY_PORT"), 0);
        ASSERT_NE(port, 0) << "run through tests/net/with-tinyproxy";
        http.TimeOut = 10000;
        http.Proxy = "127.0.0.1";
        http.ProxyPort = port;
    }
    int port = 0;
    TNMHTTP http{nullptr};
};

TEST_F(Proxy, RightCredentialsReachTheOrigin) {
    TestServer origin([](TestConnection& c) {
        c.ReadRequest();
        c.Send(HttpReply("200 OK", "Content-Type: text/plain\r\n", "from the origin"));
    });
    http.HeaderInfo->UserId = Env("TELLIT_PROXY_USER");
    http.HeaderInfo->Password = Env("TELLIT_PROXY_PASSWORD");
    http.Get(origin.Base() + "/cgi-bin/cgi.exe?Msg=%C0+b");
    EXPECT_EQ(http.ReplyNumber, 200);
    EXPECT_EQ(http.Body, "from the origin");
    auto r = origin.Requests();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].substr(0, r[0].find("\r\n")).rfind("GET /cgi-bin/cgi.exe?Msg=%C0+b HTTP/1.", 0), 0u) << r[0];
    // The credentials were for the proxy: none reach the origin.
    EXPECT_EQ(r[0].find("uthorization"), std::string::npos) << r[0];
}

TEST_F(Proxy, WrongOrMissingCredentialsAreRefusedByTheProxy) {
    TestServer origin([](TestConnection& c) {
        c.ReadRequest();
        c.Send(HttpReply("200 OK", "", "from the origin"));
    });
    http.HeaderInfo->UserId = Env("TELLIT_PROXY_USER");
    http.HeaderInfo->Password = "wrong";
    int failures = 0;
    http.OnFailure = [&](CmdType) { ++failures; };
    http.Get(origin.Base() + "/");
    // This proxy answers 401 rather than 407; either is its refusal.
    EXPECT_TRUE(http.ReplyNumber == 401 || http.ReplyNumber == 407) << http.ReplyNumber;
    EXPECT_EQ(failures, 1);
    EXPECT_NE(http.Body.find("Unauthorized"), std::string::npos);

    http.HeaderInfo->UserId.clear();
    http.Get(origin.Base() + "/");
    EXPECT_TRUE(http.ReplyNumber == 401 || http.ReplyNumber == 407) << http.ReplyNumber;
    PumpFor(100);
    EXPECT_EQ(origin.Connections(), 0);
}

} // namespace
