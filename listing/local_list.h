// The local pane: the process's current folder with its subfolders, the
// ".." row, the drives and the files matching the local mask; the local
// folder box with its history; the mask field; the folder report.
#pragma once
#include <windows.h>

// Refills the local list from the current folder and shows the folder in
// the local folder box.
void ScanLocalFolder(void);
// Changes the local folder (a text beginning with "[-" changes the drive to
// its third character; "x:..." changes the drive first); on success the list
// is refilled. FALSE (and the list left as it was) when it cannot be entered.
BOOL ChangeLocalFolder(const char *text);
// Notifications of the local folder box (960) and the local mask field
// (926), including CHILD_ENTER.
void OnLocalFolderBox(HWND mainWindow, int notify);
void OnLocalMask(HWND mainWindow, int notify);
// The Refresh button: an empty mask becomes "*.*", then the list is refilled.
void RefreshLocalList(void);
// Writes the folder report of the current folder to path.
BOOL WriteFolderReport(const char *path);
// Deletes "DSP*.*" and "EDT*.*" in the temporary folder (at start).
void RemoveStaleTempFiles(void);
// Start of the local pane at window creation: clean-up, the mask, the list.
void StartLocalPane(void);
