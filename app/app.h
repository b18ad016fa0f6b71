// Process-wide state of the program and the services of start-up: the
// blocking hook, dialog centring, file search and the exported CINFO record.
//
// Everything here lives on the user-interface thread unless stated; the
// transfer worker reads these values but only writes the busy flag, under
// TransferLock.
#pragma once
#include <winsock2.h>
#include <windows.h>

extern HINSTANCE AppInstance;
extern char AppTitle[32];                 // "Veltro Lite"; also the main class name
extern BOOL ThreadsAvailable;             // transfers may run on a worker thread
extern CRITICAL_SECTION TransferLock;     // guards the worker's busy flag
extern BOOL TransferLockValid;            // the lock may be entered
extern WSADATA WinSockInfo;
extern BOOL Unattended;                   // started with a command line to carry out
extern char CommandLine[512];
extern HWND SplashWindow;
extern HWND MainWindow;
extern HWND ModelessDialog;               // gets IsDialogMessage in the message loop
extern HACCEL Accelerators;
extern BOOL QuitRequested;
extern int DialogUnitX, DialogUnitY;
extern COLORREF FaceColor;
extern char StartFolder[150];
extern char TempFolder[130];
extern char IniPath[256];
extern char *HelpPath, *ExtPath, *CnvPath;
extern char DirTempFile[MAX_PATH];        // listing file name ("DIR" prefix)
extern char DspTempFile[MAX_PATH];        // folder report file ("DSP" prefix)

// Main window geometry: left, top, width, height, pane divider, log divider.
extern int MainGeometry[6];

// Cursors, brushes and bitmaps made at window creation / start-up.
extern HCURSOR ArrowCursor, WaitCursor, SplitHCursor, SplitVCursor;
extern HBRUSH FaceBrush, GreyBrush, HighlightBrush, RedBrush;
extern HMENU SharedPopupMenu;
enum { BMP_DIR, BMP_TXT, BMP_UNK, BMP_DUP, BMP_DSK, BMP_LNK, BMP_COUNT };
extern HBITMAP FileTypeBitmaps[BMP_COUNT];

// The blocking hook: takes one waiting message (accelerators first) and
// dispatches it. Returns TRUE when a message was handled. Every socket wait
// calls the hook of its thread between short select slices.
BOOL CALLBACK BlockingHook(void);

// Centres a dialog over the main window (offset 0) or its parent (offset
// non-zero, added to the top), keeping it on the desktop.
void CenterWindow(HWND window, int verticalOffset);

// Destroys a top-level window of this thread without the separate hide
// step DestroyWindow takes for a visible one, then has the area it covered
// repainted. Under X11 without a window manager that hide step waits 2 s
// for an acknowledgement that never comes. The activation passes to the
// owner first when the window holds it.
void DestroyTopLevelWindow(HWND window);

// Finds a program file: current folder (as full path, then joined), the
// program's folder, the Windows folder. Fills buffer when given, else returns
// a new allocation (free with free()).
char *SearchProgramFile(const char *name, char *buffer);

// Loads a string-table text into a static rotating buffer (128 bytes each).
const char *LoadText(UINT id);

// Shows a message box with AppTitle as caption.
int MessageText(HWND owner, const char *text, UINT flags);

// Writes the two start-up banner lines.
void WriteBanner(void);

extern "C" LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern "C" void *WINAPI PreInitCINFO(void *record, DWORD first, DWORD second,
                                                            DWORD third, DWORD fourth);
