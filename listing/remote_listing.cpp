#include "listing/remote_listing.h"

#include <string.h>

static void CopyUpTo(char *folder, const char *from)
{
    size_t n = strlen(from);
    if (n > REMOTE_FOLDER_SIZE - 1)
        n = REMOTE_FOLDER_SIZE - 1;
    memcpy(folder, from, n);
    folder[n] = '\0';
}

static void CutAtQuote(char *folder)
{
    char *end = strchr(folder, '"');
    if (end == nullptr)
        end = strchr(folder, '\'');
    if (end != nullptr)
        *end = '\0';
}

void FolderFromPwdReply(const char *reply, char *folder)
{
    folder[0] = '\0';
    const char *quote = strchr(reply, '"');
    if (quote == nullptr)
        quote = strchr(reply, '\'');
    if (quote != nullptr) {
        CopyUpTo(folder, quote + 1);
        CutAtQuote(folder);
        return;
    }
    const char *blank = strchr(reply, ' ');
    if (blank == nullptr)
        return;
    while (*blank == ' ')
        blank++;
    CopyUpTo(folder, blank);
    char *end = strchr(folder, ' ');
    if (end != nullptr)
        *end = '\0';
    CutAtQuote(folder);
}

static int DaysInMonth(int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return days[(month - 1) % 12];
}

void ApplyTimeOffset(ListingEntry *entry, int offset)
{
    if (offset == 0 || entry->year == 0 || entry->month == 0 || entry->hour == 0)
        return;
    if (offset > 240 || offset < -240)
        return;   // hours, never days: a wild value is not applied
    int year = entry->year, month = entry->month, day = entry->day;
    int hour = entry->hour + offset;
    if (month > 12)
        month = 12;
    while (hour > 23) {
        hour -= 24;
        day++;
        if (day > DaysInMonth(month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                year++;
            }
        }
    }
    while (hour < 0) {
        hour += 24;
        day--;
        if (day < 1) {
            if (--month < 1) {
                month = 12;
                year--;
            }
            day = DaysInMonth(month);
        }
    }
    entry->year = (uint16_t)year;
    entry->month = (uint8_t)month;
    entry->day = (uint8_t)day;
    entry->hour = (uint8_t)hour;
}

int PrepareRemoteEntry(ListingEntry *entry, int timeOffset, int (*isText)(const char *name))
{
    entry->name[sizeof entry->name - 1] = '\0';
    if (entry->name[0] == '\0' || strcmp(entry->name, ".") == 0 || strcmp(entry->name, "..") == 0)
        return 0;
    if (entry->kind != 0)
        entry->kind &= 0x0F;
    else
        entry->kind = isText != nullptr && isText(entry->name) ? 1 : 0;
    ApplyTimeOffset(entry, timeOffset);
    return 1;
}

static void CutLineEnd(char *line)
{
    char *end = strchr(line, '\r');
    if (end == nullptr)
        end = strchr(line, '\n');
    if (end != nullptr)
        *end = '\0';
}

static void ParseAndAdd(ListingEntry *entry, const char *line, ListingLineParser parse,
                        ListingEntrySink sink, void *context)
{
    if (parse(entry, line, context))
        sink(entry, context);
}

static int IsMemberListHeader(const char *line)
{
    if (strlen(line) <= 69)
        return 0;
    return line[40] == ' ' && line[44] == 'F' && line[45] == 'B' && line[46] == ' ' &&
           line[50] == ' ' && line[61] == 'P' && line[62] == 'O' && line[63] == ' ' &&
           line[64] == 'N' && line[65] == 'O' && line[66] == ' ' && line[68] == ' ';
}

static int EndsMemberColumns(const char *line)
{
    return strlen(line) <= 9 || line[0] == ' ' || (line[8] != ' ' && line[9] != ' ');
}

static void AddMemberColumns(const char *line, ListingEntry *entry, ListingEntrySink sink,
                             void *context)
{
    size_t length = strlen(line);
    for (size_t at = 0; at < length; at += 10) {
        char first = line[at];
        if (first == ' ' || first == '\0' || first == '\r' || first == '\n')
            break;
        size_t n = length - at < 8 ? length - at : 8;
        memset(entry, 0, sizeof *entry);
        memcpy(entry->name, line + at, n);
        while (n > 0 && entry->name[n - 1] == ' ')
            entry->name[--n] = '\0';
        sink(entry, context);
    }
}

// A VMS-style name line: when the next line is indented, the two are one
// entry; otherwise the name stands alone and the next line is handled on
// its own. Returns 0 when there is no next line (the caller parses the
// name line as usual).
static int JoinWrappedName(char *line, FILE *file, ListingEntry *entry, ListingLineParser parse,
                           ListingEntrySink sink, void *context)
{
    size_t n = strlen(line);
    line[n] = ' ';
    line[n + 1] = '\0';
    char *next = line + n + 1;
    if (fgets(next, (int)(LISTING_LINE_SIZE - (n + 1)), file) == nullptr) {
        line[n] = '\0';
        return 0;
    }
    if (next[0] == ' ' || next[0] == '\t') {
        ParseAndAdd(entry, line, parse, sink, context);
        return 1;
    }
    line[n] = '\0';
    ParseAndAdd(entry, line, parse, sink, context);
    memmove(line, next, strlen(next) + 1);
    ParseAndAdd(entry, line, parse, sink, context);
    return 1;
}

int ReadListingStream(FILE *file, uint32_t hostType, ListingLineParser parse,
                      ListingEntrySink sink, void *context)
{
    char line[LISTING_LINE_SIZE];
    ListingEntry entry;
    int count = 0;
    int memberColumns = 0;
    while (fgets(line, sizeof line, file) != nullptr) {
        count++;
        CutLineEnd(line);
        if ((hostType == 6011 || hostType == 6012) && strchr(line, ';') != nullptr &&
            strlen(line) < 53) {
            if (JoinWrappedName(line, file, &entry, parse, sink, context))
                continue;
        } else if (hostType == 6018) {
            if (count == 1 && IsMemberListHeader(line)) {
                memberColumns = 1;
                continue;
            }
            if (memberColumns) {
                if (!EndsMemberColumns(line)) {
                    AddMemberColumns(line, &entry, sink, context);
                    continue;
                }
                memberColumns = 0;
            }
        } else if (hostType == 6005 && strlen(line) > 40) {
            const char *second = line + 41;
            line[40] = '\0';
            if (parse(&entry, line, context)) {
                sink(&entry, context);
                ParseAndAdd(&entry, second, parse, sink, context);
            }
            continue;
        }
        ParseAndAdd(&entry, line, parse, sink, context);
    }
    return count;
}
