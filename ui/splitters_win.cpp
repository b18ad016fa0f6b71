// Mouse work on the main window and its children: the two splitters, the
// header-boundary drags and the balloon tips.
#include <stdio.h>

#include "app/app.h"
#include "app/geometry.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "ui/drag_drop.h"
#include "ui/layout.h"
#include "ui/layout_internal.h"

static HCURSOR HeaderCursor;

// An inverted band across the whole client area, children included.
static void InvertBand(HWND mainWindow, bool vertical, int at, int thickness, int from, int to)
{
    HDC dc = GetDCEx(mainWindow, nullptr, DCX_CACHE);
    RECT client;
    GetClientRect(mainWindow, &client);
    if (vertical)
        PatBlt(dc, at - thickness / 2, from, thickness, to - from, DSTINVERT);
    else
        PatBlt(dc, client.left, at - thickness / 2, client.right, thickness, DSTINVERT);
    ReleaseDC(mainWindow, dc);
}

static int Dragging;    // 0 none, 1 pane divider, 2 log divider
static int DragAt;

BOOL OnSplitterButtonDown(HWND mainWindow, int x, int y)
{
    int which = SplitterAt(CurrentLayout(), x, y);
    if (!which)
        return FALSE;
    Dragging = which;
    DragAt = which == 1 ? x : y;
    SetCapture(mainWindow);
    RECT client;
    GetClientRect(mainWindow, &client);
    InvertBand(mainWindow, which == 1, DragAt, 3, 0, client.bottom);
    return TRUE;
}

BOOL OnSplitterMouseMove(HWND mainWindow, int x, int y)
{
    HideBalloonTip();
    if (!Dragging)
        return FALSE;
    RECT client;
    GetClientRect(mainWindow, &client);
    InvertBand(mainWindow, Dragging == 1, DragAt, 3, 0, client.bottom);
    DragAt = Dragging == 1 ? x : y;
    InvertBand(mainWindow, Dragging == 1, DragAt, 3, 0, client.bottom);
    return TRUE;
}

BOOL OnSplitterButtonUp(HWND mainWindow, int x, int y)
{
    if (!Dragging)
        return FALSE;
    ReleaseCapture();
    RECT client;
    GetClientRect(mainWindow, &client);
    InvertBand(mainWindow, Dragging == 1, DragAt, 3, 0, client.bottom);
    // A drop at or beyond the left or top edge counts as the far edge, not
    // as "unset" (which would mean the default position).
    if (Dragging == 1)
        MainGeometry[GEO_PANE] = x > 1 ? x : 1;
    else
        MainGeometry[GEO_LOG] = y > 1 ? y : 1;
    Dragging = 0;
    LayoutChildWindows(mainWindow, client.right, client.bottom);
    return TRUE;
}

BOOL OnMainSetCursor(HWND mainWindow, HWND over, int hitTest)
{
    if (CommandBusy > 0) {
        SetCursor(WaitCursor);
        return TRUE;
    }
    if (over != mainWindow || hitTest != HTCLIENT)
        return FALSE;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(mainWindow, &p);
    SetCursor(SplitterAt(CurrentLayout(), p.x, p.y) == 1 ? SplitHCursor : ArrowCursor);
    return TRUE;
}

// Balloon tips: one shown at a time, for the child whose tip id it carries.
static HWND Balloon;
static UINT BalloonTip;

void HideBalloonTip(void)
{
    if (Balloon)
        DestroyWindow(Balloon);
    Balloon = nullptr;
    BalloonTip = 0;
}

static void ShowBalloonTip(HWND child, UINT tip)
{
    if (!GlobalSettings.balloon || tip == BalloonTip)
        return;
    HideBalloonTip();
    if (!tip)
        return;
    const char *text = LoadText(tip);
    HWND main = GetParent(child);
    HDC dc = GetDC(main);
    HGDIOBJ old = SelectObject(dc, ChildFont);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, old);
    ReleaseDC(main, dc);
    POINT p;
    GetCursorPos(&p);
    Balloon = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "VELTRBALLOONWND", text,
                              WS_POPUP, p.x + 5, p.y + 10, extent.cx + 8, extent.cy + 4, main, nullptr,
                              AppInstance, nullptr);
    if (Balloon) {
        BalloonTip = tip;
        ShowWindow(Balloon, SW_SHOWNOACTIVATE);
    }
}

// Header-boundary drags. The boundary index, the header's pane, and the
// line's x in main-window client coordinates.
static int HeaderDrag = -1;
static uint32_t HeaderPane;
static int HeaderLineX;
static int HeaderScroll;

static bool HeaderOf(int id, uint32_t *pane, int *button)
{
    if (id >= IDC_LOCAL_HEADER0 && id < IDC_LOCAL_HEADER0 + 5) {
        *pane = 0;
        *button = id - IDC_LOCAL_HEADER0;
        return true;
    }
    if (id >= IDC_REMOTE_HEADER0 && id < IDC_REMOTE_HEADER0 + 5) {
        *pane = 1;
        *button = id - IDC_REMOTE_HEADER0;
        return true;
    }
    return false;
}

static int EdgeMargin(void)
{
    return 6;
}

static int BoundaryUnder(HWND header, int button, int x)
{
    RECT r;
    GetClientRect(header, &r);
    return BoundaryAtHeaderPoint(button, x, r.right, EdgeMargin());
}

static void HeaderLine(HWND mainWindow)
{
    const LayoutRect &pane = CurrentLayout().slot[HeaderPane ? SLOT_REMOTE_PANE : SLOT_LOCAL_PANE];
    InvertBand(mainWindow, true, HeaderLineX, 1, pane.y, pane.y + pane.height);
}

static int LineX(int mouseInMain)
{
    const LayoutRect &pane = CurrentLayout().slot[HeaderPane ? SLOT_REMOTE_PANE : SLOT_LOCAL_PANE];
    const int *bounds = PaneColumns(HeaderPane);
    const int relative = LimitBoundaryDrag(bounds, HeaderDrag, mouseInMain - pane.x + HeaderScroll);
    return pane.x + relative - HeaderScroll;
}

// Moves the drag line to x of the header (the old line is erased first).
static void MoveHeaderLine(HWND header, int x)
{
    POINT p = {x, 0};
    MapWindowPoints(header, GetParent(header), &p, 1);
    HeaderLine(GetParent(header));
    HeaderLineX = LineX(p.x);
    HeaderLine(GetParent(header));
}

static void EndHeaderDrag(HWND header, bool apply)
{
    HWND main = GetParent(header);
    HeaderLine(main);
    const int drag = HeaderDrag;
    HeaderDrag = -1;
    if (GetCapture() == header)
        ReleaseCapture();
    if (!apply)
        return;
    const LayoutRect &pane = CurrentLayout().slot[HeaderPane ? SLOT_REMOTE_PANE : SLOT_LOCAL_PANE];
    DropBoundary(PaneColumns(HeaderPane), drag, HeaderLineX - pane.x + HeaderScroll);
    HWND list = HeaderPane ? RemoteListWindow : LocalListWindow;
    PlaceHeaders(list);
    InvalidateRect(list, nullptr, TRUE);
}

// Header messages; TRUE when taken.
static BOOL HeaderMessage(HWND header, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    uint32_t pane;
    int button;
    if (!HeaderOf(id, &pane, &button))
        return FALSE;
    const int x = (short)LOWORD(lParam);
    switch (message) {
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(header, &p);
        if (HeaderDrag < 0 && BoundaryUnder(header, button, p.x) < 0)
            return FALSE;
        if (!HeaderCursor)
            HeaderCursor = LoadCursorA(AppInstance, "SPLITH1");
        SetCursor(HeaderCursor ? HeaderCursor : SplitHCursor);
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        const int boundary = BoundaryUnder(header, button, x);
        if (boundary < 0)
            return FALSE;
        HeaderDrag = boundary;
        HeaderPane = pane;
        HeaderScroll = GetScrollPos(pane ? RemoteListWindow : LocalListWindow, SB_HORZ);
        POINT p = {x, 0};
        MapWindowPoints(header, GetParent(header), &p, 1);
        HeaderLineX = LineX(p.x);
        SetCapture(header);
        HeaderLine(GetParent(header));
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (HeaderDrag < 0)
            return FALSE;
        MoveHeaderLine(header, x);
        return TRUE;
    case WM_LBUTTONUP:
        if (HeaderDrag < 0)
            return FALSE;
        MoveHeaderLine(header, x);   // the drop is where the button comes up
        EndHeaderDrag(header, true);
        return TRUE;
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
        if (HeaderDrag < 0 || (HWND)lParam == header)
            return FALSE;
        EndHeaderDrag(header, false);
        return message == WM_RBUTTONDOWN;
    }
    (void)wParam;
    return FALSE;
}

LRESULT CALLBACK ChildWindowProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChildRow *row = ChildRowOf(child);
    WNDPROC original = row ? row->originalProc : nullptr;
    if (row) {
        if (message == WM_MOUSEMOVE)
            ShowBalloonTip(child, row->tipId);
        if (HeaderMessage(child, row->id, message, wParam, lParam))
            return 0;
        if (message == WM_KEYDOWN && wParam == VK_RETURN &&
            (row->id == IDC_LOCAL_MASK || row->id == IDC_REMOTE_MASK)) {
            PostMessageA(GetParent(child), WM_COMMAND, MAKEWPARAM(row->id, CHILD_ENTER), (LPARAM)child);
            return 0;
        }
        if (message == WM_CHAR && wParam == '\r' && (row->id == IDC_LOCAL_MASK || row->id == IDC_REMOTE_MASK))
            return 0;
        if (row->id == IDC_LOCAL_LIST || row->id == IDC_REMOTE_LIST) {
            if (message == WM_LBUTTONDOWN && !(wParam & (MK_SHIFT | MK_CONTROL)) &&
                RunDragLoop(child, (short)LOWORD(lParam), (short)HIWORD(lParam))) {
                SetFocus(child);
                return 0;
            }
            if (message == WM_DROPFILES) {
                OnDropFiles(child, (HDROP)wParam);
                return 0;
            }
        }
    }
    LRESULT result = original ? CallWindowProcA(original, child, message, wParam, lParam)
                              : DefWindowProcA(child, message, wParam, lParam);
    if (row && (message == WM_HSCROLL || message == WM_SIZE) &&
        (row->id == IDC_LOCAL_LIST || row->id == IDC_REMOTE_LIST))
        PlaceHeaders(child);
    if (message == WM_NCDESTROY && row && original) {
        SetWindowLongPtrA(child, GWLP_WNDPROC, (LONG_PTR)original);
        row->originalProc = nullptr;
        row->window = nullptr;
    }
    return result;
}
