// Native stand-in: listing files in $TMPDIR (or /tmp) named DIRxxxxxx.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "listing/listing_cache.h"

int MakeListingFileName(char *name, int size)
{
    const char *folder = getenv("TMPDIR");
    if (folder == nullptr || folder[0] == '\0')
        folder = "/tmp";
    int n = snprintf(name, (size_t)size, "%s/DIRXXXXXX", folder);
    if (n < 0 || n >= size)
        return 0;
    int fd = mkstemp(name);
    if (fd < 0)
        return 0;
    close(fd);
    return 1;
}
