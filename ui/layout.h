// The main window's children: created once from the child table, placed
// by the layout arithmetic of layout_geometry.h, with the two splitters,
// the column headers above the file lists (dragging their boundaries),
// the frames and pane titles, and the balloon tips.
#pragma once
#include <windows.h>

#include <stdint.h>

#include "ui/layout_geometry.h"

extern HWND LocalListWindow, RemoteListWindow;
extern HWND MessageLines[3];      // top, middle, bottom
extern HWND MessageScrollBar;
extern HFONT ChildFont;           // the font of every child and of the lists

// Column boundaries of the two lists (pixels from the list's left edge):
// icon width, date start, size start, size end. LOCL and LOCR.
extern int LocalColumns[4], RemoteColumns[4];
int *PaneColumns(uint32_t pane);

// Notification code sent with WM_COMMAND by a folder box or a mask field
// when Enter is pressed in it.
enum { CHILD_ENTER = 0x4000 };

// Builds the child windows of the main window (at creation).
void CreateChildWindows(HWND mainWindow);
// Places the children for the main window's client size.
void LayoutChildWindows(HWND mainWindow, int width, int height);
// The main window's size message.
void OnMainSize(HWND mainWindow, UINT type, int width, int height);
// The main window's paint message: frames and pane titles.
void OnMainPaint(HWND mainWindow);
// The last layout computed (dividers, units, rectangles).
const LayoutResult &CurrentLayout(void);
// Whether a client point lies in the message-line area.
BOOL InMessageArea(HWND mainWindow, int x, int y);
// Places the header buttons of a list after its scroll position changed.
void PlaceHeaders(HWND list);
// Makes the date and size columns of a list fit texts of its font
// (FitColumns), then places its headers.
void FitColumnsToListFont(HWND list, bool exact);
// Releases the scaled text font (at shutdown).
void DeleteTextFont(void);

// Splitters of the main window: each returns TRUE when it took the message.
BOOL OnSplitterButtonDown(HWND mainWindow, int x, int y);
BOOL OnSplitterMouseMove(HWND mainWindow, int x, int y);
BOOL OnSplitterButtonUp(HWND mainWindow, int x, int y);
// Cursor over the main window (wait cursor while busy, splitter cursor).
BOOL OnMainSetCursor(HWND mainWindow, HWND over, int hitTest);
// Removes a balloon tip shown for a child (the mouse is over the main window).
void HideBalloonTip(void);

// The common procedure of the children: tips, header-boundary drags, the
// Tab and Enter keys of the folder boxes and mask fields.
LRESULT CALLBACK ChildWindowProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
