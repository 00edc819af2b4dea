#include "framework/Classes.h"

#include <gtest/gtest.h>

namespace {
struct Tracked : TComponent {
    Tracked(TComponent* owner, std::vector<std::string>& log, std::string name) : TComponent(owner), log_(log) {
        Name = std::move(name);
    }
    ~Tracked() override { log_.push_back(Name); }
    std::vector<std::string>& log_;
};
} // namespace

TEST(TComponent, OwnerFreesComponentsLastFirst) {
    std::vector<std::string> log;
    {
        TComponent owner(nullptr);
        new Tracked(&owner, log, "a");
        auto* b = new Tracked(&owner, log, "b");
        new Tracked(b, log, "b1");
        new Tracked(&owner, log, "c");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent("B"), b);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "b1", "a"}));
}

TEST(TComponent, DeletingOwnedComponentLeavesOwnersList) {
    std::vector<std::string> log;
    TComponent owner(nullptr);
    auto* a = new Tracked(&owner, log, "a");
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(TStringList, TextRoundTripAndNames) {
    TStringList l;
    l.SetText("one\r\ntwo\nthree\rfour\r\n");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[3], "four");
    EXPECT_EQ(l.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    l.SetText("a\r\n\r\nb");
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l[1], "");

    l.Clear();
    l.Add("Host: x");
    l.Add("Key=v");
    EXPECT_EQ(l.IndexOfName("HOST", ':'), 0);
    EXPECT_EQ(l.IndexOfName("key"), 1);
    EXPECT_EQ(l.IndexOfName("Ho", ':'), -1);
    l.Delete(7);
    l.Insert(99, "end");
    EXPECT_EQ(l[2], "end");
}
