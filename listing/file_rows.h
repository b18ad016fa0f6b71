// The rules of a file-list row, free of any window system: the order of two
// rows under a pane's sort setting, the bitmap of a kind, the date and size
// texts, the cut of a name that does not fit, the header-button changes of
// a sort setting and the detail and report texts of local entries.
//
// Sort setting (one per pane, saved as LSORT and RSORT): bits 0-2 the key
// (0 none, 1 name, 2 extension, 3 date, 4 size, 5 name from its second
// character, 6 and 7 the text after the first tab), 8 reverse order, 16
// folders mixed with files, 32 folders at the bottom (neither: on top).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "listing/file_item.h"

enum {
    SORT_KEY_MASK = 7,
    SORT_NONE = 0,
    SORT_NAME = 1,
    SORT_EXTENSION = 2,
    SORT_DATE = 3,
    SORT_SIZE = 4,
    SORT_NAME_TAIL = 5,
    SORT_REVERSE = 8,
    SORT_MIXED = 16,
    SORT_FOLDERS_BOTTOM = 32,
};

// Negative when a goes before b. Groups first (unless mixed): folders,
// links, files (folders last with SORT_FOLDERS_BOTTOM); drives always after
// everything else; then the key (turned by SORT_REVERSE); ".." always first.
int CompareItems(const FileItem *a, const FileItem *b, int setting);

// Case-insensitive (ASCII) comparison of two texts, as the rows sort them.
int CompareTextNoCase(const char *a, const char *b);

// The bitmap of a row, in the order the program loads them.
enum RowBitmap { ROW_BMP_DIR, ROW_BMP_TXT, ROW_BMP_UNK, ROW_BMP_DUP, ROW_BMP_DSK, ROW_BMP_LNK };
RowBitmap BitmapForRow(const FileItem *item);

// "%02u%02u%02u %02u:%02u": the date in DateFmt order (0 year-month-day,
// 1 month-day-year, 2 day-month-year), the year in full with longDate, else
// its last two digits; then the time.
void FormatRowDate(const FileItem *item, int dateFormat, int longDate, char *text, size_t size);
// The size column: the byte count in decimal, all 64 bits.
void FormatRowSize(uint64_t size, char *text, size_t size_of_text);

// The name as drawn: while wider than room and longer than one character,
// the last character goes; a shortened name longer than two characters
// ends in "~". width(text, length, context) measures a prefix. Returns the
// length of the text written to out.
typedef int (*TextWidthFn)(const char *text, size_t length, void *context);
size_t CutNameToFit(const char *name, size_t length, int room, TextWidthFn width, void *context,
                    char *out, size_t outSize);

// The sort setting after a click on header button 0 ("^"), 1 ("Name"),
// 2 ("Date") or 3 ("Size"); ctrl and alt are the keys held (alt counts on
// the remote list only).
int NextSortSpec(int setting, int button, bool ctrl, bool alt, bool remote);

// A local entry's time and size, as the detail and report texts show them.
struct LocalStamp {
    unsigned year, month, day, hour, minute;
    uint64_t size;
};
// The name with its detail: padded with blanks to 12 characters, a tab and
// "%04u%02u%02u %02u:%02u %10llu".
void FormatDetailText(const char *name, const LocalStamp &stamp, char *text, size_t size);
// One line of the folder report ("%-30.30s" name, "<DIR>" or the size, the
// date and the time), ending in "\n".
void FormatReportLine(const char *name, bool folder, const LocalStamp &stamp, char *text,
                      size_t size);
