// The window-thread relay: a message-only window of the main window's thread
// that runs the jobs other threads post to it, in the order posted.
#include "ui/window_thread.h"

#include <windows.h>

#include "app/app.h"

namespace {

enum { WM_RELAY_JOB = WM_APP + 40 };
typedef void (*Job)(void *);

HWND Relay;

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELAY_JOB) {
        ((Job)wParam)((void *)lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool OnWindowThread(void)
{
    return !MainWindow || GetWindowThreadProcessId(MainWindow, nullptr) == GetCurrentThreadId();
}

void PrepareWindowThreadRelay(void)
{
    if (Relay || !MainWindow || !OnWindowThread())
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RelayProc;
    wc.hInstance = AppInstance;
    wc.lpszClassName = "VELTRRELAY";
    RegisterClassA(&wc);
    Relay = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance, nullptr);
}

bool PostToWindowThread(void (*job)(void *data), void *data)
{
    if (OnWindowThread() || !Relay)
        return false;
    return PostMessageA(Relay, WM_RELAY_JOB, (WPARAM)job, (LPARAM)data) != 0;
}
