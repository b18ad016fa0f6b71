// One row of a file list. Each row's item data is the address of a fixed
// memory block (GlobalAlloc GMEM_FIXED, so the address is also its handle)
// holding a FileItem followed by its text. Fixed blocks have no handle-table
// limit, so a folder of 100,000 entries gets 100,000 rows.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum FileKind : uint32_t {
    KIND_FILE = 0,     // other file
    KIND_TEXT = 1,     // text file (by extension)
    KIND_LINK = 2,
    KIND_FOLDER = 4,   // also the ".." row
    KIND_DRIVE = 8,    // local pane only
};

struct FileItem {
    uint32_t pane;        // 1 remote, 0 local
    uint32_t kind;        // FileKind
    uint16_t year;        // 0 = no date
    uint8_t month;        // 1..12, 0 = no date
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint64_t size;        // bytes; files above 4 GiB keep their true size
    uint32_t nameLength;  // leading characters of text that form the name
    char text[1];         // NUL-terminated; name, optionally a tab and more
};

// Bytes of a block that holds a FileItem with a text of the given length.
inline size_t FileItemBytes(size_t textLength)
{
    return offsetof(FileItem, text) + textLength + 1;
}
