#include "framework/SysUtils.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsWhatTheFrameworkAccepts) {
    EXPECT_EQ(StrToInt("1234567"), 1234567);
    EXPECT_EQ(StrToInt("-123456"), -123456);
    EXPECT_EQ(StrToInt("+12"), 12);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("-$80000000"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("-$1"), -1);
}

TEST(StrToInt, RejectsTheRest) {
    for (const char* bad : {"", " ", "-", "12a4567", "8o80", "42 ", "2147483648", "$", "1.5", "\xd0\xb0"}) {
        int v = 7;
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
        EXPECT_EQ(v, 7);
    }
    try {
        StrToInt("8o80");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'8o80' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef("x", -5), -5);
}

TEST(TextCase, EveryScriptWithCase) {
    EXPECT_TRUE(SameText("Set-Cookie", "SET-COOKIE"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_EQ(UpperCase("abc\xe0"), "ABC\xe0"); // a stray byte passes unchanged
    EXPECT_EQ(LowerCase("HtTp"), "http");
    // Each row: small letters, capitals; both directions must hold.
    const struct {
        const char *lower, *upper;
    } rows[] = {
        {"привет, ёжик ђ", "ПРИВЕТ, ЁЖИК Ђ"},
        {"àéîõü þ ÿ", "ÀÉÎÕÜ Þ Ÿ"},
        {"ąčęłńšž ő", "ĄČĘŁŃŠŽ Ő"},
        {"αβγ άέ ώ", "ΑΒΓ ΆΈ Ώ"},
        {"ѣ ґ ӂ ӏ", "Ѣ Ґ Ӂ Ӏ"},
        {"բարեւ", "ԲԱՐԵՒ"},
        {"ａｂｃ", "ＡＢＣ"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(UpperCase(r.lower), r.upper) << r.lower;
        EXPECT_EQ(LowerCase(r.upper), r.lower) << r.upper;
        EXPECT_TRUE(SameText(r.lower, r.upper)) << r.lower;
    }
    // Letters without a partner of the same length, signs and broken sequences stay as they are.
    for (const char* same : {"ß ı ĸ ŉ ÷ × 1 № €", "\xd0", "\xd0\x30", "\xc0\xb1", "\xff\xfe"}) {
        EXPECT_EQ(UpperCase(same), same);
        EXPECT_EQ(LowerCase(same), same);
    }
    EXPECT_EQ(UpperChar(L'ς'), L'Σ'); // final sigma
    EXPECT_EQ(LowerChar(L'Σ'), L'σ');
    EXPECT_EQ(UpperChar(L'і'), L'І');
    EXPECT_EQ(LowerChar(L'7'), L'7');
}

TEST(Utf8, RoundTripAndInvalidBytes) {
    const std::string text = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe2\x82\xac \xf0\x9f\x98\x80";
    std::wstring w = Utf8ToWide(text);
    EXPECT_EQ(w[0], L'\x041F');
    EXPECT_EQ(WideToUtf8(w), text);
    EXPECT_EQ(Utf8ToWide("a\xff"
                         "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(Utf8ToWide("\xc0\x80"), L"\xFFFD\xFFFD"); // overlong
    EXPECT_EQ(Utf8ToWide("\xe2\x82"), L"\xFFFD\xFFFD"); // truncated
}
