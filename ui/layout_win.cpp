// The main window's child table, its creation, the layout and the painting
// of frames and pane titles.
#include "ui/layout.h"

#include <stdio.h>

#include "app/app.h"
#include "app/config.h"
#include "app/geometry.h"
#include "app/settings.h"
#include "listing/file_list.h"
#include "listing/file_rows.h"
#include "resources/resource.h"
#include "transfer/transfer.h"
#include "ui/layout_internal.h"
#include "ui/msglog.h"

HWND LocalListWindow, RemoteListWindow;
HWND MessageLines[3];
HWND MessageScrollBar;
HFONT ChildFont;
static LayoutResult Layout;
static bool LayoutRunning;
static HWND HiddenList;

enum : DWORD {
    BUTTON = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
    RADIO = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON,
    CHECK = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
    HEADER = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
    TEXT = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
    FOLDER_BOX = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
    MASK = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
    LIST = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
           LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT,
};
#define NO_SLOT -1

// The child table, in creation (and tab) order.
ChildRow ChildTable[] = {
    {"COMBOBOX", 0, 0, IDC_LOCAL_FOLDER_BOX, FOLDER_BOX, SLOT_LOCAL_FOLDER},
    {"COMBOBOX", 0, 0, IDC_REMOTE_FOLDER_BOX, FOLDER_BOX, SLOT_REMOTE_FOLDER},
    {"STATIC", 0, 0, 0, TEXT, SLOT_LINE0},
    {"STATIC", 0, 0, 0, TEXT, SLOT_LINE1},
    {"STATIC", 0, 0, 0, TEXT, SLOT_LINE2},
    {"STATIC", 0, 0, 0, TEXT, SLOT_STATUS0},
    {"STATIC", 0, 0, 0, TEXT | SS_RIGHT, SLOT_STATUS1},
    {"SCROLLBAR", 0, 0, IDC_MESSAGE_SCROLL, WS_CHILD | WS_VISIBLE | SBS_VERT, SLOT_SCROLL},
    {"LISTBOX", 0, 0, IDC_HIDDEN_LIST, WS_CHILD | LBS_NOTIFY, NO_SLOT},
    {"BUTTON", IDS_CAP_UPLOAD, IDS_TIP_UPLOAD, IDM_UPLOAD, BUTTON, SLOT_UPLOAD},
    {"BUTTON", IDS_CAP_DOWNLOAD, IDS_TIP_DOWNLOAD, IDM_DOWNLOAD, BUTTON, SLOT_DOWNLOAD},
    {"BUTTON", IDS_CAP_CHGDIR, IDS_TIP_CHGDIR, IDM_LOCAL_CHDIR, BUTTON, SLOT_LOCAL_BUTTON0},
    {"BUTTON", IDS_CAP_MKDIR, IDS_TIP_MKDIR, IDM_LOCAL_MKDIR, BUTTON, SLOT_LOCAL_BUTTON0 + 1},
    {"EDIT", IDS_CAP_MASK, IDS_TIP_LOCAL_MASK, IDC_LOCAL_MASK, MASK, SLOT_LOCAL_BUTTON0 + 2},
    {"BUTTON", IDS_CAP_VIEW, IDS_TIP_VIEW, IDM_LOCAL_VIEW, BUTTON, SLOT_LOCAL_BUTTON0 + 3},
    {"BUTTON", IDS_CAP_EXEC, IDS_TIP_EXEC, IDM_LOCAL_EXEC, BUTTON, SLOT_LOCAL_BUTTON0 + 4},
    {"BUTTON", IDS_CAP_RENAME, IDS_TIP_RENAME, IDM_LOCAL_RENAME, BUTTON, SLOT_LOCAL_BUTTON0 + 5},
    {"BUTTON", IDS_CAP_DELETE, IDS_TIP_DELETE, IDM_LOCAL_DELETE, BUTTON, SLOT_LOCAL_BUTTON0 + 6},
    {"BUTTON", IDS_CAP_REFRESH, IDS_TIP_REFRESH, IDM_LOCAL_REFRESH, BUTTON, SLOT_LOCAL_BUTTON0 + 7},
    {"BUTTON", IDS_CAP_DIRINFO, IDS_TIP_DIRINFO, IDM_LOCAL_DIRINFO, BUTTON, SLOT_LOCAL_BUTTON0 + 8},
    {"BUTTON", IDS_CAP_CHGDIR, IDS_TIP_CHGDIR, IDM_REMOTE_CHDIR, BUTTON, SLOT_REMOTE_BUTTON0},
    {"BUTTON", IDS_CAP_MKDIR, IDS_TIP_MKDIR, IDM_REMOTE_MKDIR, BUTTON, SLOT_REMOTE_BUTTON0 + 1},
    {"EDIT", 0, IDS_TIP_REMOTE_MASK, IDC_REMOTE_MASK, MASK, SLOT_REMOTE_BUTTON0 + 2},
    {"BUTTON", IDS_CAP_VIEW, IDS_TIP_VIEW, IDM_REMOTE_VIEW, BUTTON, SLOT_REMOTE_BUTTON0 + 3},
    {"BUTTON", IDS_CAP_EXEC, IDS_TIP_EXEC, IDM_REMOTE_EXEC, BUTTON, SLOT_REMOTE_BUTTON0 + 4},
    {"BUTTON", IDS_CAP_RENAME, IDS_TIP_RENAME, IDM_REMOTE_RENAME, BUTTON, SLOT_REMOTE_BUTTON0 + 5},
    {"BUTTON", IDS_CAP_DELETE, IDS_TIP_DELETE, IDM_REMOTE_DELETE, BUTTON, SLOT_REMOTE_BUTTON0 + 6},
    {"BUTTON", IDS_CAP_REFRESH, IDS_TIP_REFRESH, IDM_REMOTE_REFRESH, BUTTON, SLOT_REMOTE_BUTTON0 + 7},
    {"BUTTON", IDS_CAP_DIRINFO, IDS_TIP_DIRINFO, IDM_REMOTE_DIRINFO, BUTTON, SLOT_REMOTE_BUTTON0 + 8},
    {"BUTTON", IDS_CAP_ASCII, IDS_TIP_ASCII, IDC_MODE_ASCII, RADIO | WS_GROUP, SLOT_MODE0},
    {"BUTTON", IDS_CAP_BINARY, IDS_TIP_BINARY, IDC_MODE_BINARY, RADIO, SLOT_MODE0 + 1},
    {"BUTTON", IDS_CAP_AUTO, IDS_TIP_AUTO, IDC_MODE_AUTO, CHECK | WS_GROUP, SLOT_MODE0 + 2},
    {"BUTTON", IDS_CONNECT_BUTTON, IDS_TIP_CONNECT, IDM_CONNECT, BUTTON | WS_GROUP, SLOT_BOTTOM0},
    {"BUTTON", IDS_CAP_CANCEL, IDS_TIP_CANCEL, IDM_CANCEL, BUTTON, SLOT_BOTTOM0 + 1},
    {"BUTTON", IDS_CAP_LOGWND, IDS_TIP_LOGWND, IDM_LOG_WINDOW, BUTTON, SLOT_BOTTOM0 + 2},
    {"BUTTON", IDS_CAP_HELP, IDS_TIP_HELP, IDM_HELP, BUTTON, SLOT_BOTTOM0 + 3},
    {"BUTTON", IDS_CAP_OPTIONS, IDS_TIP_OPTIONS, IDM_OPTIONS, BUTTON, SLOT_BOTTOM0 + 4},
    {"BUTTON", IDS_CAP_ABOUT, IDS_TIP_ABOUT, IDM_ABOUT, BUTTON, SLOT_BOTTOM0 + 5},
    {"BUTTON", IDS_CAP_EXIT, IDS_TIP_EXIT, IDM_EXIT, BUTTON, SLOT_BOTTOM0 + 6},
    {"LISTBOX", 0, 0, IDC_LOCAL_LIST, LIST, SLOT_LOCAL_PANE},
    {"LISTBOX", 0, 0, IDC_REMOTE_LIST, LIST, SLOT_REMOTE_PANE},
    {"BUTTON", IDS_CAP_HEADER_TYPE, IDS_TIP_SORT_TYPE, IDC_LOCAL_HEADER0, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_NAME, IDS_TIP_SORT_NAME, IDC_LOCAL_HEADER0 + 1, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_DATE, IDS_TIP_SORT_DATE, IDC_LOCAL_HEADER0 + 2, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_SIZE, IDS_TIP_SORT_SIZE, IDC_LOCAL_HEADER0 + 3, HEADER, NO_SLOT},
    {"BUTTON", 0, 0, IDC_LOCAL_HEADER0 + 4, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_TYPE, IDS_TIP_SORT_TYPE, IDC_REMOTE_HEADER0, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_NAME, IDS_TIP_SORT_NAME, IDC_REMOTE_HEADER0 + 1, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_DATE, IDS_TIP_SORT_DATE, IDC_REMOTE_HEADER0 + 2, HEADER, NO_SLOT},
    {"BUTTON", IDS_CAP_HEADER_SIZE, IDS_TIP_SORT_SIZE, IDC_REMOTE_HEADER0 + 3, HEADER, NO_SLOT},
    {"BUTTON", 0, 0, IDC_REMOTE_HEADER0 + 4, HEADER, NO_SLOT},
};
const int ChildCount = (int)(sizeof ChildTable / sizeof ChildTable[0]);

ChildRow *ChildRowOf(HWND child)
{
    for (ChildRow &row : ChildTable)
        if (row.window == child)
            return &row;
    return nullptr;
}

int *PaneColumns(uint32_t pane)
{
    return pane ? RemoteColumns : LocalColumns;
}

const LayoutResult &CurrentLayout(void)
{
    return Layout;
}

static int ScreenDpi(void)
{
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

// LOCL and LOCR, or the defaults scaled to the screen's DPI.
static void LoadColumns(const char *key, int columns[4])
{
    const int dpi = ScreenDpi();
    const int defaults[4] = {20, 140, 260, 330};
    for (int k = 0; k < 4; k++)
        columns[k] = MulDiv(defaults[k], dpi, 96);
    char text[64];
    ConfigGetString(key, "", text, sizeof text);
    int values[4];
    if (ParseIntList(text, values, 4) == 4 && values[0] > 0)
        for (int k = 0; k < 4; k++)
            columns[k] = values[k];
}

// The text font of the statics and buttons. With SCALE on it is a
// variable-pitch font of -(Y x vertical pixels per inch / 140), made again
// whenever the vertical unit Y differs from the one it was made for, and
// made smaller where a caption would not fit its control (at high DPI the
// rule outgrows the controls); otherwise the variable-pitch ANSI stock font.
static HFONT ScaledFont;
static int ScaledFontUnitY, ScaledFontHeight;

// The buttons that "Hide Command Buttons" hides: the nine of each pane's
// column, and in the alternate arrangement the two transfer buttons.
static bool IsColumnButton(int slot)
{
    return (slot >= SLOT_LOCAL_BUTTON0 && slot < SLOT_MODE0) ||
           (GlobalSettings.layout == 1 && (slot == SLOT_UPLOAD || slot == SLOT_DOWNLOAD));
}

static bool TakesTextFont(const ChildRow &row)
{
    return lstrcmpiA(row.windowClass, "STATIC") == 0 || lstrcmpiA(row.windowClass, "BUTTON") == 0;
}

// The height (pixels) at which a font made `height` high fits every static
// and button of the last layout: its line in the control's height, and a
// button's caption (without "&") in its width less the frame or the box.
static int FittedTextHeight(HFONT font, int height)
{
    HDC dc = GetDC(nullptr);
    if (!dc)
        return height;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int box = MulDiv(18, ScreenDpi(), 96), frame = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    int need[2 * (sizeof ChildTable / sizeof ChildTable[0])], room[2 * (sizeof ChildTable / sizeof ChildTable[0])];
    int n = 0;
    for (const ChildRow &row : ChildTable) {
        if (!row.window || !TakesTextFont(row) || row.slot == NO_SLOT || Layout.slot[row.slot].width <= 0 ||
            (GlobalSettings.hideButtons && IsColumnButton(row.slot)))
            continue;
        const LayoutRect &r = Layout.slot[row.slot];
        const bool isButton = lstrcmpiA(row.windowClass, "BUTTON") == 0;
        const DWORD type = row.style & BS_TYPEMASK;
        const bool boxed = isButton && (type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX);
        need[n] = tm.tmHeight;
        room[n++] = r.height - (isButton && !boxed ? 4 : 0);
        if (!isButton)
            continue;   // the message lines hold texts of any length
        char caption[64], shown[64];
        GetWindowTextA(row.window, caption, sizeof caption);
        int k = 0;
        for (const char *c = caption; *c && k < (int)sizeof shown - 1; c++)
            if (*c != '&')
                shown[k++] = *c;
        SIZE extent = {0, 0};
        if (k && GetTextExtentPoint32A(dc, shown, k, &extent)) {
            need[n] = extent.cx;
            room[n++] = r.width - (boxed ? box : frame);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return FitTextHeight(height, need, room, n);
}

static HFONT MakeTextFont(int height)
{
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof lf);
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        lf = metrics.lfMessageFont;
    lf.lfHeight = -height;
    lf.lfWidth = 0;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return CreateFontIndirectA(&lf);
}

static HFONT TextFont(int unitY)
{
    if (!GlobalSettings.scale)
        return (HFONT)GetStockObject(ANSI_VAR_FONT);
    if (ScaledFont && unitY == ScaledFontUnitY && FittedTextHeight(ScaledFont, ScaledFontHeight) >= ScaledFontHeight)
        return ScaledFont;
    int height = MulDiv(unitY, ScreenDpi(), 140);
    HFONT made = nullptr;
    // Text widths shrink about in proportion: a few rounds reach a fit.
    for (int round = 0; round < 4; round++) {
        HFONT candidate = MakeTextFont(height);
        if (!candidate)
            break;
        if (made)
            DeleteObject(made);
        made = candidate;
        const int fitted = FittedTextHeight(made, height);
        if (fitted >= height)
            break;
        height = fitted;
    }
    if (!made)
        return ScaledFont ? ScaledFont : (HFONT)GetStockObject(ANSI_VAR_FONT);
    ScaledFont = made;   // the previous one is released by ApplyTextFont
    ScaledFontUnitY = unitY;
    ScaledFontHeight = height;
    return made;
}

// Gives the statics and buttons the text font for the unit Y; a scaled font
// no longer in use is released.
static void ApplyTextFont(int unitY)
{
    HFONT previous = ScaledFont;
    HFONT font = TextFont(unitY);
    if (font != ChildFont) {
        for (const ChildRow &row : ChildTable)
            if (row.window && TakesTextFont(row))
                SendMessageA(row.window, WM_SETFONT, (WPARAM)font, TRUE);
        ChildFont = font;
    }
    if (previous && previous != ChildFont && previous != ScaledFont)
        DeleteObject(previous);
    if (ScaledFont && ScaledFont != ChildFont) {
        DeleteObject(ScaledFont);
        ScaledFont = nullptr;
    }
}

void DeleteTextFont(void)
{
    if (ScaledFont)
        DeleteObject(ScaledFont);
    ScaledFont = nullptr;
    ChildFont = nullptr;
}

// A date of wide digits in the rows' format and a ten-digit size, measured
// with the list's font.
void FitColumnsToListFont(HWND list, bool exact)
{
    if (!list)
        return;
    HDC dc = GetDC(list);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(list, WM_GETFONT, 0, 0));
    FileItem sample;
    ZeroMemory(&sample, sizeof sample);
    sample.year = 2088;
    sample.month = 8;
    sample.day = 28;
    sample.hour = 20;
    sample.minute = 58;
    char date[40], size[32];
    FormatRowDate(&sample, GlobalSettings.dateFormat, GlobalSettings.longDate, date, sizeof date);
    FormatRowSize(8888888888ull, size, sizeof size);
    SIZE dateExtent = {0, 0}, sizeExtent = {0, 0};
    GetTextExtentPoint32A(dc, date, lstrlenA(date), &dateExtent);
    GetTextExtentPoint32A(dc, size, lstrlenA(size), &sizeExtent);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const int pad = MulDiv(8, ScreenDpi(), 96);
    FitColumns(PaneColumns(list == RemoteListWindow ? 1 : 0), dateExtent.cx + pad, sizeExtent.cx + pad, exact);
    PlaceHeaders(list);
    InvalidateRect(list, nullptr, TRUE);
}

static LRESULT CALLBACK FolderEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND box = GetParent(edit);
    ChildRow *row = ChildRowOf(box);
    WNDPROC original = (WNDPROC)GetPropA(edit, "VeltroEditProc");
    if (message == WM_CHAR && (wParam == '\r' || wParam == '\t'))
        return 0;
    if (message == WM_KEYDOWN && row && (wParam == VK_RETURN || wParam == VK_TAB)) {
        HWND main = GetParent(box);
        if (wParam == VK_RETURN)
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(row->id, CHILD_ENTER), (LPARAM)box);
        else
            SetFocus(GetNextDlgTabItem(main, box, GetKeyState(VK_SHIFT) < 0));
        return 0;
    }
    return original ? CallWindowProcA(original, edit, message, wParam, lParam)
                    : DefWindowProcA(edit, message, wParam, lParam);
}

void CreateChildWindows(HWND mainWindow)
{
    // The first layout makes the text font, fitted to the controls.
    ChildFont = (HFONT)GetStockObject(ANSI_VAR_FONT);
    LoadColumns("LOCL", LocalColumns);
    LoadColumns("LOCR", RemoteColumns);
    for (ChildRow &row : ChildTable) {
        const char *caption = row.captionId ? LoadText(row.captionId) : "";
        row.window = CreateWindowExA(0, row.windowClass, caption, row.style, 0, 0, 0, 0, mainWindow,
                                     (HMENU)(INT_PTR)row.id, AppInstance, nullptr);
        if (!row.window)
            continue;
        SendMessageA(row.window, WM_SETFONT, (WPARAM)ChildFont, FALSE);
        row.originalProc = (WNDPROC)SetWindowLongPtrA(row.window, GWLP_WNDPROC, (LONG_PTR)ChildWindowProc);
        switch (row.id) {
        case IDC_LOCAL_LIST: LocalListWindow = row.window; break;
        case IDC_REMOTE_LIST: RemoteListWindow = row.window; break;
        case IDC_MESSAGE_SCROLL: MessageScrollBar = row.window; break;
        case IDC_HIDDEN_LIST: HiddenList = row.window; break;
        }
    }
    for (int k = 0; k < 3; k++)
        MessageLines[k] = ChildTable[2 + k].window;
    ProgressTextWindows[0] = ChildTable[5].window;
    ProgressTextWindows[1] = ChildTable[6].window;
    SetMessageLineWindows(MessageLines[0], MessageLines[1], MessageLines[2]);
    for (HWND list : {LocalListWindow, RemoteListWindow})
        if (list)
            SendMessageA(list, LB_SETITEMHEIGHT, 0, FileRowHeight(list));
    for (int id : {IDC_LOCAL_FOLDER_BOX, IDC_REMOTE_FOLDER_BOX}) {
        HWND edit = GetWindow(GetDlgItem(mainWindow, id), GW_CHILD);
        if (edit) {
            SetPropA(edit, "VeltroEditProc", (HANDLE)GetWindowLongPtrA(edit, GWLP_WNDPROC));
            SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)FolderEditProc);
        }
    }
    SendMessageA(GetDlgItem(mainWindow, IDC_LOCAL_MASK), EM_LIMITTEXT, 12, 0);
    SendMessageA(GetDlgItem(mainWindow, IDC_REMOTE_MASK), EM_LIMITTEXT, 19, 0);
    SetFocus(GetDlgItem(mainWindow, IDM_CONNECT));
}

HWND HiddenDriveList(void)
{
    return HiddenList;
}

void PlaceHeaders(HWND list)
{
    if (!list)
        return;
    const bool remote = list == RemoteListWindow;
    const int first = remote ? IDC_REMOTE_HEADER0 : IDC_LOCAL_HEADER0;
    const int *bounds = PaneColumns(remote ? 1 : 0);
    HWND main = GetParent(list);
    const LayoutRect &pane = Layout.slot[remote ? SLOT_REMOTE_PANE : SLOT_LOCAL_PANE];
    SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)(bounds[3] + 4), 0);
    const int scroll = GetScrollPos(list, SB_HORZ);
    int left[5], width[5];
    HeaderSpans(bounds, scroll, pane.width, left, width);
    for (int k = 0; k < 5; k++)
        MoveWindow(GetDlgItem(main, first + k), pane.x + left[k], pane.y, width[k], Layout.headerHeight, TRUE);
}

void LayoutChildWindows(HWND mainWindow, int width, int height)
{
    if (LayoutRunning)
        return;
    LayoutRunning = true;
    LayoutInput in;
    in.width = width;
    in.height = height;
    in.unitX = DialogUnitX;
    in.unitY = DialogUnitY;
    in.paneDivider = MainGeometry[GEO_PANE];
    in.logDivider = MainGeometry[GEO_LOG];
    in.buttonsOnTop = GlobalSettings.buttonsOnTop != 0;
    in.hideButtons = GlobalSettings.hideButtons != 0;
    in.arrangement = GlobalSettings.layout == 1 ? 1 : 0;
    ComputeLayout(in, &Layout);
    if (in.arrangement == 0)
        MainGeometry[GEO_PANE] = Layout.paneDivider;
    MainGeometry[GEO_LOG] = Layout.logDivider;

    const bool alternate = in.arrangement == 1;
    SetDlgItemTextA(mainWindow, IDM_UPLOAD, LoadText(alternate ? IDS_CAP_TRANSFER : IDS_CAP_UPLOAD));
    SetDlgItemTextA(mainWindow, IDM_DOWNLOAD, LoadText(alternate ? IDS_CAP_TRANSFER : IDS_CAP_DOWNLOAD));
    ApplyTextFont(Layout.unitY);
    HDWP batch = BeginDeferWindowPos(ChildCount);
    for (ChildRow &row : ChildTable) {
        if (row.slot == NO_SLOT || !row.window)
            continue;
        LayoutRect r = Layout.slot[row.slot];
        if (row.slot == SLOT_LOCAL_PANE || row.slot == SLOT_REMOTE_PANE) {
            r.y += Layout.headerHeight;
            r.height -= Layout.headerHeight;
        }
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (IsColumnButton(row.slot))
            flags |= in.hideButtons ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
        if (batch)
            batch = DeferWindowPos(batch, row.window, nullptr, r.x, r.y, r.width, r.height, flags);
    }
    if (batch)
        EndDeferWindowPos(batch);
    PlaceHeaders(LocalListWindow);
    PlaceHeaders(RemoteListWindow);
    InvalidateRect(mainWindow, nullptr, TRUE);
    LayoutRunning = false;
}

void OnMainSize(HWND mainWindow, UINT type, int width, int height)
{
    static int lastWidth, lastHeight;
    if (type == SIZE_MINIMIZED || LayoutRunning || (width == lastWidth && height == lastHeight))
        return;
    if (lastWidth > 0) {
        const int X = Layout.unitX > 0 ? Layout.unitX : 8;
        if (height != lastHeight)
            MainGeometry[GEO_LOG] = 0;
        const int D = MainGeometry[GEO_PANE];
        if (D < 33 * X || (width < lastWidth && D > width * 2 / 3))
            MainGeometry[GEO_PANE] = 0;
    }
    lastWidth = width;
    lastHeight = height;
    LayoutChildWindows(mainWindow, width, height);
}

BOOL InMessageArea(HWND mainWindow, int x, int y)
{
    (void)mainWindow;
    const LayoutRect &f = Layout.messageFrame;
    return x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height;
}

// A frame one pixel outside the rectangle: raised (light top-left) or sunken.
static void Frame(HDC dc, LayoutRect r, bool raised)
{
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    const int l = r.x - 1, t = r.y - 1, rt = r.x + r.width, b = r.y + r.height;
    HGDIOBJ old = SelectObject(dc, raised ? light : dark);
    MoveToEx(dc, l, b, nullptr);
    LineTo(dc, l, t);
    LineTo(dc, rt, t);
    SelectObject(dc, raised ? dark : light);
    LineTo(dc, rt, b);
    LineTo(dc, l - 1, b);
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
}

void OnMainPaint(HWND mainWindow)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(mainWindow, &ps);
    if (Layout.columnFrames) {
        Frame(dc, Layout.localColumn, true);
        Frame(dc, Layout.remoteColumn, true);
    }
    HGDIOBJ oldFont = SelectObject(dc, ChildFont ? (HGDIOBJ)ChildFont : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const char *local = LoadText(IDS_TITLE_LOCAL);
    TextOutA(dc, Layout.slot[SLOT_LOCAL_FOLDER].x, Layout.titleY, local, lstrlenA(local));
    const char *remote = LoadText(IDS_TITLE_REMOTE);
    TextOutA(dc, Layout.slot[SLOT_REMOTE_FOLDER].x, Layout.titleY, remote, lstrlenA(remote));
    SelectObject(dc, oldFont);
    for (HWND box : {GetDlgItem(mainWindow, IDC_LOCAL_FOLDER_BOX), GetDlgItem(mainWindow, IDC_REMOTE_FOLDER_BOX)}) {
        RECT r;
        GetWindowRect(box, &r);
        MapWindowPoints(nullptr, mainWindow, (POINT *)&r, 2);
        Frame(dc, LayoutRect{r.left, r.top, r.right - r.left, r.bottom - r.top}, false);
    }
    Frame(dc, Layout.slot[SLOT_LOCAL_PANE], false);
    Frame(dc, Layout.slot[SLOT_REMOTE_PANE], false);
    Frame(dc, Layout.messageFrame, false);
    EndPaint(mainWindow, &ps);
}
