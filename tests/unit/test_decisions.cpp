#include <gtest/gtest.h>

#include <string>

#include "transfer/decision_rules.h"

namespace {

const StampedEntry kFeb3 = {2003, 2, 3, 9, 5, 100};
const StampedEntry kUndated = {0, 0, 0, 0, 0, 100};

struct OverwriteRow {
    const char *name;
    StampedEntry source;
    bool hasDestination;
    StampedEntry destination;
    int folderWalk, askOverwrite, skipInFolders, memory;
    int verdict, answer, ask;
};

const OverwriteRow kOverwrite[] = {
    {"NoDestination", kFeb3, false, {}, 0, 1, 1, 0, 1, 1, 0},
    {"SourceLaterAcrossYear", kFeb3, true, {2002, 12, 31, 23, 59, 100}, 0, 1, 1, 0, 1, 1, 0},
    {"DestinationNewerAsks", kFeb3, true, {2003, 2, 3, 9, 6, 100}, 0, 1, 1, 0, -1, -1, 1},
    {"SameStampSameSizeAsks", kFeb3, true, kFeb3, 0, 1, 1, 0, 0, 0, 1},
    {"SameStampOtherSizeCopies", kFeb3, true, {2003, 2, 3, 9, 5, 101}, 0, 1, 1, 0, 1, 1, 0},
    {"ShortYearEqualsFullYear", {103, 2, 3, 9, 5, 100}, true, kFeb3, 0, 1, 1, 0, 0, 0, 1},
    {"UndatedDestinationCopies", kFeb3, true, kUndated, 0, 1, 1, 0, 1, 1, 0},
    {"AskingOffCopies", kFeb3, true, {2004, 1, 1, 0, 0, 1}, 0, 0, 1, 0, 1, 1, 0},
    {"FolderWalkSkipsNewer", kFeb3, true, {2004, 1, 1, 0, 0, 1}, 1, 1, 1, 0, -1, -1, 0},
    {"FolderWalkKepdirowOffCopies", kFeb3, true, kFeb3, 1, 1, 0, 0, 0, 1, 0},
    {"FolderWalkIgnoresMemory", kFeb3, true, kFeb3, 1, 1, 1, 1, 0, 0, 0},
    {"YesToAllRemembered", kFeb3, true, kFeb3, 0, 1, 1, 1, 0, 1, 0},
    {"NoToAllRemembered", kFeb3, true, {2004, 1, 1, 0, 0, 1}, 0, 1, 1, -1, -1, -1, 0},
};

class Overwrite : public ::testing::TestWithParam<OverwriteRow> {};

TEST_P(Overwrite, Decision)
{
    const OverwriteRow &r = GetParam();
    OverwriteCase c = {r.source, r.hasDestination ? &r.destination : nullptr, r.folderWalk,
                       r.askOverwrite, r.skipInFolders, r.memory};
    OverwriteDecision d = DecideOverwrite(&c);
    EXPECT_EQ(r.verdict, d.verdict);
    EXPECT_EQ(r.answer, d.answer);
    EXPECT_EQ(r.ask, d.ask);
}

INSTANTIATE_TEST_SUITE_P(Table, Overwrite, ::testing::ValuesIn(kOverwrite),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(OverwriteButtons, AnswerAndMemory)
{
    struct {
        int button, verdict, answer, memory;
    } rows[] = {{OVERWRITE_YES, -1, 1, 0}, {OVERWRITE_NO, -1, -1, 0}, {2 /* closed */, 0, 0, 0},
                {OVERWRITE_YES_ALL, 0, 1, 1}, {OVERWRITE_NO_ALL, -1, -1, -1}};
    for (const auto &r : rows) {
        int memory = ANSWER_NONE;
        EXPECT_EQ(r.answer, AnswerFromButton(r.button, r.verdict, &memory)) << r.button;
        EXPECT_EQ(r.memory, memory) << r.button;
    }
}

TEST(Restart, OffsetRoundsDownToKilobytes)
{
    const uint64_t rows[][2] = {{0, 0},       {900, 0},     {1024, 0},   {1025, 1024},
                                {1500, 1024}, {2048, 2048}, {5368709220ull, 5368709120ull}};
    for (const auto &r : rows)
        EXPECT_EQ(r[1], RestartOffset(r[0])) << r[0];
}

}  // namespace
