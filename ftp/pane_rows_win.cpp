#include "ftp/pane_rows.h"

#include <stdio.h>
#include <string.h>

#include "ftp/remote_rules.h"

int SelectedRows(HWND list, int *indices, int max)
{
    if (!list || max <= 0)
        return 0;
    LRESULT count = SendMessageA(list, LB_GETSELITEMS, (WPARAM)max, (LPARAM)indices);
    if (count == LB_ERR) {
        // A single-selection list: the caret row, when selected.
        LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (current == LB_ERR)
            return 0;
        indices[0] = (int)current;
        return 1;
    }
    return (int)count;
}

// A FileItem held in the row's memory block, copied out; false when the
// item data is not such a block.
static bool ReadFileItemRow(HWND list, int index, PaneRow *row)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    if (data == LB_ERR || data == 0)
        return false;
    HGLOBAL block = (HGLOBAL)data;
    SIZE_T size = GlobalSize(block);
    if (size < FileItemBytes(0))   // a short name needs less than sizeof(FileItem)
        return false;
    const FileItem *item = (const FileItem *)GlobalLock(block);
    if (!item)
        return false;
    size_t textRoom = size - offsetof(FileItem, text);
    size_t length = strnlen(item->text, textRoom);
    size_t nameLength = item->nameLength < length ? item->nameLength : length;
    row->kind = item->kind;
    RowNameFromText(item->text, nameLength, (item->kind & KIND_FOLDER) != 0, row->name,
                    sizeof row->name);
    GlobalUnlock(block);
    return true;
}

bool ReadPaneRow(HWND list, int index, PaneRow *row)
{
    row->kind = KIND_FILE;
    row->name[0] = '\0';
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length == LB_ERR)
        return false;
    if (ReadFileItemRow(list, index, row))
        return true;
    char text[1024];
    if (length >= (LRESULT)sizeof text)
        return false;
    SendMessageA(list, LB_GETTEXT, (WPARAM)index, (LPARAM)text);
    RowNameFromText(text, strlen(text), false, row->name, sizeof row->name);
    if (strcmp(row->name, "..") == 0)
        row->kind = KIND_FOLDER;
    return true;
}

bool IsSkippedRow(const PaneRow &row)
{
    return strcmp(row.name, "..") == 0 || (row.kind & KIND_DRIVE) != 0 || !row.name[0];
}

bool IsFolderRow(const PaneRow &row)
{
    return (row.kind & KIND_FOLDER) != 0;
}
