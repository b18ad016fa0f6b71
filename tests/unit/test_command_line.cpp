// The command line of unattended runs: the option grammar, the path words
// and their inline options, which lines name a transfer, which listed names a
// wildcard download takes and which settings fall back to their defaults.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "cmdline/options.h"
#include "cmdline/path_words.h"
#include "sites/setting_ranges.h"
#include "transfer/name_list.h"

namespace {

// The options of a line as "kind[=value] ...", then "| rest" or "? rest"
// for an unknown option; kinds are named by their letters in "eAabcdilpqsuw?".
std::string ParseAll(const char *text)
{
    std::string out;
    const char *p = text;
    for (int i = 0; i < 64; i++) {
        OptionToken t;
        const char *next = NextOption(p, &t);
        if (t.kind == OPT_END || t.kind == OPT_UNKNOWN)
            return out + (t.kind == OPT_END ? "| " : "? ") + t.rest;
        out += std::string(1, "eAabcdilpqsuw?"[t.kind]) + (t.value[0] ? std::string("=") + t.value : "") + " ";
        p = next;
    }
    ADD_FAILURE() << "no end of options";
    return out;
}

TEST(Options, Grammar)
{
    const std::string longValue(1000, 'u');
    const struct { std::string line, parsed; } cases[] = {
        {"-quiet -binary -lower -ascii host:/a.txt", "q b l a | host:/a.txt"},   // by the second character
        {"-ask -ak -asc -aXkz", "A a a A | "},                                   // ask needs its fourth
        {"-p mysite -u joe -w \"pass word\" -c acct -i other.ini -s //h/f -d local:C:/x rest of line",
         "p=mysite u=joe w=pass word c=acct i=other.ini s=//h/f d=local:C:/x | rest of line"},
        {"-q -xyz more words", "q ? -xyz more words"},
        {"-p", "p | "},
        {"-u " + longValue + " tail", "u=" + longValue.substr(0, OPTION_VALUE_SIZE - 1) + " | tail"},   // cut                                                          // value missing at the end
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseAll(c.line.c_str()), c.parsed) << c.line;
}


// expected: the kind (N none, L local, R remote), then host|path.
TEST(Classify, KindHostAndPath)
{
    const std::string longPath = "/" + std::string(600, 'a'), longHost(600, 'h');
    const struct { std::string word, expected; } cases[] = {
        {"h:" + longPath, "R h|" + longPath.substr(0, PATH_WORD_SIZE - 1)},   // overlong words are cut
        {longHost + ":/x", "R " + longHost.substr(0, PATH_WORD_SIZE - 1) + "|/x"},
        {"", "N |"}, {"local:C:/tmp/a.txt", "L |C:/tmp/a.txt"}, {"LOCAL:c:/x", "L |c:/x"}, {"sub/a.txt", "L |sub/a.txt"},
        {"/tmp/a.txt", "L |/tmp/a.txt"}, {"host:/pub/file.txt", "R host|/pub/file.txt"}, {"host:::pub/x", "R host|pub/x"},
        {"ftp:host:/a", "R host|/a"}, {"ftp://host/pub/", "R host|/pub/"}, {"file://h/x.bin", "R h|/x.bin"},
        {"ftp:file://h/x", "R h|/x"}, {"//host/pub/*.txt", "R host|/pub/*.txt"}, {"//host", "R host|"},
        {"C:/tmp/a.txt", "R C|/tmp/a.txt"}, {":/x", "R |/x"},
    };
    for (const auto &c : cases) {
        PathWord w;
        memset(&w, 'x', sizeof w);
        int kind = ClassifyPathWord(c.word.c_str(), &w);
        EXPECT_EQ(kind, w.kind) << c.word;
        EXPECT_EQ(std::string(1, "NLR"[kind & 3]) + " " + w.host + "|" + w.path, c.expected) << c.word;
    }
}

// expected: first|second and the inline options found (q, a, l).
TEST(Split, WordsAndInlineOptions)
{
    const struct { const char *text, *expected; } cases[] = {
        {"local:C:/tmp/a.txt host:/in/", "local:C:/tmp/a.txt|host:/in/ "}, {"h:/f local:x -quiet", "h:/f|local:x q"},
        {"-lower h:/f -ascii local:x -quiet", "h:/f|local:x qal"},          {"-QUIET h:/f", "-QUIET|h:/f "},
        {"local:C:\\tmp\\a.txt h:\\in\\", "local:C:/tmp/a.txt|h:/in/ "},    {"", "| "}, {"a b c", "a|b "},
        {"\"h:/my file.txt\" \"local:C:/a b/\"", "h:/my file.txt|local:C:/a b/ "},
    };
    for (const auto &c : cases) {
        char text[512];
        snprintf(text, sizeof text, "%s", c.text);
        InlineOptions found = {};
        char first[256], second[256];
        SplitPathPart(text, &found, first, sizeof first, second, sizeof second);
        std::string got = std::string(first) + "|" + second + " " + (found.quiet ? "q" : "") + (found.ascii ? "a" : "") +
                          (found.lower ? "l" : "");
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(InlineOptions, RemovedWithOneFollowingSpaceOnlyAndSmallBuffersCut)
{
    char text[64] = "a -ascii  b";
    InlineOptions found = {};
    TakeInlineOptions(text, &found);
    EXPECT_STREQ("a  b", text);
    EXPECT_EQ(1, found.ascii);
    snprintf(text, sizeof text, "abcdefgh ijklmnop");
    char first[4], second[4];
    SplitPathPart(text, &found, first, sizeof first, second, sizeof second);
    EXPECT_STREQ("abc", first);
    EXPECT_STREQ("ijk", second);
}

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
    EXPECT_TRUE(p.port == 21u && p.timeout == 65u && p.retries == 0u) << p.port << " " << p.timeout << " " << p.retries;
    EXPECT_EQ(std::string(fixes[0].key) + "=" + fixes[0].value + " " + fixes[1].value, "PORT=99999999 -5");
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

}  // namespace
