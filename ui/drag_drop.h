// Drag and drop of file rows. The program runs its own drag loop on the
// mouse capture and delivers every drop, from its own lists or from other
// programs, as a WM_DROPFILES message with a standard dropped-files block;
// one handler serves all drops:
//   local -> remote list        upload of the selected local rows
//   remote -> local list        download of the selected remote rows
//   onto a folder row           first into that folder (and back after)
//   local -> local folder row   files renamed into the folder
//   remote -> remote folder row RNFR/RNTO into the folder (asked first)
//   other program -> a list     copy into the local folder, or upload
// Local rows are dragged as full paths, remote rows as bare names.
#pragma once
#include <windows.h>
#include <shellapi.h>

// A left-button press in a file list (client point); TRUE when the drag
// loop took it (the press is then not passed on to the list).
BOOL RunDragLoop(HWND list, int x, int y);
// WM_DROPFILES for a window; releases the block.
void OnDropFiles(HWND target, HDROP drop);
// WM_DROPFILES for the main window: handled only while it is minimized
// (the files are uploaded to the remote folder).
void OnMainDropFiles(HWND mainWindow, HDROP drop);
// The row of a list under a client point, or -1: it must be readable and
// the point must lie left of the name's text width + 20 pixels.
int RowUnderPoint(HWND list, int x, int y);
