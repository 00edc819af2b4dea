#include "framework/CodePages.h"

#include <gtest/gtest.h>

TEST(CodePages, Windows1251WhateverTheSystemCodePage) {
    EXPECT_EQ(WideToCodePage(L"Привет, Ёж!", CP_RUSSIAN), "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6!");
    EXPECT_EQ(CodePageToWide("\xCF\xF0\xE8\xE2\xE5\xF2 \xB9", CP_RUSSIAN), L"Привет №");
    EXPECT_EQ(WideToCodePage(L"", CP_RUSSIAN), "");
}

TEST(CodePages, CharactersWithoutAFormBecomeQuestionMarks) {
    // No look-alike substitutes: a Latin a with macron is not an "a".
    EXPECT_EQ(WideToCodePage(L"\x0101\x263A\x4E2D", CP_RUSSIAN), "???");
    // A character outside the basic plane is one question mark per UTF-16 unit at most.
    std::string s = WideToCodePage(L"x\xD83D\xDE00y", CP_RUSSIAN);
    EXPECT_EQ(s.front(), 'x');
    EXPECT_EQ(s.back(), 'y');
    EXPECT_EQ(s.find_first_not_of("xy?"), std::string::npos);
}
