#include "listing/file_rows.h"

#include <stdio.h>
#include <string.h>

static int LowerByte(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

int CompareTextNoCase(const char *a, const char *b)
{
    for (;; a++, b++) {
        int x = LowerByte((unsigned char)*a), y = LowerByte((unsigned char)*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
}

static int CompareSpanNoCase(const char *a, size_t na, const char *b, size_t nb)
{
    size_t n = na < nb ? na : nb;
    for (size_t i = 0; i < n; i++) {
        int x = LowerByte((unsigned char)a[i]), y = LowerByte((unsigned char)b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

// The text up to its first tab, without trailing blanks.
static size_t CutLength(const char *text)
{
    size_t n = strcspn(text, "\t");
    while (n > 0 && text[n - 1] == ' ')
        n--;
    return n;
}

static int CompareExtensions(const char *a, const char *b)
{
    size_t na = CutLength(a), nb = CutLength(b);
    const char *ea = a + na, *eb = b + nb;
    for (const char *p = a + na; p > a;)
        if (*--p == '.') {
            ea = p;
            break;
        }
    for (const char *p = b + nb; p > b;)
        if (*--p == '.') {
            eb = p;
            break;
        }
    int r = CompareSpanNoCase(ea, (size_t)(a + na - ea), eb, (size_t)(b + nb - eb));
    return r ? r : CompareSpanNoCase(a, na, b, nb);
}

static int CompareDates(const FileItem *a, const FileItem *b)
{
    const unsigned x[5] = {a->year, a->month, a->day, a->hour, a->minute};
    const unsigned y[5] = {b->year, b->month, b->day, b->hour, b->minute};
    for (int i = 0; i < 5; i++)
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    return CompareTextNoCase(a->text, b->text);
}

static int CompareByKey(const FileItem *a, const FileItem *b, int key)
{
    switch (key) {
    case SORT_NAME:
        return CompareTextNoCase(a->text, b->text);
    case SORT_EXTENSION:
        return CompareExtensions(a->text, b->text);
    case SORT_DATE:
        return CompareDates(a, b);
    case SORT_SIZE:
        if (a->size != b->size)
            return a->size < b->size ? -1 : 1;
        return CompareTextNoCase(a->text, b->text);
    case SORT_NAME_TAIL: {
        int r = CompareTextNoCase(a->text[0] ? a->text + 1 : a->text, b->text[0] ? b->text + 1 : b->text);
        return r ? r : CompareSpanNoCase(a->text, a->text[0] ? 1 : 0, b->text, b->text[0] ? 1 : 0);
    }
    case 6:
    case 7: {
        const char *ta = strchr(a->text, '\t'), *tb = strchr(b->text, '\t');
        int r = ta && tb ? CompareTextNoCase(ta + 1, tb + 1) : 0;
        return r ? r : CompareTextNoCase(a->text, b->text);
    }
    }
    return 0;
}

int CompareItems(const FileItem *a, const FileItem *b, int setting)
{
    int r = 0;
    if (!(setting & SORT_MIXED) && (a->kind > 1 || b->kind > 1)) {
        r = a->kind > b->kind ? -1 : (a->kind < b->kind ? 1 : 0);
        if (setting & SORT_FOLDERS_BOTTOM)
            r = -r;
    }
    const bool driveA = a->kind == KIND_DRIVE, driveB = b->kind == KIND_DRIVE;
    if (driveA || driveB)
        r = driveA == driveB ? 0 : (driveA ? 1 : -1);
    if (r == 0) {
        const int key = setting & SORT_KEY_MASK;
        r = CompareByKey(a, b, key);
        if (key != SORT_NONE && (setting & SORT_REVERSE))
            r = r > 0 ? -1 : (r < 0 ? 1 : 0);
    }
    if (strcmp(a->text, "..") == 0)
        return -1;
    if (strcmp(b->text, "..") == 0)
        return 1;
    return r;
}

RowBitmap BitmapForRow(const FileItem *item)
{
    if (item->kind & KIND_DRIVE)
        return ROW_BMP_DSK;
    if (item->kind & KIND_FOLDER)
        return strcmp(item->text, "..") == 0 ? ROW_BMP_DUP : ROW_BMP_DIR;
    if (item->kind == KIND_LINK)
        return ROW_BMP_LNK;
    if (item->kind & KIND_TEXT)
        return ROW_BMP_TXT;
    return ROW_BMP_UNK;
}

void FormatRowDate(const FileItem *item, int dateFormat, int longDate, char *text, size_t size)
{
    const unsigned year = longDate ? item->year : item->year % 100u;
    unsigned first = year, second = item->month, third = item->day;
    if (dateFormat == 1) {
        first = item->month;
        second = item->day;
        third = year;
    } else if (dateFormat == 2) {
        first = item->day;
        second = item->month;
        third = year;
    }
    snprintf(text, size, "%02u%02u%02u %02u:%02u", first, second, third, (unsigned)item->hour,
             (unsigned)item->minute);
}

void FormatRowSize(uint64_t value, char *text, size_t size)
{
    snprintf(text, size, "%llu", (unsigned long long)value);
}

size_t CutNameToFit(const char *name, size_t length, int room, TextWidthFn width, void *context,
                    char *out, size_t outSize)
{
    if (outSize == 0)
        return 0;
    size_t n = length < outSize - 2 ? length : (outSize > 2 ? outSize - 2 : 0);
    bool cut = n < length;
    while (n > 1 && width(name, n, context) > room) {
        n--;
        cut = true;
    }
    memcpy(out, name, n);
    if (cut && n > 2)
        out[n++] = '~';
    out[n] = '\0';
    return n;
}

int NextSortSpec(int setting, int button, bool ctrl, bool alt, bool remote)
{
    const int placement = setting & (SORT_MIXED | SORT_FOLDERS_BOTTOM);
    const int key = setting & SORT_KEY_MASK;
    int wanted;
    switch (button) {
    case 0:
        if (placement & SORT_FOLDERS_BOTTOM)
            return setting & ~(SORT_MIXED | SORT_FOLDERS_BOTTOM);
        if (placement & SORT_MIXED)
            return (setting & ~SORT_MIXED) | SORT_FOLDERS_BOTTOM;
        return setting | SORT_MIXED;
    case 1:
        wanted = ctrl ? SORT_EXTENSION : (alt && remote ? SORT_NAME_TAIL : SORT_NAME);
        break;
    case 2:
        if (key == SORT_DATE)
            return setting ^ SORT_REVERSE;
        return placement | SORT_DATE | SORT_REVERSE;
    case 3:
        wanted = SORT_SIZE;
        break;
    default:
        return setting;
    }
    if (key == wanted)
        return setting ^ SORT_REVERSE;
    return placement | wanted;
}

void FormatDetailText(const char *name, const LocalStamp &s, char *text, size_t size)
{
    snprintf(text, size, "%-12s\t%04u%02u%02u %02u:%02u %10llu", name, s.year, s.month, s.day, s.hour,
             s.minute, (unsigned long long)s.size);
}

void FormatReportLine(const char *name, bool folder, const LocalStamp &s, char *text, size_t size)
{
    if (folder)
        snprintf(text, size, "%-30.30s <DIR>      %04u-%02u-%02u  %2u:%02u\n", name, s.year, s.month,
                 s.day, s.hour, s.minute);
    else
        snprintf(text, size, "%-30.30s %10llu %04u-%02u-%02u  %2u:%02u\n", name,
                 (unsigned long long)s.size, s.year, s.month, s.day, s.hour, s.minute);
}
