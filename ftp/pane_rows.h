// Reading the rows of the two file lists. Every action that works on the
// selection reads it here, so the rows may be plain strings or FileItem
// handles: a row whose item data is a movable memory block holding a
// FileItem gives that item's name and kind; any other row gives its list
// string (".." counting as a folder, anything else as a file).
#pragma once
#include <windows.h>

#include "listing/file_item.h"

enum { PANE_SELECTION_MAX = 2048, PANE_NAME_SIZE = 256 };

struct PaneRow {
    uint32_t kind;                 // FileKind
    char name[PANE_NAME_SIZE];     // cut at a tab; folders without trailing blanks
};

// The selected row indices in ascending order (at most max); the count.
int SelectedRows(HWND list, int *indices, int max);
// Reads one row; false when the index is not a row.
bool ReadPaneRow(HWND list, int index, PaneRow *row);
// Rows that the loops of the actions skip: ".." and drives.
bool IsSkippedRow(const PaneRow &row);
bool IsFolderRow(const PaneRow &row);
