#include "transfer/name_list.h"

#include "transfer/local_name.h"

ListedName ClassifyListedName(const char *line, size_t length, const char *pattern)
{
    if (length == 0)
        return LISTED_EMPTY;
    for (size_t i = 0; i < length; i++) {
        unsigned char c = (unsigned char)line[i];
        if (c < 32 || c == 127)
            return LISTED_JUNK;
    }
    return MatchWildcard(pattern, LastPathPart(line)) ? LISTED_MATCH : LISTED_OTHER;
}
