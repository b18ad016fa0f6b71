// The message log: three message lines in the main window, the history
// behind them, the "Message Log" window and the batch copy in xferlog.txt.
#include "ui/msglog.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/geometry.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "ui/input_dialogs.h"
#include "ui/log_history.h"

BOOL BatchLogging;
int LogWindowRect[4];
HWND LogWindow;
static HWND LogEdit;
static WNDPROC LogEditProc;
static LogHistory History;
static HWND Lines[3];

void SetMessageLineWindows(HWND top, HWND middle, HWND bottom)
{
    Lines[0] = top;
    Lines[1] = middle;
    Lines[2] = bottom;
}

const char *LogHistoryLine(int index)
{
    if (index < 0 || index >= LOG_HISTORY_LINES)
        return "";
    return History.lines[index];
}

int LogHistoryCount(void)
{
    return History.count;
}

static void ShowDisplay(const LogDisplay &d)
{
    const int entries[3] = {d.top, d.middle, d.bottom};
    for (int i = 0; i < 3; i++) {
        if (!Lines[i])
            continue;
        SetWindowTextA(Lines[i], entries[i] >= 0 ? History.lines[entries[i]] : "");
        UpdateWindow(Lines[i]);
    }
}

// Lines handed over by a worker thread come in bursts of hundreds a second
// during a batch of small files, and painting the three lines for each one
// would cost the window thread more than the transfers cost the worker.
// Their display follows at most every RELAYED_SHOW_MS: at once for the first
// line after a pause, else from a timer with the newest state.
static const DWORD RELAYED_SHOW_MS = 100;
static DWORD LastShown;
static UINT_PTR ShowTimer;
static LogDisplay PendingDisplay;

static void CancelPendingDisplay(void)
{
    if (ShowTimer)
        KillTimer(nullptr, ShowTimer);
    ShowTimer = 0;
}

static void ShowNow(const LogDisplay &d)
{
    CancelPendingDisplay();
    LastShown = GetTickCount();
    ShowDisplay(d);
}

static void CALLBACK ShowPendingDisplay(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (id != ShowTimer)
        return;   // cancelled meanwhile: a newer display is already shown
    ShowNow(PendingDisplay);
}

static void AppendToEdit(const char *text)
{
    int end = GetWindowTextLengthA(LogEdit);
    SendMessageA(LogEdit, EM_SETSEL, end, end);
    SendMessageA(LogEdit, EM_REPLACESEL, FALSE, (LPARAM)text);
    end = GetWindowTextLengthA(LogEdit);
    SendMessageA(LogEdit, EM_SETSEL, end, end);
    SendMessageA(LogEdit, EM_REPLACESEL, FALSE, (LPARAM)"\r\n");
}

static LogDisplay StoreLine(const char *text)
{
    if (BatchLogging) {
        FILE *f = fopen("xferlog.txt", "a");
        if (f) {
            fprintf(f, "%s\n", text);
            fclose(f);
        }
    }
    LogDisplay d = AddHistoryLine(&History, text);
    if (LogEdit)
        AppendToEdit(text);
    return d;
}

void AddLogLine(const char *text)
{
    ShowNow(StoreLine(text));
}

void AddRelayedLogLine(const char *text)
{
    LogDisplay d = StoreLine(text);
    PendingDisplay = d;
    if (ShowTimer)
        return;
    DWORD since = GetTickCount() - LastShown;
    if (since < RELAYED_SHOW_MS)
        ShowTimer = SetTimer(nullptr, 0, RELAYED_SHOW_MS - since, ShowPendingDisplay);
    if (!ShowTimer)
        ShowNow(d);
}

void ScrollLogDisplay(int delta)
{
    LogDisplay d;
    if (ScrollHistory(&History, delta, &d))
        ShowNow(d);
}

COLORREF MessageLineColor(const char *text)
{
    switch (MessageLineClass(text)) {
    case 1: return RGB(192, 0, 0);
    case 2: return RGB(255, 255, 0);
    default: return RGB(0, 0, 0);
    }
}

void LoadLogWindowPosition(void)
{
    char text[64];
    ConfigGetString("SLOC", "0,0,0,0", text, sizeof text);
    int values[4] = {0, 0, 0, 0};
    ParseFourFields(text, values);
    memcpy(LogWindowRect, values, sizeof values);
}

void PlaceLogWindowBelow(HWND mainWindow)
{
    RECT r;
    GetWindowRect(mainWindow, &r);
    LogWindowRect[0] = r.left;
    LogWindowRect[1] = r.top + 40;
    LogWindowRect[2] = r.right - r.left;
    LogWindowRect[3] = (r.bottom - r.top) / 2;
}

static LRESULT CALLBACK LogEditSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONUP) {
        POINT p;
        GetCursorPos(&p);
        ShowMainContextMenu(MainWindow, p.x, p.y);
        return 0;
    }
    return CallWindowProcA(LogEditProc, window, message, wParam, lParam);
}

void OpenLogWindow(void)
{
    if (LogWindow) {
        BringWindowToTop(LogWindow);
        if (IsIconic(LogWindow))
            ShowWindow(LogWindow, SW_RESTORE);
        SetFocus(LogEdit);
        return;
    }
    if (LogWindowRect[2] == 0 && MainWindow)
        PlaceLogWindowBelow(MainWindow);
    LogWindow = CreateWindowExA(0, "VELTRDBWNDC", LoadText(IDS_MESSAGE_LOG), WS_OVERLAPPEDWINDOW,
                                LogWindowRect[0], LogWindowRect[1], LogWindowRect[2], LogWindowRect[3],
                                nullptr, nullptr, AppInstance, nullptr);
    if (!LogWindow)
        return;
    RECT client;
    GetClientRect(LogWindow, &client);
    LogEdit = CreateWindowExA(0, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                  ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                              0, 0, client.right, client.bottom, LogWindow, (HMENU)IDC_LOG_EDIT,
                              AppInstance, nullptr);
    LogEditProc = (WNDPROC)SetWindowLongPtrA(LogEdit, GWLP_WNDPROC, (LONG_PTR)LogEditSubclass);
    int last = History.count;
    if (last > LOG_HISTORY_LINES - 1)
        last = LOG_HISTORY_LINES - 1;
    for (int i = 0; i <= last; i++) {
        if (i == last && !History.lines[i][0])
            break;
        AppendToEdit(History.lines[i]);
    }
    SendMessageA(LogEdit, EM_SETSEL, 0, -1);
    ShowWindow(LogWindow, SW_SHOWNORMAL);
}

static void RememberRect(HWND window)
{
    if (IsZoomed(window) || IsIconic(window))
        return;
    RECT r;
    GetWindowRect(window, &r);
    LogWindowRect[0] = r.left;
    LogWindowRect[1] = r.top;
    LogWindowRect[2] = r.right - r.left;
    LogWindowRect[3] = r.bottom - r.top;
}

static void SaveLog(HWND owner)
{
    char name[MAX_PATH] = "";
    (void)owner;
    if (!InputText(name, "%s", LoadText(IDS_ENTER_LOG_FILE_NAME)) || !name[0])
        return;
    FILE *f = fopen(name, "w");
    if (!f)
        return;
    int last = History.count;
    for (int i = 0; i <= last && i < LOG_HISTORY_LINES; i++)
        if (i < last || History.lines[i][0])
            fprintf(f, "%s\n", History.lines[i]);
    fclose(f);
}

LRESULT CALLBACK LogWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_LOG_CLOSE:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case IDM_LOG_SAVE:
            SaveLog(window);
            return 0;
        case IDM_LOG_COPY:
            SendMessageA(LogEdit, WM_COPY, 0, 0);
            SendMessageA(LogEdit, EM_SETSEL, 0, -1);
            return 0;
        case IDM_LOG_SELECT_ALL:
            SendMessageA(LogEdit, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_RBUTTONUP: {
        POINT p;
        GetCursorPos(&p);
        ShowMainContextMenu(MainWindow, p.x, p.y);
        return 0;
    }
    case WM_SETCURSOR:
        if (CommandBusy > 0) {
            SetCursor(WaitCursor ? WaitCursor : LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_MOVE:
        RememberRect(window);
        return 0;
    case WM_SIZE:
        if (LogEdit)
            MoveWindow(LogEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        RememberRect(window);
        return 0;
    case WM_CLOSE:
        if (LogEdit && LogEditProc)
            SetWindowLongPtrA(LogEdit, GWLP_WNDPROC, (LONG_PTR)LogEditProc);
        LogEdit = nullptr;
        LogEditProc = nullptr;
        DestroyWindow(window);
        LogWindow = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
