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
    EXPECT_EQ(JudgeReply(page, 399, false), TVerdict::Sent);
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
