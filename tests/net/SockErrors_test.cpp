#include "net/SockErrors.h"

#include <gtest/gtest.h>

TEST(SocketErrorMessage, TableAndUnknownNumbers) {
    EXPECT_EQ(SocketErrorMessage(10061), "10061:Connection refused");
    EXPECT_EQ(SocketErrorMessage(10054), "10054:Connection reset by peer");
    EXPECT_EQ(SocketErrorMessage(11004), "11004:Valid name, no data record of requested type");
    EXPECT_EQ(SocketErrorMessage(12345), "Unknown Error No. 12345");
    EXPECT_EQ(SocketErrorMessage(0), "Unknown Error No. 0");
}
