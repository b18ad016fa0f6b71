#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <set>
#include <string>

#include "transfer/ascii_names.h"
#include "transfer/local_name.h"

namespace {

// A conversion table in a temporary file, removed at the end of the test.
class Table {
public:
    explicit Table(const char *contents)
    {
        snprintf(path_, sizeof path_, "%s", "/tmp/cnvXXXXXX");
        int fd = mkstemp(path_);
        EXPECT_GE(fd, 0);
        FILE *f = fdopen(fd, "w");
        fputs(contents, f);
        fclose(f);
    }
    ~Table() { unlink(path_); }
    const char *path() const { return path_; }

private:
    char path_[64];
};

const char kTable[] =
    "x=never\n"            // one-character source: never matches
    "nodest=\n"            // no destination: ignored
    "no equals sign\n"
    ".htm=.html\r\n"
    "readme=read.me\n"
    ".jpeg=.jpg\n"
    ".tar.gz=.tgz\n"
    ".long=.abcdefghijklmnopqrstuvwxyz\n"
    ".HTM=.never\n";       // later lines lose to earlier ones

TEST(Convert, ByTable)
{
    const int up = CONVERT_TO_REMOTE, down = CONVERT_TO_LOCAL;
    const struct { const char *input; int direction, convertExt, forceLower; const char *expected; int applied; } cases[] = {
        {"INDEX.HTM", up, 1, 1, "index.html", 1},         {"README", down, 1, 0, "read.me", 1},   // whole name, any case
        {"areadme", down, 1, 0, "aread.me", 1},           {"src.tar.gz", down, 1, 0, "src.tgz", 1},
        {"a.long", down, 1, 0, "a.abcdefghijklmnopqrs", 1}, // the destination cut to 20
        {"x", down, 1, 0, "x", 0},                        {"nodest", down, 1, 0, "nodest", 0},
        {"INDEX.HTM", up, 0, 1, "index.htm", 0},          {"A.HTM;3", down, 0, 0, "A.HTM;3", 0},
        {"PAGE.HTM;2", down, 1, 0, "PAGE.html", 1},       {"DATA.BIN;2", up, 1, 0, "DATA.BIN;2", 0},
        {"DATA.BIN;2", down, 1, 0, "DATA.BIN", 0},        {"INDEX.PNG", down, 1, 1, "INDEX.PNG", 0},
    };
    Table table(kTable);
    for (const auto &c : cases) {
        ConvertRules rules = {table.path(), c.convertExt, c.forceLower};
        char name[LOCAL_NAME_SIZE];
        snprintf(name, sizeof name, "%s", c.input);
        EXPECT_EQ(c.applied, ConvertNameWith(name, sizeof name, c.direction, &rules)) << c.input;
        EXPECT_STREQ(c.expected, name) << c.input;
    }
}

TEST(ConvertName, MissingTableConvertsNothing)
{
    ConvertRules rules = {"/nonexistent/VELTRO.CNV", 1, 0};
    char name[LOCAL_NAME_SIZE] = "a.htm;1";
    EXPECT_EQ(0, ConvertNameWith(name, sizeof name, CONVERT_TO_REMOTE, &rules));
    EXPECT_STREQ("a.htm;1", name);
    rules.tablePath = nullptr;
    EXPECT_EQ(0, ConvertNameWith(name, sizeof name, CONVERT_TO_LOCAL, &rules));
    EXPECT_STREQ("a.htm", name);
}

TEST(ConvertName, SmallBufferIsNotOverrun)
{
    Table table(".a=.abcdefghijklmnopqrst\n");
    ConvertRules rules = {table.path(), 1, 0};
    char name[8] = "xyz.a";
    EXPECT_EQ(1, ConvertNameWith(name, sizeof name, CONVERT_TO_LOCAL, &rules));
    EXPECT_STREQ("xyz.abc", name);
}

std::set<std::string> ExistingFiles;
int Exists(const char *name) { return ExistingFiles.count(name) != 0; }

TEST(Fit, LocalName)
{
    const struct { const char *remote; int maxComponent; const char *expected; uint32_t hostType = 6001; } cases[] = {
        // Long names: the volume allows 255 characters.
        {"/pub/dir/Report 2024.txt", 255, "Report 2024.txt"}, {"a\\b\\c.d", 255, "c.d"}, {"/pub/", 255, "aaremote"},
        {"a:b?c*<d>|.txt", 255, "a_b$c@{d}+.txt"}, {"NAME.TXT;12", 255, "NAME.TXT", 6011}, {"page.htm", 255, "page.html"},
        {"SYS1/PROCLIB\\X", 255, "SYS1.PROCLIB.X", 6044},
        // 8.3 names: the name reaches the volume's limit, the limit is unknown (0) or 12, or the name is over 150.
        {"abcdefghijklmnop.txt", 20, "abcdefgh.txt"}, {"a:b?c.txt", 0, "a_b$c.txt"}, {"longername.text", 12, "longerna.tex"},
        {nullptr, 255, "aaaaaaaa"}, {"....", 0, "aaremote"}, {"..profile", 0, "profile"}, {"READ ME", 0, "READ.ME"},
        {"FILE.TXT;3", 0, "FILE.TXT", 6011}, {"x.markdown", 0, "x.mar"}, {"page.html", 0, "page.htm"},
        {"  MY   FILE  ", 0, "MY.FIL", 6029},
        // A name from the server stays inside the local folder.
        {"..", 255, "aaremote"}, {"C:evil.exe", 255, "C_evil.exe"}, {"CON", 255, "_CON"}, {"com9 .txt", 255, "_com9 .txt"},
        {"CONSOLE.txt", 255, "CONSOLE.txt"}, {"evil. .", 255, "evil"}, {"a\tb\"c", 255, "a_b_c"},
    };
    Table table(".htm=.html\nhtml=htm\n");
    for (const auto &c : cases) {
        FitRules rules = {c.hostType, c.maxComponent, 0, nullptr, {table.path(), 1, 0}};
        std::string remote = c.remote ? c.remote : std::string(160, 'a');
        char out[LOCAL_NAME_SIZE];
        memset(out, 'z', sizeof out);
        FitLocalNameWith(out, remote.c_str(), &rules);
        EXPECT_STREQ(c.expected, out) << remote;
    }
}

TEST(FitSafe, TellsWhenChanged)
{
    FitRules rules = {6001, 255, 0, nullptr, {nullptr, 0, 0}};
    char out[LOCAL_NAME_SIZE];
    EXPECT_EQ(1, FitLocalNameWith(out, "prn", &rules));
    EXPECT_EQ(0, FitLocalNameWith(out, "/pub/report.txt", &rules));
    char tight[4] = "CON";   // no room for a leading "_"
    EXPECT_TRUE(MakeLocalNameSafe(tight, sizeof tight) && strcmp(tight, "_ON") == 0) << tight;
}

TEST(FitUnique, NumbersUntilFreeGivingUpAfter999Tries)
{
    std::set<std::string> full = {"x"};
    for (int n = 0; n <= 998; n++)
        full.insert("x." + std::to_string(1000 + n).substr(1));
    const struct { std::set<std::string> existing; const char *remote; int recvUnique; const char *expected; } cases[] = {
        {{"report.txt"}, "report.txt", 1, "repor000.txt"}, {{"README", "README.000", "README.001"}, "README", 1, "README.002"},
        {{}, "report.txt", 1, "report.txt"},               {{"report.txt"}, "report.txt", 0, "report.txt"},
        {full, "x", 1, "x.998"},
    };
    for (const auto &c : cases) {
        ExistingFiles = c.existing;
        FitRules rules = {6001, 255, c.recvUnique, Exists, {nullptr, 0, 0}};
        char out[LOCAL_NAME_SIZE];
        FitLocalNameWith(out, c.remote, &rules);
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(Wildcard, Matches)
{
    const struct { const char *pattern, *name; int match; } cases[] = {
        {"*.txt", "A.TXT", 1}, {"*.txt", "a.txt.bak", 0}, {"*", "", 1},       {"?", "", 0},
        {"a?c", "abc", 1},     {"*a*b*", "xxaxxbxx", 1},   {"*a*b", "ab_ab_a", 0}, {"abc", "abcd", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.match, MatchWildcard(c.pattern, c.name)) << c.pattern << " ~ " << c.name;
    EXPECT_TRUE(HasWildcard("/pub/*.txt") && HasWildcard("f?"));
    EXPECT_FALSE(HasWildcard("/pub/a.txt"));
    EXPECT_STREQ("c.txt", LastPathPart("/a\\b/c.txt"));
    EXPECT_STREQ("", LastPathPart("/pub/"));
}

// The ASCII-file test of automatic transfer mode against an extension list.
TEST(AsciiNames, MatchesWholeNamesAndEndingsWithoutCase)
{
    // CR LF and LF lines, one too short to count, one longer than a piece.
    Table list(".txt\n.BAT\r\nREADME\nx\nabcdefghijkl\n\n.c");
    const struct { const char *name; bool ascii; } cases[] = {
        {"notes.TXT", true}, {"run.bat", true},    {"OLDREADME", true}, {"file.txt;3", true}, {"file.txt.gz", false},
        {"x", false},        {"foo.ijkl", true},   {"abcdefgh", true},  {"file.cpp", false},  {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAsciiFileName(c.name, list.path()), c.ascii) << c.name;
    EXPECT_TRUE(IsAsciiFileName("RETR notes.txt", list.path())) << "a download command matches by its ending";
    EXPECT_FALSE(IsAsciiFileName("RETR notes.zip", list.path()));
}

TEST(AsciiFallback, WithoutAListOnlyDotTxtCounts)
{
    EXPECT_TRUE(IsAsciiFileName("a.txt", "/nonexistent/VELTRO.EXT"));
    EXPECT_TRUE(IsAsciiFileName("A.TxT", nullptr));
    EXPECT_TRUE(IsAsciiFileName("a.txt;2", ""));
    EXPECT_FALSE(IsAsciiFileName(".txt", nullptr)) << "four characters are not enough";
    EXPECT_FALSE(IsAsciiFileName("a.bat", nullptr));
    EXPECT_FALSE(IsAsciiFileName("README", nullptr));
}

}  // namespace
