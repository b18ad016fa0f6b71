// Damaged listing lines: blanks, tabs, line ends and NULs inserted at every
// position, lines cut at every length, random bytes. Nothing may crash, read
// outside the line or write outside the record (the sanitizers and a canary
// after the record watch for that), and an accepted line always yields a
// terminated name.
#include <gtest/gtest.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "listing_cases.h"
#include "veltr32/host_types.h"
#include "veltr32/listing_parse.h"

namespace {

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
