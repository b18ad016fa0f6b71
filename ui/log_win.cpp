// Logging: the debug filter, and the hand-over of a worker thread's lines
// to the window thread.
#include "ui/log.h"

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ui/msglog.h"

namespace {

enum { WM_RELAY_LOG_LINE = WM_APP + 40 };

// A message-only window of the window thread that receives posted lines;
// made by that thread's first line.
HWND Relay;

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELAY_LOG_LINE) {
        char *line = (char *)lParam;
        AddLogLine(line);
        free(line);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void MakeRelay(void)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RelayProc;
    wc.hInstance = AppInstance;
    wc.lpszClassName = "VELTRLOGRELAY";
    RegisterClassA(&wc);
    Relay = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance,
                          nullptr);
}

// Posts a copy of the line to the window thread; false when that cannot be
// done (no main window or relay yet, or this is the window thread).
bool Posted(const char *text)
{
    if (!MainWindow)
        return false;
    DWORD windowThread = GetWindowThreadProcessId(MainWindow, nullptr);
    if (windowThread == GetCurrentThreadId()) {
        if (!Relay)
            MakeRelay();
        return false;
    }
    if (!Relay || !windowThread)
        return false;
    size_t length = strlen(text) + 1;
    char *copy = (char *)malloc(length);
    if (!copy)
        return false;
    memcpy(copy, text, length);
    if (PostMessageA(Relay, WM_RELAY_LOG_LINE, 0, (LPARAM)copy))
        return true;
    free(copy);
    return false;
}

}  // namespace

void LogLine(const char *text)
{
    if (text[0] == '[' && !GlobalSettings.verbose)
        return;
    if (!Posted(text))
        AddLogLine(text);
}

void LogFormat(const char *format, ...)
{
    char line[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    LogLine(line);
}
