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

const ListingClock kNow{2024, 3, 15, 10, 0};

struct Guarded {
    ListingEntry entry;
    unsigned char canary[64];
};

// Host types covering every family.
const uint32_t kHostTypes[] = {6000, 6001, 6005, 6011, 6015, 6017, 6018, 6021, 6022,
                               6027, 6030, 6031, 6046, 6047, 6058, 6059, 5999, 0xFFFFFFFFu};

std::vector<std::string> SampleLines() {
    std::vector<std::string> lines;
    for (const auto &c : kUnixCases) lines.push_back(c.line);
    for (const auto &c : kPcCases) lines.push_back(c.line);
    for (const auto &c : kFactCases) lines.push_back(c.line);
    for (const auto &c : kVmsCases) lines.push_back(c.line);
    for (const auto &c : kIbmCases) lines.push_back(c.line);
    for (const auto &c : kOtherCases) lines.push_back(c.line);
    return lines;
}

// Parses `bytes` (len bytes, NULs allowed) from an allocation of exactly
// len + 1 bytes, so any read past the terminator is caught.
void ParseGuarded(const char *bytes, size_t len, uint32_t hostType, const char *folder = "'USER.'") {
    std::unique_ptr<char[]> copy(new char[len + 1]);
    memcpy(copy.get(), bytes, len);
    copy[len] = 0;
    Guarded g;
    memset(g.canary, 0x5C, sizeof g.canary);
    int result = ParseListingLineAt(&g.entry, copy.get(), hostType, folder, "USER", kNow);
    for (unsigned char c : g.canary) ASSERT_EQ(c, 0x5C) << "record overrun for: " << std::string(bytes, len);
    if (result != 0) {
        ASSERT_LT(strnlen(g.entry.name, sizeof g.entry.name), sizeof g.entry.name);
        ASSERT_TRUE(g.entry.kind == 0 || g.entry.kind == 2 || g.entry.kind == 4);
        ASSERT_LE(g.entry.month, 12);
    } else {
        // A refused line leaves an empty record, never a stale one.
        ASSERT_EQ(g.entry.name[0], 0);
    }
}

TEST(ListingRobustness, CharactersInsertedOrReplacedAtEveryPosition) {
    const char inserts[] = {'\r', '\n', ' ', '\t', '\0', '/', ';', '-'};
    const char replacements[] = {'\0', ' ', '9', 'A', '\xff', '.'};
    for (const std::string &line : SampleLines()) {
        for (size_t pos = 0; pos <= line.size(); pos++) {
            for (char c : inserts) {
                std::string damaged = line;
                damaged.insert(damaged.begin() + (long)pos, c);
                for (uint32_t type : {6000u, 6011u, 6018u, 6059u})
                    ParseGuarded(damaged.data(), damaged.size(), type);
            }
            for (char c : replacements) {
                if (pos == line.size()) break;
                std::string damaged = line;
                damaged[pos] = c;
                ParseGuarded(damaged.data(), damaged.size(), 6000);
            }
        }
    }
}

TEST(ListingRobustness, CutAtEveryLength) {
    for (const std::string &line : SampleLines()) {
        for (size_t len = 0; len <= line.size(); len++) {
            for (uint32_t type : kHostTypes) ParseGuarded(line.data(), len, type);
        }
    }
}

TEST(ListingRobustness, RandomBytesAndLongLines) {
    // A fixed linear congruential sequence keeps the run repeatable.
    uint32_t state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    const char alphabet[] = "-drwx 0123456789:/.;,=+[]()<>JanDecMARtypefilesize\t\xe4\x80";
    for (int round = 0; round < 3000; round++) {
        size_t len = next() % 400;
        std::string line;
        for (size_t i = 0; i < len; i++) {
            int r = (int)next();
            line += (r & 1) ? alphabet[r % (sizeof alphabet - 1)] : (char)(r >> 3);
        }
        ParseGuarded(line.data(), line.size(), kHostTypes[round % (sizeof kHostTypes / sizeof kHostTypes[0])]);
    }
    // Very long lines of every shape.
    std::string filler(100000, 'x');
    for (const std::string &prefix : {std::string("-rw-r--r-- 1 u g 1 Jan 31 12:00 "), std::string("type=file; "),
                                      std::string("01-31-24  02:15PM  100 "), std::string("+s1,\t"),
                                      std::string(5000, ' '), std::string(30000, '1') + " "}) {
        std::string line = prefix + filler;
        for (uint32_t type : kHostTypes) ParseGuarded(line.data(), line.size(), type);
    }
    // Many words.
    std::string words;
    for (int i = 0; i < 2000; i++) words += "Jan 31 12:00 ";
    for (uint32_t type : kHostTypes) ParseGuarded(words.data(), words.size(), type);
}

TEST(ListingRobustness, FolderAndUserIdOfAnyLength) {
    std::string folder(5000, 'Q');
    const char *line = "SMP224 3390   2024/01/31  2   30  FB  80 27920  PS  USER.DATA.SET";
    ParseGuarded(line, strlen(line), 6024, folder.c_str());
    ParseGuarded(line, strlen(line), 6024, "'");
    ParseGuarded(line, strlen(line), 6024, "''");
    ParseGuarded(line, strlen(line), 6024, "'USER.DATA.SET.AND.MORE'");
}

}  // namespace
