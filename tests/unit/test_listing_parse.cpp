// The host-library core: the host-type table, the recognition of servers from
// their replies, listing lines of every family into ListingEntry records, and
// damaged listing lines: blanks, tabs, line ends and NULs inserted at every
// position, lines cut at every length. Nothing may crash, read outside the line
// or write outside the record (the sanitizers and a canary after the record
// watch for that), and an accepted line always yields a terminated name.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

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

TEST(HostTypeTable, CodesNamesAndRange) {
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
}

TEST(HostTypeTable, CodesThatCarryBehaviourUseTheirGrammar) {
    struct { uint32_t code; ListingFamily family; } cases[] = {
        {6005, FAMILY_NOS},     {6011, FAMILY_VMS},   {6024, FAMILY_MVS},  {6030, FAMILY_TANDEM},
        {6044, FAMILY_OS400},   {6029, FAMILY_UNIX},  {6059, FAMILY_MLSD}, {6046, FAMILY_NAMES_AFTER_LIST},
        {6041, FAMILY_NETWARE}, {6013, FAMILY_DOS},   {6010, FAMILY_AUTO},
    };
    for (const auto &c : cases) EXPECT_EQ(HostTypeFamily(c.code), c.family) << c.code;
}

// S: the SYST reply, R: a greeting or logon reply.
TEST(HostTypeDetection, SystAndOtherReplies) {
    const struct { char kind; const char *line; uint32_t current, expected; } cases[] = {
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
    };
    for (const auto &c : cases)
        EXPECT_EQ((c.kind == 'S' ? DetectFromSyst : DetectFromReply)(c.line, c.current), c.expected) << c.line;
    EXPECT_EQ(DetectFromSyst(nullptr, 6000), 6000u);
    EXPECT_EQ(DetectFromReply(nullptr, 6000), 6000u);
}

TEST(HostTypeDetection, UnterminatedAndHugeLinesAreBounded) {
    std::string huge(100000, 'a');
    huge += " ProFTPD";
    EXPECT_EQ(DetectFromReply(huge.c_str(), 6000), 6000u);  // beyond the part looked at
    std::string early = "220 ProFTPD " + std::string(100000, 'b');
    EXPECT_EQ(DetectFromReply(early.c_str(), 6000), 6035u);
}

// Host types covering every family, and two invalid codes.
const uint32_t kHostTypes[] = {6000, 6001, 6005, 6011, 6015, 6017, 6018, 6021, 6022,
                               6027, 6030, 6031, 6046, 6047, 6058, 6059, 5999, 0xFFFFFFFFu};

std::vector<std::string> SampleLines() {
    std::vector<std::string> lines;
    for (const ListingCase &c : ListingCases()) lines.push_back(c.line);
    return lines;
}

// Parses `line` (NULs allowed) from an allocation of exactly its length and
// a terminator, so any read past the terminator is caught.
void ParseGuarded(const std::string &line, uint32_t hostType, const char *folder = "'USER.'") {
    std::unique_ptr<char[]> copy(new char[line.size() + 1]);
    memcpy(copy.get(), line.data(), line.size());
    copy[line.size()] = 0;
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
    for (const std::string &line : SampleLines()) {
        for (size_t pos = 0; pos <= line.size(); pos++) {
            for (uint32_t type : kHostTypes) ParseGuarded(line.substr(0, pos), type);
            for (char c : inserts)
                for (uint32_t type : {6000u, 6011u, 6018u, 6059u})
                    ParseGuarded(line.substr(0, pos) + c + line.substr(pos), type);
            for (char c : replacements)
                if (pos < line.size()) ParseGuarded(line.substr(0, pos) + c + line.substr(pos + 1), 6000);
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

}  // namespace
