// The options pages: what each control stores, the clamps, and the edits
// of the conversion table, the extension list and the associations; the
// display options' fitting of the list columns and the scaled text font.
#include <gtest/gtest.h>

#include <vector>

#include "sites/option_fields.h"
#include "ui/layout_geometry.h"

namespace {

// {page, key, what the control shows (radio: the button index), value stored}
const struct { const OptionPage *page; const char *key, *shown; int stored; } StoreCases[] = {
    {&GeneralOptionFields, "dolog", "0", 0},
    {&AdvancedOptionFields, "RBP", "50", 80},
    {&AdvancedOptionFields, "RBP", "10000", 4096},
    {&AdvancedOptionFields, "SBP", "", 80},
    {&AdvancedOptionFields, "DBLCLK", "-1", 0},
    {&DisplayOptionFields, "DateFmt", "2", 2},
    {&DisplayOptionFields, "FONT", "4", 4},
    {&DisplayOptionFields, "FONT", "9", 3},
    {&SoundOptionFields, "soundflags", "1", 1},
    {&TransferSwitchFields, "KEPDIROW", "0", 0},
    {&SessionOptionFields, "PASVMODE", "1", 1},
    {&SessionMoreOptionFields, "STOU", "1", 1},
};

TEST(OptionFields, EachControlStoresItsValue)
{
    for (const auto &c : StoreCases) {
        const OptionField *f = FindOptionField(*c.page, c.key);
        ASSERT_NE(f, nullptr) << c.key;
        EXPECT_EQ(StoredOptionValue(*f, c.shown), c.stored) << c.key << " " << c.shown;
    }
}

TEST(OptionFields, TransferModeButtons)
{
    // {AMODE, MODE, button shown, MODE of "Set as default", MODE stored}
    const struct { int autoMode, mode, button, defaultMode, stored; } modes[] = {
        {0, 'A', 0, 'A', 'A'}, {0, 'I', 1, 'I', 'I'}, {0, 'L', 2, 'L', 'L'}, {1, 'A', 3, 'I', -1}, {0, 'X', 1, 'I', 'I'}};
    for (const auto &m : modes) {
        int autoMode, mode;
        TransferModeValues(TransferModeButton(m.autoMode, m.mode), &autoMode, &mode);
        EXPECT_EQ(TransferModeButton(m.autoMode, m.mode), m.button);
        EXPECT_EQ(DefaultModeFor(m.button), m.defaultMode);
        EXPECT_EQ(autoMode * 1000 + mode, m.autoMode * 1000 + m.stored);
    }
}

TEST(OptionTables, ConversionAddReplacesTheSameSource)
{
    TextLines lines = {".htm=.html", ".jpeg=.jpg"};
    EXPECT_TRUE(AddConversionEntry(&lines, ".htm", ".HTML"));
    EXPECT_EQ(lines, (TextLines{".jpeg=.jpg", ".htm=.HTML"}));
    EXPECT_TRUE(AddConversionEntry(&lines, ".h", ".hpp"));   // ".htm" does not begin with ".h="
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_TRUE(DeleteConversionEntry(&lines, ".jpeg"));
    EXPECT_FALSE(AddConversionEntry(&lines, "", ".x"));
    AddConversionEntry(&lines, "abcdefghijklmnopqrstuvwxyz", "0123456789012345678901");
    EXPECT_EQ(lines.back(), "abcdefghijklmnopqrs=0123456789012345678");
    EXPECT_FALSE(KeepConversionLine("="));
    EXPECT_FALSE(KeepConversionLine(".htm"));
}

TEST(OptionTables, ExtensionListAddsOnceAndDeletesExactly)
{
    TextLines lines = {".TXT"};
    EXPECT_FALSE(AddExtensionEntry(&lines, ".TXT"));
    EXPECT_FALSE(AddExtensionEntry(&lines, "c"));
    EXPECT_TRUE(AddExtensionEntry(&lines, ".txt"));
    EXPECT_TRUE(AddExtensionEntry(&lines, ".verylongext"));
    EXPECT_EQ(lines.back(), ".verylong");
    EXPECT_TRUE(DeleteExtensionEntry(&lines, ".TXT"));
    EXPECT_EQ(lines, (TextLines{".txt", ".verylong"}));
}

TEST(OptionTables, AssociationValues)
{
    const struct { const char *ext, *command, *value; } cases[] = {
        {"txt", "notepad", "notepad ^.txt"},
        {"doc", " C:\\apps\\write.exe ", "C:\\apps\\write.exe ^.doc"},
        {"doc", "write ^.txt", "write ^.doc"},
        {"doc", "write ^.DOC", "write ^.DOC"},
        {"html", "browser", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AssociationValue(c.ext, c.command), c.value) << c.ext << " " << c.command;
    EXPECT_EQ(AssociationProgram(" notepad  ^.txt"), "notepad");
}

TEST(DisplayOptions, ColumnsAndTextFontFitTheirTexts)
{
    // {boundaries, date and size widths, exact} -> boundaries
    const struct { int in[4], date, size; bool exact; int out[4]; } columns[] = {
        {{20, 140, 260, 330}, 200, 90, false, {20, 140, 340, 430}},   // a big font widens
        {{20, 140, 400, 500}, 100, 50, false, {20, 140, 400, 500}},   // saved wider columns stay
        {{20, 140, 400, 500}, 100, 50, true, {20, 140, 240, 290}},    // a font change refits
    };
    for (const auto &c : columns) {
        int b[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
        FitColumns(b, c.date, c.size, c.exact);
        EXPECT_EQ(std::vector<int>(b, b + 4), std::vector<int>(c.out, c.out + 4)) << c.date << " " << c.exact;
    }
    const int need[] = {30, 120, 20}, room[] = {40, 60, 0};
    EXPECT_EQ(FitTextHeight(24, need, room, 1), 24) << "fits";
    EXPECT_EQ(FitTextHeight(24, need, room, 2), 12) << "a caption twice its room halves the font";
    EXPECT_EQ(FitTextHeight(24, need, room, 3), 6) << "never below 6 pixels";
}

} // namespace
