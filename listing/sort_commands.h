// The sort commands of the main window: the header buttons above each list
// (1200-1203 local, 1205-1208 remote) and the sort dialog "DLG_SORT".
#pragma once
#include <windows.h>

// A header button: the pane's sort setting changes (NextSortSpec, with the
// Ctrl and Alt keys as held now) and the pane is sorted again.
void SortHeaderCommand(HWND mainWindow, int id);
// The sort dialog for the local (964), remote (965) list, or, for the
// main window (9038), the remote setting copied to the local one. OK
// stores the setting in memory and re-sorts each pane that changed.
void SortDialogCommand(HWND mainWindow, int id);
