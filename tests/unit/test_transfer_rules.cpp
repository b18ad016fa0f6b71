// Transfer rules: data addresses in passive replies and the PORT command; rates,
// progress and completion lines, announced sizes, percentages and the small
// rules of the transfer engine, including counts past 4 GiB; the data socket's
// buffer for each block size (16 KiB for everything the options allow, at least
// four blocks beyond, the system's own buffer kept when it is already that
// large); local names: the conversion table, fitting remote names to the local
// volume, unique names, wildcards and the ASCII-name test of automatic mode; and
// the command line of unattended runs: the option grammar, the path words and
// their inline options, which lines name a transfer, which listed names a
// wildcard download takes and which settings fall back to their defaults.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <set>
#include <string>

#include "cmdline/options.h"
#include "cmdline/path_words.h"
#include "sites/setting_ranges.h"
#include "transfer/ascii_names.h"
#include "transfer/local_name.h"
#include "transfer/name_list.h"
#include "transfer/passive_reply.h"
#include "transfer/transfer_text.h"

namespace {

const uint64_t kJustOver4GiB = 4294967297ull;

// Progress lines: count : rate : elapsed : remaining, the rate's unit
// stepping up at its threshold.
TEST(ProgressText, ShowsCountRateElapsedAndRemaining)
{
    const struct { uint64_t bytes; uint32_t ms; uint64_t expected; bool bytesPerSecond; const char *text; } cases[] = {
        {100, 500, 0, true, "100 : 200.00 Bps"},                                 // under a second: no times
        {100, 0, 0, true, "100 : 1000.00 Bps"},                                  // below 100 ms counts as 100 ms
        {500, 1000, 0, true, "500 : 500.00 Bps : 0:01"},                         // bytes per second stay plain
        {2048, 1000, 0, true, "2048 : 2.00 KBps : 0:01"},                        // above 1024 Bps
        {3 * 1048576, 1000, 0, true, "3145728 : 3.00 MBps : 0:01"},              // above 1024 KBps
        {kJustOver4GiB, 10000, 0, true, "4294967297 : 409.60 MBps : 0:10"},
        {500, 1000, 0, false, "500 : 5000.00 bps : 0:01"},                       // bits per second
        {5000, 1000, 0, false, "5000 : 48.00 Kbps : 0:01"},                      // above 10000 bps
        {200000, 2000, 0, false, "200000 : 980.00 Kbps : 0:02"},                 // large counts start in Kbps
        {1000000, 1000, 0, false, "1000000 : 9.57 Mbps : 0:01"},                 // above 1024 Kbps
        {1048576, 2500, 4194304, true, "1048576 : 409.60 KBps : 0:02 : 0:06"},   // remaining from whole seconds
        {5000, 2000, 4000, true, "5000 : 2.44 KBps : 0:02"},                     // none past the size
        {kJustOver4GiB, 125000, 2 * kJustOver4GiB, true, "4294967297 : 32.77 MBps : 2:05 : 2:05"},
    };
    for (const auto &c : cases) {
        char text[128];
        FormatProgressText(text, sizeof text, c.bytes, c.ms, c.expected, c.bytesPerSecond);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(ProgressText, StaysTerminatedInSmallBuffers)
{
    for (size_t size = 1; size < 40; size++) {
        char text[40];
        memset(text, 'x', sizeof text);
        FormatProgressText(text, size, kJustOver4GiB, 125000, 2 * kJustOver4GiB, true);
        EXPECT_LT(strlen(text), size) << size;
    }
}

TEST(CompletionText, CarriesLabelCountTimeRateAndOutcome)
{
    char text[160];
    FormatCompletionText(text, sizeof text, "Received", kJustOver4GiB, 10000, true, "transfer succeeded");
    EXPECT_STREQ(text, "Received 4294967297 bytes in 10.0 secs, (409.60 MBps), transfer succeeded");
    FormatCompletionText(text, sizeof text, "Transmitted", 0, 0, false, "transfer failed");
    EXPECT_STREQ(text, "Transmitted 0 bytes in 0.0 secs, (0.00 bps), transfer failed");
}

// The size a 150 reply announces, and the percentage a progress line reaches of it.
TEST(AnnouncedSize, ReadsTheLastParenthesisAndGivesThePercentage)
{
    const struct { const char *description; uint64_t size; } cases[] = {
        {"150 Opening BINARY mode data connection for a.bin (12345 bytes).", 12345},
        {"150 Opening data connection for a.bin (12 kbytes)", 12288}, {"150 Opening (12 files)", 0},
        {"150 Opening BINARY mode data connection for big (4294967297 bytes).", kJustOver4GiB},
        {"Sending BINARY file C:\\a (b)\\x.bin (77 bytes)", 77},   // the program's own description
        {"150 File status okay. About to open data connection.", 0},
        {"150 Opening data connection for a (b).txt", 0}, {"150 x (99999999999999999999999 bytes)", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseAnnouncedSize(c.description), c.size) << c.description;
    EXPECT_EQ(ProgressPercent("512 : 1.00 KBps", 1024), 50u);
    EXPECT_EQ(ProgressPercent("4294967297 : 1.00 MBps", 2 * kJustOver4GiB), 50u);
    EXPECT_EQ(ProgressPercent("2048 : 1.00 KBps", 1024), 100u) << "more than announced";
    EXPECT_TRUE(ProgressPercent("512", 0) == 0 && ProgressPercent("", 1024) == 0) << "an unknown size, no count";
}

TEST(SmallRules, YearsMdtmPortAndQuotedNames)
{
    EXPECT_TRUE(CompleteYear(49) == 2049u && CompleteYear(50) == 1950u && CompleteYear(103) == 2003u);
    EXPECT_EQ(CompleteYear(2024), 2024u);

    char text[64];
    FormatMdtmCommand(text, sizeof text, 2003, 2, 3, 9, 5, 7, "my file.txt");
    EXPECT_STREQ(text, "MDTM 20030203090507 my file.txt");
    const unsigned char address[4] = {192, 168, 0, 1};
    FormatPortCommand(text, sizeof text, address, 51210);
    EXPECT_STREQ(text, "PORT 192,168,0,1,200,10");

    QuoteCommandArgument(text, sizeof text, "RETR  a b.txt");
    EXPECT_STREQ(text, "RETR  'a b.txt'");
    QuoteCommandArgument(text, 8, "RETR long.name");
    EXPECT_STREQ(text, "RETR 'l") << "cut, never overrun";
}

TEST(DataBuffer, BlockSizeDefaultsAndTheBufferFollowsIt)
{
    EXPECT_EQ(EffectiveBlockSize(-5, 512), 512);   // a missing value takes the default
    EXPECT_EQ(EffectiveBlockSize(80, 4096), 80);
    EXPECT_EQ(EffectiveBlockSize(65536, 4096), 65536);
    EXPECT_EQ(EffectiveBlockSize(1 << 30, 4096), (int)MAX_TRANSFER_BLOCK);
    const struct { int block, system, expected; } cases[] = {   // system: the size the system gave; 0: keep it
        {0, 8192, 16384},            // no setting: the default block
        {4096, 131072, 16384},       // the largest the options allow, even below a larger system size
        {4097, 16384, 16388},        // just beyond: four blocks
        {8192, 32768, 0},            // the system's buffer already holds four blocks
        {65536, 131072, 262144},     // too small a system buffer is raised
        {1 << 24, 0, 4 << 20},       // blocks are cut to 1 MiB first
    };
    for (const auto &c : cases)
        EXPECT_EQ(DataBufferBytes(c.block, c.system), c.expected) << "block " << c.block << ", system " << c.system;
}

// Expected: the verdict, the address (when read) and [the text parsing started at].
TEST(PassiveReply, ReadsAddressesHoweverTheServerWordsThem)
{
    const struct { const char *line, *expected; } cases[] = {
        {"227 Entering Passive Mode (127,0,0,1,39,16).", "ok 127.0.0.1:10000 [127,0,0,1,39,16]"},
        {"227 =10,0,0,5,200,10", "ok 10.0.0.5:51210 [10,0,0,5,200,10]"},
        {"227 (255,255,255,255,255,255)", "ok 255.255.255.255:65535 [255,255,255,255,255,255]"},
        {"227 Entering Passive Mode ( 10 , 0, 0 ,5, 4 ,1 )", "ok 10.0.0.5:1025 [ 10 , 0, 0 ,5, 4 ,1 ]"},
        {"227 Entering Passive Mode (1,2,3)", "bad [1,2,3]"}, {"227 (1,2,3,256,0,1)", "bad [1,2,3,256,0,1]"},
        {"227 (0001,2,3,4,0,1)", "bad [0001,2,3,4,0,1]"},     {"227 ok 1.2.3.4 port 5", "bad [1.2.3.4 port 5]"},
        {"227 Entering Passive Mode ()", "bad []"},           {"227 Entering Passive Mode", "none []"}, {"", "none []"},
    };
    for (const auto &c : cases) {
        PassiveAddress a;
        PassiveParse result = ParsePassiveReply(c.line, &a);
        std::string got = result == PASSIVE_OK ? "ok " + std::string(a.hostText) + ":" + std::to_string(a.port) + " "
                          : result == PASSIVE_BAD_ADDRESS ? "bad " : "none ";
        EXPECT_EQ(got + "[" + a.startText + "]", c.expected) << c.line;
    }
}

TEST(PassiveReply, SurvivesGarbageAtEveryPosition)
{
    const std::string line = "227 Entering Passive Mode (192,168,1,2,4,1).";
    const char junk[] = {'\r', '\n', ' ', '\t', ')', '(', ',', '9', '\xff'};
    for (size_t at = 0; at <= line.size(); at++) {
        PassiveAddress a;
        ParsePassiveReply(line.substr(0, at).c_str(), &a);
        EXPECT_LT(strlen(a.hostText), sizeof a.hostText);
        for (char j : junk) {
            std::string bent = line.substr(0, at) + j + line.substr(at);
            EXPECT_TRUE(ParsePassiveReply(bent.c_str(), &a) != PASSIVE_OK || a.port <= 65535u) << bent;
        }
    }
    std::string huge(10000, '7');
    PassiveAddress a;
    EXPECT_EQ(ParsePassiveReply(("227 (" + huge + ")").c_str(), &a), PASSIVE_BAD_ADDRESS);
    EXPECT_LT(strlen(a.startText), sizeof a.startText);
}

struct Table {
    char path[20] = "/tmp/cnvXXXXXX";
    explicit Table(const char *contents)
    {
        FILE *f = fdopen(mkstemp(path), "w");
        EXPECT_NE(f, nullptr);
        fputs(contents, f);
        fclose(f);
    }
    ~Table() { unlink(path); }
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
        ConvertRules rules = {table.path, c.convertExt, c.forceLower};
        char name[LOCAL_NAME_SIZE];
        snprintf(name, sizeof name, "%s", c.input);
        EXPECT_EQ(c.applied, ConvertNameWith(name, sizeof name, c.direction, &rules)) << c.input;
        EXPECT_STREQ(c.expected, name) << c.input;
    }
    // A missing table converts nothing; small buffers are not overrun.
    ConvertRules rules = {"/nonexistent/VELTRO.CNV", 1, 0};
    char name[LOCAL_NAME_SIZE] = "a.htm;1";
    EXPECT_EQ(0, ConvertNameWith(name, sizeof name, CONVERT_TO_REMOTE, &rules));
    EXPECT_STREQ("a.htm;1", name);
    rules.tablePath = nullptr;
    EXPECT_EQ(0, ConvertNameWith(name, sizeof name, CONVERT_TO_LOCAL, &rules));
    EXPECT_STREQ("a.htm", name);
    Table shortTable(".a=.abcdefghijklmnopqrst\n");
    rules.tablePath = shortTable.path;
    char small[8] = "xyz.a";
    EXPECT_EQ(1, ConvertNameWith(small, sizeof small, CONVERT_TO_LOCAL, &rules));
    EXPECT_STREQ("xyz.abc", small);
}

std::set<std::string> ExistingFiles;
int Exists(const char *name) { return ExistingFiles.count(name) != 0; }

TEST(Fit, LocalNameAndWhetherItChanged)
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
        FitRules rules = {c.hostType, c.maxComponent, 0, nullptr, {table.path, 1, 0}};
        std::string remote = c.remote ? c.remote : std::string(160, 'a');
        char out[LOCAL_NAME_SIZE];
        memset(out, 'z', sizeof out);
        FitLocalNameWith(out, remote.c_str(), &rules);
        EXPECT_STREQ(c.expected, out) << remote;
    }
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
    EXPECT_TRUE(HasWildcard("/pub/*.txt") && HasWildcard("f?") && !HasWildcard("/pub/a.txt"));
    EXPECT_EQ(std::string(LastPathPart("/a\\b/c.txt")) + "|" + LastPathPart("/pub/"), "c.txt|");
}

TEST(AsciiNames, MatchesWholeNamesAndEndingsWithoutCaseOrDotTxtWithoutAList)
{
    // CR LF and LF lines, one too short to count, one longer than a piece.
    Table list(".txt\n.BAT\r\nREADME\nx\nabcdefghijkl\n\n.c");
    const struct { const char *name; bool ascii; } cases[] = {
        {"notes.TXT", true}, {"run.bat", true},    {"OLDREADME", true}, {"file.txt;3", true}, {"file.txt.gz", false},
        {"x", false},        {"foo.ijkl", true},   {"abcdefgh", true},  {"file.cpp", false},  {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAsciiFileName(c.name, list.path), c.ascii) << c.name;
    EXPECT_TRUE(IsAsciiFileName("RETR notes.txt", list.path)) << "a download command matches by its ending";
    EXPECT_FALSE(IsAsciiFileName("RETR notes.zip", list.path));
    // Without a list only ".txt" counts.
    EXPECT_TRUE(IsAsciiFileName("a.txt", "/nonexistent/VELTRO.EXT") && IsAsciiFileName("A.TxT", nullptr) &&
                IsAsciiFileName("a.txt;2", ""));
    EXPECT_FALSE(IsAsciiFileName(".txt", nullptr)) << "four characters are not enough";
    EXPECT_FALSE(IsAsciiFileName("a.bat", nullptr) || IsAsciiFileName("README", nullptr));
}

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
        {"-p", "p | "},                                                          // value missing at the end
        {"-u " + longValue + " tail", "u=" + longValue.substr(0, OPTION_VALUE_SIZE - 1) + " | tail"},   // cut
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
    EXPECT_TRUE(NamesRemoteWord("-xyz host:/f.txt") && NamesRemoteWord("-xyz -s //host/f.txt"));
    EXPECT_FALSE(NamesRemoteWord("-xyz rest") || NamesRemoteWord("") || NamesRemoteWord("-xyz -i C:/veltro.ini"))
        << "an option's value is no path word";
}

}  // namespace
