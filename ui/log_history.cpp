#include "ui/log_history.h"

#include <string.h>

void ResetLogHistory(LogHistory *h)
{
    memset(h, 0, sizeof *h);
}

static LogDisplay DisplayAt(int n)
{
    LogDisplay d;
    d.bottom = n >= 0 ? n : -1;
    d.middle = n >= 1 ? n - 1 : -1;
    d.top = n >= 2 ? n - 2 : -1;
    return d;
}

LogDisplay AddHistoryLine(LogHistory *h, const char *text)
{
    if (h->count > 58 && h->full) {
        memmove(h->lines[0], h->lines[1], (size_t)(LOG_HISTORY_LINES - 1) * LOG_LINE_SIZE);
        h->count = 59;
    }
    size_t len = strnlen(text, LOG_LINE_KEEP);
    memcpy(h->lines[h->count], text, len);
    h->lines[h->count][len] = '\0';
    LogDisplay d = DisplayAt(h->count);
    h->position = h->count;
    if (h->count < 59)
        h->count++;
    else
        h->full = 1;
    return d;
}

int ScrollHistory(LogHistory *h, int delta, LogDisplay *display)
{
    int p = h->position + delta;
    if (p < 1) {
        h->position = 1;
        return 0;
    }
    if (p > h->count) {
        h->position = h->count;
        return 0;
    }
    h->position = p;
    *display = DisplayAt(p);
    return 1;
}

int MessageLineClass(const char *text)
{
    if (text[0] == '!' || text[0] == '5')
        return 1;
    if (text[0] == '[' && (text[1] == 'E' || text[1] == 'e') && text[2] == ']')
        return 1;
    if (text[0] == '+')
        return 2;
    return 0;
}
