// The ASCII-file test of the automatic transfer type.
//
// The list ("VELTRO.EXT") holds one entry per line, such as
//   .txt
//   .bat
//   README
// and is read in pieces of at most 8 characters, line ends cut (CR too), so
// a longer line acts as several entries. An entry of 2 or more characters
// matches a name that equals it or ends with it, case ignored. A version
// suffix (";" and what follows) of the name is ignored.
#pragma once
#include <stdio.h>

// Whether `name` counts as an ASCII file for the list read from `list`
// (from its current position to its end).
bool NameMatchesAsciiList(const char *name, FILE *list);

// The test against the list file at `listPath`. When the file cannot be
// opened (or no path is given), a name longer than 4 characters ending in
// ".TXT" (any case) is ASCII.
bool IsAsciiFileName(const char *name, const char *listPath);
