// The skin manager's choices: which skin data a window takes, and which windows get skinned.
#include "skin/forms/SkinRules.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinRules, WhichSkinDataAWindowTakes) {
    const TSkinDataEntry main{sfMainform, 0}, main2{sfMainform, 0}, dialog{sfDialog, 0}, only{sfOnlyThisForm, 42},
        otherOnly{sfOnlyThisForm, 43};
    struct Case {
        std::vector<TSkinDataEntry> list;
        std::uintptr_t window;
        const char* cls;
        int expected;
    } cases[] = {
        {{}, 42, "TForm1", -1},
        {{main, dialog}, 7, "#32770", 1},       // a message box takes the dialog skin
        {{main, dialog}, 7, "TMessageForm", 1}, // compared without case
        {{dialog, main}, 7, "tmessageform", 0},
        {{main, main2}, 7, "#32770", 1}, // no dialog skin: the last main one
        {{otherOnly, dialog}, 7, "#32770", 1},
        {{otherOnly}, 7, "#32770", 0},              // nothing fits: the first
        {{main, dialog}, 7, "TForm1", 0},           // dialog skins are for dialogs only
        {{main, only, otherOnly}, 42, "TForm2", 1}, // a form's own skin comes first
        {{only, main, only}, 42, "#32770", 2},
        {{main, only}, 0, "TForm2", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindSkindataIndex(c.list, c.window, c.cls), c.expected) << c.cls << " " << c.list.size();
}

TEST(SkinRules, WhichWindowsGetAFrameSkinner) {
    TAddFormFacts ok;
    ok.SkinningActive = true;
    ok.ClassName = "TForm1";
    ok.SkinFound = true;
    ok.SkinLoading = false;
    EXPECT_TRUE(MayAddForm(ok));
    const std::vector<std::pair<const char*, void (*)(TAddFormFacts&)>> refusals = {
        {"skinning off", [](TAddFormFacts& f) { f.SkinningActive = false; }},
        {"skinned already", [](TAddFormFacts& f) { f.AnswersQuery = true; }},
        {"has a skinner", [](TAddFormFacts& f) { f.HasSkinner = true; }},
        {"nested", [](TAddFormFacts& f) { f.Nested = true; }},
        {"zero area", [](TAddFormFacts& f) { f.ZeroArea = true; }},
        {"tag 99", [](TAddFormFacts& f) { f.FormTag = 99; }},
        {"application window", [](TAddFormFacts& f) { f.ClassName = "TApplication"; }},
        {"vetoed", [](TAddFormFacts& f) { f.ApplicationAllows = [] { return false; }; }},
        {"no skin", [](TAddFormFacts& f) { f.SkinFound = false; }},
        {"skin loading", [](TAddFormFacts& f) { f.SkinLoading = true; }},
    };
    for (const auto& r : refusals) {
        TAddFormFacts f = ok;
        r.second(f);
        EXPECT_FALSE(MayAddForm(f)) << r.first;
    }
    TAddFormFacts nested = ok;
    nested.Nested = true;
    nested.InstallPass = true;
    EXPECT_TRUE(MayAddForm(nested));
    TAddFormFacts tagged = ok;
    tagged.FormTag = 199; // only 99 itself exempts
    EXPECT_TRUE(MayAddForm(tagged));

    // The application is asked in its place: never once an earlier condition refuses, once otherwise
    // (even when a later one refuses).
    bool earlier = true; // the rows stand in the order the rule weighs them
    for (const auto& r : refusals) {
        TAddFormFacts f = ok;
        r.second(f);
        if (f.ApplicationAllows) { // the veto row itself
            earlier = false;
            continue;
        }
        int asked = 0;
        f.ApplicationAllows = [&asked] { return ++asked > 0; };
        EXPECT_FALSE(MayAddForm(f)) << r.first;
        EXPECT_EQ(asked, earlier ? 0 : 1) << r.first;
    }
}

} // namespace
