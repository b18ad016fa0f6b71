// Listing-parse throughput on one core: a million generated lines of mixed
// families, then a million Unix lines. Prints lines per second.
//   usage: native_parse [lines]
#include <stdio.h>
#include <stdlib.h>

#include "bench/listing_lines.h"
#include "veltr32/listing_parse.h"

namespace {

void Run(const char *label, unsigned count, bool unixOnly) {
    const ListingClock now{2024, 3, 15, 10, 0};
    ListingEntry entry;
    bench::RunParsePasses(label, count, unixOnly, [&](const char *line) {
        return ParseListingLineAt(&entry, line, 6000, "'USER.'", "USER", now) != 0;
    });
}

}  // namespace

int main(int argc, char **argv) {
    unsigned count = argc > 1 ? (unsigned)strtoul(argv[1], nullptr, 10) : 1000000u;
    if (count == 0) count = 1000000u;
    Run("mixed", count, false);
    Run("unix", count, true);
    return 0;
}
