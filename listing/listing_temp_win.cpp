// Listing files are temporary files of the user's temporary folder.
#include <windows.h>
#include <string.h>

#include "listing/listing_cache.h"

int MakeListingFileName(char *name, int size)
{
    char folder[MAX_PATH];
    DWORD n = GetTempPathA(sizeof folder, folder);
    if (n == 0 || n >= sizeof folder)
        return 0;
    char made[MAX_PATH];
    if (!GetTempFileNameA(folder, "DIR", 0, made))
        return 0;
    if ((int)strlen(made) >= size) {
        DeleteFileA(made);
        return 0;
    }
    memcpy(name, made, strlen(made) + 1);
    return 1;
}
