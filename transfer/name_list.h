// The name list (NLST) of a wildcard download, judged line by line on our
// side: servers may ignore the pattern (and list the whole folder), refuse
// it, or send lines that are no names at all.
//
//   "a.txt"          with "*.txt"  LISTED_MATCH
//   "sub/a.txt"      with "*.txt"  LISTED_MATCH (the last part is matched)
//   "a.bin"          with "*.txt"  LISTED_OTHER
//   ""                             LISTED_EMPTY
//   "a\x01\x02.txt"                LISTED_JUNK (a byte below 32, or 127)
// Matching ignores case, as on the servers that expand patterns themselves
// without regard to case; a name the server gave for the pattern is never
// dropped for its case.
#pragma once
#include <stddef.h>

enum ListedName { LISTED_EMPTY, LISTED_JUNK, LISTED_OTHER, LISTED_MATCH };

// One listing line of `length` bytes (its line end already cut; it may hold
// NUL bytes).
ListedName ClassifyListedName(const char *line, size_t length, const char *pattern);
