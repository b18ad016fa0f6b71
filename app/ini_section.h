// Several keys of one INI section written with one rewrite of the file: the
// section is read whole (as "key=value" entries), changed here and written
// back whole. Only a section made of plain "key=value" lines survives that
// round trip unchanged, so the raw file is checked first.
#pragma once
#include <stddef.h>

// Whether every non-blank line of `section` (matched without regard to case)
// in the INI text holds a "=" and is no comment. A missing section counts
// as plain; text with NUL bytes (UTF-16) never.
bool SectionIsPlain(const char *text, size_t length, const char *section);

// The section's entries ("key=value\0" ... "\0", `length` bytes before the
// closing NUL, as the platform's section read returns them) with each of
// keys[i] set to texts[i], or removed when texts[i] is null: a key keeps its
// place, a new one goes to the end. Writes the new list to out (closed by a
// second NUL). Returns 1 when it differs from the old list, 0 when nothing
// changes, -1 when out is too small or an entry lacks its "=".
int MergeSectionKeys(const char *list, size_t length, const char *const keys[],
                     const char *const texts[], int count, char *out, size_t outSize);
