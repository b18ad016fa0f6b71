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

// ---------------------------------------------------------------------------
// The program's side of the library (listing/host_library_win.cpp; natively
// listing/host_library_posix.cpp stands in by calling the library's code
// directly). The library itself does not see these declarations: it defines
// operations of the same names with C linkage.
#ifndef VELTR32_LIBRARY
struct HWND__;

// Loads "veltr32.dll" (the program's folder first, then the normal search)
// and looks every operation up by ordinal. When the library is missing or
// lacks an operation, a message box naming it is shown once and the result
// is 0; the Host* calls below then answer as for an unknown server.
int LoadHostLibrary(void);

// As LoadHostLibrary, from an explicit path (NULL = the usual search) and
// without a message box: on failure the message is written to error.
int LoadHostLibraryFrom(const char *path, char *error, size_t errorSize);

// Releases the library; the Host* calls fall back until it is loaded again.
void FreeHostLibrary(void);

// Nonzero while a usable library is loaded.
int HostLibraryLoaded(void);

// ParseListingLine: nonzero = add the entry. Without the library: 0.
int HostParseListingLine(ListingEntry *entry, const char *line, uint32_t hostType,
                         const char *folder, const char *userId);
// Display name of a code; "Automatic" without the library or for 6000.
const char *HostTypeName(uint32_t hostType);
// Number of codes, automatic included; 1 without the library.
uint32_t HostTypeCount(void);
// Fills a combo box with one item per code (item data = code); without the
// library only the automatic item is added. Returns the number of items.
int HostFillHostTypeList(HWND__ *comboBox, int flag);
// Detection from a SYST reply line or a greeting/logon reply line; 6000 when
// the server is not recognised or the library is missing.
uint32_t HostDetectFromSyst(const char *systReplyLine, uint32_t hostType);
uint32_t HostDetectFromReply(const char *replyLine, uint32_t hostType);
// The library's modal About box; returns what the library returns, -1
// without the library.
int HostShowAboutBox(HWND__ *owner);
#endif
