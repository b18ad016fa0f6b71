// The options pages: what each control stores, the clamps, and the edits
// of the conversion table, the extension list and the associations.
#include <gtest/gtest.h>

#include "sites/option_fields.h"

namespace {

struct StoreCase {
    const OptionPage *page;
    const char *key;
    const char *shown;   // what the control shows (radio: the button index)
    int stored;
};

const StoreCase StoreCases[] = {
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
    for (const StoreCase &c : StoreCases) {
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

} // namespace
