#include "net/NMURL.h"

#include <gtest/gtest.h>

TEST(UrlEncode, LettersDigitsSpaceAndEscapes) {
    EXPECT_EQ(UrlEncode(""), "");
    EXPECT_EQ(UrlEncode("a b/c"), "a+b%2Fc");
    EXPECT_EQ(UrlEncode("\r\n"), "%0D%0A");
    EXPECT_EQ(UrlEncode("\xff"), "%FF");
    EXPECT_EQ(UrlEncode("\xc0"), "%C0");
    EXPECT_EQ(UrlEncode("x=1&y=2"), "x%3D1%26y%3D2");
    EXPECT_EQ(UrlEncode("   "), "+++");
    EXPECT_EQ(UrlEncode(std::string("\0", 1)), "%00");
    EXPECT_EQ(UrlEncode("AZaz09-_.~"), "AZaz09%2D%5F%2E%7E");
}

TEST(UrlEncode, EveryByteHasOneForm) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += char(i);
    std::string enc = UrlEncode(all);
    // 62 letters and digits and the space take one character, the other 193 bytes three.
    EXPECT_EQ(enc.size(), 63u + 193u * 3u);
}

TEST(TNMURL, EncodesInputStringOnEachRead) {
    TComponent owner(nullptr);
    auto* url = new TNMURL(&owner);
    url->InputString = "Hi there";
    EXPECT_EQ(url->Encode(), "Hi+there");
    url->InputString = "\xc0";
    EXPECT_EQ(url->Encode(), "%C0");
}
