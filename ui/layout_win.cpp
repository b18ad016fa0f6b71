// The main window's children: the file lists and the three message lines
// with their scroll bar, placed in dialog-unit proportions of the client.
#include "ui/layout.h"

#include "app/app.h"
#include "app/geometry.h"
#include "app/settings.h"
#include "resources/resource.h"
#include "ui/msglog.h"

HWND LocalListWindow, RemoteListWindow;
HWND MessageLines[3];
HWND MessageScrollBar;
static RECT MessageArea;

void CreateChildWindows(HWND mainWindow)
{
    for (HWND &line : MessageLines)
        line = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                               0, 0, 0, 0, mainWindow, nullptr, AppInstance, nullptr);
    MessageScrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT,
                                       0, 0, 0, 0, mainWindow, (HMENU)IDC_MESSAGE_SCROLL,
                                       AppInstance, nullptr);
    DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                      LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT |
                      LBS_USETABSTOPS;
    LocalListWindow = CreateWindowExA(0, "LISTBOX", "", listStyle, 0, 0, 0, 0, mainWindow,
                                      (HMENU)IDC_LOCAL_LIST, AppInstance, nullptr);
    RemoteListWindow = CreateWindowExA(0, "LISTBOX", "", listStyle, 0, 0, 0, 0, mainWindow,
                                       (HMENU)IDC_REMOTE_LIST, AppInstance, nullptr);
    SetMessageLineWindows(MessageLines[0], MessageLines[1], MessageLines[2]);
}

void LayoutChildWindows(HWND mainWindow, int width, int height)
{
    (void)mainWindow;
    const int X = DialogUnitX > 0 ? DialogUnitX : 8;
    const int Y = DialogUnitY > 0 ? DialogUnitY : 16;
    const int W = width < 200 ? 200 : width;
    const int H = height < 100 ? 100 : height;
    const int T = GlobalSettings.buttonsOnTop ? 12 * Y / 8 : 0;

    int D = MainGeometry[GEO_PANE];
    if (D <= 0 || D > W)
        D = 33 * X;
    if (D > W - 33 * X / 4 - 30)
        D = W - 33 * X / 4 - 30;
    if (D < 17 * X)
        D = 17 * X;
    MainGeometry[GEO_PANE] = D;

    const int paneTop = T + 31 * Y / 8;
    const int paneHeight = H - 54 * Y / 8 - 31 * Y / 8;
    const int localLeft = 7 * X / 4;
    const int localWidth = D - 4 * X - 2 * X - 7 * X / 4;
    const int remoteLeft = D + X;
    const int remoteWidth = W - 2 * X - (D + X);
    MoveWindow(LocalListWindow, localLeft, paneTop, localWidth, paneHeight, TRUE);
    MoveWindow(RemoteListWindow, remoteLeft, paneTop, remoteWidth, paneHeight, TRUE);

    const int lineX = 10 * X / 4;
    const int lineWidth = W - 27 * X / 4;
    const int offsets[3] = {38, 30, 22};
    for (int i = 0; i < 3; i++)
        MoveWindow(MessageLines[i], lineX, T + H - offsets[i] * Y / 8, lineWidth, Y, TRUE);
    const int barX = W - 16 * X / 4;
    MoveWindow(MessageScrollBar, barX, T + H - 38 * Y / 8, 10 * X / 4, 3 * Y, TRUE);
    SetRect(&MessageArea, lineX - 5, T + H - 38 * Y / 8, barX + 10 * X / 4 + 5, T + H - 38 * Y / 8 + 3 * Y);
}

BOOL InMessageArea(HWND mainWindow, int x, int y)
{
    (void)mainWindow;
    POINT p = {x, y};
    return PtInRect(&MessageArea, p);
}
