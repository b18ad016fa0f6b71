// The interface to the host-type library veltr32.dll. The program loads the
// library at start and calls its operations by ordinal:
//   910 ParseListingLine, 920 HostTypeName, 922 HostTypeCount,
//   930 FillHostTypeList, 940 DetectHostTypeFromSyst,
//   950 DetectHostTypeFromReply, 500 ShowAboutBox.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum { HOST_AUTO = 6000 };

#pragma pack(push, 1)
struct ListingEntry {
    char name[256];        // 0: NUL-terminated
    uint16_t year;         // 256: full year
    uint8_t month;         // 258: 1..12, 0 = no date
    uint8_t day;           // 259
    uint8_t hour;          // 260
    uint8_t minute;        // 261
    uint8_t reserved1[2];  // 262
    uint32_t size;         // 264: low 32 bits of the size
    uint32_t sizeHigh;     // 268: high 32 bits of the size
    uint8_t kind;          // 272: 0 file, 2 link, 4 folder
    uint8_t reserved2[3];  // 273
};
#pragma pack(pop)

static_assert(sizeof(ListingEntry) == 276, "ListingEntry is a 276-byte record");
static_assert(offsetof(ListingEntry, year) == 256, "year at 256");
static_assert(offsetof(ListingEntry, month) == 258, "month at 258");
static_assert(offsetof(ListingEntry, day) == 259, "day at 259");
static_assert(offsetof(ListingEntry, hour) == 260, "hour at 260");
static_assert(offsetof(ListingEntry, minute) == 261, "minute at 261");
static_assert(offsetof(ListingEntry, size) == 264, "size at 264");
static_assert(offsetof(ListingEntry, sizeHigh) == 268, "size high word at 268");
static_assert(offsetof(ListingEntry, kind) == 272, "kind at 272");

inline uint64_t ListingEntrySize(const ListingEntry &e) {
    return ((uint64_t)e.sizeHigh << 32) | e.size;
}

// The program side: load veltr32.dll at start (a missing or unusable
// library is reported by name) and call its operations by ordinal.
struct HWND__;
int LoadHostLibrary(void);
void FreeHostLibrary(void);
int HostShowAboutBox(HWND__ *owner);
