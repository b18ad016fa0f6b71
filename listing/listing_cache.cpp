#include "listing/listing_cache.h"

ListingCacheEntry ListingCache[LISTING_CACHE_SIZE];
int ListingCacheCount;
