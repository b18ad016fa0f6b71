// Listing lines of every family into ListingEntry records.
#include <gtest/gtest.h>
#include <string.h>

#include <span>
#include <string>
#include <vector>

#include "listing_cases.h"
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

void ExpectRecord(const ListingCase &c, uint32_t hostType, const char *folder = "", const char *userId = "") {
    SCOPED_TRACE("[" + std::to_string(hostType) + "]: " + c.line);
    ListingEntry e;
    memset(&e, 0xA5, sizeof e);
    int result = ParseListingLineAt(&e, c.line, hostType, folder, userId, kNow);
    if (c.record == nullptr) {
        EXPECT_EQ(result, 0) << Describe(e);
        return;
    }
    ASSERT_NE(result, 0);
    EXPECT_EQ(Describe(e), c.record);
    // The record is filled completely: reserved bytes are zero.
    EXPECT_EQ(e.reserved1[0] | e.reserved1[1] | e.reserved2[0] | e.reserved2[1] | e.reserved2[2], 0);
}

void RunTable(std::span<const ListingCase> table, const char *folder = "", const char *userId = "") {
    for (const ListingCase &c : table) {
        ExpectRecord(c, c.hostType, folder, userId);
        if (c.anyShape) ExpectRecord(c, HOSTTYPE_AUTO, folder, userId);
    }
}

// Reads a whole listing the way the program does: one call per line, the
// same record reused; returns the names accepted.
std::vector<std::string> ReadListing(const std::string &text, uint32_t hostType) {
    std::vector<std::string> names;
    ListingEntry e;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start + (end < text.size() ? 1 : 0));
        if (ParseListingLineAt(&e, line.c_str(), hostType, "", "", kNow)) names.push_back(e.name);
        start = end + 1;
    }
    return names;
}

// All lines of the tables as one listing with CR LF line ends, families
// mixed, read with one host type.
std::vector<std::string> WholeListing(std::initializer_list<std::span<const ListingCase>> tables, std::string &text) {
    std::vector<std::string> expected;
    for (std::span<const ListingCase> table : tables)
        for (const ListingCase &c : table) {
            if (!c.anyShape || strchr(c.line, '\n') != nullptr) continue;
            text += std::string(c.line) + "\r\n";
            if (c.record != nullptr) expected.push_back(RecordName(c.record));
        }
    return expected;
}

TEST(Listing, EachLineAloneWithItsHostTypeAndAutomatically) {
    for (std::span<const ListingCase> table : kAllFamilies) RunTable(table, "'USER.'", "USER");
}

TEST(ListingWhole, EveryFamilyInOneListingReadAutomatically) {
    std::string text = "total 12\n\n";
    std::vector<std::string> expected =
        WholeListing({kUnixCases, kPcCases, kFactCases, kVmsCases}, text);
    EXPECT_EQ(ReadListing(text, HOSTTYPE_AUTO), expected);
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

TEST(ListingLimits, LongNamesAreCutTo255Bytes) {
    std::string name(300, 'n');
    name[0] = 'A';
    name[254] = 'Z';
    const std::string lines[] = {
        "-rw-r--r-- 1 u g 1 Jan 31 12:00 " + name,
        "01-31-24  02:15PM  100 " + name,
        "type=file;size=1; " + name,
        "+s1,\t" + name,
    };
    for (const std::string &line : lines) {
        SCOPED_TRACE(line.substr(0, 40));
        ListingEntry e;
        ASSERT_NE(ParseListingLineAt(&e, line.c_str(), HOSTTYPE_AUTO, "", "", kNow), 0);
        EXPECT_EQ(strlen(e.name), 255u);
        EXPECT_EQ(e.name[0], 'A');
        EXPECT_EQ(e.name[254], 'Z');
    }
}

TEST(ListingLimits, NullArgumentsAreRefused) {
    ListingEntry e;
    EXPECT_EQ(ParseListingLineAt(nullptr, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 6001, "", "", kNow), 0);
    EXPECT_EQ(ParseListingLineAt(&e, nullptr, 6001, "", "", kNow), 0);
    EXPECT_NE(ParseListingLineAt(&e, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 6001, nullptr, nullptr, kNow), 0);
    EXPECT_NE(ParseListingLineAt(&e, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 123456, nullptr, nullptr, kNow), 0);
}

}  // namespace
