// The cache of recent remote listings: up to 19 pairs of remote folder and
// the temporary file that holds its listing, oldest first.
//
// Contract: a folder text equal to LISTING_PLACEHOLDER (the folder of a
// failed PWD) is never found. Dropping a pair deletes its listing file.
#pragma once

enum { LISTING_CACHE_SIZE = 19, LISTING_FOLDER_SIZE = 256, LISTING_FILE_SIZE = 260 };
enum { LISTING_CACHE_NEW = 99 };

struct ListingCacheEntry {
    char folder[LISTING_FOLDER_SIZE];
    char file[LISTING_FILE_SIZE];
};

extern ListingCacheEntry ListingCache[LISTING_CACHE_SIZE];
extern int ListingCacheCount;

extern const char LISTING_PLACEHOLDER[];   // "directory identifier unavailable"

// Finds folder in the cache and copies its listing file name to
// currentFile (LISTING_FILE_SIZE bytes); returns the pair's index. When it
// is not there, makes room (dropping the oldest pair when all 19 are held),
// makes a new temporary listing file name, appends the pair, copies the
// new name to currentFile and returns LISTING_CACHE_NEW. A new name that
// cannot be made leaves currentFile empty and the cache unchanged.
int ListingCacheLookup(const char *folder, char *currentFile);

// Deletes every listing file and empties the cache.
void ClearListingCache(void);

// Platform services (listing_temp_win.cpp, listing_temp_posix.cpp): a new
// temporary file name with the prefix "DIR" in the user's temporary folder
// (the file may be created empty); returns 0 when none can be made.
int MakeListingFileName(char *name, int size);
