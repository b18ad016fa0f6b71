// The message-line history and its colours.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>

#include "ui/log_history.h"

namespace {

std::string Line(int n)
{
    char text[32];
    snprintf(text, sizeof text, "line %d", n);
    return text;
}

TEST(LogHistory, ShowsTheLastThreeLines)
{
    LogHistory h;
    ResetLogHistory(&h);
    LogDisplay d = AddHistoryLine(&h, "first");
    EXPECT_EQ(d.bottom, 0);
    EXPECT_EQ(d.middle, -1);
    EXPECT_EQ(d.top, -1);
    AddHistoryLine(&h, "second");
    d = AddHistoryLine(&h, "third");
    EXPECT_STREQ(h.lines[d.bottom], "third");
    EXPECT_STREQ(h.lines[d.middle], "second");
    EXPECT_STREQ(h.lines[d.top], "first");
}

TEST(LogHistory, AfterSixtyOneLinesTheFirstTwoAreGone)
{
    LogHistory h;
    ResetLogHistory(&h);
    LogDisplay d{};
    for (int i = 1; i <= 61; i++)
        d = AddHistoryLine(&h, Line(i).c_str());
    EXPECT_EQ(h.count, 59);
    EXPECT_EQ(Line(2), h.lines[0]);
    EXPECT_EQ(Line(61), h.lines[59]);
    EXPECT_EQ(Line(61), h.lines[d.bottom]);
    EXPECT_EQ(Line(60), h.lines[d.middle]);
}

TEST(LogHistory, LongLinesAreCutTo118Characters)
{
    LogHistory h;
    ResetLogHistory(&h);
    std::string longLine(200, 'x');
    AddHistoryLine(&h, longLine.c_str());
    EXPECT_EQ(strlen(h.lines[0]), 118u);
}

TEST(LogHistory, ScrollingStopsAtBothEnds)
{
    LogHistory h;
    ResetLogHistory(&h);
    for (int i = 0; i < 5; i++)
        AddHistoryLine(&h, Line(i).c_str());
    ASSERT_EQ(h.position, 4);
    LogDisplay d{};
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 1);
    EXPECT_EQ(d.bottom, 3);
    EXPECT_EQ(d.top, 1);
    for (int i = 0; i < 2; i++)
        ScrollHistory(&h, -1, &d);
    EXPECT_EQ(h.position, 1);
    d = {7, 7, 7};
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 0) << "at the oldest position nothing moves";
    EXPECT_EQ(d.bottom, 7);
    EXPECT_EQ(h.position, 1);
    for (int i = 0; i < 4; i++)
        ScrollHistory(&h, +1, &d);
    EXPECT_EQ(h.position, 5) << "scrolling down stops at the count";
    EXPECT_EQ(ScrollHistory(&h, +1, &d), 0);
}

TEST(MessageLineColour, FollowsTheFirstCharacters)
{
    struct {
        const char *text;
        int expected;
    } cases[] = {
        {"! Connect failed to host", 1}, {"550 No such file", 1}, {"[E] broken", 1}, {"[e] broken", 1},
        {"+ Cancelled", 2},              {"226 Transfer complete", 0}, {"[X] debug", 0}, {"", 0},
    };
    for (auto &c : cases)
        EXPECT_EQ(MessageLineClass(c.text), c.expected) << c.text;
}

}  // namespace
