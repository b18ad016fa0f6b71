// Listing-parse throughput of the built veltr32.dll under Windows (or Wine):
// the same generated lines as the native benchmark, each parsed through the
// library's ordinal 910 as the program calls it. Prints lines per second.
//   usage: bench_parse [path\to\veltr32.dll] [lines]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <chrono>

#include "bench/listing_lines.h"
#include "listing/host_library.h"

namespace {

void Run(const char *label, unsigned count, bool unixOnly) {
    std::vector<std::string> lines = bench::MakeLines(count, unixOnly);
    ListingEntry entry;
    // Three passes; the best one counts (the first also warms the caches).
    double best = 0;
    unsigned accepted = 0;
    for (int pass = 0; pass < 3; pass++) {
        accepted = 0;
        auto start = std::chrono::steady_clock::now();
        for (const std::string &line : lines)
            accepted += HostParseListingLine(&entry, line.c_str(), 6000, "'USER.'", "USER") != 0;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (best == 0 || seconds < best) best = seconds;
    }
    printf("%-6s %u lines, %u accepted, best of 3 passes %.3f s, %.0f lines/s\n", label, count, accepted, best,
           best > 0 ? count / best : 0.0);
}

}  // namespace

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : nullptr;
    unsigned count = argc > 2 ? (unsigned)strtoul(argv[2], nullptr, 10) : 1000000u;
    if (count == 0) count = 1000000u;
    char error[512];
    if (!LoadHostLibraryFrom(path, error, sizeof error)) {
        fprintf(stderr, "%s\n", error);
        return 1;
    }
    Run("mixed", count, false);
    Run("unix", count, true);
    FreeHostLibrary();
    return 0;
}
