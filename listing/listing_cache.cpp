#include "listing/listing_cache.h"

#include <stdio.h>
#include <string.h>

ListingCacheEntry ListingCache[LISTING_CACHE_SIZE];
int ListingCacheCount;

const char LISTING_PLACEHOLDER[] = "directory identifier unavailable";

static void DropOldest(void)
{
    // Names of 3 characters or fewer are never real temporary files.
    if (strlen(ListingCache[0].file) > 3)
        remove(ListingCache[0].file);
    memmove(&ListingCache[0], &ListingCache[1], sizeof ListingCache[0] * (LISTING_CACHE_SIZE - 1));
    memset(&ListingCache[LISTING_CACHE_SIZE - 1], 0, sizeof ListingCache[0]);
    ListingCacheCount--;
}

int ListingCacheLookup(const char *folder, char *currentFile)
{
    if (strcmp(folder, LISTING_PLACEHOLDER) != 0) {
        for (int i = 0; i < ListingCacheCount; i++) {
            if (strcmp(ListingCache[i].folder, folder) == 0) {
                snprintf(currentFile, LISTING_FILE_SIZE, "%s", ListingCache[i].file);
                return i;
            }
        }
    }
    char name[LISTING_FILE_SIZE];
    if (!MakeListingFileName(name, sizeof name)) {
        currentFile[0] = '\0';
        return LISTING_CACHE_NEW;
    }
    if (ListingCacheCount >= LISTING_CACHE_SIZE)
        DropOldest();
    ListingCacheEntry &entry = ListingCache[ListingCacheCount++];
    snprintf(entry.folder, sizeof entry.folder, "%s", folder);
    snprintf(entry.file, sizeof entry.file, "%s", name);
    snprintf(currentFile, LISTING_FILE_SIZE, "%s", name);
    return LISTING_CACHE_NEW;
}

void ClearListingCache(void)
{
    for (int i = 0; i < ListingCacheCount; i++) {
        if (strlen(ListingCache[i].file) > 3)
            remove(ListingCache[i].file);
    }
    memset(ListingCache, 0, sizeof ListingCache);
    ListingCacheCount = 0;
}
