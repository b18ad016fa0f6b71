// Logging: the debug filter, and the hand-over of a worker thread's lines
// to the window thread.
#include "ui/log.h"

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/settings.h"
#include "ui/msglog.h"
#include "ui/window_thread.h"

namespace {

void AddPostedLine(void *line)
{
    AddRelayedLogLine((const char *)line);
    free(line);
}

// Hands a copy of the line to the window thread; false when the caller is
// that thread (or the hand-over is not possible: the line is then added
// here, as before there was a window).
bool Posted(const char *text)
{
    if (OnWindowThread()) {
        PrepareWindowThreadRelay();
        return false;
    }
    size_t length = strlen(text) + 1;
    char *copy = (char *)malloc(length);
    if (!copy)
        return false;
    memcpy(copy, text, length);
    if (QueueForWindowThread(AddPostedLine, copy))
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
