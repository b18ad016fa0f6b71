#include "app/geometry.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

void DefaultMainGeometry(int desktopWidth, int g[GEO_COUNT])
{
    int width = desktopWidth * 5 / 6;
    g[GEO_LEFT] = 10;
    g[GEO_TOP] = 10;
    g[GEO_WIDTH] = width;
    g[GEO_HEIGHT] = 440;
    g[GEO_PANE] = width / 2;
    g[GEO_LOG] = 0;
}

int ParseWrappedInt(const char *text)
{
    while (*text == ' ' || *text == '\t')
        text++;
    int negative = 0;
    if (*text == '-') {
        negative = 1;
        text++;
    } else if (*text == '+') {
        text++;
    }
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10u + (uint32_t)(*text - '0');
        text++;
    }
    if (negative)
        value = 0u - value;
    return (int)(int32_t)value;
}

// Splits text at commas into at most `max` fields; has_comma[i] tells
// whether field i was followed by a comma.
static int SplitFields(const char *text, const char **fields, int *has_comma, int max)
{
    int n = 0;
    const char *p = text;
    while (n < max) {
        fields[n] = p;
        const char *comma = strchr(p, ',');
        has_comma[n] = comma != nullptr;
        n++;
        if (!comma)
            break;
        p = comma + 1;
    }
    return n;
}

void ParseMainGeometry(const char *text, int g[GEO_COUNT])
{
    if (!text || !*text)
        return;
    const char *f[GEO_COUNT];
    int comma[GEO_COUNT];
    int n = SplitFields(text, f, comma, GEO_COUNT);
    // left, top and width need a comma behind them; the height may end the text.
    for (int i = 0; i < n && i < GEO_COUNT; i++) {
        if (i <= GEO_WIDTH) {
            if (!comma[i])
                return;
            g[i] = ParseWrappedInt(f[i]);
        } else if (i == GEO_HEIGHT) {
            g[i] = ParseWrappedInt(f[i]);
            if (!comma[i])
                return;
        } else if (i == GEO_PANE) {
            if (!comma[i])
                return;
            g[GEO_PANE] = ParseWrappedInt(f[i]);
            if (n > GEO_LOG)
                g[GEO_LOG] = ParseWrappedInt(f[GEO_LOG]);
            else
                g[GEO_LOG] = 0;
            return;
        }
    }
}

void ParseFourFields(const char *text, int values[4])
{
    if (!text)
        return;
    const char *f[4];
    int comma[4];
    int n = SplitFields(text, f, comma, 4);
    for (int i = 0; i < n; i++) {
        if (i < 3 && !comma[i])
            return;
        values[i] = ParseWrappedInt(f[i]);
    }
}

int ParseIntList(const char *text, int *values, int count)
{
    if (!text)
        return 0;
    int n = 0;
    const char *p = text;
    while (n < count) {
        char *end = nullptr;
        long v = strtol(p, &end, 10);
        if (end == p)
            break;
        values[n++] = (int)v;
        if (*end != ',')
            break;
        p = end + 1;
    }
    return n;
}

void CenterInRect(int width, int height, PlaceRect reference, PlaceRect desktop,
                  int verticalOffset, int *left, int *top)
{
    int cx = reference.left + reference.width / 2;
    int cy = reference.top + reference.height / 2;
    int x = cx - width / 2;
    int y = cy - height / 2;
    if (verticalOffset != 0)
        y += verticalOffset;
    int right = desktop.left + desktop.width;
    int bottom = desktop.top + desktop.height;
    if (x + width > right)
        x = right - width;
    if (y + height > bottom)
        y = bottom - height;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    *left = x;
    *top = y;
}
