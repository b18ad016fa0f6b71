// Rules of unattended runs: which listed names a wildcard download takes,
// which settings fall back to their defaults, which command lines name a
// transfer.
#include <gtest/gtest.h>

#include <string.h>

#include "cmdline/options.h"
#include "sites/setting_ranges.h"
#include "transfer/name_list.h"

TEST(ListedNames, OnlyCleanNamesThatMatchAreTaken)
{
    const struct { const char *line; size_t length; ListedName kind; } cases[] = {
        {"a.txt", 5, LISTED_MATCH},
        {"README.TXT", 10, LISTED_MATCH},          // case is ignored
        {"sub/b.txt", 9, LISTED_MATCH},            // the last part is matched
        {"a.txt.bak", 9, LISTED_OTHER}, {"", 0, LISTED_EMPTY}, {"x\x01y.txt", 7, LISTED_JUNK},
        {"x\0y.txt", 7, LISTED_JUNK},              // a NUL inside the line
        {"del\x7F.txt", 8, LISTED_JUNK},
        {"caf\xE9.txt", 8, LISTED_MATCH},          // bytes above 127 are names
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.kind, ClassifyListedName(c.line, c.length, "*.txt")) << c.line;
}

TEST(SettingRanges, ValuesOutOfRangeFallBackAndAreNamed)
{
    SiteProfile p = {};
    p.port = 99999999, p.timeout = (uint32_t)-5, p.retries = (uint32_t)-1;
    SettingFallback fixes[3];
    ASSERT_EQ(3, CheckSettingRanges(&p, fixes));
    EXPECT_EQ(21u, p.port);
    EXPECT_EQ(65u, p.timeout);
    EXPECT_EQ(0u, p.retries);
    EXPECT_STREQ("PORT", fixes[0].key);
    EXPECT_STREQ("99999999", fixes[0].value);
    EXPECT_STREQ("-5", fixes[1].value);
    p.port = 65535, p.timeout = 1, p.retries = 3;
    EXPECT_EQ(0, CheckSettingRanges(&p, fixes));
    p.port = 0, p.timeout = 0;
    EXPECT_EQ(2, CheckSettingRanges(&p, fixes));
}

TEST(Options, ARemotePathWordNamesATransfer)
{
    EXPECT_TRUE(NamesRemoteWord("-xyz host:/f.txt"));
    EXPECT_TRUE(NamesRemoteWord("-xyz -s //host/f.txt"));
    EXPECT_FALSE(NamesRemoteWord("-xyz rest"));
    EXPECT_FALSE(NamesRemoteWord("-xyz -i C:/veltro.ini"));   // an option's value
    EXPECT_FALSE(NamesRemoteWord(""));
}
