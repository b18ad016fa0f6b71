#include "transfer/ascii_names.h"

#include <ctype.h>
#include <string.h>

static bool EqualNoCase(const char *a, const char *b, size_t n)
{
    for (size_t i = 0; i < n; i++) {
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    }
    return true;
}

// The name without its version suffix.
static size_t BaseLength(const char *name)
{
    const char *semicolon = strchr(name, ';');
    return semicolon ? (size_t)(semicolon - name) : strlen(name);
}

static bool EndsWithNoCase(const char *name, size_t length, const char *entry, size_t entryLength)
{
    return entryLength <= length && EqualNoCase(name + length - entryLength, entry, entryLength);
}

bool NameMatchesAsciiList(const char *name, FILE *list)
{
    size_t length = BaseLength(name);
    char piece[9];
    while (fgets(piece, sizeof piece, list)) {
        size_t n = strcspn(piece, "\r\n");
        piece[n] = 0;
        if (n >= 2 && EndsWithNoCase(name, length, piece, n))
            return true;
    }
    return false;
}

bool IsAsciiFileName(const char *name, const char *listPath)
{
    FILE *list = listPath && *listPath ? fopen(listPath, "r") : nullptr;
    if (!list) {
        size_t length = BaseLength(name);
        return length > 4 && EndsWithNoCase(name, length, ".TXT", 4);
    }
    bool ascii = NameMatchesAsciiList(name, list);
    fclose(list);
    return ascii;
}
