// Shared by the layout's Win32 files: the child table.
#pragma once
#include <windows.h>

struct ChildRow {
    const char *windowClass;
    UINT captionId;   // 0: none
    UINT tipId;       // 0: none
    int id;           // control id, 0 for none
    DWORD style;
    int slot;         // LayoutSlot, or -1 for children placed otherwise
    HWND window = nullptr;
    WNDPROC originalProc = nullptr;
};

extern ChildRow ChildTable[];
extern const int ChildCount;
ChildRow *ChildRowOf(HWND child);
// The hidden list that gives the drive list.
HWND HiddenDriveList(void);
