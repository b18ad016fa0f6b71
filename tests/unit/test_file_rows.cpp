// File-list rows: order under every sort setting, date and size texts, the
// cut of long names and the header-button changes of a sort setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "listing/file_rows.h"

namespace {

struct RowSpec { const char *text; uint32_t kind; uint16_t year; uint8_t month, day, hour, minute; uint64_t size; };

const RowSpec kRows[] = {
    {"..", KIND_FOLDER, 0, 0, 0, 0, 0, 0},          {"Alpha", KIND_FOLDER, 2020, 1, 1, 0, 0, 0},
    {"beta", KIND_FOLDER, 2019, 5, 5, 0, 0, 0},     {"lnk", KIND_LINK, 2021, 1, 1, 0, 0, 0},
    {"zeta.txt", KIND_TEXT, 2003, 3, 4, 14, 5, 10}, {"b.bin", KIND_FILE, 2022, 1, 1, 0, 0, 5368709120ull},
    {"a.c", KIND_FILE, 2003, 3, 4, 14, 6, 300},     {"C.bin", KIND_FILE, 2010, 1, 1, 0, 0, 300},
    {"[-c-]", KIND_DRIVE, 0, 0, 0, 0, 0, 0},        {"[-z-]", KIND_DRIVE, 0, 0, 0, 0, 0, 0},
};

std::vector<char> Block(const RowSpec &r)
{
    std::vector<char> block(std::max(FileItemBytes(strlen(r.text)), sizeof(FileItem)), 0);
    FileItem *item = (FileItem *)block.data();
    *item = {0, r.kind, r.year, r.month, r.day, r.hour, r.minute, r.size, (uint32_t)strlen(r.text), {}};
    memcpy(item->text, r.text, strlen(r.text) + 1);
    return block;
}

std::string Sorted(int setting)
{
    std::vector<std::vector<char>> blocks;
    std::vector<const FileItem *> rows;
    for (const RowSpec &r : kRows)
        blocks.push_back(Block(r));
    for (const auto &b : blocks)
        rows.push_back((const FileItem *)b.data());
    std::stable_sort(rows.begin(), rows.end(),
                     [setting](const FileItem *a, const FileItem *b) { return CompareItems(a, b, setting) < 0; });
    std::string order;
    for (const FileItem *r : rows)
        order += std::string(order.empty() ? "" : " ") + r->text;
    return order;
}

TEST(FileRows, OrderUnderEverySortSetting)
{
    const struct { const char *name; int setting; const char *order; } cases[] = {
        {"name, folders on top", 1, ".. Alpha beta lnk a.c b.bin C.bin zeta.txt [-c-] [-z-]"},
        {"reverse turns each group only", 1 | 8, ".. beta Alpha lnk zeta.txt C.bin b.bin a.c [-z-] [-c-]"},
        {"folders at the bottom", 1 | 32, ".. a.c b.bin C.bin zeta.txt lnk Alpha beta [-c-] [-z-]"},
        {"folders mixed", 1 | 16, ".. a.c Alpha b.bin beta C.bin lnk zeta.txt [-c-] [-z-]"},
        {"no sort, mixed: only .. and drives move", 16, ".. Alpha beta lnk zeta.txt b.bin a.c C.bin [-c-] [-z-]"},
        {"extension, ties by name", 2, ".. Alpha beta lnk b.bin C.bin a.c zeta.txt [-c-] [-z-]"},
        {"date, to the minute", 3, ".. beta Alpha lnk zeta.txt a.c C.bin b.bin [-c-] [-z-]"},
        {"date newest first", 3 | 8, ".. Alpha beta lnk b.bin C.bin a.c zeta.txt [-z-] [-c-]"},
        {"size, 64-bit, ties by name", 4, ".. Alpha beta lnk zeta.txt a.c C.bin b.bin [-c-] [-z-]"},
        {"name from the second character", 5, ".. beta Alpha lnk b.bin C.bin a.c zeta.txt [-c-] [-z-]"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.order, Sorted(c.setting)) << c.name;
}

TEST(FileRows, DateAndSizeTexts)
{
    std::vector<char> block = Block({"x", KIND_FILE, 2003, 3, 4, 14, 5, 0});
    const struct {
        int format, longDate;
        const char *text;
    } dates[] = {{0, 1, "20030304 14:05"}, {0, 0, "030304 14:05"}, {1, 1, "03042003 14:05"}, {2, 0, "040303 14:05"}};
    char text[40];
    for (const auto &d : dates) {
        FormatRowDate((const FileItem *)block.data(), d.format, d.longDate, text, sizeof text);
        EXPECT_STREQ(d.text, text) << d.format << "/" << d.longDate;
    }
    for (uint64_t size : {0ull, 4294967295ull, 5368709120ull}) {
        FormatRowSize(size, text, sizeof text);
        EXPECT_EQ(std::to_string(size), text);
    }
}

int OnePerCharacter(const char *, size_t length, void *) { return (int)length; }

TEST(FileRows, LongNamesAreCutAndMarked)
{
    const struct {
        const char *name;
        int room;
        const char *shown;
    } cases[] = {{"exactly10!", 10, "exactly10!"}, {"abcdefghijklmnop", 10, "abcdefghij~"},
                 {"abcdef", 2, "ab"}, {"abcdef", 0, "a"}};   // no mark in two characters; never below one
    for (const auto &c : cases) {
        char out[64];
        EXPECT_EQ(strlen(c.shown), CutNameToFit(c.name, strlen(c.name), c.room, OnePerCharacter, nullptr, out, sizeof out));
        EXPECT_STREQ(c.shown, out) << c.name << " in " << c.room;
    }
}

TEST(FileRows, HeaderButtonsChangeTheSortSetting)
{
    const struct { int setting, button; bool ctrl, alt, remote; int next; } cases[] = {
        {1, 1, false, false, false, 9}, {3 | 8 | 16, 1, false, false, false, 1 | 16}, {2, 1, true, false, false, 10},
        {1, 1, false, true, true, 5},   {1, 1, false, true, false, 9},  {11, 2, false, false, false, 3},
        {1 | 32, 2, false, false, false, 43}, {4, 3, false, false, false, 12}, {1, 0, false, false, false, 17},
        {17, 0, false, false, false, 33}, {33 | 8, 0, false, false, false, 9},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.next, NextSortSpec(c.setting, c.button, c.ctrl, c.alt, c.remote)) << c.setting << " button " << c.button;
}

}  // namespace
