// Listing-parse throughput on one core: a million generated lines of mixed
// families, then a million Unix lines. Prints lines per second.
//   usage: native_parse [lines]
#include <stdio.h>
#include <stdlib.h>

#include <chrono>

#include "bench/listing_lines.h"
#include "veltr32/listing_parse.h"

namespace {

void Run(const char *label, unsigned count, bool unixOnly) {
    std::vector<std::string> lines = bench::MakeLines(count, unixOnly);
    const ListingClock now{2024, 3, 15, 10, 0};
    ListingEntry entry;
    // Three passes; the best one counts (the first also warms the caches).
    double best = 0;
    unsigned accepted = 0;
    for (int pass = 0; pass < 3; pass++) {
        accepted = 0;
        auto start = std::chrono::steady_clock::now();
        for (const std::string &line : lines)
            accepted += ParseListingLineAt(&entry, line.c_str(), 6000, "'USER.'", "USER", now) != 0;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (best == 0 || seconds < best) best = seconds;
    }
    printf("%-6s %u lines, %u accepted, best of 3 passes %.3f s, %.0f lines/s\n", label, count, accepted, best,
           best > 0 ? count / best : 0.0);
}

}  // namespace

int main(int argc, char **argv) {
    unsigned count = argc > 1 ? (unsigned)strtoul(argv[1], nullptr, 10) : 1000000u;
    if (count == 0) count = 1000000u;
    Run("mixed", count, false);
    Run("unix", count, true);
    return 0;
}
