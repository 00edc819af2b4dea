#include "app/Gateway.h"

#include "net/NMURL.h"

#include <gtest/gtest.h>

TEST(GatewayUrl, PiecesInOrder) {
    EXPECT_EQ(GatewayUrl("gw.example", "1234567", UrlEncode("Hi there"), 2005),
              "http://gw.example/cgi-bin/cgi.exe?function=sms_send&MMObjectType=0&MMObjectID=&To=375291234567"
              "&Msg=Hi+there&Hour=00&Min=00&Day=5&Mon=5&Year=2005&Lang=2");
}

TEST(GatewayUrl, MessageForms) {
    std::string url = GatewayUrl("h:8080", "-123456", UrlEncode("\xc0\r\n   "), 2027);
    EXPECT_NE(url.find("http://h:8080/cgi-bin/"), std::string::npos);
    EXPECT_NE(url.find("&To=37529-123456&Msg=%C0%0D%0A+++&Hour=00"), std::string::npos);
    EXPECT_NE(GatewayUrl("h", "1234567", "", 2027).find("&Msg=&Hour=00"), std::string::npos);
    // 160 Cyrillic letters travel whole, followed by every field.
    std::string msg(160, '\xdf');
    url = GatewayUrl("h", "1234567", UrlEncode(msg), 2027);
    EXPECT_EQ(url.size(), std::string("http://h").size() + 82 + 480 + 44);
}

TEST(GatewayYear, IsNextYear) {
    int y = GatewayYear();
    EXPECT_GE(y, 2025);
    EXPECT_LE(y, 2200);
}
