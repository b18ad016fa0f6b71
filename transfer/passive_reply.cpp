#include "transfer/passive_reply.h"

#include <stdio.h>
#include <string.h>

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

static const char *SkipBlanks(const char *p, const char *end)
{
    while (p < end && (*p == ' ' || *p == '\t'))
        p++;
    return p;
}

// Reads one number of 0..255 at p (after optional blanks); returns the
// position after it, or null.
static const char *ReadByte(const char *p, const char *end, unsigned *value)
{
    p = SkipBlanks(p, end);
    if (p >= end || !IsDigit(*p))
        return nullptr;
    unsigned v = 0;
    int digits = 0;
    while (p < end && IsDigit(*p)) {
        v = v * 10 + (unsigned)(*p - '0');
        if (++digits > 3 || v > 255)
            return nullptr;
        p++;
    }
    *value = v;
    return p;
}

PassiveParse ParsePassiveReply(const char *line, PassiveAddress *out)
{
    memset(out, 0, sizeof *out);
    size_t length = strlen(line);
    const char *end = line + length;
    const char *close = strchr(line, ')');
    if (close)
        end = close;
    const char *start = nullptr;
    const char *open = (const char *)memchr(line, '(', (size_t)(end - line));
    if (open) {
        start = open + 1;
    } else if (length > 4) {
        for (const char *p = line + 4; p < end; p++) {
            if (IsDigit(*p)) {
                start = p;
                break;
            }
        }
    }
    if (!start)
        return PASSIVE_NO_ADDRESS;
    snprintf(out->startText, sizeof out->startText, "%.*s", (int)(end - start), start);

    unsigned n[6];
    const char *p = start;
    for (int i = 0; i < 6; i++) {
        if (i > 0) {
            p = SkipBlanks(p, end);
            if (p >= end || *p != ',')
                return PASSIVE_BAD_ADDRESS;
            p++;
        }
        p = ReadByte(p, end, &n[i]);
        if (!p)
            return PASSIVE_BAD_ADDRESS;
    }
    for (int i = 0; i < 4; i++)
        out->host[i] = (unsigned char)n[i];
    out->port = n[4] * 256 + n[5];
    snprintf(out->hostText, sizeof out->hostText, "%u.%u.%u.%u", n[0], n[1], n[2], n[3]);
    return PASSIVE_OK;
}

void FormatPortCommand(char *buffer, size_t size, const unsigned char address[4], unsigned port)
{
    snprintf(buffer, size, "PORT %d,%d,%d,%d,%d,%d", address[0], address[1], address[2],
             address[3], (int)((port >> 8) & 0xFF), (int)(port & 0xFF));
}
