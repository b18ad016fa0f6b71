// The cache of recent remote listings: up to 19 pairs of remote folder and
// the temporary file that holds its listing, oldest first.
#pragma once

enum { LISTING_CACHE_SIZE = 19, LISTING_FOLDER_SIZE = 256, LISTING_FILE_SIZE = 260 };

struct ListingCacheEntry {
    char folder[LISTING_FOLDER_SIZE];
    char file[LISTING_FILE_SIZE];
};

extern ListingCacheEntry ListingCache[LISTING_CACHE_SIZE];
extern int ListingCacheCount;
