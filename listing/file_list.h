// The two file lists on Win32: owner-drawn list boxes without strings whose
// item data is the address of a fixed block holding a FileItem (see
// file_item.h). Rows are sorted in memory with CompareItems and added in
// order with redrawing off; the lists do not sort themselves.
//
// Contract for callers:
//  - a row belongs to the list from the moment ShowRows takes it; the list
//    frees it when cleared (ClearFileList) or destroyed (WM_DELETEITEM);
//  - a list that keeps strings (a plain list box, as tests use) gets a
//    readable text per row as well as the item data;
//  - sort settings live in GlobalSettings.localSort / remoteSort.
#pragma once
#include <windows.h>

#include <vector>

#include "listing/file_item.h"

typedef std::vector<FileItem *> RowBuffer;

// A zero-filled row for the pane (0 local, 1 remote) with the text; the
// name is its first nameLength characters. Null when memory is short.
FileItem *NewFileItem(uint32_t pane, uint32_t kind, const char *text, size_t nameLength);
void FreeFileItem(FileItem *item);

// The sort setting of a pane (0 local, 1 remote).
int PaneSortSpec(uint32_t pane);
void SetPaneSortSpec(uint32_t pane, int setting);

// Empties the list (freeing its rows), then adds rows sorted by the
// pane's setting; takes every row of the buffer (the buffer is emptied).
void ShowRows(HWND list, RowBuffer *rows);
// Frees every row and empties the list.
void ClearFileList(HWND list);
// Sorts the list's rows again by its pane's current setting.
void ResortFileList(HWND list);

// The row at index, or null.
const FileItem *FileListRow(HWND list, int index);
// Reads a row into CurrentEntry and name (the name as the actions use it:
// cut at a tab, folders without trailing blanks); returns the kind, or -1
// when the row cannot be read. LastRowSize keeps the row's size.
int ReadFileRow(HWND list, int index, char *name, size_t size);
extern uint64_t LastRowSize;

// The list's row height: the list font's height plus external leading, at
// least 16 pixels at 96 DPI (scaled by the DPI).
int FileRowHeight(HWND list);

// Owner-draw messages of the main window for the two lists.
void OnMeasureFileRow(HWND window, MEASUREITEMSTRUCT *measure);
void OnDrawFileRow(const DRAWITEMSTRUCT *draw);
int OnCompareFileRows(const COMPAREITEMSTRUCT *compare);
void OnDeleteFileRow(const DELETEITEMSTRUCT *deleted);
// Releases the cached coloured bitmaps (at exit or on a colour change).
void ReleaseRowBitmaps(void);
