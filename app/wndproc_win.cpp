// The main window procedure: each message goes to one handler; OnCommand
// hands each command to the subsystem that owns it.
#include <stdio.h>
#include <string.h>

#include "app/app.h"

#include <shellapi.h>
#include "app/commands.h"
#include "app/dispatch.h"
#include "app/geometry.h"
#include "app/shutdown.h"
#include "ftp/control.h"
#include "listing/file_list.h"
#include "listing/host_library.h"
#include "listing/local_list.h"
#include "resources/resource.h"
#include "sites/options_sheet.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"
#include "ui/msglog.h"

static void OnCreate(HWND window)
{
    ArrowCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    WaitCursor = LoadCursorA(nullptr, (LPCSTR)IDC_APPSTARTING);
    if (!WaitCursor)
        WaitCursor = LoadCursorA(AppInstance, "MYWAITCURSOR");
    SplitHCursor = LoadCursorA(AppInstance, "SPLITH");
    SplitVCursor = LoadCursorA(AppInstance, "SPLITV");
    SharedPopupMenu = CreatePopupMenu();
    FaceBrush = CreateSolidBrush(FaceColor);
    GreyBrush = CreateSolidBrush(RGB(128, 128, 128));
    HighlightBrush = CreateSolidBrush(GetSysColor(COLOR_3DHILIGHT));
    RedBrush = CreateSolidBrush(RGB(255, 0, 0));

    DWORD n = GetTempPathA(sizeof TempFolder, TempFolder);
    if (n == 0 || n >= sizeof TempFolder)
        snprintf(TempFolder, sizeof TempFolder, "%s", ".\\");
    CreateChildWindows(window);
    CreateListFonts();
    RECT client;
    GetClientRect(window, &client);
    OnMainSize(window, SIZE_RESTORED, client.right, client.bottom);
    StartLocalPane();
    HMENU system = GetSystemMenu(window, FALSE);
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system, MF_STRING, IDM_ABOUT, LoadText(IDS_MENU_ABOUT));
    AppendMenuA(system, MF_STRING, IDM_SHOW_LOG, LoadText(IDS_MENU_SHOW_LOG));
    SendMessageA(window, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
    UpdateButtons();

    if (GetTempFileNameA(TempFolder, "DIR", 0, DirTempFile))
        DeleteFileA(DirTempFile);
    else
        DirTempFile[0] = '\0';
    if (!GetTempFileNameA(TempFolder, "DSP", 0, DspTempFile))
        DspTempFile[0] = '\0';

    DragAcceptFiles(LocalListWindow, TRUE);
    DragAcceptFiles(RemoteListWindow, TRUE);
    // Files dropped on the minimized window are uploaded.
    DragAcceptFiles(window, TRUE);
}

static LRESULT OnControlColor(HDC dc, HWND child)
{
    SetBkColor(dc, FaceColor);
    for (HWND line : MessageLines) {
        if (child == line) {
            char text[128];
            GetWindowTextA(child, text, sizeof text);
            SetTextColor(dc, MessageLineColor(text));
            break;
        }
    }
    return (LRESULT)(FaceBrush ? FaceBrush : GetStockObject(LTGRAY_BRUSH));
}

static void OnCommand(HWND window, int id, HWND control, int notify)
{
    RunCommand(window, id, control, notify);
    // Buttons follow every command and list notification.
    UpdateButtons();
}

static LRESULT OnListKey(HWND window, WPARAM wParam, HWND list)
{
    if (list != LocalListWindow && list != RemoteListWindow)
        return -1;
    return FileListKey(window, list, LOWORD(wParam), (short)HIWORD(wParam));
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        MainWindow = window;
        OnCreate(window);
        return 0;
    case WM_SIZE:
        OnMainSize(window, (UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnMainPaint(window);
        return 0;
    case WM_SETCURSOR:
        if (OnMainSetCursor(window, (HWND)wParam, LOWORD(lParam)))
            return TRUE;
        break;
    case WM_MOUSEMOVE:
        OnSplitterMouseMove(window, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnSplitterButtonDown(window, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnSplitterButtonUp(window, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_MEASUREITEM:
        OnMeasureFileRow(window, (MEASUREITEMSTRUCT *)lParam);
        return TRUE;
    case WM_DRAWITEM:
        OnDrawFileRow((const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_COMPAREITEM:
        return OnCompareFileRows((const COMPAREITEMSTRUCT *)lParam);
    case WM_DELETEITEM:
        OnDeleteFileRow((const DELETEITEMSTRUCT *)lParam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColor((HDC)wParam, (HWND)lParam);
    case WM_VSCROLL:
        if ((HWND)lParam == MessageScrollBar) {
            if (LOWORD(wParam) == SB_LINEUP)
                ScrollLogDisplay(-1);
            else if (LOWORD(wParam) == SB_LINEDOWN)
                ScrollLogDisplay(+1);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (InMessageArea(window, (short)LOWORD(lParam), (short)HIWORD(lParam)))
            OpenLogWindow();
        return 0;
    case WM_RBUTTONUP: {
        POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ClientToScreen(window, &p);
        HWND over = ChildWindowFromPoint(window, {(short)LOWORD(lParam), (short)HIWORD(lParam)});
        ShowMainContextMenu(over == window ? nullptr : over, p.x, p.y);
        return 0;
    }
    case WM_CONTEXTMENU:
        if ((HWND)wParam == LocalListWindow || (HWND)wParam == RemoteListWindow) {
            ShowMainContextMenu((HWND)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
            return 0;
        }
        break;
    case WM_DROPFILES:
        DroppedFiles((HDROP)wParam);
        return 0;
    case WM_VKEYTOITEM:
        return OnListKey(window, wParam, (HWND)lParam);
    case WM_KEYDOWN:
        if (wParam == VK_F1 || wParam == VK_F2) {
            OpenHelpPage(140);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == BLOCKING_TIMER_ID) {
            OnBlockingTimer(window);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUT || wParam == IDM_ABOUT) {
            HostShowAboutBox(window);
            return 0;
        }
        if (wParam == IDM_SHOW_LOG) {
            OpenLogWindow();
            return 0;
        }
        break;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), (HWND)lParam, HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        BeginShutdown(window);
        return 0;
    case WM_DESTROY:
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
