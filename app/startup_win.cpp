// Process-wide state and the small services of start-up: file search,
// the splash window, dialog centring, the banner, the blocking hook and the
// exported CINFO record.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/geometry.h"
#include "resources/resource.h"
#include "ui/log.h"

HINSTANCE AppInstance;
char AppTitle[32] = "Veltro Lite";
BOOL ThreadsAvailable;
CRITICAL_SECTION TransferLock;
BOOL TransferLockValid;
WSADATA WinSockInfo;
BOOL Unattended;
char CommandLine[512];
HWND SplashWindow;
HWND MainWindow;
HWND ModelessDialog;
HACCEL Accelerators;
BOOL QuitRequested;
int DialogUnitX, DialogUnitY;
COLORREF FaceColor;
char StartFolder[150];
char TempFolder[130];
char IniPath[256];
char *HelpPath, *ExtPath, *CnvPath;
char DirTempFile[MAX_PATH];
char DspTempFile[MAX_PATH];
int MainGeometry[6];
HCURSOR ArrowCursor, WaitCursor, SplitHCursor, SplitVCursor;
HBRUSH FaceBrush, GreyBrush, HighlightBrush, RedBrush;
HMENU SharedPopupMenu;
HBITMAP FileTypeBitmaps[BMP_COUNT];

const char *LoadText(UINT id)
{
    static thread_local char buffers[8][128];
    static thread_local int next;
    char *b = buffers[next];
    next = (next + 1) % 8;
    if (LoadStringA(AppInstance, id, b, sizeof buffers[0]) <= 0)
        snprintf(b, sizeof buffers[0], "#%u", id);
    return b;
}

int MessageText(HWND owner, const char *text, UINT flags)
{
    return MessageBoxA(owner, text, AppTitle, flags);
}

static BOOL FileExists(const char *path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

char *SearchProgramFile(const char *name, char *buffer)
{
    char candidate[MAX_PATH + 1];
    char found[MAX_PATH + 1] = "";
    char folder[MAX_PATH + 1];

    // 1. the name as a full path against the current folder
    if (GetFullPathNameA(name, MAX_PATH, candidate, nullptr) && FileExists(candidate))
        snprintf(found, sizeof found, "%s", candidate);
    // 2. the current folder and the name
    if (!found[0] && GetCurrentDirectoryA(MAX_PATH, folder)) {
        size_t n = strlen(folder);
        snprintf(candidate, sizeof candidate, "%s%s%s", folder,
                 (n && folder[n - 1] == '\\') ? "" : "\\", name);
        if (FileExists(candidate))
            snprintf(found, sizeof found, "%s", candidate);
    }
    // 3. the program's own folder
    if (!found[0] && GetModuleFileNameA(nullptr, folder, MAX_PATH)) {
        char *slash = strrchr(folder, '\\');
        if (slash) {
            slash[1] = '\0';
            snprintf(candidate, sizeof candidate, "%s%s", folder, name);
            if (FileExists(candidate))
                snprintf(found, sizeof found, "%s", candidate);
        }
    }
    // 4. the Windows folder, taken even when nothing is there
    if (!found[0]) {
        if (GetWindowsDirectoryA(folder, MAX_PATH))
            snprintf(found, sizeof found, "%s\\%s", folder, name);
        else
            snprintf(found, sizeof found, "%s", name);
    }
    found[MAX_PATH - 1] = '\0';
    if (buffer) {
        snprintf(buffer, MAX_PATH, "%s", found);
        return buffer;
    }
    size_t size = strlen(found) + 2;
    char *copy = (char *)malloc(size);
    if (!copy)
        return (char *)name;
    snprintf(copy, size, "%s", found);
    return copy;
}

void CenterWindow(HWND window, int verticalOffset)
{
    RECT w, d;
    GetWindowRect(window, &w);
    GetWindowRect(GetDesktopWindow(), &d);
    PlaceRect desktop = {d.left, d.top, d.right - d.left, d.bottom - d.top};
    PlaceRect reference = desktop;
    BOOL mainShown = MainWindow && IsWindow(MainWindow) && !IsIconic(MainWindow) &&
                     IsWindowVisible(MainWindow);
    HWND parent = GetParent(window);
    if (parent && mainShown) {
        RECT r;
        GetWindowRect(verticalOffset == 0 ? MainWindow : parent, &r);
        reference = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    if (MainWindow && IsIconic(MainWindow))
        reference = desktop;
    int left, top;
    CenterInRect(w.right - w.left, w.bottom - w.top, reference, desktop, verticalOffset, &left, &top);
    SetWindowPos(window, nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void DestroyTopLevelWindow(HWND window)
{
    RECT area;
    bool onScreen = IsWindowVisible(window) && !IsIconic(window) && GetWindowRect(window, &area);
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && GetActiveWindow() == window && IsWindowVisible(owner))
        SetActiveWindow(owner);
    SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) & ~(LONG_PTR)WS_VISIBLE);
    DestroyWindow(window);
    if (onScreen)
        RedrawWindow(nullptr, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WriteBanner(void)
{
    LogFormat("WINSOCK.DLL: %s", WinSockInfo.szDescription);
    LogFormat("%s %s %s, %s", AppTitle, VELTRO_VERSION_TEXT, VELTRO_BUILD_DATE, VELTRO_BANNER_NOTE);
}

BOOL CALLBACK BlockingHook(void)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    if (msg.message == WM_QUIT) {
        // Leave the quit for the message loop.
        PostQuitMessage((int)msg.wParam);
        return TRUE;
    }
    if (!Accelerators || !MainWindow || !TranslateAcceleratorA(MainWindow, Accelerators, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static HBITMAP bitmap;
    switch (message) {
    case WM_CREATE:
        bitmap = LoadBitmapA(AppInstance, "BMPSPLASH");
        return 0;
    case WM_DESTROY:
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (bitmap) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bitmap);
            BITMAP info;
            GetObjectA(bitmap, sizeof info, &info);
            BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        EndPaint(window, &ps);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The connection-information record handed to outside callers.
extern "C" void *WINAPI PreInitCINFO(void *record, DWORD first, DWORD second,
                                                            DWORD third, DWORD fourth)
{
    if (!record)
        return nullptr;
    unsigned char *r = (unsigned char *)record;
    memset(r, 0, 2056);
    auto put = [r](int offset, DWORD value) { memcpy(r + offset, &value, 4); };
    auto address = [r](int offset, int target) {
        // The record holds 32-bit addresses; on 64-bit Windows the low half.
        DWORD value = (DWORD)(UINT_PTR)(r + target);
        memcpy(r + offset, &value, 4);
    };
    put(0, 0);
    put(4, 6000);
    put(8, 19970418);
    put(12, fourth);
    put(24, 1);
    address(36, 788);
    address(40, 1044);
    address(60, 116);
    address(64, 372);
    address(68, 628);
    address(72, 708);
    put(76, 0xFFFFFFFFu);
    put(1304, first);
    put(1308, second);
    put(1724, third);
    put(2012, 4096);
    put(2024, 4096);
    put(2036, 4096);
    return record;
}
