// The message log: a 60-line history shown in three message lines at the
// bottom of the main window, and in the separate "Message Log" window.
#pragma once
#include <windows.h>

extern BOOL BatchLogging;            // also append every line to "xferlog.txt"

void AddLogLine(const char *text);   // called by LogLine for every line shown
// A line a worker thread logged, on the window thread: stored at once, the
// message lines repainted at most ten times a second.
void AddRelayedLogLine(const char *text);
void ScrollLogDisplay(int delta);    // -1 or +1 from the message scroll bar
void SetMessageLineWindows(HWND top, HWND middle, HWND bottom);
COLORREF MessageLineColor(const char *text);
void OpenLogWindow(void);
void LoadLogWindowPosition(void);
// The log window's default place: below the main window's top, half its height.
void PlaceLogWindowBelow(HWND mainWindow);
// Log window rectangle (left, top, width, height); width 0 = unknown.
extern int LogWindowRect[4];
extern HWND LogWindow;
