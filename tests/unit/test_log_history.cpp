// The message-line history and its colours.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "ui/log_history.h"

namespace {

// The three message lines, top to bottom, "-" for an empty one.
std::string Shown(const LogHistory &h, const LogDisplay &d)
{
    std::string out;
    for (int i : {d.top, d.middle, d.bottom})
        out += std::string(out.empty() ? "" : "|") + (i < 0 ? "-" : h.lines[i]);
    return out;
}

struct History : ::testing::Test {
    LogHistory h;
    LogDisplay d{};
    void SetUp() override { ResetLogHistory(&h); }
    void Add(int from, int to)
    {
        for (int i = from; i <= to; i++)
            d = AddHistoryLine(&h, std::to_string(i).c_str());
    }
};

TEST_F(History, ShowsTheLastThreeLinesAndDropsTheOldestWhenFull)
{
    Add(1, 1);
    EXPECT_EQ(Shown(h, d), "-|-|1");
    Add(2, 3);
    EXPECT_EQ(Shown(h, d), "1|2|3");
    Add(4, 61);
    EXPECT_EQ(h.count, 59);
    EXPECT_STREQ(h.lines[0], "2");
    EXPECT_EQ(Shown(h, d), "59|60|61");
    AddHistoryLine(&h, std::string(200, 'x').c_str());
    EXPECT_EQ(strlen(h.lines[59]), 118u);
}

TEST_F(History, ScrollingStopsAtBothEnds)
{
    Add(0, 4);
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 1);
    EXPECT_EQ(Shown(h, d), "1|2|3");
    ScrollHistory(&h, -1, &d);
    ScrollHistory(&h, -1, &d);
    d = {7, 7, 7};
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 0) << "at the oldest position nothing moves";
    EXPECT_TRUE(d.bottom == 7 && h.position == 1);
    for (int i = 0; i < 4; i++)
        ScrollHistory(&h, +1, &d);
    EXPECT_EQ(h.position, 5) << "scrolling down stops at the count";
    EXPECT_EQ(ScrollHistory(&h, +1, &d), 0);
}

TEST(MessageLineColour, FollowsTheFirstCharacters)
{
    struct { const char *text; int expected; } cases[] = {
        {"! Connect failed to host", 1}, {"550 No such file", 1}, {"[E] broken", 1}, {"[e] broken", 1},
        {"+ Cancelled", 2},              {"226 Transfer complete", 0}, {"[X] debug", 0}, {"", 0},
    };
    for (auto &c : cases)
        EXPECT_EQ(MessageLineClass(c.text), c.expected) << c.text;
}

}  // namespace
