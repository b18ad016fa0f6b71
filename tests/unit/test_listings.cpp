// Listings: the host-type table, the recognition of servers from their replies,
// listing lines of every family into ListingEntry records, damaged listing lines
// (blanks, tabs, line ends and NULs inserted at every position, lines cut at
// every length: nothing may crash, read outside the line or write outside the
// record, which the sanitizers and a canary after the record watch, and an
// accepted line always yields a terminated name); the program's side: the folder
// of a PWD reply, time offsets, entries prepared for the list, listing streams
// cut into parser lines, the listing cache, and file-list rows: order under every
// sort setting, date and size texts, the cut of long names and the header-button
// changes of a sort setting.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "listing/file_rows.h"
#include "listing/listing_cache.h"
#include "listing/remote_listing.h"
#include "listing_cases.h"
#include "veltr32/detect.h"
#include "veltr32/host_types.h"
#include "veltr32/listing_parse.h"

namespace {

const ListingClock kNow{2024, 3, 15, 10, 0};

// A record in the form the case tables use.
std::string Describe(const ListingEntry &e) {
    char text[400];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u %llu %u %s", e.year, e.month, e.day, e.hour, e.minute,
             (unsigned long long)ListingEntrySize(e), e.kind, e.name);
    return text;
}

// The name at the end of a table record: after the date, time, size and kind.
const char *RecordName(const char *record) {
    for (int field = 0; field < 4; field++) record = strchr(record, ' ') + 1;
    return record;
}

const char *kFolder = "'USER.'", *kUserId = "USER";

void ExpectRecord(const ListingCase &c, uint32_t hostType) {
    SCOPED_TRACE("listing_cases.txt:" + std::to_string(c.lineNumber) + " [" + std::to_string(hostType) + "]: " + c.line);
    ListingEntry e;
    memset(&e, 0xA5, sizeof e);
    int result = ParseListingLineAt(&e, c.line.c_str(), hostType, kFolder, kUserId, kNow);
    if (c.record.empty()) {
        EXPECT_EQ(result, 0) << Describe(e);
        return;
    }
    ASSERT_NE(result, 0);
    EXPECT_EQ(Describe(e), c.record);
    // The record is filled completely: reserved bytes are zero.
    EXPECT_EQ(e.reserved1[0] | e.reserved1[1] | e.reserved2[0] | e.reserved2[1] | e.reserved2[2], 0);
}

TEST(Listing, EachLineAloneWithItsHostTypeAndAutomatically) {
    ASSERT_GT(ListingCases().size(), 100u);
    for (const ListingCase &c : ListingCases()) {
        ExpectRecord(c, c.hostType);
        if (c.anyShape) ExpectRecord(c, HOSTTYPE_AUTO);
    }
}

// Every line the automatic type reads alone, as one listing with CR LF line
// ends, families mixed, read the way the program does: one call per line,
// the same record reused.
TEST(Listing, EveryFamilyInOneListingReadAutomatically) {
    std::vector<std::string> lines{"total 12", ""}, expected;
    for (const ListingCase &c : ListingCases()) {
        if (!c.anyShape || c.line.find('\n') != std::string::npos) continue;
        lines.push_back(c.line);
        if (!c.record.empty()) expected.push_back(RecordName(c.record.c_str()));
    }
    std::vector<std::string> names;
    ListingEntry e;
    for (const std::string &line : lines)
        if (ParseListingLineAt(&e, (line + "\r\n").c_str(), HOSTTYPE_AUTO, kFolder, kUserId, kNow)) names.push_back(e.name);
    EXPECT_EQ(names, expected);
}

TEST(ListingMvs, NamesRelativeToFolderOrUserId) {
    const char *line = "SMP224 3390   2024/01/31  2   30  FB  80 27920  PS  USER.DATA.SET";
    struct { const char *folder, *userId, *name; } cases[] = {
        {"'USER.'", "", "DATA.SET"},      {"'USER.DATA.'", "", "SET"}, {"USER", "", "DATA.SET"},
        {"", "user", "DATA.SET"},         {"", "", "USER.DATA.SET"},   {"'OTHER.'", "USER", "USER.DATA.SET"},
        {"'USER.DATA.SET'", "", "USER.DATA.SET"}, {"/u/user", "USER", "USER.DATA.SET"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " / " + c.userId);
        ListingEntry e;
        ASSERT_NE(ParseListingLineAt(&e, line, 6024, c.folder, c.userId, kNow), 0);
        EXPECT_STREQ(e.name, c.name);
    }
}

TEST(ListingYears, YearlessDatesAroundNewYear) {
    struct { ListingClock now; const char *date; int year; } cases[] = {
        {{2024, 1, 1, 0, 30}, "Dec 31 23:59", 2023},
        {{2024, 1, 1, 0, 30}, "Jan  2 00:30", 2024},  // exactly a day ahead
        {{2024, 1, 1, 0, 30}, "Jan  2 00:31", 2023},  // just over a day ahead
        {{2023, 12, 31, 23, 0}, "Jan  1 10:00", 2023}, {{2024, 2, 29, 12, 0}, "Mar  1 11:00", 2024},
        {{2024, 2, 29, 12, 0}, "Mar  1 12:01", 2023},
    };
    for (const auto &c : cases) {
        std::string line = std::string("-rw-r--r-- 1 u g 1 ") + c.date + " f";
        SCOPED_TRACE(line);
        ListingEntry e;
        ASSERT_NE(ParseListingLineAt(&e, line.c_str(), 6001, "", "", c.now), 0);
        EXPECT_EQ(e.year, c.year);
    }
}

TEST(ListingLimits, NullArgumentsAreRefused) {
    ListingEntry e;
    EXPECT_EQ(ParseListingLineAt(nullptr, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 6001, "", "", kNow), 0);
    EXPECT_EQ(ParseListingLineAt(&e, nullptr, 6001, "", "", kNow), 0);
    EXPECT_NE(ParseListingLineAt(&e, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 6001, nullptr, nullptr, kNow), 0);
    EXPECT_NE(ParseListingLineAt(&e, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 123456, nullptr, nullptr, kNow), 0);
}

TEST(HostTypeTable, CodesNamesRangeAndGrammar) {
    ASSERT_GE(HostTypeTotal(), 60u);
    std::set<std::string> names;
    for (uint32_t code = 6000; code < 6000 + HostTypeTotal(); code++) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(HostTypeValid(code));
        const char *name = HostTypeLabel(code);
        ASSERT_NE(name, nullptr);
        EXPECT_GT(strlen(name), 2u);
        EXPECT_LT(strlen(name), 48u);  // fits a combo box
        EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    }
    for (uint32_t code : {0u, 5999u, 6000u + HostTypeTotal(), 0xFFFFFFFFu}) {
        EXPECT_FALSE(HostTypeValid(code));
        EXPECT_STREQ(HostTypeLabel(code), "Automatic");
        EXPECT_EQ(HostTypeFamily(code), FAMILY_AUTO);
    }
    EXPECT_STREQ(HostTypeLabel(6000), "Automatic");
    // Codes that carry behaviour use their grammar.
    struct { uint32_t code; ListingFamily family; } cases[] = {
        {6005, FAMILY_NOS},     {6011, FAMILY_VMS},   {6024, FAMILY_MVS},  {6030, FAMILY_TANDEM},
        {6044, FAMILY_OS400},   {6029, FAMILY_UNIX},  {6059, FAMILY_MLSD}, {6046, FAMILY_NAMES_AFTER_LIST},
        {6041, FAMILY_NETWARE}, {6013, FAMILY_DOS},   {6010, FAMILY_AUTO},
    };
    for (const auto &c : cases) EXPECT_EQ(HostTypeFamily(c.code), c.family) << c.code;
}

// S: the SYST reply, R: a greeting or logon reply.
TEST(HostTypeDetection, SystAndOtherReplies) {
    const struct { char kind; std::string line; uint32_t current, expected; } cases[] = {
        {'S', "215 UNIX Type: L8", 6000, 6001}, {'S', "215 UNIX Type: L8 Version: Linux", 6000, 6002},
        {'S', "215 Windows_NT", 6000, 6015}, {'S', "215 VMS MultiNet V4.3(91)", 6000, 6011},
        {'S', "215 MVS is the operating system of this server. FTP Server is running on z/OS.", 6000, 6024},
        {'S', "215 VM is the operating system of this server.", 6000, 6047}, {'S', "215 Something else", 6000, 6000},
        {'S', "", 6000, 6000}, {'S', "500 SYST not understood", 6000, 6000},
        {'S', "215 UNIX Type: L8", 6035, 6035},   // a more specific code of the same family is kept
        {'S', "215 Windows_NT", 6035, 6015}, {'S', "215 UNIX Type: L8", 6011, 6001},   // another family replaces it
        {'S', "215 UNIX Type: L8", 7000, 6001},   // an invalid current code is not kept
        {'R', "220 ftp.example.com FTP server (Version wu-2.6.2(1) Mon Dec 3 15:11:23 EST 2001) ready.", 6000, 6038},
        {'R', "220 Microsoft FTP Service", 6000, 6034}, {'R', "220 (vsFTPd 3.0.3)", 6000, 6036},
        {'R', "220 VAX.EXAMPLE.COM MultiNet FTP Server Process V4.4(15) at Mon 31-Jan-2024 12:00PM-EST", 6000, 6011},
        {'R', "220-FTPD1 IBM FTP CS V2R4 at MVS1.EXAMPLE.COM, 12:00:00 on 2024-01-31.", 6000, 6024},
        // Kind names inside host names do not count.
        {'R', "220 vms.example.com FTP server ready", 6000, 6000}, {'R', "220 VMS.EXAMPLE.COM ready", 6000, 6000},
        {'R', "220 mvsmachine ready", 6000, 6000}, {'R', "220 Welcome", 6000, 6000},
        {'R', "230 User logged in, proceed.", 6000, 6000}, {'R', "220 (vsFTPd 3.0.3)", 6002, 6002},
        {'R', std::string(100000, 'a') + " ProFTPD", 6000, 6000},   // beyond the part looked at
        {'R', "220 ProFTPD " + std::string(100000, 'b'), 6000, 6035},   // unterminated inside the part
    };
    for (const auto &c : cases)
        EXPECT_EQ((c.kind == 'S' ? DetectFromSyst : DetectFromReply)(c.line.c_str(), c.current), c.expected)
            << c.line.substr(0, 80);
    EXPECT_EQ(DetectFromSyst(nullptr, 6000), 6000u);
    EXPECT_EQ(DetectFromReply(nullptr, 6000), 6000u);
}

// Host types covering every family, and two invalid codes.
const uint32_t kHostTypes[] = {6000, 6001, 6005, 6011, 6015, 6017, 6018, 6021, 6022,
                               6027, 6030, 6031, 6046, 6047, 6058, 6059, 5999, 0xFFFFFFFFu};

// Parses `line` (NULs allowed) from an allocation of exactly its length and
// a terminator, so any read past the terminator is caught.
void ParseGuarded(const std::string &line, uint32_t hostType, const char *folder = "'USER.'") {
    std::unique_ptr<char[]> copy(new char[line.size() + 1]);
    memcpy(copy.get(), line.c_str(), line.size() + 1);
    struct { ListingEntry entry; unsigned char canary[64]; } g;
    memset(g.canary, 0x5C, sizeof g.canary);
    int result = ParseListingLineAt(&g.entry, copy.get(), hostType, folder, "USER", ListingClock{2024, 3, 15, 10, 0});
    for (unsigned char c : g.canary) ASSERT_EQ(c, 0x5C) << "record overrun for: " << line;
    if (result != 0) {
        ASSERT_LT(strnlen(g.entry.name, sizeof g.entry.name), sizeof g.entry.name);
        ASSERT_TRUE(g.entry.kind == 0 || g.entry.kind == 2 || g.entry.kind == 4);
        ASSERT_LE(g.entry.month, 12);
    } else {
        ASSERT_EQ(g.entry.name[0], 0) << "a refused line leaves an empty record, never a stale one";
    }
}

TEST(ListingRobustness, DamagedAtEveryPositionAndCutAtEveryLength) {
    const char inserts[] = {'\r', '\n', ' ', '\t', '\0', '/', ';', '-'};
    const char replacements[] = {'\0', ' ', '9', 'A', '\xff', '.'};
    for (const ListingCase &c : ListingCases()) {
        const std::string &line = c.line;
        for (size_t pos = 0; pos <= line.size(); pos++) {
            for (uint32_t type : kHostTypes) ParseGuarded(line.substr(0, pos), type);
            for (char insert : inserts)
                for (uint32_t type : {6000u, 6011u, 6018u, 6059u})
                    ParseGuarded(line.substr(0, pos) + insert + line.substr(pos), type);
            for (char replacement : replacements)
                if (pos < line.size()) ParseGuarded(line.substr(0, pos) + replacement + line.substr(pos + 1), 6000);
        }
    }
}

// Random bytes are the fuzz target's work (tests/fuzz/fuzz_listing.cpp).
TEST(ListingRobustness, LongLinesAndLongFolders) {
    std::string words;
    for (int i = 0; i < 2000; i++) words += "Jan 31 12:00 ";
    for (const std::string &line :
         {"-rw-r--r-- 1 u g 1 Jan 31 12:00 " + std::string(100000, 'x'), "type=file; " + std::string(100000, 'x'),
          "01-31-24  02:15PM  100 " + std::string(100000, 'x'), "+s1,\t" + std::string(100000, 'x'),
          std::string(5000, ' ') + "x", std::string(30000, '1') + " x", words})
        for (uint32_t type : kHostTypes) ParseGuarded(line, type);
    const char *line = "SMP224 3390   2024/01/31  2   30  FB  80 27920  PS  USER.DATA.SET";
    for (const char *folder : {"'", "''", "'USER.DATA.SET.AND.MORE'"}) ParseGuarded(line, 6024, folder);
    ParseGuarded(line, 6024, std::string(5000, 'Q').c_str());
}

TEST(Pwd, FolderFromReply)
{
    const struct { const char *name; std::string reply, folder; } cases[] = {
        {"DoubleQuoted", "257 \"/home/user\" is current directory.", "/home/user"},
        {"SingleQuoted", "257 '/pub' is the current folder", "/pub"},
        {"DoubleWinsOverSingle", "257 'x' then \"/real\"", "/real"},
        {"DoubleCutAtSingleWhenNoSecondDouble", "257 \"/it's", "/it"}, {"UnclosedDouble", "257 \"/open", "/open"},
        {"NoQuotesManyBlanks", "257    DISK$USER:[ME]   current", "DISK$USER:[ME]"}, {"NoQuotesNoBlank", "257/x", ""},
        {"EmptyQuoted", "257 \"\" root", ""},
        {"LongQuotedCutAt250", "257 \"/" + std::string(400, 'a') + "\"", "/" + std::string(249, 'a')},
        {"LongWordCutAt250", "257 " + std::string(400, 'b'), std::string(250, 'b')},
    };
    for (const auto &c : cases) {
        char folder[REMOTE_FOLDER_SIZE];
        memset(folder, 'x', sizeof folder);
        FolderFromPwdReply(c.reply.c_str(), folder);
        EXPECT_EQ(c.folder, folder) << c.name;
    }
}

// Dates as "year-month-day hour"; the minute stays 30.
TEST(Offset, CalendarRules)
{
    const struct { const char *name; int offset; const char *before, *after; } cases[] = {
        {"LeapYearStill28", -2, "2024-3-1 1", "2024-2-28 23"}, {"MidnightNotShifted", -2, "2023-3-1 0", "2023-3-1 0"},
        {"NoYear", 5, "0-3-1 5", "0-3-1 5"},                   {"NoMonth", 5, "2023-0-1 5", "2023-0-1 5"},
        {"FebruaryEnd", 5, "2024-2-28 20", "2024-3-1 1"},      {"IntoNextYear", 1, "2023-12-31 23", "2024-1-1 0"},
        {"IntoPreviousYear", -3, "2023-1-1 2", "2022-12-31 23"}, {"TwoDaysForward", 30, "2023-1-31 20", "2023-2-2 2"},
        {"WildValueIgnored", 5000, "2023-1-1 1", "2023-1-1 1"},
    };
    for (const auto &c : cases) {
        int year, month, day, hour;
        ASSERT_EQ(4, sscanf(c.before, "%d-%d-%d %d", &year, &month, &day, &hour));
        ListingEntry e = {};
        e.year = (uint16_t)year, e.month = (uint8_t)month, e.day = (uint8_t)day, e.hour = (uint8_t)hour, e.minute = 30;
        ApplyTimeOffset(&e, c.offset);
        char after[40];
        snprintf(after, sizeof after, "%d-%d-%d %d", e.year, e.month, e.day, e.hour);
        EXPECT_EQ(std::string(c.after) + ":30", after + std::string(":") + std::to_string(e.minute)) << c.name;
    }
}

int TextByExtension(const char *name) { return strstr(name, ".txt") != nullptr; }

TEST(PrepareEntry, DropsDotsAndDecidesKind)
{
    const struct { const char *name; int kind, offset; bool byExtension; int result, kindAfter, dayAfter; } cases[] = {
        {"", 0, 0, true, 0, 0, 1},           {".", 0, 0, true, 0, 0, 1},
        {"..", 0, 0, true, 0, 0, 1},         {"...", 0, 0, true, 1, 0, 1},
        {"notes.txt", 0, 0, true, 1, 1, 1},  {"notes.txt", 0, 0, false, 1, 0, 1},
        {"notes.txt", 1, 0, false, 1, 1, 1}, // kind already decided
        {"dir", 0x24, 0, true, 1, 4, 1},     // flag bits above the kind dropped
        {"link", 2, -2, true, 1, 2, 28},     // the time offset applied
    };
    for (const auto &c : cases) {
        ListingEntry e = {};
        snprintf(e.name, sizeof e.name, "%s", c.name);
        e.kind = (uint8_t)c.kind;
        e.year = 2023, e.month = 3, e.day = 1, e.hour = 1;
        EXPECT_EQ(c.result, PrepareRemoteEntry(&e, c.offset, c.byExtension ? TextByExtension : nullptr)) << c.name;
        if (c.result) {
            EXPECT_EQ(c.kindAfter, e.kind) << c.name;
            EXPECT_EQ(c.dayAfter, e.day) << c.name;
        }
    }
}

// A stand-in parser: records every line it is given and accepts lines that
// do not begin with "#", taking the text up to the first blank as the name.
struct Recorder { std::vector<std::string> lines, names; };

int RecordParse(ListingEntry *entry, const char *line, void *context)
{
    auto *r = static_cast<Recorder *>(context);
    r->lines.push_back(line);
    memset(entry, 0, sizeof *entry);
    if (line[0] == '#' || line[0] == '\0')
        return 0;
    size_t n = strcspn(line, " \t\r\n");
    memcpy(entry->name, line, n < 255 ? n : 255);
    return 1;
}

void RecordAdd(ListingEntry *entry, void *context) { static_cast<Recorder *>(context)->names.push_back(entry->name); }

Recorder ReadText(const std::string &text, uint32_t hostType)
{
    Recorder r;
    FILE *f = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
    EXPECT_NE(nullptr, f);
    if (f != nullptr) {
        ReadListingStream(f, hostType, RecordParse, RecordAdd, &r);
        fclose(f);
    }
    return r;
}

using Lines = std::vector<std::string>;

const std::string kMemberHeader = "HEADER                                      FB 8             PO NO X Z  ";

// The lines the parser is given and the names accepted ({}: not checked).
TEST(ReadListing, LinesJoinedSplitOrTakenAsColumnsByHostType)
{
    const std::string x200(200, 'x'), longVms = std::string(60, 'N') + ";1", left = "LEFT" + std::string(36, ' ');
    std::string offHeader = kMemberHeader;
    offHeader[45] = 'X';   // one column off: not a header
    const struct { const char *what; std::string text; uint32_t hostType; Lines lines, names; } cases[] = {
        {"cut at the first CR, else LF", "a 1\r\nb 2\nc 3\rjunk\n#skip\nd", 6001, {"a 1", "b 2", "c 3", "#skip", "d"},
         {"a", "b", "c", "d"}},
        {"overlong line read in pieces of 179", x200 + "\nnext\n", 6001, {x200.substr(21), x200.substr(179), "next"}, {}},
        {"VMS name joins indented details",
         "LONG_NAME.TXT;1\r\n        12/24  1-JAN-2024 10:00\r\nSHORT.C;2 3/3 1-JAN-2024\r\n", 6011,
         {"LONG_NAME.TXT;1         12/24  1-JAN-2024 10:00\r\n", "SHORT.C;2 3/3 1-JAN-2024"}, {"LONG_NAME.TXT;1", "SHORT.C;2"}},
        {"VMS next line not indented", "A.TXT;1\nB.TXT;1 5/5\n\tdetails\nTotal of 2 files\n", 6012,
         {"A.TXT;1", "B.TXT;1 5/5\n", "\tdetails", "Total of 2 files"}, {}},
        {"VMS name at the end of the file", "LAST.TXT;4\n", 6011, {"LAST.TXT;4"}, {}},
        {"VMS name joined with a line longer than the rest of the buffer", "A.TXT;1\n   " + std::string(200, 'd') + "\n",
         6011, {"A.TXT;1    " + std::string(168, 'd'), std::string(32, 'd')}, {}},
        {"VMS long name or no semicolon", longVms + "\n   indented\nplain\n   indented\n", 6011,
         {longVms, "   indented", "plain", "   indented"}, {}},
        {"not a VMS host type", "A.TXT;1\n   details\n", 6001, {"A.TXT;1", "   details"}, {}},
        {"member columns after the header",
         kMemberHeader + "\r\nMEMBER1   MEM2      LONGNAM8  X\r\nONE       \r\nAFTER               TAIL\nshort\nNEXT      ONLY\n",
         6018, {"short", "NEXT      ONLY"}, {"MEMBER1", "MEM2", "LONGNAM8", "X", "ONE", "AFTER", "short", "NEXT"}},
        {"member columns end on a broken form", kMemberHeader + "\nA         B\nNOBLANKSATEIGHTNINE\nC         D\n", 6018,
         {"NOBLANKSATEIGHTNINE", "C         D"}, {"A", "B", "NOBLANKSATEIGHTNINE", "C"}},
        {"member header only on the first line", "first\n" + kMemberHeader + "\nA         B\n", 6018,
         {"first", kMemberHeader, "A         B"}, {}},
        {"member header one column off", offHeader + "\nA         B\n", 6018, {offHeader, "A         B"}, {}},
        {"two entries a line split at column 40", left + "|RIGHT 2\nshort line\n#bad" + std::string(37, ' ') + "|NEVER\n",
         6005, {left, "RIGHT 2", "short line", "#bad" + std::string(36, ' ')}, {"LEFT", "RIGHT", "short"}},
    };
    for (const auto &c : cases) {
        Recorder r = ReadText(c.text, c.hostType);
        EXPECT_EQ(c.lines, r.lines) << c.what;
        EXPECT_TRUE(c.names.empty() || c.names == r.names) << c.what;
        // Cut, or damaged at every third position, the text is still read inside the buffers.
        for (size_t at = 0; at <= c.text.size(); at += 3) {
            ReadText(c.text.substr(0, at), c.hostType);
            for (char damage : {'\r', '\n', ' ', '\t', '\0', ';'})
                ReadText(c.text.substr(0, at) + damage + c.text.substr(at), c.hostType);
        }
    }
}

struct Cache : ::testing::Test {
    void SetUp() override
    {
        ASSERT_NE(nullptr, mkdtemp(folder_));
        setenv("TMPDIR", folder_, 1);
        ClearListingCache();
    }
    void TearDown() override
    {
        setenv("TMPDIR", folder_, 1);
        ClearListingCache();
        rmdir(folder_);
    }
    static bool Exists(const char *path) { return access(path, F_OK) == 0; }
    char folder_[64] = "/tmp/lcacheXXXXXX";
};

TEST_F(Cache, SameFolderFoundPlaceholderNever)
{
    char first[LISTING_FILE_SIZE], again[LISTING_FILE_SIZE];
    EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup("/pub", first));
    EXPECT_TRUE(Exists(first));
    EXPECT_EQ(0, strncmp(first, folder_, strlen(folder_)));
    EXPECT_EQ(0, ListingCacheLookup("/pub", again));
    EXPECT_STREQ(first, again);
    EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup("/PUB", again));   // case counts
    EXPECT_STRNE(first, again);
    EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup(LISTING_PLACEHOLDER, again));
    EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup(LISTING_PLACEHOLDER, first));
    EXPECT_STRNE(first, again);
    EXPECT_EQ(4, ListingCacheCount);
    setenv("TMPDIR", "/nonexistent/folder", 1);   // no temporary name: the cache stays as it is
    EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup("/b", first));
    EXPECT_STREQ("", first);
    EXPECT_EQ(4, ListingCacheCount);
}

TEST_F(Cache, TwentiethFolderDropsTheFirstFile)
{
    char files[20][LISTING_FILE_SIZE];
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(LISTING_CACHE_NEW, ListingCacheLookup(("/f" + std::to_string(i)).c_str(), files[i]));
    EXPECT_EQ(LISTING_CACHE_SIZE, ListingCacheCount);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(i > 0, Exists(files[i])) << i;
    char found[LISTING_FILE_SIZE];
    EXPECT_EQ(0, ListingCacheLookup("/f1", found));
    EXPECT_STREQ(files[1], found);
    EXPECT_EQ(18, ListingCacheLookup("/f19", found));
    ClearListingCache();
    EXPECT_EQ(0, ListingCacheCount);
    EXPECT_TRUE(std::none_of(files, files + 20, Exists)) << "clearing removes every file";
}

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
        rows.push_back((const FileItem *)blocks.emplace_back(Block(r)).data());
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
    const struct { int format, longDate; const char *text; } dates[] = {
        {0, 1, "20030304 14:05"}, {0, 0, "030304 14:05"}, {1, 1, "03042003 14:05"}, {2, 0, "040303 14:05"}};
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
    // No mark in two characters; never below one.
    const struct { const char *name; int room; const char *shown; } cases[] = {
        {"exactly10!", 10, "exactly10!"}, {"abcdefghijklmnop", 10, "abcdefghij~"}, {"abcdef", 2, "ab"}, {"abcdef", 0, "a"}};
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
