// Viewing, editing and running files, local and remote (the "View" and
// "Exec" buttons of each pane, the "View file" double-click action). Remote
// files are first fetched into a fresh "DSP" temporary file whose ending is
// the remote name's extension. The command lines come from view_commands.h.
#pragma once
#include <windows.h>

// View (or execute) the selected files of a pane (0 local, 1 remote). With
// Ctrl held, View asks for the viewer program and Exec asks for the
// command line (built by BuildEditCommand).
void ViewSelection(HWND window, int pane, BOOL view);
// Starts the viewer (empty: VIEWER) on a file.
void ViewFile(const char *file, const char *viewer);
// Opens a file with its associated program; with ask, offers the edit
// command at the "Enter command line:" prompt instead.
void ExecuteFile(HWND window, const char *file, BOOL ask);
// The command line that edits `file` (kept for the remote or local name
// `name`); FALSE for programs ("exe", "com").
BOOL BuildEditCommand(char *output, size_t size, const char *name, const char *file);
// 1306 and 1308: fetches "LIST" or "NLST" into the listing file and shows
// it in the viewer.
void ViewListingCommand(const char *command);
