#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "transfer/decision_rules.h"

namespace {

const StampedEntry kFeb3 = {2003, 2, 3, 9, 5, 100};

struct OverwriteRow {
    const char *name;
    StampedEntry source, destination;   // destination month 255: none
    int folderWalk, askOverwrite, skipInFolders, memory, verdict, answer, ask;
};

const OverwriteRow kOverwrite[] = {
    {"NoDestination", kFeb3, {0, 255, 0, 0, 0, 0}, 0, 1, 1, 0, 1, 1, 0},
    {"DestinationNewerAsks", kFeb3, {2003, 2, 3, 9, 6, 100}, 0, 1, 1, 0, -1, -1, 1},
    {"SameStampSameSizeAsks", kFeb3, kFeb3, 0, 1, 1, 0, 0, 0, 1},
    {"SameStampOtherSizeCopies", kFeb3, {2003, 2, 3, 9, 5, 101}, 0, 1, 1, 0, 1, 1, 0},
    {"ShortYearEqualsFullYear", {103, 2, 3, 9, 5, 100}, kFeb3, 0, 1, 1, 0, 0, 0, 1},
    {"UndatedDestinationCopies", kFeb3, {0, 0, 0, 0, 0, 100}, 0, 1, 1, 0, 1, 1, 0},
    {"AskingOffCopies", kFeb3, {2004, 1, 1, 0, 0, 1}, 0, 0, 1, 0, 1, 1, 0},
    {"FolderWalkSkipsNewer", kFeb3, {2004, 1, 1, 0, 0, 1}, 1, 1, 1, 0, -1, -1, 0},
    {"FolderWalkKepdirowOffCopies", kFeb3, kFeb3, 1, 1, 0, 0, 0, 1, 0},
    {"YesToAllRemembered", kFeb3, kFeb3, 0, 1, 1, 1, 0, 1, 0},
    {"NoToAllRemembered", kFeb3, {2004, 1, 1, 0, 0, 1}, 0, 1, 1, -1, -1, -1, 0},
};

class Overwrite : public ::testing::TestWithParam<OverwriteRow> {};

TEST_P(Overwrite, Decision)
{
    const OverwriteRow &r = GetParam();
    OverwriteCase c = {r.source, r.destination.month == 255 ? nullptr : &r.destination, r.folderWalk,
                       r.askOverwrite, r.skipInFolders, r.memory};
    OverwriteDecision d = DecideOverwrite(&c);
    EXPECT_EQ(std::make_tuple(r.verdict, r.answer, r.ask), std::make_tuple(d.verdict, d.answer, d.ask));
}

INSTANTIATE_TEST_SUITE_P(Table, Overwrite, ::testing::ValuesIn(kOverwrite),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(OverwriteButtons, NoToAllAndClosingKeepTheVerdict)
{
    int memory = ANSWER_NONE;
    EXPECT_EQ(-1, AnswerFromButton(OVERWRITE_NO_ALL, -1, &memory));
    EXPECT_EQ(ANSWER_NO_ALL, memory);
    EXPECT_EQ(0, AnswerFromButton(2 /* closed */, 0, &memory));
}

TEST(Restart, OffsetRoundsDownToKilobytes)
{
    const uint64_t rows[][2] = {{0, 0},       {900, 0},     {1024, 0},   {1025, 1024},
                                {1500, 1024}, {2048, 2048}, {5368709220ull, 5368709120ull}};
    for (const auto &r : rows)
        EXPECT_EQ(r[1], RestartOffset(r[0])) << r[0];
}

}  // namespace
