// The two halves of the shutdown and the main window's own handlers.
#pragma once
#include <windows.h>

// First half: the main window received WM_CLOSE.
void BeginShutdown(HWND window);
// Second half: after the message loop (also after a failed WinSock start).
void FinishShutdown(void);

// Window procedures of the other classes registered at start.
LRESULT CALLBACK LogWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BalloonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

