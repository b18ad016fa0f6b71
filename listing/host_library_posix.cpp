// Native stand-in for the host-type library: the library's code is linked
// in, so the listing reader and its tests run without Windows. Windows-only
// operations (combo box, About box) do nothing here.
#include <string.h>
#include <time.h>

#include "listing/host_library.h"
#include "veltr32/detect.h"
#include "veltr32/host_types.h"
#include "veltr32/listing_parse.h"

int LoadHostLibrary(void) { return 1; }

int LoadHostLibraryFrom(const char *, char *error, size_t errorSize) {
    if (error != nullptr && errorSize > 0) error[0] = 0;
    return 1;
}

void FreeHostLibrary(void) {}

int HostLibraryLoaded(void) { return 1; }

int HostParseListingLine(ListingEntry *entry, const char *line, uint32_t hostType, const char *folder,
                         const char *userId) {
    time_t t = time(nullptr);
    struct tm local;
    if (localtime_r(&t, &local) == nullptr) memset(&local, 0, sizeof local);
    ListingClock now{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    return ParseListingLineAt(entry, line, hostType, folder, userId, now);
}

const char *HostTypeName(uint32_t hostType) { return HostTypeLabel(hostType); }

uint32_t HostTypeCount(void) { return HostTypeTotal(); }

int HostFillHostTypeList(HWND__ *, int) { return 0; }

uint32_t HostDetectFromSyst(const char *systReplyLine, uint32_t hostType) {
    return DetectFromSyst(systReplyLine, hostType);
}

uint32_t HostDetectFromReply(const char *replyLine, uint32_t hostType) {
    return DetectFromReply(replyLine, hostType);
}

int HostShowAboutBox(HWND__ *) { return -1; }
