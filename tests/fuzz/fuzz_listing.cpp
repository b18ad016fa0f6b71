// libFuzzer target: listing lines of every host type and both detectors.
// The first input byte picks the host type (and the clock), the rest is the
// line; the same bytes are also offered to the SYST and reply detectors.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "veltr32/detect.h"
#include "veltr32/host_types.h"
#include "veltr32/listing_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    uint32_t hostType = HOSTTYPE_FIRST + data[0] % (HostTypeTotal() + 2);  // a few invalid codes too
    ListingClock now{2000 + data[0] % 40, 1 + data[0] % 12, 1 + data[0] % 28, data[0] % 24, data[0] % 60};
    // An allocation of exactly the line and its terminator: reading past the end is caught.
    std::vector<char> line(data + 1, data + size);
    line.push_back(0);
    struct {
        ListingEntry entry;
        uint8_t canary[32];
    } record;
    memset(record.canary, 0xA7, sizeof record.canary);
    int accepted = ParseListingLineAt(&record.entry, line.data(), hostType, "'USER.'", "USER", now);
    for (uint8_t c : record.canary)
        if (c != 0xA7) __builtin_trap();
    if (accepted) {
        if (memchr(record.entry.name, 0, sizeof record.entry.name) == nullptr) __builtin_trap();
        if (record.entry.kind != 0 && record.entry.kind != 2 && record.entry.kind != 4) __builtin_trap();
        if (record.entry.month > 12) __builtin_trap();
    }
    uint32_t a = DetectFromSyst(line.data(), hostType);
    uint32_t b = DetectFromReply(line.data(), hostType);
    if (!(a == HOSTTYPE_AUTO || HostTypeValid(a)) || !(b == HOSTTYPE_AUTO || HostTypeValid(b))) __builtin_trap();
    return 0;
}
