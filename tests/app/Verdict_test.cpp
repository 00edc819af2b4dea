#include "app/Verdict.h"

#include <gtest/gtest.h>

TEST(JudgeReply, WaitsForMoreThanTwentyBytesWhileArriving) {
    EXPECT_EQ(JudgeReply("", 200, false), TVerdict::None);
    EXPECT_EQ(JudgeReply(std::string(20, 'x'), 200, false), TVerdict::None);
    EXPECT_EQ(JudgeReply(std::string(20, 'x') + "error", 200, false), TVerdict::Refused);
    EXPECT_EQ(JudgeReply(std::string(21, 'x'), 200, false), TVerdict::Sent);
    // Even a failure status waits for the body to decide while it arrives.
    EXPECT_EQ(JudgeReply("short", 500, false), TVerdict::None);
}

TEST(JudgeReply, ErrorIsLowerCaseAnywhere) {
    EXPECT_EQ(JudgeReply("<html>an error occurred</html>", 200, false), TVerdict::Refused);
    EXPECT_EQ(JudgeReply("<html>An ERROR occurred!!</html>", 200, false), TVerdict::Sent);
    EXPECT_EQ(JudgeReply("<html>Error: limit reached</html>", 200, false), TVerdict::Sent);
    EXPECT_EQ(JudgeReply("<html>errors</html>........", 200, false), TVerdict::Refused);
}

TEST(JudgeReply, FailureStatusIsNeverASuccess) {
    const std::string page = "<html><body>Internal Server Problem</body></html>";
    EXPECT_EQ(JudgeReply(page, 200, false), TVerdict::Sent);
    EXPECT_EQ(JudgeReply(page, 299, false), TVerdict::Sent);
    EXPECT_EQ(JudgeReply(page, 400, false), TVerdict::Refused);
    EXPECT_EQ(JudgeReply(page, 404, true), TVerdict::Refused);
    EXPECT_EQ(JudgeReply(page, 503, false), TVerdict::Refused);
}

TEST(JudgeReply, CompleteShortBodyIsJudgedWhole) {
    EXPECT_EQ(JudgeReply("OK", 200, true), TVerdict::Sent);
    EXPECT_EQ(JudgeReply("error", 200, true), TVerdict::Refused);
    EXPECT_EQ(JudgeReply("", 200, true), TVerdict::Refused);
    EXPECT_EQ(JudgeReply("OK", 500, true), TVerdict::Refused);
}

// A redirection's page is not the gateway's answer (the client follows it), a proxy that wants
// credentials is no refusal of the gateway, and a connection closed without a word is no reply.
TEST(JudgeReply, RedirectionsProxyCredentialsAndSilenceAreNotTheGatewaysAnswer) {
    const std::string moved = "<html>The page moved to /cgi-bin/cgi.exe</html>";
    for (int status : {300, 302, 307, 399})
        EXPECT_EQ(JudgeReply(moved, status, false), TVerdict::None) << status;
    EXPECT_EQ(JudgeReply(moved, 407, false), TVerdict::ProxyAuthentication);
    EXPECT_EQ(JudgeReply("", 407, true), TVerdict::ProxyAuthentication);
    EXPECT_EQ(JudgeReply("", 0, true), TVerdict::NoReply);
    EXPECT_EQ(JudgeReply("OK", 0, true), TVerdict::Sent);
    EXPECT_EQ(JudgeReply("", 200, true), TVerdict::Refused);
}

TEST(ReplyCut, HeaderWithoutItsEndOrBodyShortOfItsLength) {
    struct Case {
        const char* header;
        const char* body;
        long long announced;
        bool cut;
    } cases[] = {
        {"", "", 0, false}, // nothing came at all: no reply, not a cut one
        {"HTTP/1.0 200 OK\r\n\r\n", "OK", 0, false},
        {"HTTP/1.0 200 OK\n\n", "", 0, false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\n", "OK", 2, false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\n", "OK and more", 2, false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 42\r\n\r\n", "<html>", 42, true},
        {"HTTP/1.0 200 OK\r\nContent-Ty", "", 0, true},
        {"HTTP/1.0 200 OK\r\n", "", 0, true},
        {"HTTP/1.0 200", "", 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplyCut(c.header, c.body, c.announced), c.cut) << c.header << c.body;
}
