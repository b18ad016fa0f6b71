// The transfer status: the "Transfer Status" dialog (description, progress
// text, percentage bar, Cancel), the progress text in the main window when
// the dialog is switched off, the completion line and the message pump of
// the transfer loops.
//
// The windows belong to the window thread. A transfer on a worker thread
// keeps its progress figures itself and hands the window work (open, show
// a text, close) to the window thread by posted jobs, in order.
#include "transfer/transfer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "transfer/transfer_text.h"
#include "ui/window_thread.h"

HWND ProgressTextWindows[2];
char LastProgressText[128];
char LastCompletionLine[160];

namespace {

HWND StatusDialog;          // the open dialog, or null
HWND StatusText;            // where progress goes: dialog control or main window text
DWORD LastUpdate;           // tick of the last progress text shown
bool UpdatedOnce;
RECT LastRect;              // where the dialog was last closed
bool HaveLastRect;
WNDPROC ProgressProc, BarProc;
unsigned Percent;

LRESULT CALLBACK ProgressSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam) {
        Percent = ProgressPercent((const char *)lParam, ExpectedSize);
        HWND bar = GetDlgItem(GetParent(window), IDC_STATUS_BAR);
        if (bar)
            InvalidateRect(bar, nullptr, FALSE);
    }
    return CallWindowProcA(ProgressProc, window, message, wParam, lParam);
}

// The percentage bar: width rounded down to a multiple of 100 pixels, the
// done part light grey, the rest white, the percentage centred over it.
LRESULT CALLBACK BarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return CallWindowProcA(BarProc, window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    int width = client.right / 100 * 100;
    if (width == 0)
        width = client.right;
    int done = width * (int)Percent / 100;
    RECT part = {0, 0, done, client.bottom};
    FillRect(dc, &part, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
    part.left = done;
    part.right = width;
    FillRect(dc, &part, (HBRUSH)GetStockObject(WHITE_BRUSH));
    char text[16];
    snprintf(text, sizeof text, "%u%%", Percent);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ font = SelectObject(dc, (HGDIOBJ)SendMessageA(GetParent(window), WM_GETFONT, 0, 0));
    RECT all = {0, 0, width, client.bottom};
    DrawTextA(dc, text, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, font);
    EndPaint(window, &ps);
    return 0;
}

void RemoveSubclassing(HWND dialog)
{
    if (ProgressProc) {
        SetWindowLongPtrA(GetDlgItem(dialog, IDC_STATUS_PROGRESS), GWLP_WNDPROC,
                          (LONG_PTR)ProgressProc);
        ProgressProc = nullptr;
    }
    if (BarProc) {
        SetWindowLongPtrA(GetDlgItem(dialog, IDC_STATUS_BAR), GWLP_WNDPROC, (LONG_PTR)BarProc);
        BarProc = nullptr;
    }
}

void CloseDialogWindow(HWND dialog, bool cancel)
{
    GetWindowRect(dialog, &LastRect);
    HaveLastRect = true;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner)
        EnableWindow(owner, TRUE);
    RemoveSubclassing(dialog);
    if (StatusDialog == dialog) {
        StatusDialog = nullptr;
        StatusText = nullptr;
    }
    DestroyTopLevelWindow(dialog);
    if (cancel) {
        CancelFlag = TRUE;
        AbortFlag = TRUE;
    }
}

INT_PTR CALLBACK StatusDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (HaveLastRect)
            SetWindowPos(dialog, nullptr, LastRect.left, LastRect.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            CenterWindow(dialog, 0);
        SetDlgItemTextA(dialog, IDC_STATUS_DESCRIPTION, TransferDescription);
        Percent = 0;
        if (ExpectedSize > 0) {
            ProgressProc = (WNDPROC)SetWindowLongPtrA(GetDlgItem(dialog, IDC_STATUS_PROGRESS),
                                                      GWLP_WNDPROC, (LONG_PTR)ProgressSubclass);
            BarProc = (WNDPROC)SetWindowLongPtrA(GetDlgItem(dialog, IDC_STATUS_BAR),
                                                 GWLP_WNDPROC, (LONG_PTR)BarSubclass);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            CloseDialogWindow(dialog, true);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        CloseDialogWindow(dialog, false);
        return TRUE;
    }
    return FALSE;
}

// Whether another window of this program is the active one.
bool OtherWindowOfOursActive(void)
{
    HWND active = GetForegroundWindow();
    DWORD process = 0;
    if (!active || active == MainWindow)
        return false;
    GetWindowThreadProcessId(active, &process);
    return process == GetCurrentProcessId();
}

}  // namespace

HWND StatusDialogWindow(void)
{
    return StatusDialog;
}

namespace {

// The window side of the status, run on the window thread.
void CloseWindows(void *)
{
    if (StatusDialog)
        CloseDialogWindow(StatusDialog, false);
    StatusDialog = nullptr;
    StatusText = nullptr;
}

void OpenWindows(void *data)
{
    int direction = (int)(INT_PTR)data;
    CloseWindows(nullptr);
    if (!GlobalSettings.hash) {
        StatusText = ProgressTextWindows[direction == 1 ? 0 : 1];
        return;
    }
    bool keepActive = OtherWindowOfOursActive();
    HWND dialog = CreateDialogParamA(AppInstance, "DLG_ABORT", MainWindow, StatusDialogProc, 0);
    if (!dialog)
        return;
    StatusDialog = dialog;
    StatusText = GetDlgItem(dialog, IDC_STATUS_PROGRESS);
    ShowWindow(dialog, keepActive ? SW_SHOWNOACTIVATE : SW_SHOW);
}

void ShowText(void *text)
{
    if (StatusText)
        SetWindowTextA(StatusText, (const char *)text);
}

void ShowPostedText(void *text)
{
    ShowText(text);
    free(text);
}

// Runs a window job here on the window thread, else posts it there.
void OnWindows(void (*job)(void *), void *data)
{
    if (OnWindowThread())
        job(data);
    else
        PostToWindowThread(job, data);
}

void ShowProgressText(const char *text)
{
    if (OnWindowThread()) {
        ShowText((void *)text);
        return;
    }
    size_t length = strlen(text) + 1;
    char *copy = (char *)malloc(length);
    if (!copy)
        return;
    memcpy(copy, text, length);
    if (!QueueForWindowThread(ShowPostedText, copy))
        free(copy);
}

}  // namespace

void OpenStatusDialog(int direction)
{
    CloseStatusDialog();
    UpdatedOnce = false;
    ExpectedSize = ParseAnnouncedSize(TransferDescription);
    if (ExpectedSize == 0)
        ExpectedSize = CurrentEntry.size;
    OnWindows(OpenWindows, (void *)(INT_PTR)direction);
}

void CloseStatusDialog(void)
{
    OnWindows(CloseWindows, nullptr);
}

void ShowProgress(uint64_t bytes, DWORD startTick, DWORD nowTick, uint64_t expected)
{
    if (bytes == 0) {
        UpdatedOnce = false;
        ShowProgressText("");
        return;
    }
    // At most one text per 500 ms: painting costs far more than a block.
    if (UpdatedOnce && nowTick - LastUpdate < 500)
        return;
    UpdatedOnce = true;
    LastUpdate = nowTick;
    if (!GlobalSettings.hash)
        snprintf(LastProgressText, sizeof LastProgressText, "%llu", (unsigned long long)bytes);
    else
        FormatProgressText(LastProgressText, sizeof LastProgressText, bytes, nowTick - startTick,
                           expected, GlobalSettings.tranRate == 1);
    ShowProgressText(LastProgressText);
}

void ReportCompletion(const char *label, uint64_t bytes, DWORD startTick, DWORD endTick, BOOL failed)
{
    // The final count is always shown, whatever the throttle held back.
    if (bytes > 0) {
        UpdatedOnce = false;
        ShowProgress(bytes, startTick, endTick, ExpectedSize);
    }
    FormatCompletionText(LastCompletionLine, sizeof LastCompletionLine, label, bytes,
                         endTick - startTick, GlobalSettings.tranRate == 1,
                         LoadText(failed ? IDS_TRANSFER_FAILED : IDS_TRANSFER_SUCCEEDED));
    LogLine(LastCompletionLine);
}

void PumpTransferMessages(void)
{
    MSG msg;
    // The dialog is the window thread's: only that thread offers it messages.
    HWND dialog = OnWindowThread() ? StatusDialog : nullptr;
    EnterMessagePump();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);   // leave it for the message loop
            break;
        }
        if (dialog && IsDialogMessageA(dialog, &msg))
            continue;
        if (Accelerators && MainWindow && TranslateAcceleratorA(MainWindow, Accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    LeaveMessagePump();
}
