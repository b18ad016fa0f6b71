// Reading the remote list back in tests: each row's FileItem and text.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "listing/file_item.h"

struct RemoteRow {
    std::string name;
    uint32_t kind;
    int year, month, day, hour, minute;
    uint64_t size;
    std::string text;   // the row's readable text
};

// Every row of a list whose item data are FileItem handles.
std::vector<RemoteRow> ReadRemoteRows(HWND list);
// Only the names, in list order.
std::vector<std::string> RowNames(const std::vector<RemoteRow> &rows);
// A hidden list box like the remote pane's, installed as RemoteListWindow.
HWND MakeRemoteList(void);
// Adds a row holding a FileItem of the name and kind (size text "123"), as
// the remote pane does; ClearRows frees them all; SelectAllRows selects all.
void AddItemRow(HWND list, const char *name, uint32_t kind);
void ClearRows(HWND list);
void SelectAllRows(HWND list);
