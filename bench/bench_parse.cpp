// Listing-parse throughput of the built veltr32.dll under Windows (or Wine):
// the same generated lines as the native benchmark, each parsed through the
// library's ordinal 910 as the program calls it. Prints lines per second.
//   usage: bench_parse [path\to\veltr32.dll] [lines]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "bench/listing_lines.h"
#include "listing/host_library.h"

namespace {

void Run(const char *label, unsigned count, bool unixOnly) {
    ListingEntry entry;
    bench::RunParsePasses(label, count, unixOnly, [&](const char *line) {
        return HostParseListingLine(&entry, line, 6000, "'USER.'", "USER") != 0;
    });
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
