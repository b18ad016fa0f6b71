// The main window's child windows and their placement.
#pragma once
#include <windows.h>

extern HWND LocalListWindow, RemoteListWindow;
extern HWND MessageLines[3];      // top, middle, bottom
extern HWND MessageScrollBar;

// Builds the child windows of the main window (at creation).
void CreateChildWindows(HWND mainWindow);
// Places the children for the main window's client size.
void LayoutChildWindows(HWND mainWindow, int width, int height);
// Whether a client point lies in the message-line area.
BOOL InMessageArea(HWND mainWindow, int x, int y);
