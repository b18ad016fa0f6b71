#include "app/shutdown.h"


#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "sites/options_sheet.h"

#include <shellapi.h>
#include "app/config.h"
#include "ftp/control.h"
#include "ftp/session.h"
#include "listing/listing_cache.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "listing/file_list.h"
#include "ui/layout.h"
#include "ui/window_thread.h"

static void DeleteTempFile(char *path)
{
    if (path[0])
        DeleteFileA(path);
    path[0] = '\0';
}

void BeginShutdown(HWND window)
{
    // A running worker is stopped further down, after the window has gone.
    CloseSessionConnections(FALSE);
    DestroyTopLevelWindow(window);
    ConfigPutString("SESSION", CurrentSession.name);

    HCURSOR *cursors[] = {&WaitCursor, &SplitHCursor, &SplitVCursor};
    for (HCURSOR *c : cursors) {
        // The system's own wait cursor is shared and must not be destroyed.
        if (*c && *c != LoadCursorA(nullptr, (LPCSTR)IDC_APPSTARTING))
            DestroyCursor(*c);
        *c = nullptr;
    }
    HBRUSH *brushes[] = {&FaceBrush, &GreyBrush, &HighlightBrush, &RedBrush};
    for (HBRUSH *b : brushes) {
        if (*b)
            DeleteObject(*b);
        *b = nullptr;
    }
    DeleteTempFile(DirTempFile);
    ClearListingCache();
    DeleteTempFile(DspTempFile);
    if (LocalListWindow)
        DragAcceptFiles(LocalListWindow, FALSE);
    if (RemoteListWindow)
        DragAcceptFiles(RemoteListWindow, FALSE);
    TerminateTransferWorker();
    RunWindowThreadJobs();
    PostQuitMessage(0);
    QuitRequested = TRUE;
    TransferLockValid = FALSE;
    DeleteCriticalSection(&TransferLock);
}

static void DeleteMatching(const char *folder, const char *pattern)
{
    char spec[MAX_PATH];
    snprintf(spec, sizeof spec, "%s%s", folder, pattern);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(spec, &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s%s", folder, found.cFileName);
        DeleteFileA(path);
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

void FinishShutdown(void)
{
    CloseSessionConnections(FALSE);
    WSACleanup();
    if (TempFolder[0]) {
        DeleteMatching(TempFolder, "DSP*.*");
        DeleteMatching(TempFolder, "EDT*.*");
    }
    if (AppInstance) {
        WNDCLASSA wc;
        if (GetClassInfoA(AppInstance, AppTitle, &wc) && wc.hbrBackground)
            DeleteObject(wc.hbrBackground);
    }
    if (SharedPopupMenu) {
        while (GetMenuItemCount(SharedPopupMenu) > 0)
            RemoveMenu(SharedPopupMenu, 0, MF_BYPOSITION);
        DestroyMenu(SharedPopupMenu);
        SharedPopupMenu = nullptr;
    }
    UnregisterClassA(AppTitle, AppInstance);
    UnregisterClassA("VELTRDBWNDC", AppInstance);
    UnregisterClassA("VELTRBALLOONWND", AppInstance);
    ReleaseRowBitmaps();
    DeleteListFonts();
    DeleteTextFont();
    for (HBITMAP &b : FileTypeBitmaps) {
        if (b)
            DeleteObject(b);
        b = nullptr;
    }
    if (SplashWindow) {
        DestroyWindow(SplashWindow);
        SplashWindow = nullptr;
    }
}
